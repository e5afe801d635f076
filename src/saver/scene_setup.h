#pragma once
// Turns the settings into the starting arrangement of the scene.

#include "scene/module_state.h"
#include "scene/saver_screen.h"

namespace vortexa {

class Form2;

struct SavedSettings;

// The settings of a start-up: those of the file or the command line (ReadRunSettings), or in a
// preview the dialog's choices, held to the same ranges.
void TakeSettings(ModuleState& module, SaverScreen& screen, const SavedSettings& settings);
void TakeSettingsFromDialog(ModuleState& module, SaverScreen& screen, const Form2& dialog);

// The hint sits on the bottom edge, 10 twips from the left, in grey 90.
void PlaceHint(SaverScreen& screen);

// Creates and places the circles of the chosen script and enables that script's timer record.
void BuildScript(SaverScreen& screen, ModuleState& module);

// Builds the dial clock when the clock choice is a dial.
void BuildClockDisplay(SaverScreen& screen, ModuleState& module);

// Measures circle 0 and the time label, and hides the label when no clock is wanted.
void MeasureScene(SaverScreen& screen, ModuleState& module);

} // namespace vortexa
