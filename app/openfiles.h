#pragma once

#include <QList>
#include <QStringList>
#include <QUrl>

// The media files among dropped URLs, in the order dropped: local files whose kind the
// player accepts (MP3, MIDI, WAV, MPG).
QStringList droppedMediaFiles(const QList<QUrl> &urls);
