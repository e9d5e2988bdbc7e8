#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

class PlaylistModel;

// Playlists written by other players: M3U and M3U8 (plain or extended), PLS, XSPF, and Windows
// Media's WPL and ASX. Reading gives the local files they name, as absolute paths, and the http
// and https streams, as their addresses, in their order; writing gives any of them. Each kind
// has its reader and writer in a file of its own (m3ufile.cpp, plsfile.cpp, xspffile.cpp,
// wplfile.cpp, asxfile.cpp) behind PlaylistKind; the player's own .smp files are in smpfile.h.

enum class PlaylistFormat { M3u, Pls, Xspf, Wpl, Asx };

// One row of the player's playlist as a playlist file records it: a local file's path or a
// stream's address, its name, and its length. Read from a file, the name is the title the file
// gives the entry, "" when none, and the length is not known.
struct PlaylistEntry {
    QString path;
    QString name;
    std::optional<double> seconds; // its length, when known
};

// The name of a row read from a playlist file: a local file keeps its file name, by which its
// lyrics are found; a stream shows its title, or its address when the file gives none.
QString rowName(const PlaylistEntry &entry);

// The format a playlist's name says it holds, by its extension in any case; nothing for
// the player's own .smp and any other name.
std::optional<PlaylistFormat> playlistFormatOf(const QString &fileName);

// The most bytes of any playlist file read, the player's own included, so a huge file cannot
// exhaust memory. A playlist of full rows with the longest names a file system allows (255
// bytes) fits well below this; whatever lies beyond could never fit in the playlist anyway.
// Other players' lists larger than this are refused; of the player's own, the head is read.
constexpr qint64 maxPlaylistBytes = 16 * 1024 * 1024;

// The local files and streams a playlist names with their titles, at most maxEntries of them
// (ask for one more than there is room for to tell whether the file holds more). Relative paths
// are taken from folder (the playlist's own folder); addresses of other schemes than http and
// https are passed over. Nothing when the content is not a playlist of that format: binary
// data, XML that is not well formed or has another root, a PLS without its header.
std::optional<QList<PlaylistEntry>> parsePlaylist(
    const QByteArray &bytes, PlaylistFormat format, const QString &folder, qsizetype maxEntries);

// Reads a playlist file whole, in the format its name says. Nothing when the name is of no
// such format, or the file is missing, unreadable, not a regular file, larger than
// maxPlaylistBytes or not a playlist.
std::optional<QList<PlaylistEntry>> readPlaylistFile(const QString &path, qsizetype maxEntries);

// The format "Guardar" writes under fileName: the one its extension names, since "Abrir" goes
// by the extension; nothing, the player's own .smp, for ".smp"; for any other name, M3U when
// the save dialog's M3U8 entry was picked, the player's own otherwise.
std::optional<PlaylistFormat> formatToSave(const QString &fileName, bool m3u8EntryPicked);

// The bytes of a playlist file of format kept in folder, which "Abrir" reads back as the
// entries' paths in their order. Streams are written as their addresses. Paths below folder are
// written relative to it, others absolute, and as file URLs where the plain path would not read
// back (a backslash, a control character, a noncharacter such as U+FFFE). M3U is an extended
// M3U8 in UTF-8 ("#EXTM3U", then "#EXTINF:<whole seconds, -1 when unknown or a stream>,<name>"
// and the path for each entry, lines ending in LF); PLS, XSPF and ASX record the names too, PLS
// and XSPF the lengths. Control characters in names are written as blanks, and so are the
// characters XML cannot hold in XSPF and ASX.
QByteArray encodePlaylistAs(
    PlaylistFormat format, const QList<PlaylistEntry> &entries, const QString &folder);

// Writes the playlist under fileName in the format formatToSave chooses, as "Guardar" does.
// False when the player's own format is chosen and a name holds a line break, or the file
// cannot be written; an old file is replaced only once the new one is wholly written.
bool savePlaylist(const PlaylistModel &playlist, const QString &fileName, bool m3u8EntryPicked);
