#include "platform/posix/instance_lock.h"

#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <string>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vortexa {

namespace {

// Only this user may own and write the folder, and it must be a folder, not a link to one.
bool isPrivateFolder(const std::filesystem::path& folder)
{
    struct stat status { };
    return lstat(folder.c_str(), &status) == 0 && S_ISDIR(status.st_mode) && status.st_uid == getuid()
        && (status.st_mode & (S_IWGRP | S_IWOTH)) == 0;
}

std::string safeName(std::string name)
{
    for (char& c : name)
        if (!std::isalnum(static_cast<unsigned char>(c)) && c != '-' && c != '_' && c != '.')
            c = '_';
    return name;
}

} // namespace

std::string instanceLockName(const char* display)
{
    const std::string name = display ? display : "";
    const size_t colon = name.rfind(':');
    if (colon == std::string::npos)
        return name.empty() ? "vortexa.lock" : "vortexa-" + safeName(name) + ".lock";
    // A display named with or without "unix" is the same local display, and the screen number after
    // the display's does not make another one.
    std::string host = name.substr(0, colon);
    if (host == "unix")
        host.clear();
    const std::string displayNumber = name.substr(colon + 1, name.find('.', colon) - colon - 1);
    return "vortexa-" + safeName(host + ":" + displayNumber) + ".lock";
}

std::optional<std::filesystem::path> privateFolder()
{
    const char* runtimeFolder = std::getenv("XDG_RUNTIME_DIR");
    if (runtimeFolder && runtimeFolder[0] == '/' && isPrivateFolder(runtimeFolder))
        return std::filesystem::path(runtimeFolder);
    const std::filesystem::path own = std::filesystem::path("/tmp") / ("vortexa-" + std::to_string(getuid()));
    mkdir(own.c_str(), 0700);
    if (isPrivateFolder(own))
        return own;
    return std::nullopt;
}

InstanceLock::InstanceLock() = default;

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
    // The folder is found, or made, only when a show asks for the lock.
    if (!m_path)
        if (const auto folder = privateFolder())
            m_path = *folder / instanceLockName(std::getenv("DISPLAY"));
    if (!m_path)
        return false;
    // Close-on-exec keeps programs started from the saver (the web browser) from holding the lock
    // after the saver has ended; no-follow keeps a planted link from redirecting it.
    const int fd = open(m_path->c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK, 0600);
    if (fd < 0)
        return false;
    struct stat status { };
    if (fstat(fd, &status) != 0 || !S_ISREG(status.st_mode) || status.st_uid != getuid()) {
        close(fd);
        return false;
    }
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
