// M3U and M3U8, plain or extended: one entry a line, "#" lines are comments and "#EXTINF".
#include "files/textfiles.h"
#include "playlist/playlistentries.h"
#include "playlist/playlistkind.h"

namespace {

class M3uKind : public PlaylistKind {
public:
    // An "#EXTINF" line gives the title of the entry that follows it, and of no other.
    std::optional<QList<PlaylistEntry>> read(
        const QByteArray &bytes, const EntryBase &base, qsizetype maxEntries) const override
    {
        if (!looksLikeText(bytes))
            return std::nullopt;
        EntryCollector entries(maxEntries);
        QString title;
        forEachLine(bytes, [&](const QString &line) {
            if (line.startsWith(QLatin1String("#EXTINF:"), Qt::CaseInsensitive)) {
                title = extinfTitle(line);
            } else if (!line.startsWith(u'#') && !line.trimmed().isEmpty()) {
                entries.add(base.path(line), title);
                title.clear();
            }
            return !entries.full();
        });
        return entries.entries();
    }

    // An extended M3U8: "#EXTINF:<seconds>,<name>" then the path or address, for each entry.
    QByteArray write(const QList<PlaylistEntry> &entries, const QDir &base) const override
    {
        QString text = QStringLiteral("#EXTM3U\n");
        for (const PlaylistEntry &entry : entries)
            text += extinf(entry) + entryPath(entry.path, base) + u'\n';
        return text.toUtf8();
    }

private:
    // The title follows the first comma, and may hold commas of its own.
    static QString extinfTitle(const QString &line)
    {
        const qsizetype comma = line.indexOf(u',');
        return comma < 0 ? QString() : line.sliced(comma + 1);
    }

    // Commas in the name are fine.
    static QString extinf(const PlaylistEntry &entry)
    {
        return QStringLiteral("#EXTINF:%1,%2\n").arg(wholeSeconds(entry)).arg(shownName(entry.name));
    }
};

} // namespace

const PlaylistKind &m3uKind()
{
    static const M3uKind kind;
    return kind;
}
