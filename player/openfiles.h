#pragma once

#include <QList>
#include <QStringList>
#include <QUrl>

// The media files among dropped URLs, in the order dropped: local files whose kind the
// player plays and http or https streams, as their addresses (see files/mediatypes.h).
QStringList droppedMediaFiles(const QList<QUrl> &urls);
