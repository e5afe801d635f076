#include "platform/file_system.h"

#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>

#include <cerrno>
#include <random>
#include <string>

namespace vortexa {

// The runtime's "x" mode does not refuse an existing file here, so the file is made with the
// system's own exclusive create.
std::FILE* createNewFile(const std::filesystem::path& path)
{
    const int descriptor = _wopen(path.c_str(), _O_CREAT | _O_EXCL | _O_BINARY | _O_WRONLY, _S_IREAD | _S_IWRITE);
    if (descriptor < 0)
        return nullptr;
    std::FILE* file = _fdopen(descriptor, "wb");
    if (!file)
        _close(descriptor);
    return file;
}

// The system refuses to delete a file that a program still holds open, which is how a save in
// progress is told from a leftover.
bool removeIfAbandoned(const std::filesystem::path& path) { return _wremove(path.c_str()) == 0; }

// Folder permissions here are access lists that no attribute tells, so the folder is asked by making
// a file in it.
bool canCreateFilesIn(const std::filesystem::path& folder)
{
    std::random_device device;
    const std::filesystem::path probe = folder / (".vortexa-probe-" + std::to_string(device()));
    std::FILE* file = createNewFile(probe);
    if (!file)
        return false;
    std::fclose(file);
    _wremove(probe.c_str());
    return true;
}

std::FILE* openRegularFile(const std::filesystem::path& path)
{
    struct _stat64 status { };
    if (_wstat64(path.c_str(), &status) != 0)
        return nullptr;
    if ((status.st_mode & _S_IFMT) != _S_IFREG) {
        errno = (status.st_mode & _S_IFMT) == _S_IFDIR ? EISDIR : EINVAL;
        return nullptr;
    }
    return _wfopen(path.c_str(), L"rb");
}

bool flushToDisk(std::FILE* file) { return std::fflush(file) == 0 && _commit(_fileno(file)) == 0; }

// Files here carry access lists, not an owner and mode bits, and a new file is the user's alone.
bool ownedAndUnshared(const std::filesystem::path&) { return true; }

bool ownedAndUnshared(std::FILE*) { return true; }

bool ownedByUser(const std::filesystem::path&) { return true; }

// The runtime reports the read-only attribute as a missing write permission.
bool isReadOnlyFile(const std::filesystem::path& path)
{
    struct _stat64 status { };
    return _wstat64(path.c_str(), &status) == 0 && (status.st_mode & _S_IFMT) == _S_IFREG
        && (status.st_mode & _S_IWRITE) == 0;
}

bool keepPermissions(std::FILE*, std::filesystem::perms) { return true; }

bool keepPermissions(std::FILE*) { return true; }

// The system writes a folder's names through itself.
bool flushFolderToDisk(const std::filesystem::path&) { return true; }

void useBinaryOutput(std::FILE* stream) { _setmode(_fileno(stream), _O_BINARY); }

} // namespace vortexa
