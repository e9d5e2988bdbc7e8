#include "app/frmMP3.h"

void frmMP3::Timer_Timer()
{
}

void frmMP3::TimePlay()
{
}

void frmMP3::Slider_Scroll()
{
}
