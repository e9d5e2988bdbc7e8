#pragma once

#include "playlist/playlistmodel.h"

#include <QByteArray>
#include <QStringList>
#include <optional>

// The player's own playlist files (.smp): one display name a line, in playlist order, each
// line ending in CR LF, no header. An empty playlist is an empty file. The names stand behind
// the folder of the last added track, which the player remembers apart; a stream has no
// folder, and its line is its address.

// The lines the playlist is saved as: each row's name, a stream's address.
QStringList smpLines(const PlaylistModel &playlist);

// The bytes of a playlist file, or nothing when a name holds a line break: such a name
// would come back as two wrong entries.
std::optional<QByteArray> encodePlaylist(const QStringList &names);

// The names of a playlist file, at most maxNames of them. Lines may end in CR LF, LF or CR
// (the last one may have no end at all); each line is UTF-8 where its bytes are valid
// UTF-8 and Windows-1252 otherwise, so files written on Windows keep their accents.
QStringList decodePlaylist(const QByteArray &bytes, qsizetype maxNames = kPlaylistCapacity);

// The bytes up to and including the last line end: what remains of a file read only in
// part once its cut-off last line is dropped.
QByteArray completeLines(const QByteArray &bytes);

struct SmpFileRead {
    QStringList names;
    // False when the file was larger than maxPlaylistBytes and only its head was read.
    bool complete = true;
};

// The names of the playlist file at path, at most maxNames of them. A file larger than
// maxPlaylistBytes gives the whole lines of its head. Nothing when the file is missing,
// unreadable or not a regular file.
std::optional<SmpFileRead> readSmpFile(const QString &path, qsizetype maxNames);
