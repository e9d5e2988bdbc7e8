// PLS: a "[playlist]" header, then "FileN=", "TitleN=" and "LengthN=" lines.
#include "files/textfiles.h"
#include "playlist/playlistentries.h"
#include "playlist/playlistkind.h"

#include <QMap>

namespace {

// The number of a "<key>N=" line and what follows the "="; nothing for a line of another key.
std::optional<std::pair<qint64, QString>> numbered(const QString &line, QLatin1String key)
{
    const qsizetype equals = line.indexOf(u'=');
    const QString name = line.first(std::max<qsizetype>(equals, 0)).trimmed();
    if (equals < 0 || !name.startsWith(key, Qt::CaseInsensitive))
        return std::nullopt;
    bool ok = false;
    const qint64 number = name.sliced(key.size()).toLongLong(&ok);
    if (!ok)
        return std::nullopt;
    return std::pair(number, line.sliced(equals + 1));
}

// The entries of the "FileN=" lines in the order of their numbers, which need not be the
// order of the lines: only the maxEntries of lowest number are kept as the lines go by, each
// number's first entry taken. Their titles are looked for once the entries are known, so that
// the titles of entries never kept take no memory.
class NumberedFiles {
public:
    NumberedFiles(const EntryBase &base, qsizetype maxEntries)
        : m_base(base)
        , m_max(maxEntries)
    {
    }
    void take(const QString &line)
    {
        const auto file = numbered(line, QLatin1String("File"));
        if (!file || m_files.contains(file->first) || beyondKept(file->first))
            return;
        const auto path = m_base.path(file->second);
        if (!path)
            return;
        m_files.insert(file->first, { *path, std::nullopt });
        if (m_files.size() > m_max)
            m_files.erase(std::prev(m_files.end()));
    }
    // Each number's first title.
    void title(const QString &line)
    {
        const auto title = numbered(line, QLatin1String("Title"));
        if (!title)
            return;
        const auto file = m_files.find(title->first);
        if (file != m_files.end() && !file->title)
            file->title = title->second;
    }
    QList<PlaylistEntry> entries() const
    {
        EntryCollector entries(m_max);
        for (const Numbered &file : m_files)
            entries.add(file.path, file.title.value_or(QString()));
        return entries.entries();
    }

private:
    bool beyondKept(qint64 number) const
    {
        return m_files.size() >= m_max && (m_files.isEmpty() || number > m_files.lastKey());
    }

    struct Numbered {
        QString path;
        std::optional<QString> title;
    };

    EntryBase m_base;
    qsizetype m_max;
    QMap<qint64, Numbered> m_files;
};

class PlsKind : public PlaylistKind {
public:
    // The header comes first, blank lines aside.
    std::optional<QList<PlaylistEntry>> read(
        const QByteArray &bytes, const EntryBase &base, qsizetype maxEntries) const override
    {
        if (!looksLikeText(bytes))
            return std::nullopt;
        std::optional<bool> headed;
        NumberedFiles files(base, maxEntries);
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
        forEachLine(bytes, [&](const QString &line) {
            files.title(line);
            return true;
        });
        return files.entries();
    }

    // Each entry numbered from 1, then the count.
    QByteArray write(const QList<PlaylistEntry> &entries, const QDir &base) const override
    {
        QString text = QStringLiteral("[playlist]\n");
        for (qsizetype i = 0; i < entries.size(); ++i) {
            const PlaylistEntry &entry = entries.at(i);
            text += QStringLiteral("File%1=%2\nTitle%1=%3\nLength%1=%4\n")
                        .arg(QString::number(i + 1), entryPath(entry.path, base), shownName(entry.name),
                            QString::number(wholeSeconds(entry)));
        }
        text += QStringLiteral("NumberOfEntries=%1\nVersion=2\n").arg(entries.size());
        return text.toUtf8();
    }
};

} // namespace

const PlaylistKind &plsKind()
{
    static const PlsKind kind;
    return kind;
}
