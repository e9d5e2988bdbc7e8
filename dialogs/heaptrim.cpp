#include "dialogs/heaptrim.h"

#if defined(__GLIBC__)
#include <malloc.h>
#endif

void giveBackFreeHeap()
{
#if defined(__GLIBC__)
    malloc_trim(0);
#endif
}
