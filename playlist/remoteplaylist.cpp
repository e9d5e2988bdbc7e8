#include "playlist/remoteplaylist.h"

std::optional<QStringList> streamsInPlaylist(const QByteArray &, const QUrl &)
{
    return std::nullopt;
}

bool isHlsPlaylist(const QByteArray &bytes)
{
    return bytes.startsWith("#EXTM3U") && bytes.contains("#EXT-X-");
}
