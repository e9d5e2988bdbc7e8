#include "playback/mediaengine.h"
#include "playback/timedisplay.h"
#include "player/player.h"

void Player::Timer_Timer()
{
    m_state->countSecond();
}

void Player::TimePlay()
{
    m_state->setLength(Mplay->MediaLength());
}

void Player::Slider_Scroll(int position)
{
    m_state->setVolume(position);
    if (const std::optional<int> level = volumeLevelFor(position))
        Mplay->VolumeLevel(*level);
}
