#include "files/mediatypes.h"
#include "playback/mediaengine.h"
#include "player/player.h"

using Playback = PlayerState::Playback;

void Player::cmdPlay_Click()
{
    if (m_state->SongPath().isEmpty())
        return;
    // While paused, Play only resumes the file the engine already holds.
    if (m_state->paused()) {
        cmdPause_Click();
        return;
    }
    // A failing engine call is passed over and the remaining steps still run. The track
    // starts from its beginning, also when it was playing.
    tellGain(m_state->SongIndex());
    Mplay->MediaFile(m_state->SongPath());
    m_picks.clear();
    planNext(true);
    showTrackStart(Mplay->StartPlayback());
}

void Player::showTrackStart(bool started)
{
    m_state->setLyricsName(QString());
    m_state->setShownSongName(m_state->SongName());
    if (started)
        showLength();
    else
        TimePlay();
    m_state->resetElapsed();
    m_streamHeard = started && isStreamAddress(m_state->SongPath());
    // The clock counts only what is heard: a track that would not start leaves it off.
    m_state->setPlayback(started ? Playback::Playing : Playback::Stopped);
    emit lyricsWindowWanted();
    setLyrics(QString());
    LoadLyrics();
    if (!started)
        return;
    planNext();
    emit trackStarted();
}

void Player::Mplay_StartFailed()
{
    m_streamHeard = false;
    m_state->setPaused(false);
    m_state->setPlayback(Playback::Stopped);
    m_state->resetElapsed();
}

void Player::cmdPause_Click()
{
    if (m_state->SongPath().isEmpty())
        return;
    // The marker follows the button even when the engine fails, so a failed resume cannot
    // trap every later Play; the clock follows what the engine really does.
    if (!m_state->paused()) {
        const bool paused = Mplay->PausePlayback();
        m_state->setPaused(true);
        if (paused && m_state->playback() == Playback::Playing)
            m_state->setPlayback(Playback::Paused);
    } else {
        const bool resumed = Mplay->StartPlayback();
        m_state->setPaused(false);
        m_state->setPlayback(resumed ? Playback::Playing : Playback::Stopped);
    }
}

void Player::cmdStop_Click()
{
    Mplay->StopPlayback();
    m_state->setPlayback(Playback::Stopped);
    m_state->resetElapsed();
    m_state->setLyricsName(QString());
}

void Player::cmdMute_Click()
{
    if (const auto muted = Mplay->MuteState())
        Mplay->setMuteState(!*muted);
}
