#include "playlist/playlistfile.h"

#include "files/textfiles.h"

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
