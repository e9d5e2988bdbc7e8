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
// paths taken from folder (the playlist's own folder). Streams (web addresses and the like)
// are passed over, and so are entries naming a folder, which is never a track.
std::optional<QString> takenEntry(const QUrl &url, const QString &folder);
std::optional<QString> takenPath(const QString &path, const QString &folder);

// An entry written as a path or a file URL, the way M3U, PLS, WPL and ASX write them.
std::optional<QString> localPath(const QString &entry, const QString &folder);

// An entry written as a URI, absolute or relative to the playlist, the way XSPF writes them.
std::optional<QString> locationPath(const QString &location, const QString &folder);

// The entries taken so far, never more than maxEntries.
class EntryCollector {
public:
    explicit EntryCollector(qsizetype maxEntries);
    void add(const std::optional<QString> &path);
    bool full() const;
    QStringList paths() const;

private:
    qsizetype m_max;
    QStringList m_paths;
};

// Writing

// An entry's path made absolute from base, the playlist's folder, when it is relative.
QString absoluteIn(const QDir &base, const QString &path);

// How a path is written for localPath to read back: below base relative to it, elsewhere
// absolute, and as a file URL where the plain path would not read back.
QString entryPath(const QString &path, const QDir &base);

// A path as an XSPF location: a URI relative to base below it, elsewhere a file URL.
QString locationUri(const QString &path, const QDir &base);

// A path as a percent-encoded file URL.
QString fileUrl(const QString &path);

// A name as a playlist shows it: control characters become blanks, since only the path has to
// come back whole. The XML kinds also blank what XML cannot hold at all.
QString shownName(const QString &name);
QString shownXmlName(const QString &name);

// An entry's length in whole seconds, -1 when unknown.
qint64 wholeSeconds(const PlaylistEntry &entry);
