#include <algorithm>
#include <cmath>
#include <limits>

#include "records/numeric.h"
#include "scene/script_steps.h"

namespace vortexa {

namespace {

constexpr int TurnJump = 100;
constexpr int FullRound = 4; // four quarter turns bring a circle back where it started

// A centre offset as a 16-bit whole number. Captured circles stay near circle 0, far inside the
// range; should one ever leave it, the offset is held at the end of the range, so the circle
// counts as outside and turns back rather than stopping the program.
int32_t centreOffset(double offset)
{
    constexpr double least = std::numeric_limits<int16_t>::min();
    constexpr double most = std::numeric_limits<int16_t>::max();
    return toInt16(offset).value_or(static_cast<int16_t>(std::clamp(offset, least, most)));
}

int32_t distanceFromCircle0(const SaverScreen& screen, const ModuleState& module, int i)
{
    const ShapeElement& captor = screen.Shape[0];
    const ShapeElement& circle = screen.Shape[i];
    const int32_t dy = centreOffset(double {circle.Top} + module.Radius[i] - captor.Top - module.Radius[0]);
    const int32_t dx = centreOffset(double {circle.Left} + module.Radius[i] - captor.Left - module.Radius[0]);
    // The square root is the power 0.5 to the last bit, and the sum of squares is a whole number held
    // exactly, so the whole part is the same.
    return static_cast<int32_t>(std::floor(std::sqrt(static_cast<double>(dy) * dy + static_cast<double>(dx) * dx)));
}

// A quarter turn back inwards (down, right, up, left, down), with a jump in the new direction.
// Returns false when the circle's steps fit none of the four directions.
bool turnBack(SaverScreen& screen, int i)
{
    int32_t& stepX = screen.StepX[i];
    int32_t& stepY = screen.StepY[i];
    ShapeElement& circle = screen.Shape[i];
    const int32_t s = 10 * i + 15;
    if (stepX == 0 && stepY > 0) {
        stepX = s;
        stepY = 0;
        circle.Left = single(double {circle.Left} + stepX + TurnJump);
    } else if (stepY == 0 && stepX > 0) {
        stepX = 0;
        stepY = -s;
        circle.Top = single(double {circle.Top} + stepY - TurnJump);
    } else if (stepX == 0 && stepY < 0) {
        stepX = -s;
        stepY = 0;
        circle.Left = single(double {circle.Left} + stepX - TurnJump);
    } else if (stepY == 0 && stepX < 0) {
        stepX = 0;
        stepY = s;
        circle.Top = single(double {circle.Top} + stepY + TurnJump);
    } else {
        return false;
    }
    return true;
}

// A circle whose four jumps all leave it outside circle 0 would turn on the spot for ever, and
// since every turn ends the tick, the whole scene would stand still. After a full round it is put
// back in the middle of circle 0 instead.
void turnOrRecentre(SaverScreen& screen, const ModuleState& module, int i)
{
    if (++screen.TurnsInARow[i] < FullRound)
        return;
    screen.TurnsInARow[i] = 0;
    const ShapeElement& captor = screen.Shape[0];
    screen.Shape[i].Move(single(double {captor.Left} + module.Radius[0] - module.Radius[i]),
        single(double {captor.Top} + module.Radius[0] - module.Radius[i]));
}

void reflectCircle0(SaverScreen& screen, const ModuleState& module)
{
    const ShapeElement& captor = screen.Shape[0];
    const int32_t d0 = module.Diameter[0];
    if (captor.Top > screen.ScreenHeight - d0)
        screen.StepY[0] = -screen.StepY[0];
    if (captor.Left < 0)
        screen.StepX[0] = -screen.StepX[0];
    if (captor.Left > screen.ScreenWidth - d0)
        screen.StepX[0] = -screen.StepX[0];
    if (captor.Top < 0)
        screen.StepY[0] = -screen.StepY[0];
}

void moveByStep(SaverScreen& screen, int i)
{
    ShapeElement& circle = screen.Shape[i];
    circle.Move(circle.Left + screen.StepX[i], circle.Top + screen.StepY[i]);
}

} // namespace

bool CaptureStep(SaverScreen& screen, ModuleState& module)
{
    const int n = CirclesInScene(screen, CaptureShapeSlots);
    for (module.LoopIndex = 2; module.LoopIndex < n; ++module.LoopIndex) {
        const int i = module.LoopIndex;
        module.Distance[i] = distanceFromCircle0(screen, module, i);
        if (module.Distance[i] > module.Radius[0] - module.Radius[i] && turnBack(screen, i)) {
            turnOrRecentre(screen, module, i);
            return false; // the tick ends with the turn: nothing else moves
        }
        screen.TurnsInARow[i] = 0;
        moveByStep(screen, i);
    }
    reflectCircle0(screen, module);
    moveByStep(screen, 0);
    RideOnCircle0(screen, module);
    return true;
}

} // namespace vortexa
