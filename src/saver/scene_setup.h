#pragma once
// Turns the settings into the starting arrangement of the scene.

#include "scene/module_state.h"
#include "scene/saver_screen.h"

namespace vortexa {

class Form2;

// The three sources of settings; exactly one is used per start-up.
void TakeSettingsFromDialog(ModuleState& module, SaverScreen& screen, const Form2& dialog);
void TakeSettingsFromFile(ModuleState& module, SaverScreen& screen);
void TakeDefaultSettings(ModuleState& module, SaverScreen& screen);

// Holds values that only a hand-edited file can give within what the scene can show: the circle
// count within 1 and the most the dialog offers for the script, the line width within 1..3.
void KeepSettingsInRange(ModuleState& module, SaverScreen& screen);

// The hint sits on the bottom edge, 10 twips from the left, in grey 90.
void PlaceHint(SaverScreen& screen);

// Creates and places the circles of the chosen script and enables that script's timer record.
void BuildScript(SaverScreen& screen, ModuleState& module);

// Builds the dial clock when the clock choice is a dial.
void BuildClockDisplay(SaverScreen& screen, ModuleState& module);

// Measures circle 0 and the time label, and hides the label when no clock is wanted.
void MeasureScene(SaverScreen& screen, ModuleState& module);

} // namespace vortexa
