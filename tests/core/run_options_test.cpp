#include <gtest/gtest.h>

#include "dialog/form2.h"
#include "running_program.h"
#include "saver/run_options.h"

namespace vortexa {
namespace {

struct OptionRow {
    std::vector<std::string> arguments;
    SettingOverrides expected; // when error is empty
    std::vector<std::string> otherWords;
    std::string error; // the start of the error line; empty when the arguments are good
};

bool operator==(const SettingOverrides& a, const SettingOverrides& b)
{
    return a.CircleCount == b.CircleCount && a.BorderWidth == b.BorderWidth && a.Speed == b.Speed
        && a.ViewTime == b.ViewTime && a.Scenario == b.Scenario && a.Captives == b.Captives && a.Language == b.Language
        && a.IgnoreFile == b.IgnoreFile && a.ShowFrameRate == b.ShowFrameRate;
}

using Setting = std::optional<int> SettingOverrides::*;
constexpr Setting Circles = &SettingOverrides::CircleCount, Width = &SettingOverrides::BorderWidth,
                  Speed = &SettingOverrides::Speed, Clock = &SettingOverrides::ViewTime,
                  Script = &SettingOverrides::Scenario, Captives = &SettingOverrides::Captives,
                  Language = &SettingOverrides::Language;

SettingOverrides given(std::initializer_list<std::pair<Setting, int>> values, bool ignoreFile = false)
{
    SettingOverrides settings;
    for (const auto& [setting, value] : values)
        settings.*setting = value;
    settings.IgnoreFile = ignoreFile;
    return settings;
}

SettingOverrides circles(int n) { return given({{Circles, n}}); }

SettingOverrides frameRate(SettingOverrides settings = {})
{
    settings.ShowFrameRate = true;
    return settings;
}

TEST(RunOptions, EachOptionTakesItsRangeAndNamesAndNothingElse)
{
    const OptionRow rows[] = {
        {{"--circles", "6"}, circles(6), {}, ""},
        {{"--circles", "20"}, circles(20), {}, ""},
        {{"--circles", "5"}, {}, {}, "--circles takes a whole number from 6 to 20; got \"5\""},
        {{"--circles", "21"}, {}, {}, "--circles takes a whole number from 6 to 20; got \"21\""},
        {{"--circles", "8.5"}, {}, {}, "--circles takes"},
        {{"--circles", "+8"}, {}, {}, "--circles takes"},
        {{"--circles"}, {}, {}, "--circles needs a value: a whole number from 6 to 20"},
        {{"--circles=7"}, circles(7), {}, ""},
        {{"--circles="}, {}, {}, "--circles takes"},
        {{"--line-width", "1"}, given({{Width, 1}}), {}, ""},
        {{"--line-width=3"}, given({{Width, 3}}), {}, ""},
        {{"--line-width", "0"}, {}, {}, "--line-width takes a whole number from 1 to 3"},
        {{"--line-width", "4"}, {}, {}, "--line-width takes"},
        {{"--speed", "1"}, given({{Speed, 1}}), {}, ""},
        {{"--speed", "5"}, given({{Speed, 5}}), {}, ""},
        {{"--speed", "6"}, {}, {}, "--speed takes a whole number from 1 to 5"},
        {{"--speed", "0"}, {}, {}, "--speed takes"},
        {{"--script", "independence"}, given({{Script, 1}}), {}, ""},
        {{"--script=opposition"}, given({{Script, 3}}), {}, ""},
        {{"--script", "Capture"}, {}, {}, "--script takes independence, capture or opposition; got \"Capture\""},
        {{"--script", "2"}, {}, {}, "--script takes independence, capture or opposition"},
        {{"--clock", "time"}, given({{Clock, 0}}), {}, ""},
        {{"--clock", "none"}, given({{Clock, 4}}), {}, ""},
        {{"--clock=elapsed-dial"}, given({{Clock, 3}}), {}, ""},
        {{"--clock", "dial"}, {}, {}, "--clock takes time, time-dial, elapsed, elapsed-dial or none"},
        {{"--language", "russian"}, given({{Language, 0}}), {}, ""},
        {{"--language", "english"}, given({{Language, 1}}), {}, ""},
        {{"--language", "german"}, {}, {}, "--language takes russian or english"},
        {{"--captives"}, given({{Captives, 0}}), {}, ""},
        {{"--no-captives"}, given({{Captives, 1}}), {}, ""},
        {{"--captives=no"}, {}, {}, "--captives takes no value"},
        {{"--no-settings-file"}, given({}, true), {}, ""},
        {{"--fps"}, frameRate(), {}, ""},
        {{"-root", "-fps", "--speed=3"}, frameRate(given({{Speed, 3}})), {"-root"}, ""},
        {{"--fps=yes"}, {}, {}, "--fps takes no value"},
        // The last of one option wins; the run switch and window options are left as they came.
        {{"/c", "--speed", "2", "--speed", "4"}, given({{Speed, 4}}), {"/c"}, ""},
        {{"-root", "--script", "capture", "--clock", "none"}, given({{Clock, 4}, {Script, 2}}), {"-root"}, ""},
        {{"-window-id", "0x40", "--no-captives"}, given({{Captives, 1}}), {"-window-id", "0x40"}, ""},
        // A word of "--" the program does not know is a typo, named with the option meant.
        {{"--scripts", "capture"}, {}, {}, "unknown option \"--scripts\"; did you mean --script?"},
        {{"--scrip", "opposition"}, {}, {}, "unknown option \"--scrip\"; did you mean --script?"},
        {{"--no-captive"}, {}, {}, "unknown option \"--no-captive\"; did you mean --no-captives?"},
        {{"--circles=7", "--lang=english"}, {}, {}, "unknown option \"--lang\"; did you mean --language?"},
        {{"--foo"}, {}, {}, "unknown option \"--foo\""},
        {{"--help"}, {}, {"--help"}, ""},
        {{"--version"}, {}, {"--version"}, ""},
        {{"--root", "--window-id=0x40"}, {}, {"--root", "--window-id=0x40"}, ""},
        // What a daemon passes every hack is taken and dropped; other words stay for the run switch.
        {{"-root", "-install", "-visual", "default", "--speed", "3"}, given({{Speed, 3}}), {"-root"}, ""},
        {{"--visual=default"}, {}, {}, "unknown option \"--visual\""},
        {{"-visual"}, {}, {}, ""},
        {{"-foo", "/x", "--"}, {}, {"-foo", "/x", "--"}, ""},
        {{"--script", "--circles", "8"}, {}, {}, "--script takes"},
    };
    for (const OptionRow& row : rows) {
        std::string line;
        for (const std::string& word : row.arguments)
            line += word + ' ';
        const RunOptions read = readRunOptions(row.arguments);
        if (row.error.empty()) {
            EXPECT_EQ(read.error, "") << line;
            EXPECT_TRUE(read.settings == row.expected) << line;
            EXPECT_EQ(read.otherWords, row.otherWords) << line;
        } else {
            EXPECT_EQ(read.error.substr(0, row.error.size()), row.error) << line << "gave: " << read.error;
        }
    }
}

TEST(RunOptions, AddingToTheDaemonsListStandsAlone)
{
    const RunOptions alone = readRunOptions({"--add-to-xscreensaver"});
    EXPECT_TRUE(alone.addToXScreenSaver);
    EXPECT_EQ(alone.error, "");
    EXPECT_TRUE(alone.otherWords.empty());
    for (const std::vector<std::string>& arguments : std::vector<std::vector<std::string>> {
             {"--add-to-xscreensaver", "/c"}, {"--script", "capture", "--add-to-xscreensaver"}})
        EXPECT_EQ(readRunOptions(arguments).error, "--add-to-xscreensaver takes no other option") << arguments[0];
    EXPECT_FALSE(readRunOptions({"/s"}).addToXScreenSaver);
}

// What the show runs with: an option, else the file, else the defaults. The file here holds other
// values than every option gives.
TEST(RunOptions, AnOptionWinsOverTheFileAndTheFileOverTheDefaults)
{
    const std::string file = settingsText(11, 3, 5, 2, 1, 1, 0);
    const struct {
        std::optional<std::string> file;
        SettingOverrides overrides;
        int circles, width, speed;
        const char* viewTime;
        int script;
        const char* captives;
        float language;
    } rows[] = {
        {file, {}, 11, 3, 5, "2", 1, "1", 0},
        {std::nullopt, {}, 9, 1, 2, "0", 1, "0", 1},
        {file, given({{Circles, 8}, {Width, 1}, {Speed, 3}, {Clock, 4}, {Script, 2}, {Captives, 0}, {Language, 1}}), 8,
            1, 3, "4", 2, "0", 1},
        {std::nullopt, given({{Speed, 4}}), 9, 1, 4, "0", 1, "0", 1},
        {file, given({{Language, 1}}), 11, 3, 5, "2", 1, "1", 1},
        // A count, given or stored, is held to the script's range.
        {file, given({{Circles, 20}}), 12, 3, 5, "2", 1, "1", 0},
        {file, given({{Circles, 6}, {Script, 3}}), 10, 3, 5, "2", 3, "1", 0},
        {file, given({{Script, 2}}), 10, 3, 5, "2", 2, "1", 0},
        {settingsText(6, 1, 2, 0, 1, 0), given({{Script, 3}}), 10, 1, 2, "0", 3, "0", 1},
        // The frame rate is no setting of the file: asking for it alone keeps the file's values.
        {file, frameRate(), 11, 3, 5, "2", 1, "1", 0},
        // Told to ignore the file, what the options leave takes the defaults.
        {file, given({{Clock, 1}}, true), 9, 1, 2, "1", 1, "0", 1},
    };
    for (const auto& row : rows) {
        RunningProgram running({row.file, "/s", 1920, 1080, false}, row.overrides);
        const ModuleState& module = running.module();
        const std::string name = (row.file ? "file " : "no file ") + std::to_string(&row - rows);
        EXPECT_EQ(module.CircleCount, row.circles) << name;
        EXPECT_EQ(running.screen().Shape.Count(), row.circles) << name;
        EXPECT_EQ(running.screen().Shape[0].BorderWidth, row.width) << name;
        EXPECT_EQ(module.BaseStep, (row.speed - 1) * 5 + 10) << name;
        EXPECT_EQ(module.ViewTime, row.viewTime) << name;
        EXPECT_EQ(module.Scenario, row.script) << name;
        EXPECT_EQ(module.Captives, row.captives) << name;
        EXPECT_EQ(module.Language, row.language) << name;
    }
}

// The options last for the run: the file keeps what it held, and the dialog opened over the show
// shows what the show runs.
TEST(RunOptions, TheFileIsNotWrittenAndTheDialogShowsTheRunsValues)
{
    const std::string file = settingsText(11, 3, 5, 2, 1, 1, 0);
    RunningProgram running({file, "/s", 1920, 1080, false}, given({{Circles, 8}, {Script, 2}}));
    running.program.form1->Form_KeyPress('1');
    const Form2& dialog = *running.program.loadedDialog();
    EXPECT_EQ(dialog.Slider[0].Value(), 8);
    EXPECT_TRUE(dialog.cmdS[1].FontBold);
    EXPECT_EQ(running.folder.read("Vortexa.ini"), file);
}

} // namespace
} // namespace vortexa
