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

namespace {

// Another user may write when everyone may, or when the group may and it is not the user's own.
bool othersMayWrite(const struct stat& status)
{
    return (status.st_mode & S_IWOTH) != 0 || ((status.st_mode & S_IWGRP) != 0 && status.st_gid != getegid());
}

// A folder such as /tmp, where everyone may add names but only a name's owner may remove or
// replace it, keeps the user's own files as safe as a private folder.
bool ownedAndUnshared(const struct stat& status)
{
    const bool sharedSafely = S_ISDIR(status.st_mode) && (status.st_mode & S_ISVTX) != 0;
    return (status.st_uid == geteuid() || status.st_uid == 0) && (sharedSafely || !othersMayWrite(status));
}

mode_t withoutOthersWriting(mode_t mode, gid_t group)
{
    return mode & 07777 & ~static_cast<mode_t>(S_IWOTH) & ~(group != getegid() ? S_IWGRP : 0);
}

} // namespace

bool ownedAndUnshared(const std::filesystem::path& path)
{
    struct stat status { };
    return stat(path.empty() ? "." : path.c_str(), &status) == 0 && ownedAndUnshared(status);
}

bool ownedAndUnshared(std::FILE* file)
{
    struct stat status { };
    return fstat(fileno(file), &status) == 0 && ownedAndUnshared(status);
}

bool ownedByUser(const std::filesystem::path& path)
{
    struct stat status { };
    return stat(path.empty() ? "." : path.c_str(), &status) == 0 && (status.st_uid == geteuid() || status.st_uid == 0);
}

bool isReadOnlyFile(const std::filesystem::path& path)
{
    struct stat status { };
    return stat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode) && (status.st_mode & S_IWUSR) == 0;
}

bool keepPermissions(std::FILE* file, std::filesystem::perms permissions)
{
    struct stat status { };
    if (fstat(fileno(file), &status) != 0)
        return false;
    return fchmod(fileno(file), withoutOthersWriting(static_cast<mode_t>(permissions), status.st_gid)) == 0;
}

bool keepPermissions(std::FILE* file)
{
    struct stat status { };
    return fstat(fileno(file), &status) == 0
        && fchmod(fileno(file), withoutOthersWriting(status.st_mode, status.st_gid)) == 0;
}

bool flushFolderToDisk(const std::filesystem::path& folder)
{
    const int descriptor = open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (descriptor < 0)
        return false;
    // Some file systems cannot sync a folder; their renames are as safe as they get.
    const bool flushed = fsync(descriptor) == 0 || errno == EINVAL;
    const int error = errno;
    close(descriptor);
    errno = error;
    return flushed;
}

// Output streams here write bytes as they are.
void useBinaryOutput(std::FILE*) { }

} // namespace vortexa
