// PLS: a "[playlist]" header, then "FileN=", "TitleN=" and "LengthN=" lines.
#include "files/textfiles.h"
#include "playlist/playlistentries.h"
#include "playlist/playlistkind.h"

#include <QMap>

namespace {

// The local files of the "FileN=" lines in the order of their numbers, which need not be the
// order of the lines: only the maxEntries of lowest number are kept as the lines go by, each
// number's first local file.
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

class PlsKind : public PlaylistKind {
public:
    // The header comes first, blank lines aside.
    std::optional<QStringList> read(
        const QByteArray &bytes, const QString &folder, qsizetype maxEntries) const override
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

    // Each entry numbered from 1, then the count.
    QByteArray write(const QList<PlaylistEntry> &entries, const QDir &base) const override
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
};

} // namespace

const PlaylistKind &plsKind()
{
    static const PlsKind kind;
    return kind;
}
