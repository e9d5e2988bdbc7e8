#include "app/frmMP3.h"
#include "app/tag.h"
#include "info/frmEaster.h"
#include "playback/mediaengine.h"
#include "playlist/playlistbox.h"

#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <limits>

namespace {

// SongIndex is 16 bits wide: a step that would leave that range leaves it where it was.
qint16 stepped(qint16 index, int by)
{
    const int next = index + by;
    if (next > std::numeric_limits<qint16>::max() || next < std::numeric_limits<qint16>::min())
        return index;
    return static_cast<qint16>(next);
}

bool shuffleOn(const frmMP3 &w)
{
    return Tag(w.cmdShuffle).toInt() == 1;
}

bool insideList(const frmMP3 &w, int row)
{
    return row >= 0 && row < w.rowCount();
}

void stopEngine(frmMP3 &w)
{
    if (w.Mplay)
        w.Mplay->StopPlayback();
}

// Makes row the current track and plays it; selecting the row runs the click handling,
// which finds this same row.
void takeRow(frmMP3 &w, int row)
{
    w.SongPath = w.pathAt(row);
    w.SongName = w.nameAt(row);
    w.selectRow(row);
    w.cmdPlay_Click();
}

// Stepping off either end of the list stops the sound; the time labels keep their text.
void stopBranch(frmMP3 &w)
{
    stopEngine(w);
    w.PlaySeconds = 0;
    w.PlayMinutes = 0;
    w.Timer->stop();
}

void stepBy(frmMP3 &w, int by)
{
    w.SongIndex = stepped(w.SongIndex, by);
    if (insideList(w, w.SongIndex)) {
        stopEngine(w);
        takeRow(w, w.SongIndex);
    } else {
        stopBranch(w);
    }
}

} // namespace

void frmMP3::cmdBack_Click()
{
    if (SongPath.isEmpty())
        return;
    if (shuffleOn(*this)) {
        ShuffleIt();
        return;
    }
    stepBy(*this, -1);
}

void frmMP3::cmdForward_Click()
{
    if (shuffleOn(*this)) {
        ShuffleIt();
        return;
    }
    stepBy(*this, 1);
}

void frmMP3::Mplay_PlaybackEnded(qint32)
{
    if (shuffleOn(*this)) {
        ShuffleIt();
        return;
    }
    SongIndex = stepped(SongIndex, 1);
    Timer->stop();
    // The next track follows without a stop in between; after the last one the counters
    // keep the time it reached.
    if (insideList(*this, SongIndex))
        takeRow(*this, SongIndex);
    else
        stopEngine(*this);
}

void frmMP3::PlayList_Click()
{
    // With no row selected (a control-click can clear it) the index rests at 0 and the
    // current track stays what it was.
    SongIndex = 0;
    for (int row = 0; row < rowCount(); ++row) {
        if (isRowSelected(row)) {
            SongIndex = static_cast<qint16>(row);
            SongPath = pathAt(row);
            SongName = nameAt(row);
            return;
        }
    }
}

void frmMP3::PlayList_DblClick()
{
    if (LblSongName->text() == QLatin1String("Vebrolia.mp3")) {
        cmdStop_Click();
        if (!m_easter)
            m_easter = new frmEaster;
        m_easter->show();
        m_easter->raise();
        m_easter->activateWindow();
        return;
    }
    PlayList_Click();
    TimePlay();
    cmdPlay_Click();
}
