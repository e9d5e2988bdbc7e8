#include "playlist/playlistformats.h"

#include "files/textfiles.h"

#include <QDir>
#include <QFileInfo>
#include <QMap>
#include <QUrl>
#include <QXmlStreamReader>
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
    QXmlStreamReader xml(bytes);
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

// The #EXTINF line of an entry: commas in its name are fine.
QString extinf(const PlaylistEntry &entry)
{
    const qint64 seconds = entry.seconds && std::isfinite(*entry.seconds) && *entry.seconds >= 0
        ? qint64(std::llround(std::min(*entry.seconds, 1e12)))
        : -1;
    return QStringLiteral("#EXTINF:%1,%2\n").arg(seconds).arg(shownName(entry.name));
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

// How a path is written in a list kept in base, to be read back by localPath: below base
// relative to it, elsewhere absolute. The reader turns backslashes into slashes, as lists from
// Windows need, so a path holding one (a Linux name such as "AC\DC") is written as a
// percent-encoded file URL, which it decodes; so is a path holding a control character.
QString entryPath(const QString &path, const QDir &base)
{
    if (path.contains(u'\\') || holdsControl(path))
        return QUrl::fromLocalFile(path).toString(QUrl::FullyEncoded);
    const QString relative = base.relativeFilePath(path);
    const bool below = !relative.startsWith(QLatin1String("../")) && relative != QLatin1String("..")
        && !QDir::isAbsolutePath(relative);
    return below ? unambiguous(relative) : path;
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

QByteArray encodeM3u8(const QList<PlaylistEntry> &entries, const QString &folder)
{
    const QDir base(QDir::cleanPath(QDir(folder).absolutePath()));
    QString text = QStringLiteral("#EXTM3U\n");
    for (const PlaylistEntry &entry : entries)
        text += extinf(entry) + entryPath(QDir::cleanPath(base.absoluteFilePath(entry.path)), base) + u'\n';
    return text.toUtf8();
}
