#pragma once

#include "playback/tracktags.h"

#include <QObject>
#include <QString>
#include <QStringList>
#include <optional>

// The media engine the player drives. Every operation reports whether it worked; the
// handlers decide whether a failure is skipped. The contract:
//  - MediaFile names the file that the next StartPlayback plays from its start;
//  - StartPlayback after PausePlayback resumes where the file was paused;
//  - StopPlayback ends playback and keeps the file named, so a later start plays it from 0;
//  - MediaLength is valid as soon as StartPlayback has returned true; where the engine learns
//    the length better later, it raises LengthChanged;
//  - Seek moves the playing or paused file to a time, clamped to its start, and leaves it
//    playing or paused; a seek at or past the end ends the file as its own end would. With
//    the file stopped, or one that CanSeek says cannot seek (MIDI), Seek fails;
//  - PlaybackEnded is raised on the UI thread once for each file that plays to its end; an end
//    that comes while paused leaves the file paused where it ended and is raised on the resume;
//  - Tags are those of the named file, known some moments after it starts; naming another file
//    empties them. TagsChanged is raised on the UI thread whenever they change;
//  - QueueNext tells which files follow the named one, in order, as soon as the player knows
//    and again whenever that changes; enough of them for what GStreamer reads ahead. The engine
//    hands them to GStreamer ahead of the end without asking anyone; a path that cannot be
//    played ends the list there;
//  - a queued file follows without a gap. QueuedFileStarted is raised when its first sound is
//    heard; from then on it is the named file (MediaLength and Position tell of it), the list
//    told lost its first path, and no PlaybackEnded is raised for the file before it;
//  - a file queued that is no longer told, or cannot be played, is never heard: the file before
//    it plays to its end and PlaybackEnded is raised, as when nothing follows;
//  - setGain tells how loud a file plays, before MediaFile or QueueNext names it; a file never
//    told plays at its own track's gain;
//  - a stream (an http or https address, see isStreamAddress) is named and started at once,
//    without waiting for the network: MediaFile and StartPlayback only fail for what can never
//    play. A stream that gives no sound within 10 s (no server, no answer, nothing playable)
//    raises StartFailed; one that drops while playing is connected again, waiting 1, 2, 4 ... up
//    to 30 s between tries, and raises PlaybackEnded when it stays away for minutes. A stream
//    cannot be sought, has no length, and its Position counts only the time heard. Its tags
//    tell the station's name and the title it sends, each time that changes. A stream is never
//    queued: the list told ends before it;
//  - MediaFile, StopPlayback and a start from the beginning drop a queued file that has not
//    been heard yet; PausePlayback keeps it. The list told is kept until told again.
class MediaEngine : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    // How loud a file plays: at its track's gain, at its album's, or at the level it was
    // stored at. Either gain falls back on the other; a file without gain tags plays as stored.
    enum class Gain { Track, Album, Stored };

    virtual bool MediaFile(const QString &path) = 0;
    virtual bool StartPlayback() = 0;
    virtual bool PausePlayback() = 0;
    virtual bool StopPlayback() = 0;
    virtual std::optional<bool> MuteState() const = 0;
    virtual bool setMuteState(bool muted) = 0;
    // Loudness in hundredths of a decibel, from -10000 (quietest) to 0 (loudest); a level
    // outside is refused. The volume slider uses only -1000 to 0 (volumeLevelFor).
    virtual bool VolumeLevel(int level) = 0;
    // Length of the named file in seconds, or nothing when the engine cannot tell. Where the
    // engine can only guess it (an MP3 of over 64 MB without a length header), the guess
    // improves as the file plays.
    virtual std::optional<double> MediaLength() = 0;
    // Where playback stands in the named file, in seconds, or nothing when the engine cannot tell.
    virtual std::optional<double> Position() const = 0;
    // Moves playback to the given second of the playing or paused file.
    virtual bool Seek(double seconds) = 0;
    // Whether the playing or paused file can be moved within.
    virtual bool CanSeek() const = 0;
    virtual TrackTags Tags() const = 0;
    // The files to follow the one named, in order.
    virtual void QueueNext(const QStringList &paths) = 0;
    virtual void setGain(const QString &path, Gain gain) = 0;

signals:
    // The argument carries nothing the player uses.
    void PlaybackEnded(qint32 result);
    void TagsChanged();
    void QueuedFileStarted();
    void LengthChanged();
    // The stream named could not be started; the player treats it as a file that cannot play.
    void StartFailed();
};
