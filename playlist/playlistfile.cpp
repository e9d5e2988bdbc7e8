#include "playlist/playlistfile.h"

#include "files/textfiles.h"
#include "playlist/playlistformats.h"
#include "playlist/playlistmodel.h"

#include <QDir>
#include <QFileInfo>

std::optional<QByteArray> encodePlaylist(const QStringList &names)
{
    QByteArray bytes;
    for (const QString &name : names) {
        if (name.contains(QLatin1Char('\r')) || name.contains(QLatin1Char('\n')))
            return std::nullopt;
        bytes += name.toUtf8();
        bytes += "\r\n";
    }
    return bytes;
}

QStringList decodePlaylist(const QByteArray &bytes, qsizetype maxNames)
{
    QStringList names;
    if (maxNames <= 0)
        return names;
    forEachLine(bytes, [&](const QString &line) {
        names << line;
        return names.size() < maxNames;
    });
    return names;
}

QByteArray completeLines(const QByteArray &bytes)
{
    const qsizetype lastEnd = std::max(bytes.lastIndexOf('\r'), bytes.lastIndexOf('\n'));
    return bytes.first(lastEnd + 1);
}

std::optional<QByteArray> savedPlaylist(
    const PlaylistModel &playlist, const QString &fileName, bool m3u8EntryPicked)
{
    const auto format = formatToSave(fileName, m3u8EntryPicked);
    if (!format)
        return encodePlaylist(playlist.names());
    QList<PlaylistEntry> entries;
    entries.reserve(playlist.count());
    for (int row = 0; row < playlist.count(); ++row)
        entries.append({ playlist.pathAt(row), playlist.nameAt(row), playlist.secondsAt(row) });
    return encodePlaylistAs(*format, entries, QFileInfo(QDir::fromNativeSeparators(fileName)).absolutePath());
}
