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

std::string describe(const fs::path& path, const std::string& reason) { return "\"" + path.string() + "\": " + reason; }

std::string temporaryNameBeside(const fs::path& path)
{
    std::random_device device;
    return path.string() + ".tmp-" + std::to_string(device());
}

} // namespace

FileResult writeTextLines(const fs::path& path, const std::vector<std::string>& lines)
{
    std::string temporary;
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
        std::remove(temporary.c_str());
        return {false, describe(path, std::strerror(written ? errno : writeError))};
    }

    std::error_code error;
    fs::rename(temporary, path, error);
    if (error) {
        std::remove(temporary.c_str());
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
