// Feeds any bytes to the timed lyrics reader and asks which line is marked at a few times.
#include "files/lrcfile.h"
#include "files/lyricsfile.h"

#include <cstdint>
#include <limits>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const TimedLyrics lyrics = parseLrc(decodeLyrics(bytes, false));
    for (const qint64 ms : { qint64(0), qint64(61'000), std::numeric_limits<qint64>::max() }) {
        const auto line = markedLine(lyrics, ms);
        if (line && (*line < 0 || *line >= lyrics.lines.size()))
            __builtin_trap();
    }
    return 0;
}
