#include "files/coverart.h"
#include "files/textfiles.h"

#include <QCryptographicHash>
#include <QDateTime>
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
    // Always with a kind, so that a picture's name has a single dot.
    return hash + QLatin1Char('.')
        + (type.preferredSuffix().isEmpty() ? QStringLiteral("bin") : type.preferredSuffix());
}

// The user's own: the covers tell what the user listens to.
constexpr QFile::Permissions kOwnerOnly = QFile::ReadOwner | QFile::WriteOwner;
constexpr QFile::Permissions kOwnerOnlyFolder = kOwnerOnly | QFile::ExeOwner;
// The pictures of a few weeks of listening; the least recently shown go first.
constexpr int kMaxPictures = 200;
// Far longer than a picture takes to write: the temporary file of one older than this was
// left by a player that ended while writing it.
constexpr qint64 kAbandonedSecs = 10 * 60;

// Keeps the most recently shown pictures and drops the rest, and what a write left behind.
// A picture's name has one dot, before its kind; a temporary file's name has another.
void trimCache(const QDir &folder)
{
    const QDateTime abandoned = QDateTime::currentDateTime().addSecs(-kAbandonedSecs);
    int kept = 0;
    const QFileInfoList entries = folder.entryInfoList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Time);
    for (const QFileInfo &entry : entries) {
        const bool picture = !entry.isSymLink() && entry.isFile() && entry.fileName().count(u'.') == 1;
        if (picture ? ++kept > kMaxPictures : entry.isSymLink() || entry.lastModified() < abandoned)
            QFile::remove(entry.filePath());
    }
}

// A picture shown again counts as recently used, so the cache keeps it.
bool reuse(const QString &path)
{
    QFile file(path);
    return openRegularFile(file)
        && file.setFileTime(QDateTime::currentDateTime(), QFileDevice::FileModificationTime)
        && file.setPermissions(kOwnerOnly);
}

QString cachedPicture(const QByteArray &picture, const QString &mimeType, const QString &cacheFolder)
{
    const QDir folder(cacheFolder);
    const QString path = folder.filePath(cachedName(picture, mimeType));
    // Made private also where an older player left it readable by all.
    if (!folder.mkpath(QStringLiteral(".")) || !QFile::setPermissions(cacheFolder, kOwnerOnlyFolder))
        return QString();
    if (reuse(path))
        return path;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || !file.setPermissions(kOwnerOnly)
        || file.write(picture) != picture.size() || !file.commit())
        return QString();
    trimCache(folder);
    return path;
}

// Only a picture that is a regular file with something in it is worth handing on: a name may
// be a link to a device, which would never end.
bool isPicture(const QString &path)
{
    QFile file(path);
    return openRegularFile(file) && file.size() > 0;
}

QString pictureBeside(const QString &trackPath)
{
    // The names are plain words compared whatever their case: no wildcard, so the folder is
    // listed without a pattern to compile for every track.
    const QDir folder = QFileInfo(trackPath).dir();
    const QStringList files = folder.entryList(QDir::Files | QDir::Readable);
    for (const char *wanted : pictureNames) {
        for (const QString &file : files) {
            if (file.compare(QLatin1String(wanted), Qt::CaseInsensitive) == 0
                && isPicture(folder.filePath(file)))
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
