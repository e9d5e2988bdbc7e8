#include "player/player.h"

#include <QItemSelectionModel>

void Player::cmdDelete_Click()
{
    // The search for the selected entry starts at the current row, not at the top; when
    // it runs off the list nothing is removed, yet the current track is forgotten all
    // the same.
    int row = m_state->SongIndex();
    while (row >= 0 && row < m_playlist->count() && !isRowSelected(row))
        ++row;
    // With its entry gone no row is current, so none stays highlighted either.
    if (m_playlist->remove(row))
        m_selection->clearSelection();
    m_state->setShownSongName(QString());
    m_state->setSongPath(QString());
    m_state->setSongIndex(0);
}

void Player::cmdDelAll_Click()
{
    if (m_playlist->count() == 0)
        return;
    m_playlist->clear();
    m_state->setShownSongName(QString());
    m_state->setSongPath(QString());
}
