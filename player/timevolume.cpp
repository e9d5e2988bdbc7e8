#include "app/frmMP3.h"
#include "playback/mediaengine.h"
#include "playback/timedisplay.h"

#include <QSlider>

void frmMP3::Timer_Timer()
{
    m_state->countSecond();
}

void frmMP3::TimePlay()
{
    m_state->setLength(Mplay->MediaLength());
}

void frmMP3::Slider_Scroll()
{
    m_state->setVolume(Slider->value());
    if (const std::optional<int> level = volumeLevelFor(Slider->value()))
        Mplay->VolumeLevel(*level);
}
