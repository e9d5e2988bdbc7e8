#include "app/frmMP3.h"

void frmMP3::cmdBack_Click()
{
}

void frmMP3::cmdForward_Click()
{
}

void frmMP3::Mplay_PlaybackEnded(qint32)
{
}

void frmMP3::PlayList_Click()
{
}

void frmMP3::PlayList_DblClick()
{
}
