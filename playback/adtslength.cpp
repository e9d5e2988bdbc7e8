#include "playback/adtslength.h"

#include "playback/mpeglength.h"

#include <QFile>
#include <array>

namespace {

constexpr std::array<int, 13> sampleRates { 96000, 88200, 64000, 48000, 44100, 32000, 24000, 22050, 16000,
    12000, 11025, 8000, 7350 };
constexpr qsizetype headerBytes = 7;
// Fewer frames than this in a longer file say too little about its bit rate.
constexpr int fewestFrames = 8;

quint8 byteAt(const QByteArray &bytes, qsizetype at)
{
    return static_cast<quint8>(bytes.at(at));
}

} // namespace

std::optional<double> adtsLength(const QByteArray &head, qint64 fileSize)
{
    const qsizetype start = id3v2Size(head);
    qsizetype at = start;
    qint64 samples = 0;
    int frames = 0;
    int rate = 0;
    while (at + headerBytes <= head.size()) {
        // Sync word, MPEG-4 or -2, layer 0: an MP3 frame has a layer, so it never matches.
        if (byteAt(head, at) != 0xff || (byteAt(head, at + 1) & 0xf6) != 0xf0)
            break;
        const int rateIndex = (byteAt(head, at + 2) >> 2) & 0x0f;
        const qsizetype length = ((byteAt(head, at + 3) & 0x03) << 11) | (byteAt(head, at + 4) << 3)
            | (byteAt(head, at + 5) >> 5);
        if (rateIndex >= int(sampleRates.size()) || length < headerBytes
            || (rate != 0 && rate != sampleRates[rateIndex]))
            break;
        rate = sampleRates[rateIndex];
        samples += 1024 * ((byteAt(head, at + 6) & 0x03) + 1);
        ++frames;
        at += length;
    }
    const qint64 read = std::min<qint64>(at, fileSize) - start;
    const bool whole = at >= fileSize;
    if (frames == 0 || read <= 0 || (!whole && frames < fewestFrames))
        return std::nullopt;
    const double seconds = double(samples) / rate;
    return whole ? seconds : seconds * double(fileSize - start) / double(read);
}

std::optional<double> adtsFileLength(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return adtsLength(file.read(adtsHeadBytes), file.size());
}
