#include "player/player.h"
#include "playlist/shufflerandom.h"

void Player::cmdShuffle_Click()
{
    if (!m_state->shuffle()) {
        m_state->setShuffle(true);
        // With an empty playlist nothing can be picked; the mode is on all the same.
        ShuffleIt();
    } else {
        m_state->setShuffle(false);
    }
}

int Player::shuffleRow() const
{
    const float r = m_random ? m_random() : clockRandom();
    return shufflePick(r, m_playlist->count());
}

bool Player::ShuffleIt()
{
    const int row = shuffleRow();
    // Selecting the row runs the click handling, which makes it the current row.
    if (!selectRow(row))
        return false;
    m_state->setSongPath(m_playlist->pathAt(row));
    m_state->setSongName(m_playlist->nameAt(row));
    cmdPlay_Click();
    return true;
}
