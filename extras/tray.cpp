#include "app/frmMP3.h"

void frmMP3::IconoBarra_RestoreRequested()
{
}

void frmMP3::IconoBarra_MenuRequested()
{
}

void frmMP3::AboutIcono_Click()
{
}

void frmMP3::OpenPlayer_Click()
{
}

void frmMP3::QuitIcono_Click()
{
}
