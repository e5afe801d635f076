#include <algorithm>

#include "records/numeric.h"
#include "scene/script_steps.h"

namespace vortexa {

void IndependenceStep(SaverScreen& screen, ModuleState& module)
{
    const int n = CirclesInScene(screen);
    for (module.LoopIndex = 0; module.LoopIndex < n; ++module.LoopIndex) {
        const int i = module.LoopIndex;
        ShapeElement& circle = screen.Shape[i];
        if (single(static_cast<double>(screen.ScreenHeight) - circle.Height) < circle.Top)
            screen.StepY[i] = -screen.StepY[i];
        if (circle.Left < 0)
            screen.StepX[i] = -screen.StepX[i];
        if (single(static_cast<double>(screen.ScreenWidth) - circle.Width) < circle.Left)
            screen.StepX[i] = -screen.StepX[i];
        if (circle.Top < 0)
            screen.StepY[i] = -screen.StepY[i];
        circle.Move(circle.Left + screen.StepX[i], circle.Top + screen.StepY[i]);
    }
    RideOnCircle0(screen, module);
}

void RideOnCircle0(SaverScreen& screen, const ModuleState& module)
{
    const ShapeElement& circle0 = screen.Shape[0];
    screen.lblT.Top = single(double {circle0.Top} + module.Radius[0] - screen.TimeHalfHeight);
    screen.lblT.Left = single(double {circle0.Left} + module.Radius[0] - screen.TimeHalfWidth);
}

int CirclesInScene(const SaverScreen& screen, int slots) { return std::min(screen.Shape.Count(), slots); }

} // namespace vortexa
