#include "platform/text_file.h"

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

// Splits text at CR LF, a lone LF or a lone CR; a line end at the very end adds no empty line.
std::vector<std::string> splitLines(std::string_view text, size_t mostLines)
{
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size() && lines.size() < mostLines) {
        const size_t end = std::min(text.find_first_of("\r\n", start), text.size());
        lines.emplace_back(text.substr(start, end - start));
        start = end + 1;
        if (end + 1 < text.size() && text[end] == '\r' && text[end + 1] == '\n')
            ++start;
    }
    return lines;
}

} // namespace

std::optional<std::vector<std::string>> readTextLines(const fs::path& path, size_t mostLines)
{
    std::FILE* file = openRegularFile(path);
    if (!file)
        return std::nullopt;
    std::string text(MostTextFileBytes, '\0');
    const size_t read = std::fread(text.data(), 1, text.size(), file);
    const bool failed = std::ferror(file) != 0;
    std::fclose(file);
    if (failed)
        return std::nullopt;
    text.resize(read);
    return splitLines(text, mostLines);
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
    const int reason = written ? errno : writeError; // before std::remove can change errno
    if (!written || !closed) {
        std::remove(temporary.c_str());
        return {false, describe(path, std::strerror(reason))};
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
