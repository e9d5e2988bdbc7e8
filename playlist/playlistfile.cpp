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
    qsizetype start = 0;
    while (start < bytes.size() && names.size() < maxNames) {
        qsizetype end = start;
        while (end < bytes.size() && bytes[end] != '\r' && bytes[end] != '\n')
            ++end;
        names << decodeText(bytes.sliced(start, end - start));
        // A CR directly followed by LF ends one line, not two.
        if (end + 1 < bytes.size() && bytes[end] == '\r' && bytes[end + 1] == '\n')
            ++end;
        start = end + 1;
    }
    return names;
}

QByteArray completeLines(const QByteArray &bytes)
{
    const qsizetype lastEnd = std::max(bytes.lastIndexOf('\r'), bytes.lastIndexOf('\n'));
    return bytes.first(lastEnd + 1);
}
