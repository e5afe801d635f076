#include <gtest/gtest.h>

#include "dialog/captions.h"
#include "dialog_world.h"

namespace vortexa {
namespace {

std::vector<std::string> allTexts(const Captions& c)
{
    std::vector<std::string> texts {c.Frame1, c.Frame2, c.cmdHELP, c.CmdPRO, c.cmdESC, c.CaptivesPrompt, c.TimePrompt,
        c.ClockWarning, c.Information, c.SaveFailed, c.LinkFailed, c.FileNotRemoved};
    texts.insert(texts.end(), c.cmdS.begin(), c.cmdS.end());
    texts.insert(texts.end(), c.Label.begin(), c.Label.end());
    texts.insert(texts.end(), c.CaptivesEntries.begin(), c.CaptivesEntries.end());
    texts.insert(texts.end(), c.TimeEntries.begin(), c.TimeEntries.end());
    return texts;
}

std::vector<std::string> linesOf(const std::string& text)
{
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
        lines.push_back(text.substr(start, end - start));
    lines.push_back(text.substr(start));
    return lines;
}

TEST(Captions, EveryCaptionHasItsOwnTextInBothLanguages)
{
    const auto russian = allTexts(captionsFor(Russian));
    const auto english = allTexts(captionsFor(English));
    ASSERT_EQ(russian.size(), english.size());
    for (size_t k = 0; k < russian.size(); ++k) {
        EXPECT_FALSE(russian[k].empty()) << k;
        EXPECT_FALSE(english[k].empty()) << k;
        EXPECT_NE(russian[k], english[k]) << k;
    }
}

TEST(Captions, TheInformationTextHasSixLinesWithTheTwoEmptyOnes)
{
    for (LanguageIndex language : {Russian, English}) {
        const auto lines = linesOf(captionsFor(language).Information);
        ASSERT_EQ(lines.size(), 6u) << language;
        for (size_t k = 0; k < lines.size(); ++k)
            EXPECT_EQ(lines[k].empty(), k == 1 || k == 4) << language << " line " << k + 1;
        EXPECT_EQ(lines[3], linesOf(captionsFor(English).Information)[3]); // the same address
    }
}

TEST(ApplyLanguage, PutsEveryTextOnItsElement)
{
    DialogWorld world;
    Form2& dialog = world.dialog();
    const ModuleState& module = world.program.module;
    for (LanguageIndex language : {Russian, English, Russian}) {
        dialog.lblLOC_Click(language);
        const Captions& c = captionsFor(language);
        EXPECT_EQ(dialog.Frame1.Caption, c.Frame1);
        EXPECT_EQ(dialog.Frame2.Caption, c.Frame2);
        for (size_t k = 0; k < 3; ++k) {
            EXPECT_EQ(dialog.cmdS[k].Caption, c.cmdS[k]) << k;
            EXPECT_EQ(dialog.Label[k].Caption, c.Label[k]) << k;
        }
        EXPECT_EQ(dialog.cmdHELP.Caption, c.cmdHELP);
        EXPECT_EQ(dialog.CmdPRO.Caption, c.CmdPRO);
        EXPECT_EQ(dialog.cmdESC.Caption, c.cmdESC);
        EXPECT_EQ(dialog.LblINFO.Caption, c.Information);
        EXPECT_EQ(module.CaptivesPrompt, c.CaptivesPrompt);
        EXPECT_EQ(module.TimePrompt, c.TimePrompt);
        EXPECT_EQ(module.ClockWarning, c.ClockWarning);
        ASSERT_EQ(dialog.ComboP.ListCount(), 2);
        ASSERT_EQ(dialog.ComboT.ListCount(), 5);
        for (int k = 0; k < 2; ++k)
            EXPECT_EQ(dialog.ComboP.List(k), c.CaptivesEntries[static_cast<size_t>(k)]);
        for (int k = 0; k < 5; ++k)
            EXPECT_EQ(dialog.ComboT.List(k), c.TimeEntries[static_cast<size_t>(k)]);
        // Texts that never change with the language.
        EXPECT_EQ(dialog.cmdOK.Caption, "OK");
        EXPECT_EQ(dialog.lblLOC[0].Caption, "Russian");
        EXPECT_EQ(dialog.lblLOC[1].Caption, "English");
        EXPECT_EQ(dialog.Caption, "Vortexa");
    }
}

TEST(ApplyLanguage, MarksTheActiveLanguageBlackAndTheOtherBlue)
{
    const struct {
        float lang;
        uint32_t russian, english;
        float stored;
    } rows[] = {
        {0, 0x000000, 0xFF0000, 0},
        {1, 0xFF0000, 0x000000, 1},
        {1, 0xFF0000, 0x000000, 1}, // the active one again
        {5, 0xFF0000, 0x000000, 1}, // an unknown language falls back to English
        {-1, 0xFF0000, 0x000000, 1},
    };
    DialogWorld world;
    for (const auto& row : rows) {
        ApplyLanguage(world.program, row.lang);
        EXPECT_EQ(world.dialog().lblLOC[0].ForeColor, row.russian) << row.lang;
        EXPECT_EQ(world.dialog().lblLOC[1].ForeColor, row.english) << row.lang;
        EXPECT_EQ(world.program.module.Language, row.stored) << row.lang;
    }
}

TEST(ApplyLanguage, AStoredUnknownLanguageStartsInEnglish)
{
    DialogWorld world("/s", settingsText(8, 1, 2, 0, 1, 0, 7));
    EXPECT_EQ(world.program.module.Language, 1);
    EXPECT_EQ(world.dialog().cmdESC.Caption, "Cancel");
}

TEST(ApplyLanguage, ASwitchKeepsTheChoicesMadeInTheDialog)
{
    DialogWorld world("/s", settingsText(8, 1, 2, 0, 1, 0, 1));
    Form2& dialog = world.dialog();
    dialog.cmdS_Click(2);
    dialog.Slider[0].setValue(13);
    dialog.ComboP.setText("Not get");
    dialog.ComboT.setListIndex(StartDial);
    dialog.lblLOC_Click(Russian);
    EXPECT_EQ(dialog.ComboP.Text(), "Не брать");
    EXPECT_EQ(dialog.ComboT.Text(), "Отсутствия (Гр)");
    EXPECT_EQ(dialog.ComboT.ListIndex(), StartDial);
    EXPECT_TRUE(dialog.cmdS[2].FontBold);
    EXPECT_EQ(dialog.Slider[0].Value(), 13);
    dialog.lblLOC_Click(English);
    EXPECT_EQ(dialog.ComboP.Text(), "Not get");
    EXPECT_EQ(dialog.ComboT.Text(), "From start (Zentar)");
}

TEST(ApplyLanguage, AListWithoutSelectionShowsTheStoredChoice)
{
    DialogWorld world("/s", settingsText(8, 1, 2, 2, 1, 9, 1));
    Form2& dialog = world.dialog();
    dialog.ComboT.setText("typed");
    dialog.lblLOC_Click(Russian);
    EXPECT_EQ(dialog.ComboT.Text(), "Отсутствия (Циф)"); // the stored clock choice 2
    EXPECT_EQ(dialog.ComboP.Text(), "Не брать"); // the stored 9 held to the last entry
}

TEST(ApplyLanguage, TheWarningFollowsTheLanguage)
{
    DialogWorld world;
    Form2& dialog = world.dialog();
    dialog.lblLOC_Click(Russian);
    dialog.cmdS_Click(0);
    dialog.ComboT.setListIndex(SystemDial);
    dialog.CmdPRO_Click();
    ASSERT_EQ(dialog.Messages.size(), 1u);
    EXPECT_EQ(dialog.Messages[0].Text, captionsFor(Russian).ClockWarning);
}

} // namespace
} // namespace vortexa
