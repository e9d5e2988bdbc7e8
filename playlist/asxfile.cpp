// Windows Media's ASX: <asx><entry><ref href>, references being paths or URLs.
#include "playlist/playlistkind.h"
#include "playlist/xmlplaylist.h"

#include <QXmlStreamWriter>

namespace {

class AsxKind : public PlaylistKind {
public:
    std::optional<QList<PlaylistEntry>> read(
        const QByteArray &bytes, const EntryBase &base, qsizetype maxEntries) const override
    {
        EntryCollector entries(maxEntries);
        EntryElements elements(QLatin1String("entry"), QLatin1String("ref"), entries,
            [&](QXmlStreamReader &xml) { return base.path(attribute(xml, QLatin1String("href"))); });
        return readXmlPlaylist(
            bytes, QLatin1String("asx"), entries, [&](QXmlStreamReader &xml) { elements.visit(xml); });
    }

    // References are URLs, which players decode: each file is written as a whole file URL. The
    // names are recorded too.
    QByteArray write(const QList<PlaylistEntry> &entries, const QDir &base) const override
    {
        QByteArray bytes;
        QXmlStreamWriter xml(&bytes);
        xml.writeStartElement(QStringLiteral("asx"));
        xml.writeAttribute(QStringLiteral("version"), QStringLiteral("3.0"));
        // Formatting from here on, or the file would begin with a blank line.
        xml.setAutoFormatting(true);
        for (const PlaylistEntry &entry : entries) {
            xml.writeStartElement(QStringLiteral("entry"));
            xml.writeTextElement(QStringLiteral("title"), shownXmlName(entry.name));
            xml.writeEmptyElement(QStringLiteral("ref"));
            xml.writeAttribute(QStringLiteral("href"), entryUrl(entry.path, base));
            xml.writeEndElement();
        }
        xml.writeEndDocument();
        return bytes;
    }
};

} // namespace

const PlaylistKind &asxKind()
{
    static const AsxKind kind;
    return kind;
}
