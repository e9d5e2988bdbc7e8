#include "app/frmMP3.h"

void frmMP3::cdmAdd_Click()
{
}
