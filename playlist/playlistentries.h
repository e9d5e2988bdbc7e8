#pragma once

#include "playlist/playlistformats.h"

#include <QDir>
#include <QString>
#include <QStringList>
#include <QUrl>
#include <optional>

// The rules every kind of playlist file follows, whichever way it writes its entries.

// Reading

// Text formats hold no control characters but tabs and line ends; a file that does is data of
// some other kind.
bool looksLikeText(const QByteArray &bytes);

// Which entries become rows, in one place: a local file, as its absolute path with relative
// paths taken from folder (the playlist's own folder), and an http or https stream, as its
// address. Other schemes (rtsp, mms, ftp and the like) are passed over, and so are entries
// naming a folder, which is never a track.
std::optional<QString> takenEntry(const QUrl &url, const QString &folder);
std::optional<QString> takenPath(const QString &path, const QString &folder);

// Where a playlist's entries are taken from: a playlist file's folder, whose relative entries
// are files in it, or the address of a playlist fetched from the web, whose entries, relative
// ones resolved against it, are taken only when they are streams.
class EntryBase {
public:
    static EntryBase folder(const QString &folder);
    static EntryBase web(const QUrl &address);

    // An entry written as a path or a URL, the way M3U, PLS, WPL and ASX write them.
    std::optional<QString> path(const QString &entry) const;
    // An entry written as a URI, absolute or relative to the playlist, the way XSPF writes them.
    std::optional<QString> location(const QString &location) const;

private:
    bool m_web = false;
    QString m_folder;
    QUrl m_address;
};

// The entries taken so far with the titles their playlist gives them, never more than
// maxEntries.
class EntryCollector {
public:
    explicit EntryCollector(qsizetype maxEntries);
    void add(const std::optional<QString> &path, const QString &title = QString());
    bool full() const;
    QList<PlaylistEntry> entries() const;

private:
    qsizetype m_max;
    QList<PlaylistEntry> m_entries;
};

// Writing

// A stream's address is written as it is, never made relative nor into a file URL; the
// functions below say how a row's path is written otherwise.

// How a path is written for EntryBase::path to read back: below base, the playlist's
// folder, relative to it, elsewhere absolute, and as a file URL where the plain path would
// not read back.
QString entryPath(const QString &path, const QDir &base);

// A path as an XSPF location: a URI relative to base below it, elsewhere a file URL.
QString locationUri(const QString &path, const QDir &base);

// A path as a URL, the way ASX refers to its entries: a file URL of its absolute path.
QString entryUrl(const QString &path, const QDir &base);

// A name as a playlist shows it: control characters become blanks, since only the path has to
// come back whole. The XML kinds also blank what XML cannot hold at all.
QString shownName(const QString &name);
QString shownXmlName(const QString &name);

// An entry's length in whole seconds, -1 when unknown and for a stream, which has none.
qint64 wholeSeconds(const PlaylistEntry &entry);
