#include "playlist/playlistformats.h"

#include "files/textfiles.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QMap>
#include <QUrl>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>
#include <algorithm>
#include <cmath>

namespace {

// Text formats hold no control characters but tabs and line ends; a file that does is data of
// some other kind.
bool looksLikeText(const QByteArray &bytes)
{
    for (const char c : bytes) {
        const auto u = static_cast<unsigned char>(c);
        if (u < 0x20 && u != '\t' && u != '\n' && u != '\r' && u != '\f')
            return false;
    }
    return true;
}

// "http://", "rtsp://", "mms://" and the like: a stream, not a file here.
bool isRemote(const QString &entry)
{
    const qsizetype colon = entry.indexOf(QLatin1String("://"));
    if (colon < 2)
        return false;
    for (qsizetype i = 0; i < colon; ++i) {
        const QChar c = entry.at(i);
        if (!(c.isLetterOrNumber() || c == u'+' || c == u'-' || c == u'.') || c.unicode() > 0x7f)
            return false;
    }
    return true;
}

// An entry such as ".", "" or "music/" names a folder, which is never a track: taken as one
// it would add the playlist's own folder as a row.
bool namesFolder(const QString &path)
{
    const QString last = path.sliced(path.lastIndexOf(u'/') + 1);
    return last.isEmpty() || last == QLatin1String(".") || last == QLatin1String("..");
}

std::optional<QString> trackIn(const QString &folder, const QString &path)
{
    if (namesFolder(path))
        return std::nullopt;
    return QDir::cleanPath(QDir(folder).absoluteFilePath(path));
}

// An entry written as a path or a file URL, the way M3U, PLS, WPL and ASX write them.
// Players on Windows separate folders with backslashes.
// A name may begin or end with blanks, so only a blank line is passed over.
std::optional<QString> localPath(const QString &entry, const QString &folder)
{
    if (entry.trimmed().isEmpty())
        return std::nullopt;
    if (entry.startsWith(QLatin1String("file:"), Qt::CaseInsensitive)) {
        const QUrl url(entry);
        if (!url.isValid() || !url.isLocalFile())
            return std::nullopt;
        return trackIn(folder, url.toLocalFile());
    }
    if (isRemote(entry))
        return std::nullopt;
    QString path = entry;
    path.replace(u'\\', u'/');
    return trackIn(folder, path);
}

// XSPF locations are URIs, relative ones taken from the playlist's own address.
std::optional<QString> locationPath(const QString &location, const QString &folder)
{
    const QUrl base = QUrl::fromLocalFile(QDir(folder).absolutePath() + u'/');
    const QUrl url = base.resolved(QUrl(location.trimmed()));
    if (!url.isValid() || !url.isLocalFile())
        return std::nullopt;
    return trackIn(folder, url.toLocalFile());
}

class Collector {
public:
    explicit Collector(qsizetype maxEntries)
        : m_max(maxEntries)
    {
    }
    void add(const std::optional<QString> &path)
    {
        if (path && !full())
            m_paths << *path;
    }
    bool full() const { return m_paths.size() >= m_max; }
    QStringList paths() const { return m_paths; }

private:
    qsizetype m_max;
    QStringList m_paths;
};

std::optional<QStringList> parseM3u(const QByteArray &bytes, const QString &folder, qsizetype maxEntries)
{
    if (!looksLikeText(bytes))
        return std::nullopt;
    Collector entries(maxEntries);
    forEachLine(bytes, [&](const QString &line) {
        if (!line.startsWith(u'#'))
            entries.add(localPath(line, folder));
        return !entries.full();
    });
    return entries.paths();
}

// The local files of a PLS's "FileN=" lines in the order of their numbers, which need not be
// the order of the lines: only the maxEntries of lowest number are kept as the lines go by,
// each number's first local file.
class NumberedFiles {
public:
    NumberedFiles(const QString &folder, qsizetype maxEntries)
        : m_folder(folder)
        , m_max(maxEntries)
    {
    }
    void take(const QString &line)
    {
        const qsizetype equals = line.indexOf(u'=');
        const QString key = line.first(std::max<qsizetype>(equals, 0)).trimmed();
        if (equals < 0 || !key.startsWith(QLatin1String("File"), Qt::CaseInsensitive))
            return;
        bool ok = false;
        const qint64 number = key.sliced(4).toLongLong(&ok);
        if (!ok || m_files.contains(number) || beyondKept(number))
            return;
        const auto path = localPath(line.sliced(equals + 1), m_folder);
        if (!path)
            return;
        m_files.insert(number, *path);
        if (m_files.size() > m_max)
            m_files.erase(std::prev(m_files.end()));
    }
    QStringList paths() const { return m_files.values(); }

private:
    bool beyondKept(qint64 number) const
    {
        return m_files.size() >= m_max && (m_files.isEmpty() || number > m_files.lastKey());
    }

    QString m_folder;
    qsizetype m_max;
    QMap<qint64, QString> m_files;
};

// A PLS begins with its "[playlist]" header, blank lines aside.
std::optional<QStringList> parsePls(const QByteArray &bytes, const QString &folder, qsizetype maxEntries)
{
    if (!looksLikeText(bytes))
        return std::nullopt;
    std::optional<bool> headed;
    NumberedFiles files(folder, maxEntries);
    forEachLine(bytes, [&](const QString &line) {
        if (headed) {
            files.take(line);
            return true;
        }
        if (!line.trimmed().isEmpty())
            headed = line.trimmed().compare(QLatin1String("[playlist]"), Qt::CaseInsensitive) == 0;
        return headed.value_or(true);
    });
    if (!headed.value_or(false))
        return std::nullopt;
    return files.paths();
}

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

// XSPF: <playlist><trackList><track><location>; ASX: <asx><entry><ref href>; WPL:
// <smil><body><seq><media src>. ASX is written by hand as often as by programs, so its
// names are read in any case. Only the first location of a track or entry is taken.
std::optional<QStringList> parseXml(
    const QByteArray &bytes, PlaylistFormat format, const QString &folder, qsizetype maxEntries)
{
    static const QLatin1String roots[] { QLatin1String("playlist"), QLatin1String("smil"),
        QLatin1String("asx") };
    const QLatin1String root = roots[format == PlaylistFormat::Xspf ? 0
            : format == PlaylistFormat::Wpl                         ? 1
                                                                    : 2];
    // Read through a device, the reader decodes the bytes a block at a time instead of whole.
    QBuffer device;
    device.setData(bytes);
    device.open(QIODevice::ReadOnly);
    QXmlStreamReader xml(&device);
    Collector entries(maxEntries);
    bool inEntry = false;
    bool taken = false;
    if (!xml.readNextStartElement() || !named(xml, root))
        return std::nullopt;
    while (!xml.atEnd() && !entries.full()) {
        xml.readNext();
        if (xml.isEndElement() && (named(xml, QLatin1String("track")) || named(xml, QLatin1String("entry"))))
            inEntry = false;
        if (!xml.isStartElement())
            continue;
        if (format == PlaylistFormat::Xspf && named(xml, QLatin1String("track"))) {
            inEntry = true;
            taken = false;
        } else if (format == PlaylistFormat::Xspf && inEntry && !taken
            && named(xml, QLatin1String("location"))) {
            taken = true;
            entries.add(locationPath(xml.readElementText(), folder));
        } else if (format == PlaylistFormat::Asx && named(xml, QLatin1String("entry"))) {
            inEntry = true;
            taken = false;
        } else if (format == PlaylistFormat::Asx && inEntry && !taken && named(xml, QLatin1String("ref"))) {
            taken = true;
            entries.add(localPath(attribute(xml, QLatin1String("href")), folder));
        } else if (format == PlaylistFormat::Wpl && named(xml, QLatin1String("media"))) {
            entries.add(localPath(attribute(xml, QLatin1String("src")), folder));
        }
    }
    if (xml.hasError() && !entries.full())
        return std::nullopt;
    return entries.paths();
}

// A control character would end an entry (a line break does) or make the whole file read as
// something other than text.
bool holdsControl(const QString &text)
{
    return std::any_of(
        text.cbegin(), text.cend(), [](QChar c) { return c.category() == QChar::Other_Control; });
}

// A name as a playlist shows it: control characters become blanks, since only the path has to
// come back whole.
QString shownName(const QString &name)
{
    QString shown = name;
    for (QChar &c : shown) {
        if (c.category() == QChar::Other_Control)
            c = u' ';
    }
    return shown;
}

// An entry's length in whole seconds, -1 when unknown.
qint64 wholeSeconds(const PlaylistEntry &entry)
{
    return entry.seconds && std::isfinite(*entry.seconds) && *entry.seconds >= 0
        ? qint64(std::llround(std::min(*entry.seconds, 1e12)))
        : -1;
}

// The #EXTINF line of an entry: commas in its name are fine.
QString extinf(const PlaylistEntry &entry)
{
    return QStringLiteral("#EXTINF:%1,%2\n").arg(wholeSeconds(entry)).arg(shownName(entry.name));
}

// A relative path that would read back as a comment, an address or a blank line is written
// from "./".
QString unambiguous(const QString &relative)
{
    if (relative.startsWith(u'#') || relative.startsWith(QLatin1String("file:"), Qt::CaseInsensitive)
        || isRemote(relative) || relative.trimmed().isEmpty())
        return QStringLiteral("./") + relative;
    return relative;
}

QString fileUrl(const QString &path)
{
    return QUrl::fromLocalFile(path).toString(QUrl::FullyEncoded);
}

// A path relative to a folder that lies below it.
bool isBelow(const QString &relative)
{
    return !relative.startsWith(QLatin1String("../")) && relative != QLatin1String("..")
        && !QDir::isAbsolutePath(relative);
}

// How a path is written in a list kept in base, to be read back by localPath: below base
// relative to it, elsewhere absolute. The reader turns backslashes into slashes, as lists from
// Windows need, so a path holding one (a Linux name such as "AC\DC") is written as a
// percent-encoded file URL, which it decodes; so is a path holding a control character.
QString entryPath(const QString &path, const QDir &base)
{
    if (path.contains(u'\\') || holdsControl(path))
        return fileUrl(path);
    const QString relative = base.relativeFilePath(path);
    return isBelow(relative) ? unambiguous(relative) : path;
}

// An XSPF location is a URI: below the playlist's folder relative to the playlist, elsewhere a
// file URL, percent-encoded either way.
QString xspfLocation(const QString &path, const QDir &base)
{
    const QString relative = base.relativeFilePath(path);
    return isBelow(relative) ? QString::fromLatin1(QUrl::toPercentEncoding(relative, "/")) : fileUrl(path);
}

QString absoluteIn(const QDir &base, const QString &path)
{
    return QDir::cleanPath(base.absoluteFilePath(path));
}

QByteArray encodeM3u8(const QList<PlaylistEntry> &entries, const QDir &base)
{
    QString text = QStringLiteral("#EXTM3U\n");
    for (const PlaylistEntry &entry : entries)
        text += extinf(entry) + entryPath(absoluteIn(base, entry.path), base) + u'\n';
    return text.toUtf8();
}

// "FileN=", "TitleN=" and "LengthN=" for each entry, numbered from 1, then the count.
QByteArray encodePls(const QList<PlaylistEntry> &entries, const QDir &base)
{
    QString text = QStringLiteral("[playlist]\n");
    for (qsizetype i = 0; i < entries.size(); ++i) {
        const PlaylistEntry &entry = entries.at(i);
        text += QStringLiteral("File%1=%2\nTitle%1=%3\nLength%1=%4\n")
                    .arg(QString::number(i + 1), entryPath(absoluteIn(base, entry.path), base),
                        shownName(entry.name), QString::number(wholeSeconds(entry)));
    }
    text += QStringLiteral("NumberOfEntries=%1\nVersion=2\n").arg(entries.size());
    return text.toUtf8();
}

QByteArray encodeXspf(const QList<PlaylistEntry> &entries, const QDir &base)
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
        xml.writeTextElement(QStringLiteral("location"), xspfLocation(absoluteIn(base, entry.path), base));
        xml.writeTextElement(QStringLiteral("title"), shownName(entry.name));
        if (const qint64 seconds = wholeSeconds(entry); seconds >= 0)
            xml.writeTextElement(QStringLiteral("duration"), QString::number(seconds * 1000));
        xml.writeEndElement();
    }
    xml.writeEndDocument();
    return bytes;
}

// Windows Media's own lists begin with their processing instruction and hold paths.
QByteArray encodeWpl(const QList<PlaylistEntry> &entries, const QDir &base)
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
        xml.writeAttribute(QStringLiteral("src"), entryPath(absoluteIn(base, entry.path), base));
    }
    xml.writeEndDocument();
    return bytes;
}

// ASX references are URLs, which players decode: each is written as a whole file URL.
QByteArray encodeAsx(const QList<PlaylistEntry> &entries, const QDir &base)
{
    QByteArray bytes;
    QXmlStreamWriter xml(&bytes);
    xml.writeStartElement(QStringLiteral("asx"));
    xml.writeAttribute(QStringLiteral("version"), QStringLiteral("3.0"));
    // Formatting from here on, or the file would begin with a blank line.
    xml.setAutoFormatting(true);
    for (const PlaylistEntry &entry : entries) {
        xml.writeStartElement(QStringLiteral("entry"));
        xml.writeTextElement(QStringLiteral("title"), shownName(entry.name));
        xml.writeEmptyElement(QStringLiteral("ref"));
        xml.writeAttribute(QStringLiteral("href"), fileUrl(absoluteIn(base, entry.path)));
        xml.writeEndElement();
    }
    xml.writeEndDocument();
    return bytes;
}

} // namespace

std::optional<PlaylistFormat> playlistFormatOf(const QString &fileName)
{
    const QString suffix = QFileInfo(fileName).suffix().toLower();
    if (suffix == QLatin1String("m3u") || suffix == QLatin1String("m3u8"))
        return PlaylistFormat::M3u;
    if (suffix == QLatin1String("pls"))
        return PlaylistFormat::Pls;
    if (suffix == QLatin1String("xspf"))
        return PlaylistFormat::Xspf;
    if (suffix == QLatin1String("wpl"))
        return PlaylistFormat::Wpl;
    if (suffix == QLatin1String("asx"))
        return PlaylistFormat::Asx;
    return std::nullopt;
}

std::optional<QStringList> parsePlaylist(
    const QByteArray &bytes, PlaylistFormat format, const QString &folder, qsizetype maxEntries)
{
    switch (format) {
    case PlaylistFormat::M3u:
        return parseM3u(bytes, folder, maxEntries);
    case PlaylistFormat::Pls:
        return parsePls(bytes, folder, maxEntries);
    case PlaylistFormat::Xspf:
    case PlaylistFormat::Wpl:
    case PlaylistFormat::Asx:
        return parseXml(bytes, format, folder, maxEntries);
    }
    return std::nullopt;
}

std::optional<QStringList> readPlaylistFile(const QString &path, qsizetype maxEntries)
{
    const auto format = playlistFormatOf(path);
    if (!format)
        return std::nullopt;
    const auto bytes = readRegularFile(path, maxPlaylistBytes + 1);
    if (!bytes || bytes->size() > maxPlaylistBytes)
        return std::nullopt;
    return parsePlaylist(*bytes, *format, QFileInfo(path).absolutePath(), maxEntries);
}

std::optional<PlaylistFormat> formatToSave(const QString &fileName, bool m3u8EntryPicked)
{
    if (const auto format = playlistFormatOf(fileName))
        return format;
    if (!m3u8EntryPicked || fileName.endsWith(QLatin1String(".smp"), Qt::CaseInsensitive))
        return std::nullopt;
    return PlaylistFormat::M3u;
}

QByteArray encodePlaylistAs(PlaylistFormat format, const QList<PlaylistEntry> &entries, const QString &folder)
{
    const QDir base(QDir::cleanPath(QDir(folder).absolutePath()));
    switch (format) {
    case PlaylistFormat::M3u:
        return encodeM3u8(entries, base);
    case PlaylistFormat::Pls:
        return encodePls(entries, base);
    case PlaylistFormat::Xspf:
        return encodeXspf(entries, base);
    case PlaylistFormat::Wpl:
        return encodeWpl(entries, base);
    case PlaylistFormat::Asx:
        return encodeAsx(entries, base);
    }
    return QByteArray();
}
