#include "playlist/remoteplaylist.h"

#include "playlist/playlistkind.h"
#include "playlist/playlistmodel.h"

namespace {

// Whether the bytes begin as markup does, after any byte-order mark and blanks.
bool looksLikeMarkup(const QByteArray &bytes)
{
    QByteArrayView text(bytes);
    if (text.startsWith("\xEF\xBB\xBF"))
        text = text.sliced(3);
    return text.trimmed().startsWith('<');
}

// A PLS tells itself by its header and an XML kind by its root; markup of no such kind is a
// web page, never a list of addresses, and whatever else is text is an M3U.
std::optional<QList<PlaylistEntry>> entriesOfAnyKind(const QByteArray &bytes, const EntryBase &base)
{
    if (auto entries = plsKind().read(bytes, base, kPlaylistCapacity))
        return entries;
    if (!looksLikeMarkup(bytes))
        return m3uKind().read(bytes, base, kPlaylistCapacity);
    for (const PlaylistKind *kind : { &xspfKind(), &asxKind(), &wplKind() }) {
        if (auto entries = kind->read(bytes, base, kPlaylistCapacity))
            return entries;
    }
    return std::nullopt;
}

} // namespace

std::optional<QStringList> streamsInPlaylist(const QByteArray &bytes, const QUrl &address)
{
    if (isHlsPlaylist(bytes))
        return std::nullopt;
    const auto entries = entriesOfAnyKind(bytes, EntryBase::web(address));
    if (!entries || entries->isEmpty())
        return std::nullopt;
    QStringList streams;
    for (const PlaylistEntry &entry : *entries)
        streams << entry.path;
    return streams;
}

bool isHlsPlaylist(const QByteArray &bytes)
{
    return bytes.startsWith("#EXTM3U") && bytes.contains("#EXT-X-");
}
