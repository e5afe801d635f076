#include <gtest/gtest.h>

#include "dialog/author_link.h"
#include "dialog/captions.h"
#include "dialog_world.h"

namespace vortexa {
namespace {

namespace fs = std::filesystem;

const std::string Site = std::string("https://") + VORTEXA_AUTHOR_HOST;

TEST(AuthorLink, OpensThePageOfTheCaptionLanguage)
{
    const struct {
        float language;
        std::string page; // empty: nothing is opened
    } rows[] = {
        {0, Site + "/"},
        {1, Site + "/index-e.htm"},
        {2, ""},
        {0.5f, ""},
    };
    for (const auto& row : rows) {
        DialogWorld world;
        world.program.module.Language = row.language;
        world.dialog().lblLINK_Click();
        const auto& started = world.platform.startedPrograms();
        if (row.page.empty()) {
            EXPECT_TRUE(started.empty()) << row.language;
            continue;
        }
        ASSERT_EQ(started.size(), 1u) << row.language;
        EXPECT_EQ(started[0].program, "xdg-open");
        EXPECT_EQ(started[0].arguments, std::vector<std::string> {row.page});
        EXPECT_TRUE(world.dialog().Messages.empty());
    }
}

TEST(AuthorLink, TheShortcutLiesBesideTheProgramWhileTheOpenerStartsAndIsGoneAfter)
{
    DialogWorld world;
    const fs::path shortcut = world.folder.path() / "temp.url";
    writeFile(shortcut, "an older shortcut that is much longer than the new one\r\n\r\n\r\n");
    std::string seenAtStart;
    world.platform.setStartHandler([&](const StartedProgram&) {
        seenAtStart = fileText(shortcut);
        return StartResult {true, {}};
    });
    world.dialog().lblLOC_Click(Russian);
    world.dialog().lblLINK_Click();
    EXPECT_EQ(seenAtStart, "[InternetShortcut]\r\nURL=" + Site + "/\r\n");
    EXPECT_FALSE(fs::exists(shortcut));
}

TEST(AuthorLink, APlantedLinkIsReplacedNotFollowed)
{
    DialogWorld world;
    TemporaryFolder elsewhere;
    const fs::path target = elsewhere.path() / "precious.txt";
    writeFile(target, "keep me");
    if (!makeSymbolicLink(target, world.folder.path() / "temp.url"))
        GTEST_SKIP() << "no symbolic links here";
    world.dialog().lblLINK_Click();
    EXPECT_EQ(fileText(target), "keep me");
    EXPECT_FALSE(fs::exists(fs::symlink_status(world.folder.path() / "temp.url")));
    EXPECT_EQ(world.platform.startedPrograms().size(), 1u);
}

TEST(AuthorLink, AShortcutThatCannotBeWrittenIsReportedAndThePageStillOpens)
{
    DialogWorld world;
    fs::create_directories(world.folder.path() / "temp.url" / "kept");
    world.dialog().lblLINK_Click();
    ASSERT_EQ(world.dialog().Messages.size(), 1u);
    EXPECT_NE(world.dialog().Messages[0].Text.find((world.folder.path() / "temp.url").string()), std::string::npos);
    EXPECT_EQ(world.platform.startedPrograms().size(), 1u);
    EXPECT_TRUE(fs::is_directory(world.folder.path() / "temp.url" / "kept"));
}

TEST(AuthorLink, AnOpenerThatDoesNotStartIsReportedInTheCaptionLanguage)
{
    DialogWorld world;
    world.platform.setStartHandler([](const StartedProgram&) {
        return StartResult {false, "No such file or directory"};
    });
    world.dialog().lblLOC_Click(Russian);
    world.dialog().lblLINK_Click();
    ASSERT_EQ(world.dialog().Messages.size(), 1u);
    const std::string& text = world.dialog().Messages[0].Text;
    EXPECT_EQ(text.rfind(captionsFor(Russian).LinkFailed, 0), 0u);
    EXPECT_NE(text.find("xdg-open: No such file or directory"), std::string::npos);
    EXPECT_FALSE(fs::exists(world.folder.path() / "temp.url"));
}

} // namespace
} // namespace vortexa
