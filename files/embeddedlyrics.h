#pragma once

#include "files/lrcfile.h"

#include <QString>
#include <optional>

// The lyrics a media file carries in its own tags, read with TagLib. Timed lyrics come first:
// an ID3v2 SYLT frame with times in milliseconds, else any lyrics tag whose text is LRC; then
// plain lyrics: ID3v2 USLT, the Vorbis comments LYRICS and UNSYNCEDLYRICS, MP4's ©lyr, and
// what other containers TagLib reads call lyrics. Plain lyrics come back without cues.
// Nothing when the file is not a regular file, is of a kind TagLib does not read, or holds
// no lyrics. Reads only the tags, never the audio, so it takes milliseconds for a local file.
std::optional<TimedLyrics> readEmbeddedLyrics(const QString &path);
// The album a media file's tags name, read the same way; empty when they name none.
QString readAlbum(const QString &path);
