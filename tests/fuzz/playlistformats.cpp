// Feeds any bytes to the reader of other players' playlists, in every format.
#include "playlist/playlistformats.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    for (const PlaylistFormat format : { PlaylistFormat::M3u, PlaylistFormat::Pls, PlaylistFormat::Xspf,
             PlaylistFormat::Wpl, PlaylistFormat::Asx }) {
        const auto paths = parsePlaylist(bytes, format, QStringLiteral("/lists"), 50);
        if (paths && paths->size() > 50)
            __builtin_trap();
    }
    return 0;
}
