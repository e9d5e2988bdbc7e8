#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

// A raw AAC file (ADTS frames, ".aac") has no length header, and GStreamer tells its length
// only after some seconds have played. Its length follows from its size and the frames at its
// start: each frame says its own size and holds 1024 samples a block.

// How much of the file's start the estimate reads.
constexpr qint64 adtsHeadBytes = 64 * 1024;

// The length in seconds of a file of fileSize bytes that starts with head; exact when head is
// the whole file. Nothing when head does not start with ADTS frames (after an ID3 tag).
std::optional<double> adtsLength(const QByteArray &head, qint64 fileSize);

// The same for a file, reading its first adtsHeadBytes.
std::optional<double> adtsFileLength(const QString &path);
