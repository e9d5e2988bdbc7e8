#include "playlist/playlistformats.h"

#include "files/mediatypes.h"
#include "files/textfiles.h"
#include "playlist/playlistkind.h"
#include "playlist/playlistmodel.h"
#include "playlist/smpfile.h"

#include <QFileInfo>
#include <QSaveFile>
#include <array>

namespace {

// The kinds in the order of PlaylistFormat.
const PlaylistKind &kindOf(PlaylistFormat format)
{
    static const std::array<const PlaylistKind *, 5> kinds { &m3uKind(), &plsKind(), &xspfKind(), &wplKind(),
        &asxKind() };
    return *kinds.at(std::size_t(format));
}

// The bytes of the playlist in the format formatToSave chooses.
std::optional<QByteArray> savedPlaylist(
    const PlaylistModel &playlist, const QString &fileName, bool m3u8EntryPicked)
{
    const auto format = formatToSave(fileName, m3u8EntryPicked);
    if (!format)
        return encodePlaylist(smpLines(playlist));
    QList<PlaylistEntry> entries;
    entries.reserve(playlist.count());
    for (int row = 0; row < playlist.count(); ++row)
        entries.append({ playlist.pathAt(row), playlist.nameAt(row), playlist.secondsAt(row) });
    return encodePlaylistAs(*format, entries, QFileInfo(QDir::fromNativeSeparators(fileName)).absolutePath());
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

QString rowName(const PlaylistEntry &entry)
{
    if (!isStreamAddress(entry.path))
        return QFileInfo(entry.path).fileName();
    return entry.name.isEmpty() ? entry.path : entry.name;
}

std::optional<QList<PlaylistEntry>> parsePlaylist(
    const QByteArray &bytes, PlaylistFormat format, const QString &folder, qsizetype maxEntries)
{
    return kindOf(format).read(bytes, EntryBase::folder(folder), maxEntries);
}

std::optional<QList<PlaylistEntry>> readPlaylistFile(const QString &path, qsizetype maxEntries)
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
    return kindOf(format).write(entries, QDir(QDir::cleanPath(QDir(folder).absolutePath())));
}

bool savePlaylist(const PlaylistModel &playlist, const QString &fileName, bool m3u8EntryPicked)
{
    const auto bytes = savedPlaylist(playlist, fileName, m3u8EntryPicked);
    if (!bytes)
        return false;
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    if (file.write(*bytes) != bytes->size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}
