#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

// Text the player reads from outside: UTF-8 where the bytes are valid UTF-8, otherwise
// Windows-1252, so that files written on Windows keep their accents.
QString decodeText(const QByteArray &bytes);

// Reads at most maxBytes of a regular file, whole, and closes it. Anything that is not a
// regular file (a folder, a FIFO, a device) is refused: reading a FIFO would block forever.
std::optional<QByteArray> readRegularFile(const QString &path, qint64 maxBytes);

// One-line settings files: the value followed by CR LF. Writing replaces the whole file;
// reading takes the whole content less its last two characters, and fails when there are
// fewer than two characters or more than a 16-bit length can count.
bool writeSettingLine(const QString &path, const QString &value);
std::optional<QString> readSettingLine(const QString &path);
// The same rule on text already read.
std::optional<QString> dropLineEnd(const QString &content);
