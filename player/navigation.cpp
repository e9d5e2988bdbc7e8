#include "playback/mediaengine.h"
#include "player/player.h"

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

} // namespace

// Makes row the current track and plays it; selecting the row runs the click handling,
// which finds this same row.
void Player::takeRow(int row)
{
    m_state->setSongPath(m_playlist->pathAt(row));
    m_state->setSongName(m_playlist->nameAt(row));
    selectRow(row);
    cmdPlay_Click();
}

// Stepping off either end of the list stops the sound; the time labels keep their text.
void Player::stopBranch()
{
    stopEngine();
    m_state->resetElapsed();
    m_state->setPlayback(PlayerState::Playback::Stopped);
}

void Player::stepBy(int by)
{
    m_state->setSongIndex(stepped(m_state->SongIndex(), by));
    if (m_state->SongIndex() >= 0 && m_state->SongIndex() < m_playlist->count()) {
        stopEngine();
        takeRow(m_state->SongIndex());
    } else {
        stopBranch();
    }
}

void Player::cmdBack_Click()
{
    if (m_state->SongPath().isEmpty())
        return;
    if (m_state->shuffle()) {
        ShuffleIt();
        return;
    }
    stepBy(-1);
}

void Player::cmdForward_Click()
{
    if (m_state->shuffle()) {
        ShuffleIt();
        return;
    }
    stepBy(1);
}

void Player::Mplay_PlaybackEnded(qint32)
{
    // An end of file that was on its way when the user paused is stale: the pause holds.
    if (m_state->playback() == PlayerState::Playback::Paused)
        return;
    // With nothing left to pick, the player stops as after the last track.
    if (m_state->shuffle()) {
        if (!ShuffleIt()) {
            m_state->setPlayback(PlayerState::Playback::Stopped);
            stopEngine();
        }
        return;
    }
    m_state->setSongIndex(stepped(m_state->SongIndex(), 1));
    m_state->setPlayback(PlayerState::Playback::Stopped);
    // The next track follows without a stop in between; after the last one the counters
    // keep the time it reached.
    if (m_state->SongIndex() >= 0 && m_state->SongIndex() < m_playlist->count())
        takeRow(m_state->SongIndex());
    else
        stopEngine();
}

// GStreamer reads some two seconds ahead of what is heard; tracks shorter than that need the
// rows after the next one too, as many as fit in it.
constexpr int plannedAhead = 6;

void Player::planNext(bool starting)
{
    if (!Mplay || (!starting && m_state->playback() == PlayerState::Playback::Stopped))
        return;
    QList<PlannedRow> plan;
    if (m_state->shuffle()) {
        while (m_playlist->count() > 0 && m_picks.size() < plannedAhead)
            m_picks << shuffleRow();
        for (int row : std::as_const(m_picks))
            plan << PlannedRow { row, m_playlist->pathAt(row) };
    } else {
        for (int row = m_state->SongIndex() + 1;
             row >= 0 && row < m_playlist->count() && plan.size() < plannedAhead; ++row)
            plan << PlannedRow { row, m_playlist->pathAt(row) };
    }
    if (plan == m_plan)
        return;
    m_plan = plan;
    QStringList paths;
    for (const PlannedRow &planned : std::as_const(plan)) {
        tellGain(planned.row);
        paths << planned.path;
    }
    Mplay->QueueNext(paths);
}

// The picks of shuffle mode are for the list and the mode they were made in.
void Player::replan()
{
    m_picks.clear();
    planNext();
}

// The queued track is heard: the end of the track before it is handled as any end of a
// track, but for loading the file again.
void Player::Mplay_QueuedFileStarted()
{
    if (m_plan.isEmpty()) {
        Mplay_PlaybackEnded(0);
        return;
    }
    const PlannedRow heard = m_plan.takeFirst();
    if (!m_picks.isEmpty())
        m_picks.removeFirst();
    if (!m_state->shuffle()) {
        m_state->setSongIndex(static_cast<qint16>(heard.row));
        m_state->setPlayback(PlayerState::Playback::Stopped);
    }
    m_state->setSongPath(heard.path);
    m_state->setSongName(m_playlist->nameAt(heard.row));
    selectRow(heard.row);
    showTrackStart(true);
}

void Player::PlayList_Click()
{
    // With no row selected (a control-click can clear it) the index rests at 0 and the
    // current track stays what it was.
    const int row = selectedRow();
    m_state->setSongIndex(row < 0 ? 0 : static_cast<qint16>(row));
    if (row < 0)
        return;
    m_state->setSongPath(m_playlist->pathAt(row));
    m_state->setSongName(m_playlist->nameAt(row));
}

void Player::PlayList_DblClick()
{
    if (m_state->shownSongName() == QLatin1String("Vebrolia.mp3")) {
        cmdStop_Click();
        emit greetingWanted();
        return;
    }
    PlayList_Click();
    TimePlay();
    cmdPlay_Click();
}
