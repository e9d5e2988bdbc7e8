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

std::optional<QStringList> readXmlPlaylist(const QByteArray &bytes, QLatin1String root,
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
    return entries.paths();
}

FirstLocation::FirstLocation(QLatin1String entry, QLatin1String location)
    : m_entry(entry)
    , m_location(location)
{
}

bool FirstLocation::at(const QXmlStreamReader &xml)
{
    if (xml.isEndElement() && (named(xml, QLatin1String("track")) || named(xml, QLatin1String("entry"))))
        m_inEntry = false;
    if (!xml.isStartElement())
        return false;
    if (named(xml, m_entry)) {
        m_inEntry = true;
        m_taken = false;
        return false;
    }
    if (!m_inEntry || m_taken || !named(xml, m_location))
        return false;
    m_taken = true;
    return true;
}
