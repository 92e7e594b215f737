#include "platform/MemoryTrim.h"

#if defined(__GLIBC__)
#include <malloc.h>
#endif

void GiveBackFreedMemory()
{
#if defined(__GLIBC__)
    malloc_trim(0);
#endif
}
