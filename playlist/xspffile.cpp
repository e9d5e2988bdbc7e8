// XSPF: <playlist><trackList><track><location>, locations being URIs.
#include "playlist/playlistkind.h"
#include "playlist/xmlplaylist.h"

#include <QXmlStreamWriter>

namespace {

class XspfKind : public PlaylistKind {
public:
    std::optional<QList<PlaylistEntry>> read(
        const QByteArray &bytes, const EntryBase &base, qsizetype maxEntries) const override
    {
        EntryCollector entries(maxEntries);
        EntryElements elements(QLatin1String("track"), QLatin1String("location"), entries,
            [&](QXmlStreamReader &xml) { return base.location(xml.readElementText()); });
        return readXmlPlaylist(
            bytes, QLatin1String("playlist"), entries, [&](QXmlStreamReader &xml) { elements.visit(xml); });
    }

    // The names and the lengths are recorded too.
    QByteArray write(const QList<PlaylistEntry> &entries, const QDir &base) const override
    {
        QByteArray bytes;
        QXmlStreamWriter xml(&bytes);
        xml.setAutoFormatting(true);
        xml.writeStartDocument();
        xml.writeStartElement(QStringLiteral("playlist"));
        xml.writeDefaultNamespace(QStringLiteral("http://xspf.org/ns/0/"));
        xml.writeAttribute(QStringLiteral("version"), QStringLiteral("1"));
        xml.writeStartElement(QStringLiteral("trackList"));
        for (const PlaylistEntry &entry : entries) {
            xml.writeStartElement(QStringLiteral("track"));
            xml.writeTextElement(QStringLiteral("location"), locationUri(entry.path, base));
            xml.writeTextElement(QStringLiteral("title"), shownXmlName(entry.name));
            if (const qint64 seconds = wholeSeconds(entry); seconds >= 0)
                xml.writeTextElement(QStringLiteral("duration"), QString::number(seconds * 1000));
            xml.writeEndElement();
        }
        xml.writeEndDocument();
        return bytes;
    }
};

} // namespace

const PlaylistKind &xspfKind()
{
    static const XspfKind kind;
    return kind;
}
