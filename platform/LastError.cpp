#include "platform/LastError.h"

#include <cerrno>

DWORD GetLastError()
{
    return DWORD(errno);
}

void SetLastError(DWORD code)
{
    errno = int(code);
}
