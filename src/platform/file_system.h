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

// True when the folder or file (links followed) belongs to this user, or to the system's
// administrator, and no other user may write it, or it is a folder where only a name's owner may
// remove or replace it (the sticky bit of /tmp). Files here carry no owner on Windows, so there it
// is always true.
bool ownedAndUnshared(const std::filesystem::path& path);
bool ownedAndUnshared(std::FILE* file);

// True when the folder or file (links followed) belongs to this user or to the system's
// administrator, whoever else may write it; always true on Windows, as above.
bool ownedByUser(const std::filesystem::path& path);

// True when the file (links followed) is marked read-only: its owner may not write it (Linux), or
// it carries the read-only attribute (Windows). A user marks a file so to keep it as it is.
bool isReadOnlyFile(const std::filesystem::path& path);

// Gives an open file the permission bits, less any that would let another user write it; the
// file itself, not whatever its name may lead to by then. False with errno set when it cannot.
bool keepPermissions(std::FILE* file, std::filesystem::perms permissions);
// As above with the bits the file has now (the system's default for a new one).
bool keepPermissions(std::FILE* file);

// Writes a folder's list of names through to the disk, so that a rename in it outlasts a crash;
// false with errno set when that fails.
bool flushFolderToDisk(const std::filesystem::path& folder);

// Makes a stream write its bytes as they are, without turning line ends into the system's own.
void useBinaryOutput(std::FILE* stream);

} // namespace vortexa
