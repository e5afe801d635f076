#pragma once
// Text files of CR LF lines, as the settings file and the shortcut file are kept.

#include <cstddef>
#include <filesystem>
#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vortexa {

struct FileResult {
    bool ok = true;
    std::string error; // names the file and the reason, for the user
};

// The most a text file is read: the files the program keeps are a few short lines, and a larger or
// endless one (a device, a file of nothing but line ends) must not hold up the start. A long line
// is kept only in part, and does not hide the lines after it.
inline constexpr size_t MostTextFileBytes = 64 * 1024;
inline constexpr size_t MostLineBytes = MostTextFileBytes;
inline constexpr size_t MostScannedBytes = 64 * MostTextFileBytes;

// The first lines of a regular file, at most mostLines of them (and at most MostTextFileBytes), without
// their line ends (CR LF, a lone LF or a lone CR), each cut to its first MostLineBytes bytes, taken
// from the first MostScannedBytes bytes of the file. Nothing when the path is not
// a regular file (a FIFO, a device, a folder, a link that leads nowhere) or cannot be read; the
// read never waits.
std::optional<std::vector<std::string>> readTextLines(
    const std::filesystem::path& path, size_t mostLines = std::numeric_limits<size_t>::max());

// As readTextLines, for a file whose lines steer the program: nothing also when the file or its
// folder belongs to another user or another user may write it (see ownedAndUnshared).
std::optional<std::vector<std::string>> readOwnTextLines(
    const std::filesystem::path& path, size_t mostLines = std::numeric_limits<size_t>::max());

// The whole text of a regular file of at most mostBytes bytes, read as readTextLines reads. Nothing
// also when the file is larger.
std::optional<std::string> readTextFile(const std::filesystem::path& path, size_t mostBytes);

// Replaces the file with the text, as writeTextLines does.
FileResult writeTextFile(const std::filesystem::path& path, std::string_view text);

// Replaces the file with the lines, each ended by CR LF. The lines go to a new file in the same
// folder, flushed to disk and then renamed over the old one, so a failed write never leaves a
// truncated file and a link planted at the path is replaced, not followed. The new file keeps the
// old one's permission bits, less any that let another user write it.
FileResult writeTextLines(const std::filesystem::path& path, const std::vector<std::string>& lines);

// Removes the new files that earlier saves of this path left behind when they were killed before
// their rename; the file of a save still running is left alone. Every save does this first.
void removeAbandonedSaves(const std::filesystem::path& path);

FileResult deleteFile(const std::filesystem::path& path);

} // namespace vortexa
