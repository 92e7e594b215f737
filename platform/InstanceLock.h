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

    /// Opens (creating) the file and tries to lock it without waiting.
    /// False when another holder has it or the file can't be opened; nothing is then held.
    bool Acquire(const QString& path);
    /// Releases the lock if this object holds one; does nothing otherwise.
    void Release();
    bool IsHeld() const { return m_fd >= 0; }

private:
    int m_fd = -1;
};
