#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

// An MP3 without a Xing or VBRI header does not say how long it is, and GStreamer guesses its
// length from the bit rate of its first frames: minutes off for a file whose loudness, and so
// its bit rate, changes. Its true length follows from its frames: each header says how large
// the frame is and how many samples it holds.

// Files up to this size are counted whole; reading and counting one takes milliseconds.
constexpr qint64 mpegCountLimit = 64 * 1024 * 1024;

// The bytes an ID3v2 tag at the start of head takes, with its header and footer; 0 without one.
qsizetype id3v2Size(const QByteArray &head);

// The length in seconds of the sound that the MPEG audio frames in bytes decode to; bytes start
// with the first frame. A Xing, Info or VBRI frame holds no sound, and the encoder's delay and
// padding that a LAME header gives are left out, as decoders leave them out; whatever lies
// between frames (a broken frame, an ID3v1 tag at the end) is passed over. Nothing when bytes
// do not start with two frames of one stream.
std::optional<double> mpegAudioLength(const QByteArray &bytes);

// The same for a file of up to mpegCountLimit bytes, after its ID3v2 tag. Of a file that does
// not hold MPEG audio only the start is read.
std::optional<double> mpegFileLength(const QString &path);
