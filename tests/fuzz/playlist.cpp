// Feeds any bytes to the playlist file reader, and writes back what it read.
#include "playlist/smpfile.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const QStringList names = decodePlaylist(bytes, 1000);
    if (names.size() > 1000)
        __builtin_trap();
    // What was read has no line breaks left in it, so it can always be written back and read
    // again the same.
    const auto written = encodePlaylist(names);
    if (!written || decodePlaylist(*written, 1000) != names)
        __builtin_trap();
    completeLines(bytes);
    return 0;
}
