#include "playback/mediaengine.h"
#include "playback/timedisplay.h"
#include "player/player.h"

// A stream's clock shows the time heard, which stands while the stream connects again.
void Player::Timer_Timer()
{
    if (!m_streamHeard) {
        m_state->countSecond();
        return;
    }
    if (const std::optional<double> heard = Mplay->Position())
        m_state->setElapsed(elapsedAt(*heard));
}

void Player::TimePlay()
{
    m_state->setLength(Mplay->MediaLength());
}

// The row keeps the length the engine told, for playlist files that record it.
void Player::showLength()
{
    TimePlay();
    if (m_playlist->pathAt(m_state->SongIndex()) == m_state->SongPath())
        m_playlist->setSeconds(m_state->SongIndex(), m_state->length());
}

void Player::Mplay_LengthChanged()
{
    if (m_state->playback() != PlayerState::Playback::Stopped)
        showLength();
}

void Player::Slider_Scroll(int position)
{
    m_state->setVolume(position);
    if (const std::optional<int> level = volumeLevelFor(position))
        Mplay->VolumeLevel(*level);
}
