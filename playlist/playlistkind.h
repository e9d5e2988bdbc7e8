#pragma once

#include "playlist/playlistentries.h"
#include "playlist/playlistformats.h"

#include <QDir>

// One kind of other players' playlist file: its reader and its writer. The rules every kind
// shares (which entries are taken, how a path is written to read back) are in
// playlistentries.h; a kind only knows where its entries and their titles sit in its file.
class PlaylistKind {
public:
    virtual ~PlaylistKind() = default;

    // The entries the bytes name as base takes them, at most maxEntries of them, each with the
    // title the file gives it ("" when none); nothing when the bytes are no playlist of this kind.
    virtual std::optional<QList<PlaylistEntry>> read(
        const QByteArray &bytes, const EntryBase &base, qsizetype maxEntries) const = 0;

    // The bytes of a file of this kind kept in base that reads back as the entries' paths,
    // streams as their addresses.
    virtual QByteArray write(const QList<PlaylistEntry> &entries, const QDir &base) const = 0;
};

// The kind of each format, one file each.
const PlaylistKind &m3uKind();
const PlaylistKind &plsKind();
const PlaylistKind &xspfKind();
const PlaylistKind &wplKind();
const PlaylistKind &asxKind();
