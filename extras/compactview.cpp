#include "app/frmMP3.h"

void frmMP3::Hide_Click()
{
}

void frmMP3::Show_Click()
{
}
