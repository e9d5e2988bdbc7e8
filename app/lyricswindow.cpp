#include "app/frmMP3.h"
#include "extras/frmLyrics.h"
#include "player/player.h"

void frmMP3::SeeLyrics_Click()
{
    lyricsWindow()->show();
}

void frmMP3::HideLyrics_Click()
{
    lyricsWindow()->hide();
}

frmLyrics *frmMP3::lyricsWindow()
{
    if (!m_lyrics) {
        m_lyrics = new frmLyrics;
        connect(m_lyrics, &frmLyrics::shownChanged, &m_player, &Player::setLyricsShown);
    }
    return m_lyrics;
}

frmLyrics *frmMP3::existingLyricsWindow() const
{
    return m_lyrics;
}

// A track that starts shows its lyrics window, unless the player is hidden in the
// notification area.
void frmMP3::showLyricsWindow()
{
    if (isVisible())
        lyricsWindow()->show();
}

void frmMP3::showLyrics(const QString &text)
{
    lyricsWindow()->setLyrics(text);
}

// Nothing is marked in a window that is yet to be made.
void frmMP3::showSungLine(std::optional<qsizetype> line)
{
    if (!m_lyrics)
        return;
    if (line)
        m_lyrics->markLine(*line);
    else
        m_lyrics->clearMark();
}
