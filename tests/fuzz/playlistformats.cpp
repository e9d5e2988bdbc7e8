// Feeds any bytes to the reader of other players' playlists, in every format, and to the reader
// of a station's playlist from the web: each row read is a local file by its absolute path or
// a stream, and one from the web is a stream.
#include "playlist/playlistformats.h"
#include "files/mediatypes.h"
#include "playlist/remoteplaylist.h"

#include <QDir>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    for (const PlaylistFormat format : { PlaylistFormat::M3u, PlaylistFormat::Pls, PlaylistFormat::Xspf,
             PlaylistFormat::Wpl, PlaylistFormat::Asx }) {
        const auto entries
            = parsePlaylist(bytes, format, QStringLiteral("/lists"), 50).value_or(QList<PlaylistEntry>());
        for (const PlaylistEntry &entry : entries) {
            if (entries.size() > 50 || !(QDir::isAbsolutePath(entry.path) || isStreamAddress(entry.path)))
                __builtin_trap();
        }
    }
    const QUrl web(QStringLiteral("http://radio.example/a/l"));
    for (const QString &stream : streamsInPlaylist(bytes, web).value_or(QStringList()))
        if (!isStreamAddress(stream))
            __builtin_trap();
    return 0;
}
