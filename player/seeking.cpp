#include "player/player.h"

#include "playback/mediaengine.h"
#include "playback/timedisplay.h"

#include <QTimer>

bool Player::seekTo(double seconds)
{
    const double target = std::max(seconds, 0.0);
    if (m_state->playback() == PlayerState::Playback::Stopped || !Mplay || !Mplay->Seek(target))
        return false;
    // The clock shows where the track now stands and counts its next second from there; the
    // sung line is the one of the new moment, back as well as forward.
    m_state->setElapsed(elapsedAt(target));
    if (Timer->isActive())
        Timer->start();
    markLineAt(target);
    emit seeked(target);
    return true;
}

bool Player::seekBy(double seconds)
{
    const std::optional<double> now = position();
    return now && seekTo(*now + seconds);
}

std::optional<double> Player::position() const
{
    if (m_state->playback() == PlayerState::Playback::Stopped || !Mplay)
        return std::nullopt;
    return Mplay->Position();
}

bool Player::canSeek() const
{
    return m_state->playback() != PlayerState::Playback::Stopped && Mplay && Mplay->CanSeek();
}

TrackTags Player::tags() const
{
    return Mplay ? Mplay->Tags() : TrackTags {};
}
