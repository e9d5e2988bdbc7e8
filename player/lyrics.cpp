#include "app/frmMP3.h"
#include "extras/frmLyrics.h"
#include "files/lyricsfile.h"
#include "playback/mediaengine.h"

#include <QTimer>

void frmMP3::LoadLyrics()
{
    m_timedLyrics.reset();
    // Each step goes on its own: a name too short keeps the empty LyricsName, and a missing
    // or unreadable file keeps the empty text that Play gave the window. A plain file wins
    // over a timed one.
    if (const auto base = lyricsBaseName(m_state->SongName()))
        m_state->setLyricsName(*base);
    if (const auto text = readLyrics(lyricsPath(m_state->LyricsName()))) {
        lyricsWindow()->setLyrics(*text);
    } else if (auto timed = readTimedLyrics(timedLyricsPath(m_state->LyricsName()))) {
        lyricsWindow()->setLyrics(timed->text());
        // A file without a single time has nothing to follow.
        if (!timed->cues.isEmpty())
            m_timedLyrics = std::move(*timed);
    }
    followLyrics();
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
    if (!m_lyrics) {
        m_lyrics = new frmLyrics;
        // A new window is empty: whatever timed lyrics the last one showed are gone with it.
        m_timedLyrics.reset();
        connect(m_lyrics, &frmLyrics::shownChanged, this, &frmMP3::followLyrics);
    }
    return m_lyrics;
}

frmLyrics *frmMP3::existingLyricsWindow() const
{
    return m_lyrics;
}

// The engine is asked where the track stands only while the answer can be seen.
void frmMP3::followLyrics()
{
    const bool follow = m_timedLyrics && m_lyrics && m_lyrics->isVisible()
        && m_state->playback() == PlayerState::Playback::Playing;
    if (!follow)
        m_lyricsTimer->stop();
    else if (!m_lyricsTimer->isActive())
        m_lyricsTimer->start();
}

// A pause leaves the mark on the line it reached; a stop leaves nothing being sung.
void frmMP3::showLyricsPlayback(PlayerState::Playback playback)
{
    if (playback == PlayerState::Playback::Stopped && m_lyrics)
        m_lyrics->clearMark();
    followLyrics();
}

void frmMP3::markSungLine()
{
    if (!m_timedLyrics || !m_lyrics || !Mplay)
        return;
    // A moment the engine cannot place keeps the mark where it was.
    const std::optional<double> seconds = Mplay->Position();
    if (!seconds)
        return;
    if (const auto line = markedLine(*m_timedLyrics, qRound64(*seconds * 1000)))
        m_lyrics->markLine(*line);
    else
        m_lyrics->clearMark();
}
