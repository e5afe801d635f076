#include "platform/file_system.h"

#include <unistd.h>

namespace vortexa {

std::FILE* createNewFile(const std::filesystem::path& path) { return std::fopen(path.c_str(), "wbx"); }

bool flushToDisk(std::FILE* file) { return std::fflush(file) == 0 && fsync(fileno(file)) == 0; }

// Output streams here write bytes as they are.
void useBinaryOutput(std::FILE*) { }

} // namespace vortexa
