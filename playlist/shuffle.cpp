#include "app/frmMP3.h"

void frmMP3::cmdShuffle_Click()
{
}

bool frmMP3::ShuffleIt()
{
    return false;
}
