#pragma once
// The per-tick behaviour of the scene: one step for each script, the dial placement that ends an
// Opposition step, and the regrouping of every third minute. Each works on the state it is given.

#include <cstdint>

#include "scene/module_state.h"
#include "scene/saver_screen.h"

namespace vortexa {

// The block's position at the start of an Opposition step, in whole twips. It is held in 32 bits
// so that the block drifts the same on every screen width.
struct BlockSnapshot {
    int32_t top0 = 0;
    int32_t left0 = 0;
};

// "Independence": each circle flies on its own and turns back at the four screen edges.
void IndependenceStep(SaverScreen& screen, ModuleState& module);

// "Capture": the captured circles run straight and turn back inside circle 0, which roams the
// screen. Returns false when a captured circle turned and the tick ended there.
bool CaptureStep(SaverScreen& screen, ModuleState& module);

// "Opposition": the circles bounce off the screen edges and the block's faces; the block drifts
// with a margin of one circle diameter; then the dial or the time label is put on the block.
void OppositionStep(SaverScreen& screen, ModuleState& module);

// Puts the dial clock, or the time label when there is no dial, on the block as it stood at the
// start of the step.
void PlaceDial(SaverScreen& screen, const ModuleState& module, BlockSnapshot block);

// The time label rides on the centre of circle 0.
void RideOnCircle0(SaverScreen& screen, const ModuleState& module);

// The regrouping timer's tick: every third minute the circles get new colours and, in "Capture"
// and "Opposition", gather in the middle of the screen.
void Regroup(SaverScreen& screen, ModuleState& module);

// The number of circles a loop over the scene handles: the loaded elements of Shape, within the
// per-circle arrays.
int CirclesInScene(const SaverScreen& screen, int slots = ShapeSlots);

} // namespace vortexa
