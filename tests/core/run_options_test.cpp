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
        && a.IgnoreFile == b.IgnoreFile;
}

SettingOverrides circles(int n) { return {.CircleCount = n}; }

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
        {{"--line-width", "1"}, {.BorderWidth = 1}, {}, ""},
        {{"--line-width=3"}, {.BorderWidth = 3}, {}, ""},
        {{"--line-width", "0"}, {}, {}, "--line-width takes a whole number from 1 to 3"},
        {{"--line-width", "4"}, {}, {}, "--line-width takes"},
        {{"--speed", "1"}, {.Speed = 1}, {}, ""},
        {{"--speed", "5"}, {.Speed = 5}, {}, ""},
        {{"--speed", "6"}, {}, {}, "--speed takes a whole number from 1 to 5"},
        {{"--speed", "0"}, {}, {}, "--speed takes"},
        {{"--script", "independence"}, {.Scenario = 1}, {}, ""},
        {{"--script=opposition"}, {.Scenario = 3}, {}, ""},
        {{"--script", "Capture"}, {}, {}, "--script takes independence, capture or opposition; got \"Capture\""},
        {{"--script", "2"}, {}, {}, "--script takes independence, capture or opposition"},
        {{"--clock", "time"}, {.ViewTime = 0}, {}, ""},
        {{"--clock", "none"}, {.ViewTime = 4}, {}, ""},
        {{"--clock=elapsed-dial"}, {.ViewTime = 3}, {}, ""},
        {{"--clock", "dial"}, {}, {}, "--clock takes time, time-dial, elapsed, elapsed-dial or none"},
        {{"--language", "russian"}, {.Language = 0}, {}, ""},
        {{"--language", "english"}, {.Language = 1}, {}, ""},
        {{"--language", "german"}, {}, {}, "--language takes russian or english"},
        {{"--captives"}, {.Captives = 0}, {}, ""},
        {{"--no-captives"}, {.Captives = 1}, {}, ""},
        {{"--captives=no"}, {}, {}, "--captives takes no value"},
        {{"--no-settings-file"}, {.IgnoreFile = true}, {}, ""},
        // The last of one option wins; the run switch and window options are left as they came.
        {{"/c", "--speed", "2", "--speed", "4"}, {.Speed = 4}, {"/c"}, ""},
        {{"-root", "--script", "capture", "--clock", "none"}, {.ViewTime = 4, .Scenario = 2}, {"-root"}, ""},
        {{"-window-id", "0x40", "--no-captives"}, {.Captives = 1}, {"-window-id", "0x40"}, ""},
        {{"--scripts", "capture"}, {}, {"--scripts", "capture"}, ""},
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
        {file, {8, 1, 3, 4, 2, 0, 1}, 8, 1, 3, "4", 2, "0", 1},
        {std::nullopt, {.Speed = 4}, 9, 1, 4, "0", 1, "0", 1},
        {file, {.Language = 1}, 11, 3, 5, "2", 1, "1", 1},
        // A count given is held to the script's range; a stored one only to its top.
        {file, {.CircleCount = 20}, 12, 3, 5, "2", 1, "1", 0},
        {file, {.CircleCount = 6, .Scenario = 3}, 10, 3, 5, "2", 3, "1", 0},
        {file, {.Scenario = 2}, 10, 3, 5, "2", 2, "1", 0},
        {settingsText(6, 1, 2, 0, 1, 0), {.Scenario = 3}, 6, 1, 2, "0", 3, "0", 1},
        // Told to ignore the file, what the options leave takes the defaults.
        {file, {.ViewTime = 1, .IgnoreFile = true}, 9, 1, 2, "1", 1, "0", 1},
    };
    for (const auto& row : rows) {
        RunningProgram running({row.file, "/s", 1920, 1080, false, row.overrides});
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
    RunningProgram running({file, "/s", 1920, 1080, false, {.CircleCount = 8, .Scenario = 2}});
    running.program.form1->Form_KeyPress('1');
    const Form2& dialog = *running.program.loadedDialog();
    EXPECT_EQ(dialog.Slider[0].Value(), 8);
    EXPECT_TRUE(dialog.cmdS[1].FontBold);
    EXPECT_EQ(running.folder.read("Vortexa.ini"), file);
}

} // namespace
} // namespace vortexa
