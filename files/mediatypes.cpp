#include "files/mediatypes.h"

#include <QFileInfo>
#include <QUrl>

namespace {

struct MediaKind {
    const char *description;
    QStringList suffixes;
};

// The four kinds the player has always offered, exactly as its "Agregar" filter has always
// read; a saved dialog position or a user's habit may count on their order.
const QString originalFilter = QStringLiteral(
    "MP3 Files(*.mp3)|*.mp3|Midi Files (*.mid)|*.mid|Wav Files (*.wav)|*.wav|Mpg Files (*.mpg)|*.mpg");
const QStringList originalSuffixes { QStringLiteral("mp3"), QStringLiteral("mid"), QStringLiteral("wav"),
    QStringLiteral("mpg") };
// Spellings of the original kinds that the dialog does not offer but a dropped file may carry.
const QStringList otherSpellings { QStringLiteral("midi"), QStringLiteral("mpeg") };

const QList<MediaKind> newerKinds {
    { "FLAC (*.flac)", { QStringLiteral("flac") } },
    { "Ogg y Opus (*.ogg *.oga *.opus)",
        { QStringLiteral("ogg"), QStringLiteral("oga"), QStringLiteral("opus") } },
    { "AAC y M4A (*.m4a *.aac)", { QStringLiteral("m4a"), QStringLiteral("aac") } },
    { "WMA (*.wma)", { QStringLiteral("wma") } },
};

QString patterns(const QStringList &suffixes)
{
    QStringList patterns;
    for (const QString &suffix : suffixes)
        patterns << QStringLiteral("*.") + suffix;
    return patterns.join(u';');
}

} // namespace

QStringList newerSuffixes()
{
    QStringList suffixes;
    for (const MediaKind &kind : newerKinds)
        suffixes << kind.suffixes;
    return suffixes;
}

QStringList playableSuffixes()
{
    return originalSuffixes + otherSpellings + newerSuffixes();
}

bool isPlayableName(const QString &fileName)
{
    return playableSuffixes().contains(QFileInfo(fileName).suffix().toLower());
}

QString addFilter()
{
    QString filter = originalFilter;
    filter += QStringLiteral("|Todos los archivos de sonido|") + patterns(originalSuffixes + newerSuffixes());
    for (const MediaKind &kind : newerKinds)
        filter += u'|' + QString::fromUtf8(kind.description) + u'|' + patterns(kind.suffixes);
    return filter;
}

bool isStreamAddress(const QString &text)
{
    if (!text.startsWith(QLatin1String("http://"), Qt::CaseInsensitive)
        && !text.startsWith(QLatin1String("https://"), Qt::CaseInsensitive))
        return false;
    const QUrl url(text, QUrl::StrictMode);
    return url.isValid() && !url.host().isEmpty();
}
