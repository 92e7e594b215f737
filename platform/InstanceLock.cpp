#include "platform/InstanceLock.h"

// Qt
#include <QFile>

// POSIX
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

InstanceLock::~InstanceLock()
{
    Release();
}

bool InstanceLock::Acquire(const QString& path)
{
    Release();
    const int fd = open(QFile::encodeName(path).constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0)
        return false;
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        close(fd); // not ours: the holder keeps its lock
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
