#include "playback/mpeglength.h"

#include <QFile>
#include <QtEndian>
#include <array>

namespace {

// Enough for the two largest frames there are, which tell MPEG audio from any other kind.
constexpr qint64 probeBytes = 4096;

// Kilobits a second by bit-rate index 1 to 14, for MPEG-1 layers I to III, then for MPEG-2 and
// 2.5 layer I and layers II and III.
constexpr std::array<std::array<int, 14>, 5> bitRates { {
    { 32, 64, 96, 128, 160, 192, 224, 256, 288, 320, 352, 384, 416, 448 },
    { 32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384 },
    { 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320 },
    { 32, 48, 56, 64, 80, 96, 112, 128, 144, 160, 176, 192, 224, 256 },
    { 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160 },
} };
constexpr std::array<int, 3> mpeg1Rates { 44100, 48000, 32000 };

struct Frame {
    int version = 0; // 3 for MPEG-1, 2 for MPEG-2, 0 for MPEG-2.5
    int layer = 0;
    int rate = 0;
    int samples = 0;
    bool mono = false;
    qsizetype size = 0;

    bool sameStream(const Frame &other) const
    {
        return version == other.version && layer == other.layer && rate == other.rate;
    }
};

std::optional<Frame> frameAt(const QByteArray &bytes, qsizetype at)
{
    if (at < 0 || at + 4 > bytes.size())
        return std::nullopt;
    const quint32 header = qFromBigEndian<quint32>(bytes.constData() + at);
    Frame frame;
    frame.version = (header >> 19) & 0x3;
    frame.layer = 4 - int((header >> 17) & 0x3);
    const int rateIndex = (header >> 10) & 0x3;
    const int bitRateIndex = (header >> 12) & 0xf;
    // Free-format frames (bit-rate index 0) do not say their size.
    if ((header & 0xffe00000) != 0xffe00000 || frame.version == 1 || frame.layer == 4 || rateIndex == 3
        || bitRateIndex == 0 || bitRateIndex == 15)
        return std::nullopt;
    const bool mpeg1 = frame.version == 3;
    frame.rate = mpeg1Rates[rateIndex] >> (mpeg1 ? 0 : frame.version == 2 ? 1 : 2);
    frame.samples = frame.layer == 1 ? 384 : (frame.layer == 3 && !mpeg1) ? 576 : 1152;
    frame.mono = ((header >> 6) & 0x3) == 3;
    const int table = mpeg1 ? frame.layer - 1 : frame.layer == 1 ? 3 : 4;
    const qint64 bitsPerSecond = bitRates[table][bitRateIndex - 1] * 1000;
    const int padding = (header >> 9) & 0x1;
    frame.size = frame.layer == 1 ? (12 * bitsPerSecond / frame.rate + padding) * 4
                                  : frame.samples / 8 * bitsPerSecond / frame.rate + padding;
    return frame;
}

// A frame of the stream that the next frame, or the end of the bytes, follows.
bool streamFrameAt(const QByteArray &bytes, qsizetype at, const Frame &stream)
{
    const auto frame = frameAt(bytes, at);
    if (!frame || !frame->sameStream(stream) || at + frame->size > bytes.size())
        return false;
    const auto next = frameAt(bytes, at + frame->size);
    return at + frame->size == bytes.size() || (next && next->sameStream(stream));
}

// Where the stream's frames go on after something that is not a frame; the end when they do not.
qsizetype resync(const QByteArray &bytes, qsizetype from, const Frame &stream)
{
    for (qsizetype at = bytes.indexOf(char(0xff), from); at >= 0; at = bytes.indexOf(char(0xff), at + 1)) {
        if (streamFrameAt(bytes, at, stream))
            return at;
    }
    return bytes.size();
}

// The silent first frame of layer III in which an encoder tells the stream's length, after the
// frame's side information: a Xing or Info header, or a VBRI header. Nothing when the frame is
// one of sound; else the samples decoders leave out of the stream: the encoder's delay and
// padding, which LAME's extension of the Xing header gives.
std::optional<int> lengthHeader(const QByteArray &bytes, const Frame &frame)
{
    if (frame.layer != 3)
        return std::nullopt;
    if (bytes.mid(4 + 32, 4) == "VBRI")
        return 0;
    const qsizetype xing = 4 + (frame.version == 3 ? (frame.mono ? 17 : 32) : (frame.mono ? 9 : 17));
    if (bytes.mid(xing, 4) != "Xing" && bytes.mid(xing, 4) != "Info")
        return std::nullopt;
    // The frame count, byte count, table of contents and quality follow, each where its flag is set.
    const quint32 flags
        = bytes.size() >= xing + 8 ? qFromBigEndian<quint32>(bytes.constData() + xing + 4) : 0;
    qsizetype lame = xing + 8;
    for (const auto &[flag, size] : { std::pair { 1, 4 }, { 2, 4 }, { 4, 100 }, { 8, 4 } })
        lame += (flags & flag) ? size : 0;
    // The delay and the padding take 12 bits each, 21 bytes into the extension.
    if (bytes.mid(lame, 4) != "LAME" || bytes.size() < lame + 24)
        return 0;
    const quint32 delays = qFromBigEndian<quint32>(bytes.constData() + lame + 20) & 0xffffff;
    return int(delays >> 12) + int(delays & 0xfff);
}

} // namespace

qsizetype id3v2Size(const QByteArray &head)
{
    if (head.size() < 10 || !head.startsWith("ID3"))
        return 0;
    qsizetype size = 0;
    for (int i = 6; i < 10; ++i)
        size = (size << 7) | (static_cast<quint8>(head.at(i)) & 0x7f);
    return 10 + size + ((static_cast<quint8>(head.at(5)) & 0x10) ? 10 : 0);
}

std::optional<double> mpegAudioLength(const QByteArray &bytes)
{
    const auto first = frameAt(bytes, 0);
    const auto second = first ? frameAt(bytes, first->size) : std::nullopt;
    if (!second || !second->sameStream(*first))
        return std::nullopt;
    const auto header = lengthHeader(bytes, *first);
    qint64 samples = header ? -*header : 0;
    qsizetype at = header ? first->size : 0;
    while (at < bytes.size()) {
        const auto frame = frameAt(bytes, at);
        if (frame && frame->sameStream(*first) && at + frame->size <= bytes.size()) {
            samples += frame->samples;
            at += frame->size;
        } else {
            at = resync(bytes, at + 1, *first);
        }
    }
    return double(std::max<qint64>(samples, 0)) / first->rate;
}

std::optional<double> mpegFileLength(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > mpegCountLimit)
        return std::nullopt;
    if (!file.seek(id3v2Size(file.peek(10))) || !mpegAudioLength(file.peek(probeBytes)))
        return std::nullopt;
    return mpegAudioLength(file.readAll());
}
