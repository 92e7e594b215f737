#include "platform/ThreadPriority.h"

// POSIX
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

void LowerCurrentThreadPriority()
{
    // On Linux a thread's nice value is its own, addressed by its thread id
    const pid_t tid = pid_t(syscall(SYS_gettid));
    const int current = getpriority(PRIO_PROCESS, id_t(tid));
    (void)setpriority(PRIO_PROCESS, id_t(tid), current + 10 > 19 ? 19 : current + 10);
}
