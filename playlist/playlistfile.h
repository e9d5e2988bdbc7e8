#pragma once

#include <QByteArray>
#include <QStringList>
#include <limits>
#include <optional>

class PlaylistModel;

// Playlist files (.smp): one display name a line, in playlist order, each line ending in
// CR LF, no header. An empty playlist is an empty file.

// The most rows a playlist holds: row numbers are 16-bit.
constexpr qsizetype kPlaylistCapacity = std::numeric_limits<qint16>::max();

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

// The bytes "Guardar" writes for the playlist under fileName, in the format formatToSave
// chooses. Nothing when the player's own format is chosen and a name holds a line break.
std::optional<QByteArray> savedPlaylist(
    const PlaylistModel &playlist, const QString &fileName, bool m3u8EntryPicked);
