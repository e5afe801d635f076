#include "records/numeric.h"
#include "scene/script_steps.h"

namespace vortexa {

namespace {

constexpr float BlockHome = 600;

void centreOnScreen(const SaverScreen& screen, ShapeElement& circle)
{
    circle.Top = single(screen.ScreenHeight / 2.0 - circle.Width / 2.0);
    circle.Left = single(screen.ScreenWidth / 2.0 - circle.Width / 2.0);
}

} // namespace

void Regroup(SaverScreen& screen, ModuleState& module)
{
    // The first two minutes of every three only count.
    if (screen.MinuteCount <= 1) {
        ++screen.MinuteCount;
        return;
    }
    const int n = CirclesInScene(screen);
    for (module.LoopIndex = 0; module.LoopIndex < n; ++module.LoopIndex) {
        const int i = module.LoopIndex;
        ShapeElement& circle = screen.Shape[i];
        circle.BorderColor = PickColour(module);
        if (module.Scenario == 3) {
            // The block goes home on every pass, before circle i, so it ends at home after circle
            // 0 was centred.
            screen.Shape[0].Top = BlockHome;
            screen.Shape[0].Left = BlockHome;
            centreOnScreen(screen, circle);
            circle.Visible = true;
            circle.BorderStyle = BorderSolid;
            circle.BorderWidth = screen.Shape[0].BorderWidth;
        }
        if (module.Scenario == 2)
            centreOnScreen(screen, circle);
    }
    screen.MinuteCount = 0;
}

} // namespace vortexa
