#include "player/player.h"

#include "files/lyricsfile.h"
#include "playback/mediaengine.h"

#include <QTimer>

void Player::LoadLyrics()
{
    m_timedLyrics.reset();
    // Each step goes on its own: a name too short keeps the empty LyricsName, and a missing
    // or unreadable file keeps the empty text that Play gave the window. A plain file wins
    // over a timed one.
    if (const auto base = lyricsBaseName(m_state->SongName()))
        m_state->setLyricsName(*base);
    if (const auto text = readLyrics(lyricsPath(m_state->LyricsName()))) {
        setLyrics(*text);
    } else if (auto timed = readTimedLyrics(timedLyricsPath(m_state->LyricsName()))) {
        setLyrics(timed->text());
        // A file without a single time has nothing to follow.
        if (!timed->cues.isEmpty())
            m_timedLyrics = std::move(*timed);
    }
    followLyrics();
}

void Player::setLyricsShown(bool shown)
{
    m_lyricsShown = shown;
    followLyrics();
}

void Player::setLyrics(const QString &text)
{
    m_lyrics = text;
    emit lyricsChanged(text);
}

// The engine is asked where the track stands only while the answer can be seen.
void Player::followLyrics()
{
    const bool follow
        = m_timedLyrics && m_lyricsShown && m_state->playback() == PlayerState::Playback::Playing;
    if (!follow)
        m_lyricsTimer->stop();
    else if (!m_lyricsTimer->isActive())
        m_lyricsTimer->start();
}

void Player::markSungLine()
{
    if (!m_timedLyrics || !Mplay)
        return;
    // A moment the engine cannot place keeps the mark where it was.
    if (const std::optional<double> seconds = Mplay->Position())
        markLineAt(*seconds);
}

void Player::markLineAt(double seconds)
{
    if (m_timedLyrics)
        emit sungLineChanged(markedLine(*m_timedLyrics, qRound64(seconds * 1000)));
}
