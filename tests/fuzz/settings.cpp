// Feeds any bytes to the reader of the one-line settings files.
#include "files/textfiles.h"

#include <QByteArray>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const QString text = decodeText(bytes);
    if (const auto value = dropLineEnd(text)) {
        if (value->size() != text.size() - 2)
            __builtin_trap();
    }
    return 0;
}
