#include "platform/qt/instance_lock.h"

#include <cerrno>
#include <cstdlib>
#include <string>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace vortexa {

std::filesystem::path instanceLockPath()
{
    const char* runtimeFolder = std::getenv("XDG_RUNTIME_DIR");
    if (runtimeFolder && runtimeFolder[0] == '/')
        return std::filesystem::path(runtimeFolder) / "vortexa.lock";
    return std::filesystem::path("/tmp") / ("vortexa-" + std::to_string(getuid()) + ".lock");
}

InstanceLock::InstanceLock(std::filesystem::path path)
    : m_path(std::move(path))
{
}

InstanceLock::~InstanceLock()
{
    if (m_fd >= 0)
        close(m_fd);
}

bool InstanceLock::heldElsewhere()
{
    if (m_fd >= 0)
        return false;
    // Close-on-exec keeps programs started from the saver (the web browser) from holding the lock
    // after the saver has ended; no-follow keeps a planted link in /tmp from redirecting it.
    const int fd = open(m_path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0)
        return false;
    int result = 0;
    do
        result = flock(fd, LOCK_EX | LOCK_NB);
    while (result != 0 && errno == EINTR);
    if (result != 0) {
        const bool busy = errno == EWOULDBLOCK;
        close(fd);
        return busy;
    }
    m_fd = fd;
    return false;
}

} // namespace vortexa
