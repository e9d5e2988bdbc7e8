#pragma once

#include "playlist/playlistentries.h"

#include <QByteArray>
#include <QLatin1String>
#include <QXmlStreamReader>
#include <functional>

// What the XML kinds (XSPF, WPL, ASX) read alike. Their names are compared in any case, as
// ASX is written by hand as often as by programs.

bool named(const QXmlStreamReader &xml, QLatin1String name);
QString attribute(const QXmlStreamReader &xml, QLatin1String name);

// Reads an XML playlist whose root element is root, handing visit each token after the root's
// start until the file ends or entries is full. Nothing when the file has another root or is
// not well formed before entries is full.
std::optional<QList<PlaylistEntry>> readXmlPlaylist(const QByteArray &bytes, QLatin1String root,
    EntryCollector &entries, const std::function<void(QXmlStreamReader &)> &visit);

// Gathers each entry of an XSPF or ASX list (a track, an entry): its first location, read by
// the kind's location reader, and its first title, both handed to entries at the entry's end.
// A location or title outside an entry is passed over.
class EntryElements {
public:
    using LocationReader = std::function<std::optional<QString>(QXmlStreamReader &)>;
    EntryElements(QLatin1String entry, QLatin1String location, EntryCollector &entries, LocationReader read);
    void visit(QXmlStreamReader &xml);

private:
    QLatin1String m_entry;
    QLatin1String m_location;
    EntryCollector &m_entries;
    LocationReader m_read;
    bool m_inEntry = false;
    bool m_located = false;
    std::optional<QString> m_path;
    std::optional<QString> m_title;
};
