// The bookkeeping of the show's windows with plain screens, monitors and views: what a backend's
// windows do after each event, as screens load and unload and monitors change while the show runs.

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "backend_kit/pointer_moves.h"
#include "backend_kit/saver_windows.h"

namespace vortexa {
namespace {

struct Screen {
    char name;
};

// The program's side: its loaded screens, and the unloaded ones let go of only when asked.
struct Program {
    std::vector<std::unique_ptr<Screen>> loaded, unloaded;
    int discarded = 0;
    const std::vector<std::unique_ptr<Screen>>& screens() const { return loaded; }
    void unload(Screen* screen)
    {
        const auto found = std::find_if(loaded.begin(), loaded.end(), [&](const auto& s) { return s.get() == screen; });
        unloaded.push_back(std::move(*found));
        loaded.erase(found);
    }
    void DiscardUnloaded()
    {
        discarded += static_cast<int>(unloaded.size());
        unloaded.clear();
    }
};

// A view that counts how often it followed its record and goes when the test says the system is
// done with it.
struct View {
    static inline int alive = 0;
    Screen* screen;
    int monitor;
    bool drawsScene;
    int follows = 0;
    bool retired = false, systemDone = false;
    View(Screen* s, int m, bool d)
        : screen(s)
        , monitor(m)
        , drawsScene(d)
    {
        ++alive;
    }
    ~View() { --alive; }
    void follow() { ++follows; }
    void retire() { retired = true; }
    bool gone() const { return systemDone; }
};

class SaverWindowsKitTest : public ::testing::Test {
protected:
    SaverWindowsKitTest()
    {
        program.loaded.push_back(std::make_unique<Screen>(Screen {'a'}));
        events.deliver([] {});
    }

    using Kit = SaverWindowsKit<Program, int, View>;
    Kit::Backend backend()
    {
        return {[this] { return monitors; }, [this] { return primary; },
            [this](int monitor) { return areaOf(monitor); },
            [this](Screen& screen, int monitor, bool drawsScene) {
                made.push_back(new View(&screen, monitor, drawsScene));
                return made.back();
            },
            [this](View* scene) { raised.push_back(scene->monitor); }};
    }

    // The live views of a screen as "monitor(* if it draws the scene)", by monitor.
    std::string viewsOf(char name) const
    {
        std::vector<std::string> views;
        for (const View* view : made)
            if (!view->retired && view->screen->name == name)
                views.push_back(std::to_string(view->monitor) + (view->drawsScene ? "* " : " "));
        std::sort(views.begin(), views.end());
        std::string text;
        for (const std::string& view : views)
            text += view;
        return text;
    }

    // Monitors side by side, 100 pixels wide; monitor 10 mirrors the left half of monitor 1.
    static MonitorArea areaOf(int monitor)
    {
        if (monitor == 10)
            return {100, 0, 50, 100};
        return {monitor * 100, 0, 100, 100};
    }

    Program program;
    std::vector<int> raised;
    std::vector<int> monitors {1, 2};
    int primary = 1;
    EventDelivery events;
    std::vector<View*> made;
    Kit windows {program, events, backend()};
};

TEST_F(SaverWindowsKitTest, MonitorsThatChangeWhileTheShowRunsRetireAndGetViews)
{
    EXPECT_EQ(viewsOf('a'), "1* 2 ");
    monitors = {1, 2, 3};
    events.deliver([] {});
    EXPECT_EQ(viewsOf('a'), "1* 2 ") << "a change not yet reported";
    windows.monitorsChanged();
    EXPECT_EQ(viewsOf('a'), "1* 2 3 ");
    monitors = {2, 3};
    primary = 2;
    windows.monitorsChanged();
    EXPECT_EQ(viewsOf('a'), "2* 3 ") << "the primary went: the scene moves to the new one";
    EXPECT_EQ(windows.sceneViewOf(*program.loaded.front())->monitor, 2);
    EXPECT_EQ(windows.retiredViews(), 2u);
    for (View* view : made)
        EXPECT_GE(view->follows, 1) << "every view follows its record after it is made";
}

TEST_F(SaverWindowsKitTest, AMonitorInsideThePrimaryGetsNoCoverAndANewCoverGoesUnderTheScene)
{
    raised.clear();
    monitors = {1, 2, 10};
    windows.monitorsChanged();
    EXPECT_EQ(viewsOf('a'), "1* 2 ") << "the mirror shows only what the scene shows";
    EXPECT_TRUE(raised.empty()) << "nothing new was made";
    monitors = {1, 2, 3};
    windows.monitorsChanged();
    EXPECT_EQ(viewsOf('a'), "1* 2 3 ");
    EXPECT_EQ(raised, std::vector<int> {1}) << "the scene comes above the new cover";
}

TEST_F(SaverWindowsKitTest, RetiredViewsGoOnlyWhenTheSystemIsDoneWithThemAndUnloadedScreensAfterTheOutermostEvent)
{
    Screen* first = program.loaded.front().get();
    events.deliver([&] {
        events.deliver([&] {
            program.unload(first);
            program.loaded.push_back(std::make_unique<Screen>(Screen {'b'}));
        });
        EXPECT_EQ(program.discarded, 0) << "the outer handler may still read the unloaded screen";
        EXPECT_EQ(windows.sceneViewOf(*first), nullptr);
    });
    EXPECT_EQ(program.discarded, 1);
    EXPECT_EQ(viewsOf('b'), "1* 2 ");
    EXPECT_EQ(viewsOf('a'), "");
    EXPECT_EQ(windows.retiredViews(), 2u);
    EXPECT_EQ(View::alive, 4);
    for (View* view : made)
        view->systemDone = view->retired;
    events.deliver([] {});
    EXPECT_EQ(windows.retiredViews(), 0u);
    EXPECT_EQ(View::alive, 2);
}

TEST(PointerMoves, OnlyAChangeOfPlaceIsAMoveMeasuredInTwipsFromThePrimaryMonitorsCorner)
{
    const struct {
        double x, y, primaryLeft, primaryTop;
        bool moved;
        float twipsX, twipsY;
    } moves[] = {
        {100, 50, 0, 0, false, 0, 0}, // where the pointer was when the show started
        {101, 50, 0, 0, true, 1515, 750},
        {101, 50, 0, 0, false, 0, 0},
        {100, 50, 0, 0, true, 1500, 750},
        {-20, 10, 0, 0, true, -300, 150}, // over a monitor left of the primary
        {1930, 10, 1920, 0, true, 150, 150}, // the primary monitor stands right of another
        {10.5, 3, 0, 0, true, 157.5f, 45},
    };
    PointerMoves pointer(100, 50);
    for (const auto& move : moves) {
        const auto place = pointer.movedTo(move.x, move.y, move.primaryLeft, move.primaryTop);
        ASSERT_EQ(place.has_value(), move.moved) << move.x << "," << move.y;
        if (place) {
            EXPECT_EQ(place->x, move.twipsX) << move.x << "," << move.y;
            EXPECT_EQ(place->y, move.twipsY) << move.x << "," << move.y;
        }
    }
}

} // namespace
} // namespace vortexa
