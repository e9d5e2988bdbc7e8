#include "player/playerstate.h"

void PlayerState::setSongPath(const QString &path)
{
    if (path == m_songPath)
        return;
    m_songPath = path;
    emit currentTrackChanged();
}

void PlayerState::setSongName(const QString &name)
{
    if (name == m_songName)
        return;
    m_songName = name;
    emit currentTrackChanged();
}

void PlayerState::setSongIndex(qint16 index)
{
    if (index == m_songIndex)
        return;
    m_songIndex = index;
    emit currentTrackChanged();
}

void PlayerState::setShownSongName(const QString &name)
{
    if (name == m_shownSongName)
        return;
    m_shownSongName = name;
    emit shownSongChanged(name);
}

void PlayerState::setLength(std::optional<double> seconds)
{
    m_length = seconds;
    if (seconds) {
        if (const std::optional<MinutesSeconds> shown = lengthDisplay(*seconds))
            m_shownLength = *shown;
    }
    emit lengthChanged();
}

void PlayerState::resetElapsed()
{
    m_elapsed = {};
}

void PlayerState::countSecond()
{
    m_elapsed = nextTick(m_elapsed);
    emit elapsedCounted(m_elapsed);
}

void PlayerState::setElapsed(MinutesSeconds elapsed)
{
    m_elapsed = elapsed;
    emit elapsedCounted(m_elapsed);
}

void PlayerState::setLyricsName(const QString &name)
{
    m_lyricsName = name;
}

void PlayerState::setPlayback(Playback playback)
{
    m_playback = playback;
    emit playbackChanged(playback);
}

void PlayerState::setPaused(bool paused)
{
    if (paused == m_paused)
        return;
    m_paused = paused;
    emit pausedChanged(paused);
}

void PlayerState::setShuffle(bool on)
{
    if (on == m_shuffle)
        return;
    m_shuffle = on;
    emit shuffleChanged(on);
}

void PlayerState::setResident(bool resident)
{
    if (resident == m_resident)
        return;
    m_resident = resident;
    emit residentChanged(resident);
}

void PlayerState::setBackgroundPath(const QString &path)
{
    m_backgroundPath = path;
    emit backgroundChanged(path);
}

void PlayerState::setCompactView(bool compact)
{
    if (compact == m_compactView)
        return;
    m_compactView = compact;
    emit compactViewChanged(compact);
}

void PlayerState::setVolume(int position)
{
    if (position == m_volume)
        return;
    m_volume = position;
    emit volumeChanged(position);
}
