#pragma once
// The calling thread's last system error code (errno), as catch-all blocks hand it on.

#include "platform/WinTypes.h"

/// The calling thread's errno. Thread safe.
DWORD GetLastError();
/// Sets the calling thread's errno. Thread safe.
void SetLastError(DWORD code);
