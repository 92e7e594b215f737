#include "platform/MemoryTrim.h"

// std: defines __GLIBC__ where glibc is the C library
#include <cstdlib>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

void GiveBackFreedMemory()
{
#if defined(__GLIBC__)
    malloc_trim(0);
#endif
}
