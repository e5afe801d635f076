#include "saver/run_options.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <string_view>

namespace vortexa {

namespace {

// A setting option takes either a whole number in [least, most] or one of its names, which stand
// for least, least + 1, ... in their order.
struct SettingOption {
    std::string_view name;
    std::optional<int> SettingOverrides::*setting;
    int least;
    int most;
    std::vector<std::string_view> names;
};

const std::array<SettingOption, 6> SettingOptions {{
    {"--script", &SettingOverrides::Scenario, 1, 3, {"independence", "capture", "opposition"}},
    {"--circles", &SettingOverrides::CircleCount, 6, 20, {}},
    {"--line-width", &SettingOverrides::BorderWidth, 1, 3, {}},
    {"--speed", &SettingOverrides::Speed, 1, 5, {}},
    {"--clock", &SettingOverrides::ViewTime, 0, 4, {"time", "time-dial", "elapsed", "elapsed-dial", "none"}},
    {"--language", &SettingOverrides::Language, 0, 1, {"russian", "english"}},
}};

// The options that take no value.
struct SettingSwitch {
    std::string_view name;
    void (*apply)(SettingOverrides&);
};
const std::array<SettingSwitch, 5> SettingSwitches {{
    {"--captives", [](SettingOverrides& settings) { settings.Captives = 0; }},
    {"--no-captives", [](SettingOverrides& settings) { settings.Captives = 1; }},
    {"--no-settings-file", [](SettingOverrides& settings) { settings.IgnoreFile = true; }},
    {"--fps", [](SettingOverrides& settings) { settings.ShowFrameRate = true; }},
    {"-fps", [](SettingOverrides& settings) { settings.ShowFrameRate = true; }},
}};

std::string acceptedValues(const SettingOption& option)
{
    if (option.names.empty())
        return "a whole number from " + std::to_string(option.least) + " to " + std::to_string(option.most);
    std::string text;
    for (size_t k = 0; k < option.names.size(); ++k)
        text += std::string(k == 0 ? "" : k + 1 == option.names.size() ? " or " : ", ") + std::string(option.names[k]);
    return text;
}

std::optional<int> valueOf(const SettingOption& option, std::string_view text)
{
    if (option.names.empty()) {
        int value = 0;
        const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
        if (text.empty() || error != std::errc() || end != text.data() + text.size() || value < option.least
            || value > option.most)
            return std::nullopt;
        return value;
    }
    for (size_t k = 0; k < option.names.size(); ++k)
        if (text == option.names[k])
            return option.least + static_cast<int>(k);
    return std::nullopt;
}

std::string quoted(std::string_view text)
{
    constexpr size_t LongestQuote = 40;
    std::string quote = "\"";
    for (char c : text.substr(0, LongestQuote))
        quote += static_cast<unsigned char>(c) < 0x20 || c == 0x7F ? '?' : c;
    return quote + (text.size() > LongestQuote ? "...\"" : "\"");
}

} // namespace

size_t readSettingOption(
    const std::vector<std::string>& arguments, size_t k, SettingOverrides& settings, std::string& error)
{
    const std::string_view word = arguments[k];
    const size_t equals = word.find('=');
    const std::string_view name = word.substr(0, equals);
    for (const SettingSwitch& settingSwitch : SettingSwitches) {
        if (name != settingSwitch.name)
            continue;
        if (equals != std::string_view::npos) {
            error = std::string(name) + " takes no value; got " + quoted(word.substr(equals + 1));
            return 0;
        }
        settingSwitch.apply(settings);
        return 1;
    }
    for (const SettingOption& option : SettingOptions) {
        if (name != option.name)
            continue;
        const bool joined = equals != std::string_view::npos;
        if (!joined && k + 1 >= arguments.size()) {
            error = std::string(name) + " needs a value: " + acceptedValues(option);
            return 0;
        }
        const std::string_view text = joined ? word.substr(equals + 1) : std::string_view(arguments[k + 1]);
        const auto value = valueOf(option, text);
        if (!value) {
            error = std::string(name) + " takes " + acceptedValues(option) + "; got " + quoted(text);
            return 0;
        }
        settings.*option.setting = *value;
        return joined ? 1 : 2;
    }
    return 0;
}

RunOptions readRunOptions(const std::vector<std::string>& arguments)
{
    RunOptions options;
    for (size_t k = 0; k < arguments.size();) {
        const size_t taken = readSettingOption(arguments, k, options.settings, options.error);
        if (!options.error.empty())
            return options;
        if (taken == 0 && arguments[k] == AddToXScreenSaver)
            options.addToXScreenSaver = true;
        else if (taken == 0)
            options.otherWords.push_back(arguments[k]);
        k += std::max<size_t>(taken, 1);
    }
    if (options.addToXScreenSaver && arguments.size() > 1)
        options.error = std::string(AddToXScreenSaver) + " takes no other option";
    return options;
}

const char* const SettingOptionsUsage = R"(Settings for this run, over those of the settings file:
  --script NAME       independence, capture or opposition
  --circles N         number of circles, 6 to 20, held to the script's range
                      (independence 6..12, capture 6..10, opposition 10..20)
  --line-width N      line width of the circles, 1 to 3
  --speed N           speed level, 1 to 5
  --clock NAME        time, time-dial, elapsed, elapsed-dial or none
  --captives          in opposition, a circle inside the square is taken captive
  --no-captives       ... or removed
  --language NAME     russian or english
  --no-settings-file  settings not given here take their defaults, not the file's
  --fps, -fps         show the frames a second and the processor load at the
                      bottom left
  Those with a value also as --option=value.
)";

} // namespace vortexa
