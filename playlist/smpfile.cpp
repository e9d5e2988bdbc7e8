#include "playlist/smpfile.h"

#include "files/mediatypes.h"
#include "files/textfiles.h"
#include "playlist/playlistformats.h"

QStringList smpLines(const PlaylistModel &playlist)
{
    QStringList lines;
    lines.reserve(playlist.count());
    for (int row = 0; row < playlist.count(); ++row) {
        const QString path = playlist.pathAt(row);
        lines << (isStreamAddress(path) ? path : playlist.nameAt(row));
    }
    return lines;
}

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

std::optional<SmpFileRead> readSmpFile(const QString &path, qsizetype maxNames)
{
    const auto bytes = readRegularFile(path, maxPlaylistBytes + 1);
    if (!bytes)
        return std::nullopt;
    if (bytes->size() <= maxPlaylistBytes)
        return SmpFileRead { decodePlaylist(*bytes, maxNames), true };
    return SmpFileRead { decodePlaylist(completeLines(bytes->first(maxPlaylistBytes)), maxNames), false };
}
