#include "platform/file_system.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace vortexa {

std::FILE* createNewFile(const std::filesystem::path& path) { return std::fopen(path.c_str(), "wbx"); }

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

} // namespace vortexa
