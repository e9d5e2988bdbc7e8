#pragma once

#include <QByteArray>
#include <QStringList>
#include <QUrl>
#include <optional>

// A station's playlist fetched from the web (a PLS, M3U, XSPF, ASX or WPL file over http).

// The streams the playlist names, in order: only http and https addresses, relative ones
// resolved against address; local files and other schemes are passed over. The kind is told by
// the bytes (a PLS by its header, the XML kinds by their root, any other text is an M3U), not
// by the address. Nothing when the bytes are no playlist, are a web page or an HLS playlist
// (whose entries are pieces of one stream), or name no stream.
std::optional<QStringList> streamsInPlaylist(const QByteArray &bytes, const QUrl &address);

// Whether the bytes are an HLS playlist (M3U8 with "#EXT-X-" lines), which GStreamer plays
// from its address itself.
bool isHlsPlaylist(const QByteArray &bytes);
