#include "app/frmMP3.h"

void frmMP3::cmdSave_Click()
{
}

void frmMP3::cmdLoad_Click()
{
}
