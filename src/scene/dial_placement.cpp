#include <cmath>

#include "records/numeric.h"
#include "scene/script_steps.h"

namespace vortexa {

namespace {

constexpr double HandUnit = 400; // hand k is 400 x (3 - k) twips long
constexpr double DiscUnit = 200; // disc k's centre lies 200 x (7 - 2k) twips from the dial's centre
constexpr float LabelInset = 115;

// Hand k, its disc and its label at the angle the clock last wrote; the hub on the centre.
void placeHand(SaverScreen& screen, const ModuleState& module, int k, double cx, double cy)
{
    const double angle = module.HandAngle[static_cast<size_t>(k)];
    LineElement& hand = screen.LineS[k];
    hand.Y1 = single(cy);
    hand.X1 = single(cx);
    hand.Y2 = single(cy + std::sin(angle) * HandUnit * (3 - k));
    hand.X2 = single(cx + std::cos(angle) * HandUnit * (3 - k));

    // Each part is placed only when the set-up created it.
    if (ShapeElement* disc = screen.ShapeS.find(k + 2)) {
        disc->Top = single(cy + std::sin(angle) * DiscUnit * (7 - 2 * k) - disc->Width / 2.0);
        disc->Left = single(cx + std::cos(angle) * DiscUnit * (7 - 2 * k) - disc->Width / 2.0);
        screen.lblS[k].Top = disc->Top + LabelInset;
        screen.lblS[k].Left = disc->Left + LabelInset;
    }
    if (ShapeElement* hub = screen.ShapeS.find(1)) {
        hub->Top = single(cy - hub->Width / 2.0);
        hub->Left = single(cx - hub->Width / 2.0);
    }
}

} // namespace

void PlaceDial(SaverScreen& screen, const ModuleState& module, BlockSnapshot block)
{
    const int64_t cx = int64_t {block.left0} + module.Radius[0];
    const int64_t cy = int64_t {block.top0} + module.Radius[0];
    if (screen.ShapeS.UBound() > 0 && module.GraphicClock) {
        for (int k = 0; k < 3; ++k)
            placeHand(screen, module, k, static_cast<double>(cx), static_cast<double>(cy));
        return;
    }
    screen.lblT.Top = single(static_cast<double>(cy - screen.TimeHalfHeight));
    screen.lblT.Left = single(static_cast<double>(cx - screen.TimeHalfWidth));
}

} // namespace vortexa
