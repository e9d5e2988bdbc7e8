#pragma once

#include <QImage>
#include <QSize>
#include <QString>

// Loads the picture at path for a box of boxSize pixels; a null image when the path is
// empty, names no regular file, holds no picture, or holds one too large to decode within
// the image readers' allocation limit. The picture comes back scaled to the box, decoded
// scaled where the format allows it, so that a huge picture costs little.
QImage loadPicture(const QString &path, const QSize &boxSize);
