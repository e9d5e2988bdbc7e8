// M3U and M3U8, plain or extended: one entry a line, "#" lines are comments and "#EXTINF".
#include "files/textfiles.h"
#include "playlist/playlistentries.h"
#include "playlist/playlistkind.h"

namespace {

class M3uKind : public PlaylistKind {
public:
    std::optional<QStringList> read(
        const QByteArray &bytes, const QString &folder, qsizetype maxEntries) const override
    {
        if (!looksLikeText(bytes))
            return std::nullopt;
        EntryCollector entries(maxEntries);
        forEachLine(bytes, [&](const QString &line) {
            if (!line.startsWith(u'#'))
                entries.add(localPath(line, folder));
            return !entries.full();
        });
        return entries.paths();
    }

    // An extended M3U8: "#EXTINF:<seconds>,<name>" then the path, for each entry.
    QByteArray write(const QList<PlaylistEntry> &entries, const QDir &base) const override
    {
        QString text = QStringLiteral("#EXTM3U\n");
        for (const PlaylistEntry &entry : entries)
            text += extinf(entry) + entryPath(absoluteIn(base, entry.path), base) + u'\n';
        return text.toUtf8();
    }

private:
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
