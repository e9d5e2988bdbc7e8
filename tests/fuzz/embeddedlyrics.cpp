// Feeds any bytes, as a file of the kind the first byte picks, to the reader of lyrics in tags,
// and asks which line is marked at a few times.
#include "files/embeddedlyrics.h"

#include <QFile>
#include <QTemporaryDir>
#include <cstdint>
#include <limits>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const QTemporaryDir folder;
    static const char *const suffixes[] = { "mp3", "wav", "flac", "ogg", "opus", "m4a", "wma" };
    if (size == 0)
        return 0;
    const QString path = folder.filePath(QStringLiteral("pista.") + QLatin1String(suffixes[data[0] % std::size(suffixes)]));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        __builtin_trap();
    file.write(reinterpret_cast<const char *>(data + 1), qint64(size - 1));
    file.close();
    const auto lyrics = readEmbeddedLyrics(path);
    if (!lyrics)
        return 0;
    for (const qint64 ms : { qint64(0), qint64(61'000), std::numeric_limits<qint64>::max() }) {
        const auto line = markedLine(*lyrics, ms);
        if (line && (*line < 0 || *line >= lyrics->lines.size()))
            __builtin_trap();
    }
    return 0;
}
