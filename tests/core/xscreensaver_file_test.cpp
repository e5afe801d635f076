#include <gtest/gtest.h>

#include "settings/xscreensaver_file.h"

namespace vortexa {
namespace {

constexpr std::string_view Program = "/usr/libexec/xscreensaver/vortexa";
const std::string Entry = "\t\t\t\t\"Vortexa\"  /usr/libexec/xscreensaver/vortexa --root --no-settings-file  \\n";
// As the daemon's app-defaults file holds its list: the last line ends the value without a backslash.
const std::string DefaultsFile = "! The daemon's defaults\n*mode:\t\trandom\n*programs:\t\\\n\t\tmaze --root\t\\n\\\n"
                                 "- GL: \t\tsuperquadrics --root\t\\n\\\n\t\tqix --root\t\\n\n\n*timeout:\t0:10:00\n";
const std::string DefaultList = "programs:\t\\\n\t\tmaze --root\t\\n\\\n- GL: \t\tsuperquadrics --root\t\\n\\\n"
                                "\t\tqix --root\t\\n\\\n"
    + Entry + "\n";

struct AddedRow {
    std::string file;
    std::string expected;
    int place;
};

TEST(XScreenSaverFile, TheSaverGoesLastInTheListAndEveryOtherByteStays)
{
    const AddedRow rows[] = {
        // As the daemon's settings window writes the list: a blank line ends it.
        {"timeout:\t0:10:00\nprograms:\t\t\\\n\t\tmaze --root\t\\n\\\n-\t\tpyro --root\t\\n\\\n\n\nlock:\tFalse\n",
            "timeout:\t0:10:00\nprograms:\t\t\\\n\t\tmaze --root\t\\n\\\n-\t\tpyro --root\t\\n\\\n" + Entry
                + "\\\n\n\nlock:\tFalse\n",
            3},
        // A last line with a saver on it continues to the new one.
        {"programs: qix --root \\n\nmode: one\n", "programs: qix --root \\n\\\n" + Entry + "\nmode: one\n", 2},
        // A last saver without its separator gets one, on either kind of last line.
        {"programs: qix --root\n", "programs: qix --root \\n\\\n" + Entry + "\n", 2},
        {"programs: \\\n  qix --root \\\n\n", "programs: \\\n  qix --root \\\n\\n" + Entry + "\\\n\n", 2},
        // A file that ends inside the list.
        {"programs: \\\n  qix --root \\n\\", "programs: \\\n  qix --root \\n\\\n" + Entry + "\n", 2},
        {"programs:\n", "programs:\\\n" + Entry + "\n", 1},
        {"XScreenSaver.programs: qix \\n\n", "XScreenSaver.programs: qix \\n\\\n" + Entry + "\n", 2},
        // The last list of the file is the one the daemon reads; a comment names none.
        {"# programs: old\nprograms: qix \\n\nprograms: maze \\n\n",
            "# programs: old\nprograms: qix \\n\nprograms: maze \\n\\\n" + Entry + "\n", 2},
        // A file without a list gets the daemon's own, lines as they are, under the user file's name.
        {"mode:\t\tone\nselected:\t1\n", "mode:\t\tone\nselected:\t1\n\n" + DefaultList, 4},
        {"mode: one", "mode: one\n\n" + DefaultList, 4},
    };
    for (const AddedRow& row : rows) {
        const SaverListChange change = addToSaverList(row.file, DefaultsFile, Program);
        EXPECT_EQ(change.outcome, SaverListChange::Added) << row.file;
        EXPECT_EQ(change.text, row.expected) << row.file;
        EXPECT_EQ(change.place, row.place) << row.file;
        EXPECT_EQ(change.count, row.place) << row.file;
        EXPECT_EQ(change.listFromDefaults, row.file.find("programs:") == std::string::npos) << row.file;
        // A second addition finds the saver where the first put it.
        const SaverListChange again = addToSaverList(change.text, DefaultsFile, Program);
        EXPECT_EQ(again.outcome, SaverListChange::AlreadyListed) << row.file;
        EXPECT_EQ(again.place, row.place) << row.file;
    }
}

TEST(XScreenSaverFile, WithoutAFileTheDaemonsOwnListComesUnderAComment)
{
    const SaverListChange change = addToSaverList("", DefaultsFile, Program);
    ASSERT_EQ(change.outcome, SaverListChange::Added);
    EXPECT_TRUE(change.text.starts_with("# ")) << change.text;
    EXPECT_TRUE(change.text.ends_with("\n\n" + DefaultList)) << change.text;
    EXPECT_EQ(change.place, 4);
    EXPECT_TRUE(change.listFromDefaults);
}

TEST(XScreenSaverFile, ASaverRunningTheProgramIsFoundAsItIsWritten)
{
    const struct {
        std::string file;
        int place; // 0: not listed
        int count;
    } rows[] = {
        {"programs: qix --root \\n\\\n \"Vortexa\"  vortexa --root  \\n\n", 2, 2},
        {"programs: - default: /opt/x/vortexa --root --script capture \\n\\\n qix \\n\n", 1, 2},
        {"programs: -\tGL:\t\"Mine\" /usr/libexec/xscreensaver/vortexa\\n qix \\n\n", 1, 2},
        // As the settings window writes a long line back: its words go on over two lines.
        {"programs:\t\\\n\t\t\t\tqix --root\t\\n\\\n\t\t\t\t/usr/libexec/xscreensaver/vortexa --root\t\t      "
         "\\\n\t\t\t\t  --no-settings-file --fps\t\t    \\n\\\n\n\n",
            2, 2},
        // Only the program's own file name counts, not a saver's name or another program's folder.
        {"programs: \"vortexa\" qix --root \\n\n", 0, 1},
        {"programs: /opt/vortexa/bin/other --root \\n vortexa-old \\n\n", 0, 2},
    };
    for (const auto& row : rows) {
        const SaverListChange change = addToSaverList(row.file, DefaultsFile, Program);
        EXPECT_EQ(change.outcome, row.place ? SaverListChange::AlreadyListed : SaverListChange::Added) << row.file;
        EXPECT_EQ(change.place, row.place ? row.place : row.count + 1) << row.file;
        EXPECT_EQ(change.count, row.place ? row.count : row.count + 1) << row.file;
    }
}

TEST(XScreenSaverFile, NoListAnywhereChangesNothing)
{
    EXPECT_EQ(addToSaverList("", "", Program).outcome, SaverListChange::NoList);
    EXPECT_EQ(addToSaverList("mode: one\n", "*mode: random\n", Program).outcome, SaverListChange::NoList);
}

TEST(XScreenSaverFile, OnlyAPlainAbsolutePathStandsInTheCommand)
{
    const std::pair<std::string_view, bool> rows[] = {
        {"/usr/libexec/xscreensaver/vortexa", true},
        {"/home/anna/opt/libexec/xscreensaver/vortexa", true},
        {"/home/\xc3\xa4nna/v-1.2_x+y@z/vortexa", true},
        {"vortexa", false},
        {"", false},
        {"/home/anna b/vortexa", false},
        {"/home/anna\t/vortexa", false},
        {"/opt/\"x\"/vortexa", false},
        {"/opt/$HOME/vortexa", false},
        {"/opt/a;b/vortexa", false},
        {"/opt/a\\nb/vortexa", false},
        {"/opt/a'b/vortexa", false},
    };
    for (const auto& [path, fits] : rows)
        EXPECT_EQ(fitsDaemonCommand(path), fits) << path;
}

} // namespace
} // namespace vortexa
