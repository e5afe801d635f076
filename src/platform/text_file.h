#pragma once
// Text files of CR LF lines, as the settings file and the shortcut file are kept.

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace vortexa {

struct FileResult {
    bool ok = true;
    std::string error; // names the file and the reason, for the user
};

bool fileExists(const std::filesystem::path& path);

// The lines of a file without their line ends (CR LF, or a lone LF), or nothing when the file
// cannot be opened or read.
std::optional<std::vector<std::string>> readTextLines(const std::filesystem::path& path);

// Replaces the file with the lines, each ended by CR LF. The lines go to a new file in the same
// folder, flushed to disk and then renamed over the old one, so a failed write never leaves a
// truncated file and a link planted at the path is replaced, not followed. The new file keeps the
// old one's permission bits.
FileResult writeTextLines(const std::filesystem::path& path, const std::vector<std::string>& lines);

// Removes the new files that earlier saves of this path left behind when they were killed before
// their rename; the file of a save still running is left alone. Every save does this first.
void removeAbandonedSaves(const std::filesystem::path& path);

FileResult deleteFile(const std::filesystem::path& path);

} // namespace vortexa
