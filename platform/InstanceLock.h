#pragma once
// Single instance: an exclusive flock on a lock file, held while the process lives.

// Qt
#include <QString>

/// Holds an exclusive lock on a file while it lives. UI thread only.
class InstanceLock
{
public:
    InstanceLock() = default;
    ~InstanceLock();
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;

    /// Opens (creating) the file and tries to lock it without waiting. A file that can't be
    /// opened (a link in its place, no access) is replaced by a new one. False when nothing is
    /// held: IsHeldElsewhere then tells whether another process holds the lock; otherwise the
    /// lock could not be taken at all and LastError gives the system's reason.
    bool Acquire(const QString& path);
    /// Releases the lock if this object holds one; does nothing otherwise.
    void Release();
    bool IsHeld() const { return m_fd >= 0; }
    /// The last Acquire found the lock held by another process.
    bool IsHeldElsewhere() const { return m_bHeldElsewhere; }
    /// errno of the last Acquire that could neither take the lock nor find it held; 0 otherwise.
    int LastError() const { return m_nError; }

private:
    int m_fd = -1;
    bool m_bHeldElsewhere = false;
    int m_nError = 0;
};
