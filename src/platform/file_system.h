#pragma once
// The few file operations whose standard forms are missing or differ between systems. Each system
// has its own implementation beside its backend: posix/ for Linux, win32/ for Windows.

#include <cstdio>
#include <filesystem>

namespace vortexa {

// Opens a new file for binary writing that must not exist yet, so that nothing already at that name
// is followed or reused. The file stays marked as in use while it is open (see removeIfAbandoned).
// Returns null with errno set when it cannot.
std::FILE* createNewFile(const std::filesystem::path& path);

// Removes a file made by createNewFile whose writer has closed it or has died; a file still open
// in a running program is left alone. True when the file was removed.
bool removeIfAbandoned(const std::filesystem::path& path);

// True when this process may create files in the folder.
bool canCreateFilesIn(const std::filesystem::path& folder);

// Opens a regular file for binary reading without ever waiting on it. Anything else at the path (a
// FIFO, a device, a folder, a loop of links) gives null with errno set, and so does a missing file.
std::FILE* openRegularFile(const std::filesystem::path& path);

// Writes what the file holds through to the disk; false with errno set when that fails.
bool flushToDisk(std::FILE* file);

// Makes a stream write its bytes as they are, without turning line ends into the system's own.
void useBinaryOutput(std::FILE* stream);

} // namespace vortexa
