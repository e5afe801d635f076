#pragma once
// The state that lives for the whole run of the program and that the saver screen and the settings
// dialog share by name.

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "platform/random_source.h"

namespace vortexa {

constexpr int ShapeSlots = 21; // StepX, StepY and Diameter hold circles 0..20
constexpr int CaptureShapeSlots = 14; // Radius and Distance hold circles 0..13
constexpr int IniSlots = 11;
constexpr int ColorTableSize = 18;
constexpr int DrawnColours = 17; // a colour pick never reaches the last entry

// The scripts: 1 "Independence", 2 "Capture", 3 "Opposition".
constexpr int16_t DefaultScript = 1;
constexpr bool isScript(int value) { return value >= 1 && value <= 3; }

// The circle counts the dialog offers for a script; the most is also the most the script can draw.
struct CircleRange {
    int fewest;
    int most;
};
constexpr CircleRange circleRangeOf(int script)
{
    constexpr CircleRange ranges[] = {{6, 12}, {6, 10}, {10, 20}};
    return ranges[isScript(script) ? script - 1 : DefaultScript - 1];
}

// Settings given on the command line for this run; each one set wins over the settings file.
// Values are those of the file's lines: the clock and captives choices as list indexes.
struct SettingOverrides {
    std::optional<int> CircleCount; // krugN
    std::optional<int> BorderWidth;
    std::optional<int> Speed;
    std::optional<int> ViewTime; // 0..4
    std::optional<int> Scenario; // 1..3
    std::optional<int> Captives; // Plen: 0 taken captive, 1 removed
    std::optional<int> Language; // Local: 0 Russian, 1 English
    bool IgnoreFile = false; // settings not given take the values of a missing file
    // Shows the frame rate over the scene; no setting of the file, so any() leaves it out.
    bool ShowFrameRate = false;
    bool any() const
    {
        return IgnoreFile || CircleCount || BorderWidth || Speed || ViewTime || Scenario || Captives || Language;
    }
};

struct ModuleState {
    int16_t Scenario = 0; // 1 "Independence", 2 "Capture", 3 "Opposition"
    float CircleCount = 0;
    float BaseStep = 0;
    float StepIncrement = 0;
    std::string ViewTime; // index text of the clock choice, "0".."4"
    std::string Captives; // index text of the captives choice, "0" or "1"
    float Language = 0; // 0 Russian, 1 English
    bool PreviewMode = false;
    bool GraphicClock = false;
    int32_t LoopIndex = 0;
    std::array<int32_t, CaptureShapeSlots> Radius {};
    std::array<int32_t, ShapeSlots> Diameter {};
    std::array<int32_t, CaptureShapeSlots> Distance {};
    std::array<float, 3> HandAngle {};
    std::array<std::string, ColorTableSize> ColorTable {};
    std::array<std::string, IniSlots> IniValue {};
    int32_t IniLine = 0;
    std::string CaptivesPrompt;
    std::string TimePrompt;
    std::string ClockWarning;
    RandomSource Random;
    SettingOverrides Overrides;
};

// Fills ColorTable with the circle colours.
void FillColorTable(ModuleState& module);

// One colour pick: a single draw r and the entry floor(r * 17) of ColorTable, as a colour value.
uint32_t PickColour(ModuleState& module);

} // namespace vortexa
