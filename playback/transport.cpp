#include "app/frmMP3.h"
#include "app/tag.h"
#include "extras/frmLyrics.h"
#include "playback/mediaengine.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>

namespace {

// The pause marker rides on the Pause button's tag and is read as a number: anything but
// 0 means paused.
bool isPaused(const QPushButton *cmdPause)
{
    return Tag(cmdPause).toInt() != 0;
}

} // namespace

void frmMP3::cmdPlay_Click()
{
    if (SongPath.isEmpty())
        return;
    // While paused, Play only resumes the file the engine already holds.
    if (isPaused(cmdPause)) {
        cmdPause_Click();
        return;
    }
    LyricsName.clear();
    // A failing engine call is passed over and the remaining steps still run. The track
    // starts from its beginning, also when it was playing.
    Mplay->MediaFile(SongPath);
    const bool started = Mplay->StartPlayback();
    LblSongName->setText(SongName);
    TimePlay();
    // The clock counts only what is heard: a track that would not start leaves it off.
    PlaySeconds = 0;
    PlayMinutes = 0;
    if (started)
        Timer->start();
    else
        Timer->stop();
    if (isVisible())
        lyricsWindow()->show();
    lyricsWindow()->txtLyrics->setPlainText(QString());
    LoadLyrics();
}

void frmMP3::cmdPause_Click()
{
    if (SongPath.isEmpty())
        return;
    // The marker and the clock follow the button even when the engine fails, so a failed
    // resume cannot leave the marker at "1" and trap every later Play.
    if (!isPaused(cmdPause)) {
        Mplay->PausePlayback();
        setTag(cmdPause, QStringLiteral("1"));
        Timer->stop();
    } else {
        Mplay->StartPlayback();
        setTag(cmdPause, QStringLiteral("0"));
        Timer->start();
    }
}

void frmMP3::cmdStop_Click()
{
    Mplay->StopPlayback();
    Timer->stop();
    PlaySeconds = 0;
    PlayMinutes = 0;
    LyricsName.clear();
}

void frmMP3::cmdMute_Click()
{
    if (const auto muted = Mplay->MuteState())
        Mplay->setMuteState(!*muted);
}
