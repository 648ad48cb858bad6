// The single-instance lock of windowed runs: an advisory lock on a file named after the
// program's instance name in the user's runtime folder.
#pragma once

#include <string>

namespace Platform {

class InstanceLock
{
public:
    InstanceLock() = default;
    ~InstanceLock();
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;

    // Takes the lock for name. False when another process holds it (or the lock file cannot
    // be created, in which case the run goes on unguarded: see the definition).
    bool Acquire(const std::string& name);
    // The folder lock files go to: $XDG_RUNTIME_DIR, else /tmp.
    static std::string Folder();

private:
    int m_fd = -1;
};

} // namespace Platform
