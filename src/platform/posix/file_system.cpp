#include "platform/file_system.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace vortexa {

// A new file carries an exclusive lock while its writer holds it open. The system drops the lock
// when the writer closes the file or dies, which is how a leftover is told from a save in progress.
std::FILE* createNewFile(const std::filesystem::path& path)
{
    std::FILE* file = std::fopen(path.c_str(), "wbx");
    if (file)
        flock(fileno(file), LOCK_EX | LOCK_NB);
    return file;
}

bool removeIfAbandoned(const std::filesystem::path& path)
{
    const int descriptor = open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (descriptor < 0)
        return false;
    const bool abandoned = flock(descriptor, LOCK_EX | LOCK_NB) == 0;
    const bool removed = abandoned && unlink(path.c_str()) == 0;
    close(descriptor);
    return removed;
}

std::FILE* openRegularFile(const std::filesystem::path& path)
{
    // Without O_NONBLOCK opening a FIFO waits for a writer.
    const int descriptor = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (descriptor < 0)
        return nullptr;
    struct stat status { };
    const bool known = fstat(descriptor, &status) == 0;
    if (!known || !S_ISREG(status.st_mode)) {
        const int error = !known ? errno : S_ISDIR(status.st_mode) ? EISDIR : EINVAL;
        close(descriptor);
        errno = error;
        return nullptr;
    }
    std::FILE* file = fdopen(descriptor, "rb");
    if (!file) {
        const int error = errno;
        close(descriptor);
        errno = error;
    }
    return file;
}

bool flushToDisk(std::FILE* file) { return std::fflush(file) == 0 && fsync(fileno(file)) == 0; }

bool canCreateFilesIn(const std::filesystem::path& folder)
{
    return faccessat(AT_FDCWD, folder.c_str(), W_OK | X_OK, AT_EACCESS) == 0;
}

// Output streams here write bytes as they are.
void useBinaryOutput(std::FILE*) { }

} // namespace vortexa
