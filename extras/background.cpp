#include "app/frmMP3.h"

void frmMP3::BackPic_Click()
{
}

void frmMP3::restoreBackground()
{
}
