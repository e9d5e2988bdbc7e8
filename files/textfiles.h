#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QFile>
#include <QString>
#include <functional>
#include <optional>

// Text the player reads from outside: UTF-8 where the bytes are valid UTF-8, otherwise
// Windows-1252, so that files written on Windows keep their accents.
QString decodeText(QByteArrayView bytes);

// Calls visit with each line of bytes in turn, until it returns false. Lines end in CR LF, LF
// or CR (the last one may have no end at all); each is decoded on its own as decodeText
// decodes, so one line in Windows-1252 garbles none of the UTF-8 ones. Only the line being
// visited is held as text, however long the file.
void forEachLine(QByteArrayView bytes, const std::function<bool(const QString &)> &visit);

// Opens a file for reading only when it is a regular file, told by the file opened rather than
// by its name. Anything else (a folder, a FIFO, a device, a link to one) is refused: reading a
// FIFO would block forever, and a device may never end.
bool openRegularFile(QFile &file);
// Reads at most maxBytes of a regular file, as openRegularFile opens it, and closes it.
std::optional<QByteArray> readRegularFile(const QString &path, qint64 maxBytes);

// One-line settings files: the value followed by CR LF. Writing replaces the whole file;
// reading takes the whole content less its last two characters, and fails when there are
// fewer than two characters or more than a 16-bit length can count.
bool writeSettingLine(const QString &path, const QString &value);
std::optional<QString> readSettingLine(const QString &path);
// The same rule on text already read.
std::optional<QString> dropLineEnd(const QString &content);
