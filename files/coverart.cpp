#include "files/coverart.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QMimeDatabase>
#include <QSaveFile>

namespace {

constexpr const char *pictureNames[] = { "cover.jpg", "folder.jpg", "cover.png" };

// The name tells the picture's kind by its extension; the kind of a picture whose MIME type is
// missing or unknown is read from the picture itself.
QString cachedName(const QByteArray &picture, const QString &mimeType)
{
    const QMimeDatabase mimes;
    QMimeType type = mimes.mimeTypeForName(mimeType);
    if (type.preferredSuffix().isEmpty())
        type = mimes.mimeTypeForData(picture);
    const QString hash
        = QString::fromLatin1(QCryptographicHash::hash(picture, QCryptographicHash::Sha1).toHex());
    return type.preferredSuffix().isEmpty() ? hash : hash + QLatin1Char('.') + type.preferredSuffix();
}

QString cachedPicture(const QByteArray &picture, const QString &mimeType, const QString &cacheFolder)
{
    const QDir folder(cacheFolder);
    const QString path = folder.filePath(cachedName(picture, mimeType));
    if (QFileInfo::exists(path))
        return path;
    QSaveFile file(path);
    if (!folder.mkpath(QStringLiteral(".")) || !file.open(QIODevice::WriteOnly)
        || file.write(picture) != picture.size() || !file.commit())
        return QString();
    return path;
}

QString pictureBeside(const QString &trackPath)
{
    // The names are plain words compared whatever their case: no wildcard, so the folder is
    // listed without a pattern to compile for every track.
    const QDir folder = QFileInfo(trackPath).dir();
    const QStringList files = folder.entryList(QDir::Files | QDir::Readable);
    for (const char *wanted : pictureNames) {
        for (const QString &file : files) {
            if (file.compare(QLatin1String(wanted), Qt::CaseInsensitive) == 0)
                return folder.filePath(file);
        }
    }
    return QString();
}

} // namespace

QString coverArtFile(
    const QString &trackPath, const QByteArray &embedded, const QString &mimeType, const QString &cacheFolder)
{
    if (!embedded.isEmpty()) {
        const QString cached = cachedPicture(embedded, mimeType, cacheFolder);
        if (!cached.isEmpty())
            return cached;
    }
    return pictureBeside(trackPath);
}
