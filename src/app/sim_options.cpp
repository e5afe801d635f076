#include "app/sim_options.h"

#include <charconv>

#include "saver/run_options.h"

namespace vortexa {

std::string quotedText(std::string_view text)
{
    constexpr size_t LongestQuote = 200;
    std::string quote = "\"";
    for (char c : text.substr(0, LongestQuote))
        quote += static_cast<unsigned char>(c) < 0x20 || c == 0x7F ? '?' : c;
    if (text.size() > LongestQuote)
        quote += "...";
    return quote + "\"";
}

namespace {

std::optional<int64_t> wholeNumberText(std::string_view text, int64_t least, int64_t most)
{
    int64_t value = 0;
    const std::from_chars_result read = std::from_chars(text.data(), text.data() + text.size(), value);
    if (read.ec != std::errc() || read.ptr != text.data() + text.size() || value < least || value > most)
        return std::nullopt;
    return value;
}

void readScreenSize(SimOptions& options, std::string_view text)
{
    const size_t x = text.find('x');
    const auto width = x == std::string_view::npos ? std::nullopt : wholeNumberText(text.substr(0, x), 1, 32768);
    const auto height = x == std::string_view::npos ? std::nullopt : wholeNumberText(text.substr(x + 1), 1, 32768);
    if (!width || !height)
        throw BadOption {"--screen takes WIDTHxHEIGHT in pixels, such as 1920x1080; got " + quotedText(text)};
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
        throw BadOption {"--start takes a time of day HH:MM:SS; got " + quotedText(text)};
    options.hours = static_cast<int>(*hours);
    options.minutes = static_cast<int>(*minutes);
    options.seconds = static_cast<int>(*seconds);
}

int64_t readCount(std::string_view option, std::string_view text, int64_t least)
{
    const auto value = wholeNumberText(text, least, int64_t {1} << 40);
    if (!value)
        throw BadOption {std::string(option) + " takes a whole number of milliseconds; got " + quotedText(text)};
    return *value;
}

} // namespace

std::string simUsage()
{
    return std::string(R"(Usage: vortexa-sim [OPTION]...
Runs the saver screen on a virtual clock, without a display, and prints the scene as JSON Lines.

  --settings FILE     read this settings file (default: the values of a missing file)
  --screen WxH        screen size in pixels (default 1920x1080)
  --start HH:MM:SS    virtual time of day at start-up (default 12:00:00)
  --ms N              virtual milliseconds to run after start-up (default 0)
  --every N           print the scene every N ms (default: at 0 and at --ms)
  --png FILE          also render the last frame to FILE
  --help              print this text and end

)") + SettingOptionsUsage;
}

SimOptions readSimOptions(const std::vector<std::string>& arguments)
{
    SimOptions options;
    for (size_t k = 0; k < arguments.size(); ++k) {
        const std::string_view option = arguments[k];
        if (option == "--help") {
            options.helpAsked = true;
            return options;
        }
        std::string error;
        if (const size_t taken = readSettingOption(arguments, k, options.settings, error)) {
            k += taken - 1;
            continue;
        }
        if (!error.empty())
            throw BadOption {error};
        if (k + 1 >= arguments.size())
            throw BadOption {"unknown option or missing value: " + quotedText(option)};
        const std::string& value = arguments[++k];
        if (option == "--settings")
            options.settingsFile = value;
        else if (option == "--screen")
            readScreenSize(options, value);
        else if (option == "--start")
            readStartTime(options, value);
        else if (option == "--ms")
            options.ms = readCount(option, value, 0);
        else if (option == "--every")
            options.every = readCount(option, value, 1);
        else if (option == "--png")
            options.png = value;
        else
            throw BadOption {"unknown option: " + quotedText(option)};
    }
    return options;
}

} // namespace vortexa
