#include "platform/text_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <random>
#include <system_error>

#include "platform/file_system.h"

namespace vortexa {

namespace fs = std::filesystem;

bool fileExists(const fs::path& path)
{
    std::error_code error;
    return fs::is_regular_file(path, error);
}

std::optional<std::vector<std::string>> readTextLines(const fs::path& path)
{
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return std::nullopt;
    std::vector<std::string> lines;
    std::string line;
    while (std::getline(file, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(line);
    }
    if (file.bad())
        return std::nullopt;
    return lines;
}

namespace {

// The name as UTF-8 whatever the system's code page, so that every name can be shown.
std::string describe(const fs::path& path, const std::string& reason)
{
    const std::u8string name = path.u8string();
    return "\"" + std::string(name.begin(), name.end()) + "\": " + reason;
}

// A path, not a text: a name in the system's code page could not hold every folder's name.
fs::path temporaryNameBeside(const fs::path& path)
{
    std::random_device device;
    fs::path temporary = path;
    temporary += ".tmp-" + std::to_string(device());
    return temporary;
}

} // namespace

FileResult writeTextLines(const fs::path& path, const std::vector<std::string>& lines)
{
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

    std::string text;
    for (const std::string& line : lines)
        text += line + "\r\n";
    // The data reaches the disk before the rename, so a crash never leaves an empty file in place.
    const bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size() && flushToDisk(file);
    const int writeError = errno;
    const bool closed = std::fclose(file) == 0;
    if (!written || !closed) {
        const int error = written ? errno : writeError;
        std::error_code ignored;
        fs::remove(temporary, ignored);
        return {false, describe(path, std::strerror(error))};
    }

    std::error_code error;
    fs::rename(temporary, path, error);
    if (error) {
        std::error_code ignored;
        fs::remove(temporary, ignored);
        return {false, describe(path, error.message())};
    }
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
