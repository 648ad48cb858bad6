// flock(2) on "<runtime folder>/<name>.lock"; the kernel drops the lock when the process ends,
// however it ends, so a crashed game never blocks the next start.
#include "platform/InstanceLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

namespace Platform {

InstanceLock::~InstanceLock()
{
    if (m_fd >= 0)
        close(m_fd);
}

std::string InstanceLock::Folder()
{
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime && *runtime)
        return runtime;
    return "/tmp";
}

bool InstanceLock::Acquire(const std::string& name)
{
    if (m_fd >= 0)
        return true;
    std::string path = Folder() + "/" + name + ".lock";
    int fd = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0)
        return true; // no writable runtime folder: better to run unguarded than not at all
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        bool held = errno == EWOULDBLOCK;
        close(fd);
        return !held;
    }
    m_fd = fd;
    return true;
}

} // namespace Platform
