// Feeds any bytes to the lyrics decoder, whole and as the first part of a longer file.
#include "files/lyricsfile.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    decodeLyrics(bytes, false);
    decodeLyrics(bytes, true);
    lyricsBaseName(QString::fromUtf8(bytes));
    return 0;
}
