#include "saver/run_options.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <string_view>

#include "settings/settings_file.h"

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

constexpr SettingLine lineOf(SettingLineIndex index) { return SettingLines[static_cast<size_t>(index)]; }

const std::array<SettingOption, 6> SettingOptions {{
    {"--script", &SettingOverrides::Scenario, lineOf(ScriptLine).fewest, lineOf(ScriptLine).most,
        {"independence", "capture", "opposition"}},
    {"--circles", &SettingOverrides::CircleCount, lineOf(CirclesLine).fewest, lineOf(CirclesLine).most, {}},
    {"--line-width", &SettingOverrides::BorderWidth, lineOf(WidthLine).fewest, lineOf(WidthLine).most, {}},
    {"--speed", &SettingOverrides::Speed, lineOf(SpeedLine).fewest, lineOf(SpeedLine).most, {}},
    {"--clock", &SettingOverrides::ViewTime, lineOf(ClockLine).fewest, lineOf(ClockLine).most,
        {"time", "time-dial", "elapsed", "elapsed-dial", "none"}},
    {"--language", &SettingOverrides::Language, lineOf(LanguageLine).fewest, lineOf(LanguageLine).most,
        {"russian", "english"}},
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

// The other options the program knows, read where they are used (usage.cpp, show_target.cpp).
constexpr std::array<std::string_view, 5> OtherOptions {
    "--help", "--version", "--root", "--window-id", AddToXScreenSaver};

// What a screen-saver daemon may pass to every hack it runs, which this one needs not: the words
// taken here are dropped.
size_t ignoredDaemonOption(const std::vector<std::string>& arguments, size_t k)
{
    const std::string_view word = arguments[k];
    if (word == "-install")
        return 1;
    if (word == "-visual")
        return k + 1 < arguments.size() ? 2 : 1;
    return 0;
}

size_t editDistance(std::string_view from, std::string_view to)
{
    std::vector<size_t> row(to.size() + 1);
    for (size_t j = 0; j < row.size(); ++j)
        row[j] = j;
    for (size_t i = 1; i <= from.size(); ++i) {
        size_t diagonal = row[0];
        row[0] = i;
        for (size_t j = 1; j <= to.size(); ++j) {
            const size_t above = row[j];
            row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (from[i - 1] == to[j - 1] ? 0 : 1)});
            diagonal = above;
        }
    }
    return row.back();
}

std::vector<std::string_view> knownOptions()
{
    std::vector<std::string_view> names(OtherOptions.begin(), OtherOptions.end());
    for (const SettingOption& option : SettingOptions)
        names.push_back(option.name);
    for (const SettingSwitch& settingSwitch : SettingSwitches)
        names.push_back(settingSwitch.name);
    return names;
}

bool isKnownOption(std::string_view name)
{
    const std::vector<std::string_view> names = knownOptions();
    return std::find(names.begin(), names.end(), name) != names.end();
}

std::string quoted(std::string_view text)
{
    constexpr size_t LongestQuote = 40;
    std::string quote = "\"";
    for (char c : text.substr(0, LongestQuote))
        quote += static_cast<unsigned char>(c) < 0x20 || c == 0x7F ? '?' : c;
    return quote + (text.size() > LongestQuote ? "...\"" : "\"");
}

// A word of "--" and a name the program does not know is a typo, not a run switch. The option meant
// is the one the word begins, else the nearest by the letters to change.
std::string unknownOptionError(std::string_view name)
{
    std::string_view closest;
    size_t distance = std::string_view::npos;
    for (std::string_view known : knownOptions()) {
        const size_t d = known.starts_with(name) ? 0 : editDistance(name, known);
        if (d < distance) {
            distance = d;
            closest = known;
        }
    }
    const bool near = distance <= std::max<size_t>(2, closest.size() / 3);
    return "unknown option " + quoted(name) + (near ? "; did you mean " + std::string(closest) + "?" : "")
        + " (--help lists the options)";
}

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
        const size_t ignored = taken == 0 ? ignoredDaemonOption(arguments, k) : 0;
        const std::string_view word = arguments[k];
        const std::string_view name = word.substr(0, word.find('='));
        if (taken == 0 && word == AddToXScreenSaver) {
            options.addToXScreenSaver = true;
            ++k;
            continue;
        }
        if (taken == 0 && ignored == 0 && name.starts_with("--") && name.size() > 2 && !isKnownOption(name)) {
            options.error = unknownOptionError(name);
            return options;
        }
        if (taken == 0 && ignored == 0)
            options.otherWords.push_back(arguments[k++]);
        k += taken + ignored;
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
