#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

// One time of a timed lyrics file: from atMs on (in the track, offset applied), the shown
// line numbered line is the one being sung.
struct LyricsCue {
    qint64 atMs = 0;
    qsizetype line = 0;
    friend bool operator==(const LyricsCue &, const LyricsCue &) = default;
};

// Lyrics read from an LRC file: the lines the window shows, without their time tags and
// without the lines that only tell the file's artist, title and the like; and the cues,
// sorted by time, a line holding several times having a cue for each.
struct TimedLyrics {
    QStringList lines;
    QList<LyricsCue> cues;
    // The lines as the text box shows them.
    QString text() const;
};

// Lyrics without times: the lines of the text, no cue.
TimedLyrics plainLyrics(const QString &text);

// Reads LRC text. Lines without a time are shown but never marked; "[offset:+/-ms]"
// shifts every time, a positive offset showing the lines sooner. Any text is accepted.
TimedLyrics parseLrc(const QString &text);

// The shown line being sung positionMs into the track: the line of the last cue at or before
// it. Nothing before the first cue or when there are no cues.
std::optional<qsizetype> markedLine(const TimedLyrics &lyrics, qint64 positionMs);

// An LRC file read as lyrics text files are read (same encodings and size cap), then parsed.
// Nothing when it is missing, unreadable or not a regular file.
std::optional<TimedLyrics> readTimedLyrics(const QString &path);
