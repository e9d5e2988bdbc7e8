#include "extras/pictureloader.h"

#include <QFileInfo>
#include <QImageReader>

namespace {
// Neither side of a picture the box could ever show usefully is longer than this.
constexpr qint64 kMaxSide = 32768;

// Judged from the size in the picture's header, before any pixel is decoded: the full
// picture at four bytes a pixel must fit in the readers' allocation limit.
bool decodable(const QSize &size)
{
    if (!size.isValid() || size.width() > kMaxSide || size.height() > kMaxSide)
        return false;
    const qint64 bytes = qint64(size.width()) * size.height() * 4;
    return bytes <= qint64(QImageReader::allocationLimit()) * 1024 * 1024;
}
} // namespace

QImage loadPicture(const QString &path, const QSize &boxSize)
{
    // A FIFO or a device would block the reader forever.
    if (path.isEmpty() || !QFileInfo(path).isFile())
        return QImage();
    QImageReader reader(path);
    if (!decodable(reader.size()))
        return QImage();
    if (boxSize.isValid() && !boxSize.isEmpty())
        reader.setScaledSize(boxSize);
    return reader.read();
}
