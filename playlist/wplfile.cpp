// Windows Media's WPL: <smil><body><seq><media src>, sources being paths.
#include "playlist/playlistkind.h"
#include "playlist/xmlplaylist.h"

#include <QXmlStreamWriter>

namespace {

class WplKind : public PlaylistKind {
public:
    // A media element names no title.
    std::optional<QList<PlaylistEntry>> read(
        const QByteArray &bytes, const EntryBase &base, qsizetype maxEntries) const override
    {
        EntryCollector entries(maxEntries);
        return readXmlPlaylist(bytes, QLatin1String("smil"), entries, [&](QXmlStreamReader &xml) {
            if (xml.isStartElement() && named(xml, QLatin1String("media")))
                entries.add(base.path(attribute(xml, QLatin1String("src"))));
        });
    }

    // Windows Media's own lists begin with their processing instruction.
    QByteArray write(const QList<PlaylistEntry> &entries, const QDir &base) const override
    {
        QByteArray bytes;
        QXmlStreamWriter xml(&bytes);
        xml.writeProcessingInstruction(QStringLiteral("wpl"), QStringLiteral("version=\"1.0\""));
        // Formatting from here on, or the file would begin with a blank line.
        xml.setAutoFormatting(true);
        xml.writeStartElement(QStringLiteral("smil"));
        xml.writeStartElement(QStringLiteral("body"));
        xml.writeStartElement(QStringLiteral("seq"));
        for (const PlaylistEntry &entry : entries) {
            xml.writeEmptyElement(QStringLiteral("media"));
            xml.writeAttribute(QStringLiteral("src"), entryPath(entry.path, base));
        }
        xml.writeEndDocument();
        return bytes;
    }
};

} // namespace

const PlaylistKind &wplKind()
{
    static const WplKind kind;
    return kind;
}
