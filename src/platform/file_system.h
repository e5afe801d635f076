#pragma once
// The few file operations whose standard forms are missing or differ between systems. Each system
// has its own implementation beside its backend: posix/ for Linux, win32/ for Windows.

#include <cstdio>
#include <filesystem>

namespace vortexa {

// Opens a new file for binary writing that must not exist yet, so that nothing already at that name
// is followed or reused. Returns null with errno set when it cannot.
std::FILE* createNewFile(const std::filesystem::path& path);

// Writes what the file holds through to the disk; false with errno set when that fails.
bool flushToDisk(std::FILE* file);

// Makes a stream write its bytes as they are, without turning line ends into the system's own.
void useBinaryOutput(std::FILE* stream);

} // namespace vortexa
