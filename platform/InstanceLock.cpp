#include "platform/InstanceLock.h"

// Qt
#include <QFile>

// POSIX
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

// std
#include <cerrno>

namespace {

int OpenLockFile(const char* path)
{
    int fd = open(path, O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    // A read-only file or file system still takes a lock
    if (fd < 0 && (errno == EACCES || errno == EROFS || errno == EPERM))
        fd = open(path, O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    return fd;
}

} // namespace

InstanceLock::~InstanceLock()
{
    Release();
}

bool InstanceLock::Acquire(const QString& path)
{
    Release();
    m_bHeldElsewhere = false;
    m_nError = 0;
    const QByteArray name = QFile::encodeName(path);
    int fd = OpenLockFile(name.constData());
    if (fd < 0) {
        // Nobody can hold a lock through a file that can't be opened: put a new one in its place
        unlink(name.constData());
        fd = open(name.constData(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0600);
        if (fd < 0) {
            m_nError = errno;
            return false;
        }
    }
    int locked;
    do {
        locked = flock(fd, LOCK_EX | LOCK_NB);
    } while (locked != 0 && errno == EINTR);
    if (locked != 0) {
        const int error = errno;
        close(fd); // not ours: a holder keeps its lock
        // Only a lock another process holds means another copy runs
        if (error == EWOULDBLOCK)
            m_bHeldElsewhere = true;
        else
            m_nError = error;
        return false;
    }
    m_fd = fd;
    return true;
}

void InstanceLock::Release()
{
    if (m_fd < 0)
        return;
    flock(m_fd, LOCK_UN);
    close(m_fd);
    m_fd = -1;
}
