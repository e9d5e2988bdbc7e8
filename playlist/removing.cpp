#include "app/frmMP3.h"

void frmMP3::cmdDelete_Click()
{
}

void frmMP3::cmdDelAll_Click()
{
}
