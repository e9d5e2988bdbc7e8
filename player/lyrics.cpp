#include "player/player.h"

#include "files/lyricsfile.h"
#include "files/lyricssearch.h"
#include "files/mediatypes.h"
#include "playback/mediaengine.h"

#include <QTimer>

void Player::LoadLyrics()
{
    m_timedLyrics.reset();
    // A stream's row names a station, not a song, and its address is no place to look beside.
    if (isStreamAddress(m_state->SongPath())) {
        followLyrics();
        return;
    }
    // A name too short keeps the empty LyricsName, and a track with lyrics nowhere keeps the
    // empty text that Play gave the window.
    if (const auto base = lyricsBaseName(m_state->SongName()))
        m_state->setLyricsName(*base);
    if (auto found = findLyrics(m_state->LyricsName(), m_state->SongPath())) {
        setLyrics(found->text());
        // Lyrics without a single time have nothing to follow.
        if (!found->cues.isEmpty())
            m_timedLyrics = std::move(*found);
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
