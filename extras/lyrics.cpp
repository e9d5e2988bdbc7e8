#include "app/frmMP3.h"
#include "extras/frmLyrics.h"

void frmMP3::LoadLyrics()
{
}

void frmMP3::SeeLyrics_Click()
{
}

void frmMP3::HideLyrics_Click()
{
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
