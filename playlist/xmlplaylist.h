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
std::optional<QStringList> readXmlPlaylist(const QByteArray &bytes, QLatin1String root,
    EntryCollector &entries, const std::function<void(QXmlStreamReader &)> &visit);

// Finds the first location of each entry (an XSPF track, an ASX entry); the others are passed
// over. Either kind's entry ends at the end of a track or of an entry.
class FirstLocation {
public:
    FirstLocation(QLatin1String entry, QLatin1String location);
    // Whether xml stands at the start of an entry's first location.
    bool at(const QXmlStreamReader &xml);

private:
    QLatin1String m_entry;
    QLatin1String m_location;
    bool m_inEntry = false;
    bool m_taken = false;
};
