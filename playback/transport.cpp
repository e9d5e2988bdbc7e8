#include "app/frmMP3.h"

void frmMP3::cmdPlay_Click()
{
}

void frmMP3::cmdPause_Click()
{
}

void frmMP3::cmdStop_Click()
{
}

void frmMP3::cmdMute_Click()
{
}
