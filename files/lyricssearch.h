#pragma once

#include "files/lrcfile.h"

#include <QString>
#include <optional>

// The lyrics of a track, from the first place that has them: "<base>.txt", then "<base>.lrc"
// in the Lyrics folder beside the program; "<base>.lrc", then "<base>.txt" beside the track;
// timed, then plain lyrics in the track's own tags. Text files give their lines without cues
// unless they are LRC files. Nothing when no place has any.
std::optional<TimedLyrics> findLyrics(const QString &baseName, const QString &trackPath);
