#include "records/text_file.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <random>
#include <string_view>
#include <system_error>

#include "platform/file_system.h"

namespace vortexa {

namespace fs = std::filesystem;

namespace {

// Collects lines from the bytes of a file as they come, split at CR LF, a lone LF or a lone CR,
// keeping the first MostLineBytes bytes of each; a line end at the very end adds no empty line.
class LineSplitter {
public:
    explicit LineSplitter(size_t mostLines)
        : m_mostLines(std::min(mostLines, MostTextFileBytes))
    {
    }

    bool full() const { return m_lines.size() >= m_mostLines; }

    void take(std::string_view bytes)
    {
        for (char c : bytes) {
            if (full())
                return;
            const bool secondHalfOfCrLf = m_afterCr && c == '\n';
            m_afterCr = c == '\r';
            if (secondHalfOfCrLf)
                continue;
            if (c == '\r' || c == '\n') {
                m_lines.push_back(std::move(m_line));
                m_line.clear();
                m_inLine = false;
                continue;
            }
            m_inLine = true;
            if (m_line.size() < MostLineBytes)
                m_line += c;
        }
    }

    std::vector<std::string> lines() &&
    {
        if (m_inLine && !full())
            m_lines.push_back(std::move(m_line));
        return std::move(m_lines);
    }

private:
    size_t m_mostLines;
    std::vector<std::string> m_lines;
    std::string m_line;
    bool m_inLine = false;
    bool m_afterCr = false;
};

// Reads and closes the file.
std::optional<std::vector<std::string>> linesOf(std::FILE* file, size_t mostLines)
{
    LineSplitter splitter(mostLines);
    std::string chunk(MostTextFileBytes, '\0');
    size_t scanned = 0;
    bool failed = false;
    while (!splitter.full() && scanned < MostScannedBytes) {
        const size_t read = std::fread(chunk.data(), 1, chunk.size(), file);
        splitter.take(std::string_view(chunk.data(), read));
        scanned += read;
        if (read < chunk.size()) {
            failed = std::ferror(file) != 0;
            break;
        }
    }
    std::fclose(file);
    if (failed)
        return std::nullopt;
    return std::move(splitter).lines();
}

} // namespace

std::optional<std::vector<std::string>> readTextLines(const fs::path& path, size_t mostLines)
{
    std::FILE* file = openRegularFile(path);
    if (!file)
        return std::nullopt;
    return linesOf(file, mostLines);
}

std::optional<std::string> readTextFile(const fs::path& path, size_t mostBytes)
{
    std::FILE* file = openRegularFile(path);
    if (!file)
        return std::nullopt;
    // One byte more than wanted tells a file that is too large.
    std::string text(mostBytes + 1, '\0');
    const size_t read = std::fread(text.data(), 1, text.size(), file);
    const bool failed = std::ferror(file) != 0;
    std::fclose(file);
    if (failed || read > mostBytes)
        return std::nullopt;
    text.resize(read);
    return text;
}

std::optional<std::vector<std::string>> readOwnTextLines(const fs::path& path, size_t mostLines)
{
    if (!ownedAndUnshared(path.parent_path()))
        return std::nullopt;
    std::FILE* file = openRegularFile(path);
    if (!file)
        return std::nullopt;
    if (!ownedAndUnshared(file)) {
        std::fclose(file);
        return std::nullopt;
    }
    return linesOf(file, mostLines);
}

namespace {

// The name as UTF-8 whatever the system's code page, so that every name can be shown.
std::string describe(const fs::path& path, const std::string& reason)
{
    const std::u8string name = path.u8string();
    return "\"" + std::string(name.begin(), name.end()) + "\": " + reason;
}

// A path, not a text: a name in the system's code page could not hold every folder's name.
std::u8string temporaryPrefix(const fs::path& path) { return path.filename().u8string() + u8".tmp-"; }

fs::path temporaryNameBeside(const fs::path& path)
{
    std::random_device device;
    fs::path temporary = path;
    temporary += ".tmp-" + std::to_string(device());
    return temporary;
}

// The permission bits a save gives the new file: those of the file it replaces, so that a file the
// user made private stays private; a first save takes the system's default.
std::optional<fs::perms> permissionsToKeep(const fs::path& path)
{
    std::error_code error;
    const fs::file_status status = fs::symlink_status(path, error);
    if (error || !fs::is_regular_file(status))
        return std::nullopt;
    return status.permissions() & fs::perms::all;
}

} // namespace

void removeAbandonedSaves(const fs::path& path)
{
    const std::u8string prefix = temporaryPrefix(path);
    std::error_code error;
    for (fs::directory_iterator entry(path.parent_path(), error), end; !error && entry != end; entry.increment(error))
        if (entry->path().filename().u8string().starts_with(prefix))
            removeIfAbandoned(entry->path());
}

FileResult writeTextLines(const fs::path& path, const std::vector<std::string>& lines)
{
    std::string text;
    for (const std::string& line : lines)
        text += line + "\r\n";
    return writeTextFile(path, text);
}

FileResult writeTextFile(const fs::path& path, std::string_view text)
{
    removeAbandonedSaves(path);
    const std::optional<fs::perms> permissions = permissionsToKeep(path);
    fs::path temporary;
    std::FILE* file = nullptr;
    for (int attempt = 0; attempt < 8 && !file; ++attempt) {
        temporary = temporaryNameBeside(path);
        file = createNewFile(temporary);
        if (!file && errno != EEXIST)
            break;
    }
    if (!file)
        return {false, describe(path, std::strerror(errno))};

    // The bits go on the open file: its name could lead elsewhere by now. The data reaches the disk
    // before the rename, so a crash never leaves an empty file in place.
    const bool kept = permissions ? keepPermissions(file, *permissions) : keepPermissions(file);
    // A file system without permission bits (FAT) cannot change them, nor let others write.
    const bool written = (kept || ownedAndUnshared(file))
        && std::fwrite(text.data(), 1, text.size(), file) == text.size() && flushToDisk(file);
    const int writeError = errno;
    const bool closed = std::fclose(file) == 0;
    const int reason = written ? errno : writeError; // before the removal can change errno
    if (!written || !closed) {
        std::error_code ignored;
        fs::remove(temporary, ignored);
        return {false, describe(path, std::strerror(reason))};
    }

    std::error_code error;
    fs::rename(temporary, path, error);
    if (error) {
        std::error_code ignored;
        fs::remove(temporary, ignored);
        return {false, describe(path, error.message())};
    }
    if (!flushFolderToDisk(path.parent_path()))
        return {false, describe(path, std::strerror(errno))};
    return {};
}

FileResult deleteFile(const fs::path& path)
{
    std::error_code error;
    fs::remove(path, error);
    if (error)
        return {false, describe(path, error.message())};
    return {};
}

} // namespace vortexa
