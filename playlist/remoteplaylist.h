#pragma once

#include <QByteArray>
#include <QStringList>
#include <QUrl>
#include <optional>

// A station's playlist fetched from the web (a PLS, M3U or XSPF file over http).

// The streams the playlist names, in order: only http and https addresses, relative ones
// taken from address; local files and other schemes are passed over. The kind is told by the
// bytes, not by the address. Nothing when the bytes are no playlist or name no stream.
std::optional<QStringList> streamsInPlaylist(const QByteArray &bytes, const QUrl &address);

// Whether the bytes are an HLS playlist (M3U8 with "#EXT-X-" lines), which GStreamer plays
// from its address itself.
bool isHlsPlaylist(const QByteArray &bytes);
