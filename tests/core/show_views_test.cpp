// Which views a show keeps as screens load and unload and monitors come and go.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "backend_kit/monitor_covers.h"
#include "backend_kit/show_views.h"

namespace vortexa {
namespace {

struct Screen {
    char name;
};

// A view as the backend would make it: which screen, which monitor, and whether it draws.
struct View {
    char screen;
    int monitor;
    bool drawsScene;
};

std::string describe(const std::vector<View*>& views)
{
    std::string text;
    for (const View* view : views)
        text += std::string(1, view->screen) + std::to_string(view->monitor) + (view->drawsScene ? "*" : "") + " ";
    return text;
}

TEST(ShowViews, EachScreenHasTheSceneOnThePrimaryMonitorAndACoverOnEveryOther)
{
    Screen a {'a'}, b {'b'};
    const struct {
        const char* what;
        std::vector<Screen*> screens;
        std::vector<int> monitors;
        int primary;
        bool monitorsChanged;
        const char* viewsOfA; // after the step, the scene's view first; * draws the scene
        const char* viewsOfB;
        int retiredSoFar;
    } steps[] = {
        {"a starts on two monitors", {&a}, {1, 2}, 1, false, "a1* a2 ", "", 0},
        {"a third monitor unnoticed", {&a}, {1, 2, 3}, 1, false, "a1* a2 ", "", 0},
        {"the third reported", {&a}, {1, 2, 3}, 1, true, "a1* a2 a3 ", "", 0},
        {"b loads beside a", {&a, &b}, {1, 2, 3}, 1, false, "a1* a2 a3 ", "b1* b2 b3 ", 0},
        {"monitor 2 goes", {&a, &b}, {1, 3}, 1, true, "a1* a3 ", "b1* b3 ", 2},
        {"3 becomes the primary", {&a, &b}, {1, 3}, 3, true, "a3* a1 ", "b3* b1 ", 6},
        {"a unloads", {&b}, {1, 3}, 3, false, "", "b3* b1 ", 8},
        {"no monitor at all", {&b}, {}, 3, true, "", "", 10},
    };
    ShowViews<Screen, int, View> views;
    std::vector<View> made;
    made.reserve(64);
    int retired = 0;
    for (const auto& step : steps) {
        views.match(
            step.screens, step.monitors, step.primary, step.monitorsChanged,
            [&made](Screen& screen, int monitor, bool drawsScene) {
                return &made.emplace_back(View {screen.name, monitor, drawsScene});
            },
            [&retired](View*) { ++retired; });
        EXPECT_EQ(describe(views.viewsOf(a)), step.viewsOfA) << step.what;
        EXPECT_EQ(describe(views.viewsOf(b)), step.viewsOfB) << step.what;
        EXPECT_EQ(retired, step.retiredSoFar) << step.what;
        const View* scene = views.sceneViewOf(b);
        EXPECT_EQ(scene != nullptr && scene->drawsScene, std::string(step.viewsOfB).find('*') != std::string::npos)
            << step.what;
    }
}

// A monitor that overlaps the primary keeps its cover, which lies under the scene; one wholly
// inside the primary shows nothing the scene does not, and gets none.
TEST(MonitorCovers, OnlyMonitorsShowingMoreThanThePrimaryAreCovered)
{
    const struct {
        const char* name;
        std::vector<MonitorArea> monitors; // the first is the primary
        std::vector<int> shown;
    } rows[] = {
        {"side by side", {{0, 0, 1280, 720}, {1280, 0, 800, 600}}, {0, 1}},
        {"a mirror of the same size", {{0, 0, 1280, 720}, {0, 0, 1280, 720}}, {0}},
        {"a smaller mirror", {{0, 0, 1280, 720}, {0, 0, 1024, 768}}, {0, 1}},
        {"a projector inside", {{0, 0, 1920, 1080}, {320, 180, 1280, 720}}, {0}},
        {"two halves and the whole", {{0, 0, 1920, 1080}, {0, 0, 960, 1080}, {960, 0, 960, 1080}}, {0}},
        {"a half primary beside the whole", {{0, 0, 960, 1080}, {0, 0, 1920, 1080}, {960, 0, 960, 1080}}, {0, 1, 2}},
        {"overlapping an edge", {{0, 0, 1280, 720}, {1000, 100, 800, 600}}, {0, 1}},
        {"above and left", {{0, 0, 1280, 720}, {-800, -600, 800, 600}}, {0, 1}},
    };
    for (const auto& row : rows) {
        std::vector<int> monitors;
        for (int k = 0; k < static_cast<int>(row.monitors.size()); ++k)
            monitors.push_back(k);
        const auto areaOf = [&row](int monitor) { return row.monitors[static_cast<size_t>(monitor)]; };
        EXPECT_EQ(monitorsToShowOn(monitors, 0, areaOf), row.shown) << row.name;
    }
}

} // namespace
} // namespace vortexa
