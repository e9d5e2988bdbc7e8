#include "app/frmMP3.h"
#include "playback/mediaengine.h"
#include "playback/timedisplay.h"

#include <QLabel>
#include <QSlider>

void frmMP3::Timer_Timer()
{
    const MinutesSeconds elapsed = nextTick({ PlayMinutes, PlaySeconds });
    PlayMinutes = elapsed.minutes;
    PlaySeconds = elapsed.seconds;
    LblSongTimer2->setText(QString::number(PlaySeconds));
    LblSongTimer1->setText(QString::number(PlayMinutes));
}

void frmMP3::TimePlay()
{
    // The length labels keep their old text when the engine cannot tell the length or it
    // is too long to count.
    const std::optional<double> length = Mplay->MediaLength();
    if (!length)
        return;
    const std::optional<MinutesSeconds> shown = lengthDisplay(*length);
    if (!shown)
        return;
    lblMM->setText(QString::number(shown->minutes));
    lblSS->setText(QString::number(shown->seconds));
}

void frmMP3::Slider_Scroll()
{
    if (const std::optional<int> level = volumeLevelFor(Slider->value()))
        Mplay->VolumeLevel(*level);
}
