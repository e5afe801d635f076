#include "platform/file_system.h"

#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>

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

bool flushToDisk(std::FILE* file) { return std::fflush(file) == 0 && _commit(_fileno(file)) == 0; }

void useBinaryOutput(std::FILE* stream) { _setmode(_fileno(stream), _O_BINARY); }

} // namespace vortexa
