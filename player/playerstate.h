#pragma once

#include "playback/timedisplay.h"

#include <QObject>
#include <QString>
#include <optional>

// What the player's handlers read and write, apart from any widget. The main window shows
// it by listening to the change signals; the desktop's media controls follow them too.
class PlayerState : public QObject {
    Q_OBJECT
public:
    // What the user hears: a paused file is Paused, anything that is not sounding and not
    // paused is Stopped.
    enum class Playback { Stopped, Playing, Paused };
    Q_ENUM(Playback)

    using QObject::QObject;

    // The current track: the playlist row the transport acts on, and copies of its entry.
    // The copies are refreshed only where the handlers say so, so they may lag the row.
    const QString &SongPath() const { return m_songPath; }
    const QString &SongName() const { return m_songName; }
    qint16 SongIndex() const { return m_songIndex; }
    void setSongPath(const QString &path);
    void setSongName(const QString &name);
    void setSongIndex(qint16 index);

    // The name of the track that Play last started, as the song label shows it.
    const QString &shownSongName() const { return m_shownSongName; }
    void setShownSongName(const QString &name);

    // The length of the file the engine last started, in seconds, as the engine told it,
    // and the minutes and seconds shown for it. The shown length keeps its old value when
    // the engine cannot tell a length or the length is too long to count.
    std::optional<double> length() const { return m_length; }
    MinutesSeconds shownLength() const { return m_shownLength; }
    void setLength(std::optional<double> seconds);

    // The elapsed-time count. Zeroing it shows nothing until the next count: the labels keep
    // the time last counted.
    qint16 PlaySeconds() const { return m_elapsed.seconds; }
    qint16 PlayMinutes() const { return m_elapsed.minutes; }
    void resetElapsed();
    void countSecond();
    // A seek sets the count to where the track now stands, and shows it at once.
    void setElapsed(MinutesSeconds elapsed);

    const QString &LyricsName() const { return m_lyricsName; }
    void setLyricsName(const QString &name);

    // Setting it signals even when it does not change: a track started while another plays
    // starts its clock's seconds afresh.
    Playback playback() const { return m_playback; }
    void setPlayback(Playback playback);

    // The pause marker: set by Pausa, cleared by the resume. It outlives a stop, so that the
    // next Empezar resumes rather than loads.
    bool paused() const { return m_paused; }
    void setPaused(bool paused);

    bool shuffle() const { return m_shuffle; }
    void setShuffle(bool on);

    // True while the player stays in the notification area; false only while it quits.
    bool resident() const { return m_resident; }
    void setResident(bool resident);

    // The background picture's path as last chosen or restored. Setting it always signals,
    // so a picture chosen again is read again.
    const QString &backgroundPath() const { return m_backgroundPath; }
    void setBackgroundPath(const QString &path);

    // The compact view hides the controls and keeps the labels and the picture.
    bool compactView() const { return m_compactView; }
    void setCompactView(bool compact);

    // The volume slider's position, 0 (quietest) to 10 (loudest).
    int volume() const { return m_volume; }
    void setVolume(int position);

signals:
    void currentTrackChanged();
    void shownSongChanged(const QString &name);
    void lengthChanged();
    void elapsedCounted(MinutesSeconds elapsed);
    void playbackChanged(PlayerState::Playback playback);
    void pausedChanged(bool paused);
    void shuffleChanged(bool on);
    void residentChanged(bool resident);
    void backgroundChanged(const QString &path);
    void compactViewChanged(bool compact);
    void volumeChanged(int position);

private:
    QString m_songPath;
    QString m_songName;
    qint16 m_songIndex = 0;
    QString m_shownSongName;
    std::optional<double> m_length;
    MinutesSeconds m_shownLength;
    MinutesSeconds m_elapsed;
    QString m_lyricsName;
    Playback m_playback = Playback::Stopped;
    bool m_paused = false;
    bool m_shuffle = false;
    bool m_resident = true;
    QString m_backgroundPath;
    bool m_compactView = false;
    int m_volume = 10;
};
