// Feeds any text to the parser of the file dialogs' filters.
#include "dialogs/dialogfilter.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString filter = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    for (const QString &nameFilter : qtNameFilters(filter)) {
        // Every entry the dialog shows leads back to the pair it came from.
        if (nameFilter.isEmpty() || filterIndexOf(filter, nameFilter) < 1)
            __builtin_trap();
    }
    return 0;
}
