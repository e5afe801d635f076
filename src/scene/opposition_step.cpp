#include <algorithm>

#include "records/numeric.h"
#include "scene/script_steps.h"

namespace vortexa {

namespace {

constexpr int PullBack = 15;

// A threshold that widens a face's span by half a circle: a true half, compared in single
// precision.
float widened(int32_t edge, double halfDiameter) { return single(edge + halfDiameter); }

// The block's position as whole twips; a coordinate that cannot be held leaves 0 in its place.
BlockSnapshot takeSnapshot(const ShapeElement& block)
{
    BlockSnapshot snapshot;
    if (const auto top = toInt32(block.Top))
        snapshot.top0 = *top;
    if (const auto left = toInt32(block.Left))
        snapshot.left0 = *left;
    return snapshot;
}

// The four pairs of rules, in order: each screen edge with the block face that reverses the same
// step. A face bounce also moves the circle at once by the reversed step.
void bounce(SaverScreen& screen, const ModuleState& module, BlockSnapshot block, int i)
{
    ShapeElement& circle = screen.Shape[i];
    int32_t& stepX = screen.StepX[i];
    int32_t& stepY = screen.StepY[i];
    const int32_t d = module.Diameter[i];
    const int32_t d0 = module.Diameter[0];
    const double half = d / 2.0;
    const auto [top0, left0] = block;

    if (circle.Top > screen.ScreenHeight - d) {
        stepY = -stepY;
    } else if (top0 - d < circle.Top && circle.Top < top0) { // top face
        if (widened(left0, -half) < circle.Left && circle.Left < widened(left0 + d0, half)) {
            stepY = -stepY;
            circle.Top += stepY;
        }
    }
    if (circle.Left > screen.ScreenWidth - d) {
        stepX = -stepX;
    } else if (left0 - d < circle.Left && circle.Left < left0) { // left face, with the narrower span
        if (top0 < circle.Top && circle.Top < top0 + d0) {
            stepX = -stepX;
            circle.Left += stepX;
        }
    }
    if (circle.Left < 0) {
        stepX = -stepX;
    } else if (left0 + d0 - d < circle.Left && circle.Left < left0 + d0) { // right face
        if (widened(top0, -half) < circle.Top && circle.Top < widened(top0 + d0, half)) {
            stepX = -stepX;
            circle.Left += stepX;
        }
    }
    if (circle.Top < 0) {
        stepY = -stepY;
    } else if (top0 + d0 - d < circle.Top && circle.Top < top0 + d0) { // bottom face
        if (widened(left0, -half) < circle.Left && circle.Left < widened(left0 + d0, half)) {
            stepY = -stepY;
            circle.Top += stepY;
        }
    }
}

// A circle whose bottom or right side lies past the screen edge is pulled back, once.
void pullBack(SaverScreen& screen, const ModuleState& module, int i)
{
    ShapeElement& circle = screen.Shape[i];
    const int32_t d = module.Diameter[i];
    if (circle.Top > screen.ScreenHeight - d)
        circle.Top -= PullBack;
    else if (circle.Left > screen.ScreenWidth - d)
        circle.Left -= PullBack;
}

// The block turns back one circle diameter before each screen edge, judged on the snapshot, and
// moves from the snapshot.
void driftBlock(SaverScreen& screen, const ModuleState& module, BlockSnapshot block)
{
    const int32_t d0 = module.Diameter[0];
    const int32_t margin = module.Diameter[1];
    if (block.top0 > screen.ScreenHeight - d0 - margin)
        screen.StepY[0] = -screen.StepY[0];
    if (block.left0 < margin)
        screen.StepX[0] = -screen.StepX[0];
    if (block.left0 > screen.ScreenWidth - d0 - margin)
        screen.StepX[0] = -screen.StepX[0];
    if (block.top0 < margin)
        screen.StepY[0] = -screen.StepY[0];
    screen.Shape[0].Move(single(block.left0 + screen.StepX[0]), single(block.top0 + screen.StepY[0]));
}

} // namespace

void OppositionStep(SaverScreen& screen, ModuleState& module)
{
    const BlockSnapshot block = takeSnapshot(screen.Shape[0]);
    // Every rule of a circle beyond the per-circle arrays, or of a circle that is not loaded, would
    // fail; such a circle is left as it is.
    const int32_t last = std::min(toInt32(module.CircleCount - 1).value_or(0), ShapeSlots - 1);
    for (module.LoopIndex = 1; module.LoopIndex <= last; ++module.LoopIndex) {
        const int i = module.LoopIndex;
        if (!screen.Shape.exists(i))
            continue;
        bounce(screen, module, block, i);
        ShapeElement& circle = screen.Shape[i];
        circle.Move(circle.Left + screen.StepX[i], circle.Top + screen.StepY[i]);
        pullBack(screen, module, i);
    }
    driftBlock(screen, module, block);
    PlaceDial(screen, module, block);
}

} // namespace vortexa
