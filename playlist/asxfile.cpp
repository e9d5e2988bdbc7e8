// Windows Media's ASX: <asx><entry><ref href>, references being paths or URLs.
#include "playlist/playlistkind.h"
#include "playlist/xmlplaylist.h"

#include <QXmlStreamWriter>

namespace {

class AsxKind : public PlaylistKind {
public:
    std::optional<QStringList> read(
        const QByteArray &bytes, const QString &folder, qsizetype maxEntries) const override
    {
        EntryCollector entries(maxEntries);
        FirstLocation first(QLatin1String("entry"), QLatin1String("ref"));
        return readXmlPlaylist(bytes, QLatin1String("asx"), entries, [&](QXmlStreamReader &xml) {
            if (first.at(xml))
                entries.add(localPath(attribute(xml, QLatin1String("href")), folder));
        });
    }

    // References are URLs, which players decode: each is written as a whole file URL. The
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
            xml.writeAttribute(QStringLiteral("href"), fileUrl(absoluteIn(base, entry.path)));
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
