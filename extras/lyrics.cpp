#include "app/frmMP3.h"
#include "extras/frmLyrics.h"
#include "extras/lyricsfile.h"

void frmMP3::LoadLyrics()
{
    // Each step goes on its own: a name too short keeps the empty LyricsName, and a missing
    // or unreadable file keeps the empty text that Play gave the window.
    if (const auto base = lyricsBaseName(m_state->SongName()))
        m_state->setLyricsName(*base);
    if (const auto text = readLyrics(lyricsPath(m_state->LyricsName())))
        lyricsWindow()->setLyrics(*text);
}

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
    if (!m_lyrics)
        m_lyrics = new frmLyrics;
    return m_lyrics;
}

frmLyrics *frmMP3::existingLyricsWindow() const
{
    return m_lyrics;
}
