#include "files/embeddedlyrics.h"
#include "files/mediatypes.h"
#include "files/programfolder.h"
#include "files/textfiles.h"
#include "playback/mediaengine.h"
#include "player/player.h"

namespace {

// A track plays at its album's gain where the track heard before or after it comes from the
// same album, so that the album keeps the levels its tracks were mastered at; alone, or in
// shuffle mode, it plays at its own. "Ganancia.txt" holding 0 plays every file as stored; a
// person writes it by hand, so any line end will do.
MediaEngine::Gain gainFor(const PlaylistModel &playlist, int row, bool shuffle)
{
    const auto setting = readRegularFile(besideProgram(QStringLiteral("Ganancia.txt")), 16);
    if (setting && setting->trimmed() == "0")
        return MediaEngine::Gain::Stored;
    if (shuffle)
        return MediaEngine::Gain::Track;
    const QString album = readAlbum(playlist.pathAt(row));
    const auto sameAlbum = [&playlist, &album](int neighbour) {
        return neighbour >= 0 && neighbour < playlist.count()
            && readAlbum(playlist.pathAt(neighbour)) == album;
    };
    return !album.isEmpty() && (sameAlbum(row - 1) || sameAlbum(row + 1)) ? MediaEngine::Gain::Album
                                                                          : MediaEngine::Gain::Track;
}

} // namespace

// A stream plays as it is sent, and its address is no file to read tags from.
void Player::tellGain(int row)
{
    if (row >= 0 && row < m_playlist->count() && !isStreamAddress(m_playlist->pathAt(row)))
        Mplay->setGain(m_playlist->pathAt(row), gainFor(*m_playlist, row, m_state->shuffle()));
}
