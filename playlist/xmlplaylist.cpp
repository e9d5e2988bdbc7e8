#include "playlist/xmlplaylist.h"

#include <QBuffer>

bool named(const QXmlStreamReader &xml, QLatin1String name)
{
    return xml.name().compare(name, Qt::CaseInsensitive) == 0;
}

QString attribute(const QXmlStreamReader &xml, QLatin1String name)
{
    for (const QXmlStreamAttribute &each : xml.attributes()) {
        if (each.name().compare(name, Qt::CaseInsensitive) == 0)
            return each.value().toString();
    }
    return QString();
}

std::optional<QList<PlaylistEntry>> readXmlPlaylist(const QByteArray &bytes, QLatin1String root,
    EntryCollector &entries, const std::function<void(QXmlStreamReader &)> &visit)
{
    // Read through a device, the reader decodes the bytes a block at a time instead of whole.
    QBuffer device;
    device.setData(bytes);
    device.open(QIODevice::ReadOnly);
    QXmlStreamReader xml(&device);
    if (!xml.readNextStartElement() || !named(xml, root))
        return std::nullopt;
    while (!xml.atEnd() && !entries.full()) {
        xml.readNext();
        visit(xml);
    }
    if (xml.hasError() && !entries.full())
        return std::nullopt;
    return entries.entries();
}

EntryElements::EntryElements(
    QLatin1String entry, QLatin1String location, EntryCollector &entries, LocationReader read)
    : m_entry(entry)
    , m_location(location)
    , m_entries(entries)
    , m_read(std::move(read))
{
}

// A title may hold markup of its own, which is read as its text.
void EntryElements::visit(QXmlStreamReader &xml)
{
    if (xml.isEndElement() && m_inEntry && named(xml, m_entry)) {
        m_inEntry = false;
        m_entries.add(m_path, m_title.value_or(QString()));
    }
    if (!xml.isStartElement())
        return;
    if (named(xml, m_entry)) {
        m_inEntry = true;
        m_located = false;
        m_path.reset();
        m_title.reset();
    } else if (m_inEntry && !m_located && named(xml, m_location)) {
        m_located = true;
        m_path = m_read(xml);
    } else if (m_inEntry && !m_title && named(xml, QLatin1String("title"))) {
        m_title = xml.readElementText(QXmlStreamReader::IncludeChildElements);
    }
}
