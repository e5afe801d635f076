// vortexa-sim: runs the saver screen on a virtual clock without a display and prints the scene as
// JSON Lines, or renders its last frame to PNG with the window's own painter.

#include <charconv>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <optional>
#include <random>
#include <sstream>
#include <string>
#include <string_view>

#include "app/sim_dump.h"
#include "app/sim_png.h"
#include "platform/file_system.h"
#include "platform/headless/headless_platform.h"
#include "saver/form1.h"
#include "saver/program.h"
#include "settings/settings_file.h"

namespace {

namespace fs = std::filesystem;

struct SimOptions {
    std::optional<std::string> settingsFile;
    int widthPixels = 1920;
    int heightPixels = 1080;
    int hours = 12, minutes = 0, seconds = 0;
    int64_t ms = 0;
    std::optional<int64_t> every;
    std::optional<std::string> png;
};

struct BadOption {
    std::string message;
};

std::optional<int64_t> wholeNumberText(std::string_view text, int64_t least, int64_t most)
{
    int64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value < least || value > most)
        return std::nullopt;
    return value;
}

void readScreenSize(SimOptions& options, std::string_view text)
{
    const size_t x = text.find('x');
    const auto width = x == std::string_view::npos ? std::nullopt : wholeNumberText(text.substr(0, x), 1, 32768);
    const auto height = x == std::string_view::npos ? std::nullopt : wholeNumberText(text.substr(x + 1), 1, 32768);
    if (!width || !height)
        throw BadOption {"--screen takes WIDTHxHEIGHT in pixels, such as 1920x1080; got \"" + std::string(text) + "\""};
    options.widthPixels = static_cast<int>(*width);
    options.heightPixels = static_cast<int>(*height);
}

void readStartTime(SimOptions& options, std::string_view text)
{
    const auto part = [&](size_t from, int64_t most) {
        return text.size() == 8 ? wholeNumberText(text.substr(from, 2), 0, most) : std::nullopt;
    };
    const auto hours = part(0, 23), minutes = part(3, 59), seconds = part(6, 59);
    if (!hours || !minutes || !seconds || text[2] != ':' || text[5] != ':')
        throw BadOption {"--start takes a time of day HH:MM:SS; got \"" + std::string(text) + "\""};
    options.hours = static_cast<int>(*hours);
    options.minutes = static_cast<int>(*minutes);
    options.seconds = static_cast<int>(*seconds);
}

int64_t readCount(std::string_view option, std::string_view text, int64_t least)
{
    const auto value = wholeNumberText(text, least, int64_t {1} << 40);
    if (!value)
        throw BadOption {
            std::string(option) + " takes a whole number of milliseconds; got \"" + std::string(text) + "\""};
    return *value;
}

SimOptions readOptions(int argc, char** argv)
{
    SimOptions options;
    for (int k = 1; k < argc; ++k) {
        const std::string_view option = argv[k];
        if (k + 1 >= argc)
            throw BadOption {"unknown option or missing value: " + std::string(option)};
        const std::string_view value = argv[++k];
        if (option == "--settings")
            options.settingsFile = std::string(value);
        else if (option == "--screen")
            readScreenSize(options, value);
        else if (option == "--start")
            readStartTime(options, value);
        else if (option == "--ms")
            options.ms = readCount(option, value, 0);
        else if (option == "--every")
            options.every = readCount(option, value, 1);
        else if (option == "--png" && !vortexa::pngUnavailableReason().empty())
            throw BadOption {vortexa::pngUnavailableReason()};
        else if (option == "--png")
            options.png = std::string(value);
        else
            throw BadOption {"unknown option: " + std::string(option)};
    }
    return options;
}

// A folder of its own that stands for the program's folder, removed when the run ends.
class ProgramFolder {
public:
    ProgramFolder()
    {
        std::random_device device;
        m_path = fs::temp_directory_path() / ("vortexa-sim-" + std::to_string(device()) + std::to_string(device()));
        fs::create_directories(m_path);
    }
    ~ProgramFolder()
    {
        std::error_code ignored;
        fs::remove_all(m_path, ignored);
    }
    const fs::path& path() const { return m_path; }

private:
    fs::path m_path;
};

// The saver reads its settings from the file beside the program, so the given file goes there.
void placeSettingsFile(const std::string& source, const fs::path& folder)
{
    std::ifstream in(source, std::ios::binary);
    std::ostringstream content;
    if (in)
        content << in.rdbuf();
    if (!in || in.bad() || fs::is_directory(source))
        throw BadOption {"cannot read the settings file \"" + source + "\""};
    std::ofstream out(vortexa::settingsFilePath(folder), std::ios::binary);
    out << content.str();
}

void print(const std::string& line)
{
    std::fwrite(line.data(), 1, line.size(), stdout);
    std::fputc('\n', stdout);
}

int run(const SimOptions& options, int argc, char** argv)
{
    ProgramFolder folder;
    if (options.settingsFile)
        placeSettingsFile(*options.settingsFile, folder.path());

    vortexa::HeadlessPlatform platform(folder.path(), options.widthPixels, options.heightPixels);
    platform.setStartTime(options.hours, options.minutes, options.seconds);
    vortexa::Program program(platform);
    program.Start();
    if (program.screens().empty())
        return 1;
    const vortexa::Form1& saver = *program.screens().front();
    const auto dump = [&] { print(vortexa::sceneJson(platform.now(), saver.screen, program.module)); };

    if (options.every) {
        dump();
        for (int64_t next = *options.every; next <= options.ms; next += *options.every) {
            platform.advance(next - platform.now());
            dump();
        }
        platform.advance(options.ms - platform.now());
    } else {
        dump();
        if (options.ms > 0) {
            platform.advance(options.ms);
            dump();
        }
    }

    if (options.png) {
        if (!vortexa::renderPng(saver.screen, options.widthPixels, options.heightPixels, *options.png, argc, argv)) {
            std::fprintf(stderr, "vortexa-sim: cannot write the PNG file \"%s\"\n", options.png->c_str());
            return 1;
        }
    }
    std::fflush(stdout);
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    // The dumps end their lines with LF on every system.
    vortexa::useBinaryOutput(stdout);
    try {
        const SimOptions options = readOptions(argc, argv);
        return run(options, argc, argv);
    } catch (const BadOption& bad) {
        std::fprintf(stderr, "vortexa-sim: %s\n", bad.message.c_str());
        return 2;
    }
}
