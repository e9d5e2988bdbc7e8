#include "playlist/playlistentries.h"

#include "files/mediatypes.h"

#include <algorithm>
#include <cmath>

namespace {

// "http://", "rtsp://", "mms://" and the like: an address, not a path.
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

// An entry such as ".", "" or "music/" names a folder.
bool namesFolder(const QString &path)
{
    const QString last = path.sliced(path.lastIndexOf(u'/') + 1);
    return last.isEmpty() || last == QLatin1String(".") || last == QLatin1String("..");
}

// QUrl gives a percent-encoded noncharacter (U+FFFE, U+FFFF and the like) back as replacement
// characters; a Linux file name may hold one, so the path is decoded here, byte for byte.
QString localFileOf(const QUrl &url)
{
    const QString path = QUrl::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1());
    return url.host().isEmpty() ? path : QStringLiteral("//") + url.host() + path;
}

// A control character would end an entry (a line break does) or make the whole file read as
// something other than text; U+FFFE and U+FFFF, which a Linux name may hold, are no characters
// of XML.
bool holdsUnwritable(const QString &path)
{
    return std::any_of(path.cbegin(), path.cend(),
        [](QChar c) { return c.category() == QChar::Other_Control || c.unicode() >= 0xfffe; });
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

// A path relative to a folder that lies below it.
bool isBelow(const QString &relative)
{
    return !relative.startsWith(QLatin1String("../")) && relative != QLatin1String("..")
        && !QDir::isAbsolutePath(relative);
}

// A stream's address is kept as the playlist writes it, so that a list read and written again
// keeps its addresses as they were.
std::optional<QString> writtenAddress(const QString &entry)
{
    const QString address = entry.trimmed();
    return isStreamAddress(address) ? std::optional(address) : std::nullopt;
}

// An entry's path made absolute from base, the playlist's folder, when it is relative.
QString absoluteIn(const QDir &base, const QString &path)
{
    return QDir::cleanPath(base.absoluteFilePath(path));
}

// A path as a percent-encoded file URL. QUrl::fromLocalFile writes a noncharacter beyond
// U+FFFF (U+1FFFE and the like) as half of a surrogate pair, so the path is percent-encoded
// here, leaving as they are the characters QUrl leaves in a path.
QString fileUrl(const QString &path)
{
    QUrl url;
    url.setScheme(QStringLiteral("file"));
    url.setPath(QString::fromLatin1(QUrl::toPercentEncoding(path, "/!$&'()*+,;=:@[]")), QUrl::TolerantMode);
    return url.toString(QUrl::FullyEncoded);
}

} // namespace

bool looksLikeText(const QByteArray &bytes)
{
    for (const char c : bytes) {
        const auto u = static_cast<unsigned char>(c);
        if (u < 0x20 && u != '\t' && u != '\n' && u != '\r' && u != '\f')
            return false;
    }
    return true;
}

std::optional<QString> takenEntry(const QUrl &url, const QString &folder)
{
    if (!url.isValid())
        return std::nullopt;
    if (const QString address = url.toString(QUrl::FullyEncoded); isStreamAddress(address))
        return address;
    if (!url.isLocalFile())
        return std::nullopt;
    return takenPath(localFileOf(url), folder);
}

std::optional<QString> takenPath(const QString &path, const QString &folder)
{
    if (namesFolder(path))
        return std::nullopt;
    return QDir::cleanPath(QDir(folder).absoluteFilePath(path));
}

EntryBase EntryBase::folder(const QString &folder)
{
    EntryBase base;
    base.m_folder = folder;
    return base;
}

EntryBase EntryBase::web(const QUrl &address)
{
    EntryBase base;
    base.m_web = true;
    base.m_address = address;
    return base;
}

// Players on Windows separate folders with backslashes, which no address holds: such an entry
// from the web names a file of the computer it was written on. A name may begin or end with
// blanks, so only a blank entry is passed over.
std::optional<QString> EntryBase::path(const QString &entry) const
{
    if (entry.trimmed().isEmpty())
        return std::nullopt;
    if (const auto address = writtenAddress(entry))
        return address;
    if (m_web)
        return entry.contains(u'\\') ? std::nullopt : location(entry);
    if (entry.startsWith(QLatin1String("file:"), Qt::CaseInsensitive) || isRemote(entry))
        return takenEntry(QUrl(entry), m_folder);
    QString path = entry;
    path.replace(u'\\', u'/');
    return takenPath(path, m_folder);
}

// A playlist from the web names no file of this computer: what does not resolve to a stream
// is passed over.
std::optional<QString> EntryBase::location(const QString &location) const
{
    if (const auto address = writtenAddress(location))
        return address;
    if (m_web) {
        const QString address = m_address.resolved(QUrl(location.trimmed())).toString(QUrl::FullyEncoded);
        return isStreamAddress(address) ? std::optional(address) : std::nullopt;
    }
    const QUrl base = QUrl::fromLocalFile(QDir(m_folder).absolutePath() + u'/');
    return takenEntry(base.resolved(QUrl(location.trimmed())), m_folder);
}

EntryCollector::EntryCollector(qsizetype maxEntries)
    : m_max(maxEntries)
{
}

// A title is shown as one line of plain text, and must not make the player's own playlist
// file unwritable with a line break.
void EntryCollector::add(const std::optional<QString> &path, const QString &title)
{
    if (path && !full())
        m_entries.append({ *path, shownName(title).trimmed(), std::nullopt });
}

bool EntryCollector::full() const
{
    return m_entries.size() >= m_max;
}

QList<PlaylistEntry> EntryCollector::entries() const
{
    return m_entries;
}

// The reader turns backslashes into slashes, as lists from Windows need, so a path holding one
// (a Linux name such as "AC\DC") is written as a percent-encoded file URL, which it decodes; so
// is a path holding a character no kind carries as itself.
QString entryPath(const QString &path, const QDir &base)
{
    if (isStreamAddress(path))
        return path;
    const QString absolute = absoluteIn(base, path);
    if (absolute.contains(u'\\') || holdsUnwritable(absolute))
        return fileUrl(absolute);
    const QString relative = base.relativeFilePath(absolute);
    return isBelow(relative) ? unambiguous(relative) : absolute;
}

// Percent-encoded either way.
QString locationUri(const QString &path, const QDir &base)
{
    if (isStreamAddress(path))
        return path;
    const QString absolute = absoluteIn(base, path);
    const QString relative = base.relativeFilePath(absolute);
    return isBelow(relative) ? QString::fromLatin1(QUrl::toPercentEncoding(relative, "/"))
                             : fileUrl(absolute);
}

QString entryUrl(const QString &path, const QDir &base)
{
    return isStreamAddress(path) ? path : fileUrl(absoluteIn(base, path));
}

QString shownName(const QString &name)
{
    QString shown = name;
    for (QChar &c : shown) {
        if (c.category() == QChar::Other_Control)
            c = u' ';
    }
    return shown;
}

// XML 1.0 has no U+FFFE, U+FFFF nor half of a surrogate pair, which Qt's writer would drop.
QString shownXmlName(const QString &name)
{
    QString shown = shownName(name);
    for (qsizetype i = 0; i < shown.size(); ++i) {
        if (shown.at(i).isHighSurrogate() && i + 1 < shown.size() && shown.at(i + 1).isLowSurrogate())
            ++i;
        else if (shown.at(i).isSurrogate() || shown.at(i).unicode() >= 0xfffe)
            shown[i] = u' ';
    }
    return shown;
}

qint64 wholeSeconds(const PlaylistEntry &entry)
{
    return !isStreamAddress(entry.path) && entry.seconds && std::isfinite(*entry.seconds)
            && *entry.seconds >= 0
        ? qint64(std::llround(std::min(*entry.seconds, 1e12)))
        : -1;
}
