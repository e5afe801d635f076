#include "clock/clock_tick.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>

#include "records/numeric.h"

namespace vortexa {

namespace {

constexpr double RadiansPerMinute = 0.10472; // one sixtieth of a turn
constexpr int HintStartGrey = 90;
constexpr int HintGreyPerTick = 10;
constexpr int HintTicksShown = 9;

constexpr double FromStartDigital = 2; // the clock choices that show the time since start
constexpr double FromStartDial = 3;

bool showsTimeSinceStart(double choice) { return choice == FromStartDigital || choice == FromStartDial; }

// A circle is inside the block when its bounding square lies strictly inside the block's.
bool insideBlock(const SaverScreen& screen, const ModuleState& module, int i)
{
    const ShapeElement& block = screen.Shape[0];
    const ShapeElement& circle = screen.Shape[i];
    const int32_t room = module.Diameter[0] - module.Diameter[static_cast<size_t>(i)];
    if (!(block.Top < circle.Top && circle.Top < block.Top + room))
        return false;
    return block.Left < circle.Left && circle.Left < block.Left + room;
}

// Captives are marked dashed, or removed when none are taken; a captive that got out is dotted.
void applyCaptivesRule(SaverScreen& screen, ModuleState& module)
{
    const bool takeNone = textToNumber(module.Captives) == 1;
    const int32_t last = std::min(toInt32(module.CircleCount - 1).value_or(0), ShapeSlots - 1);
    for (module.LoopIndex = 1; module.LoopIndex <= last; ++module.LoopIndex) {
        const int i = module.LoopIndex;
        if (!screen.Shape.exists(i))
            continue; // every statement about a circle that is not loaded would fail
        ShapeElement& circle = screen.Shape[i];
        if (insideBlock(screen, module, i)) {
            if (takeNone) {
                circle.Visible = false;
            } else {
                circle.BorderWidth = 1;
                circle.BorderStyle = BorderDashed;
            }
        } else if (circle.BorderStyle == BorderDashed) {
            circle.BorderStyle = BorderDotted;
        }
    }
}

void writeTimeLabel(SaverScreen& screen, Platform& platform, double choice)
{
    if (choice < 2) {
        screen.lblT.Caption = platform.longTimeText(platform.timeOfDay());
    } else if (showsTimeSinceStart(choice)) {
        screen.ElapsedTime = ElapsedSince(screen.StartTime, platform.timeOfDay());
        screen.lblT.Caption = DurationText(screen.ElapsedTime);
    } else {
        screen.lblT.Visible = false;
    }
}

void showOnDialLabels(SaverScreen& screen, ClockReading reading)
{
    screen.lblS[0].Caption = decimalText(reading.seconds);
    screen.lblS[1].Caption = decimalText(reading.minutes);
    screen.lblS[2].Caption = decimalText(reading.hours);
}

// The labels and hands show the time of day; in the "from start" dial the labels then show the
// time since start while the hands keep the time of day.
void writeDial(SaverScreen& screen, ModuleState& module, Platform& platform, double choice)
{
    const int seconds = ReadClock(platform.timeOfDay()).seconds;
    const int minutes = ReadClock(platform.timeOfDay()).minutes;
    const int hours = ReadClock(platform.timeOfDay()).hours;
    showOnDialLabels(screen, {hours, minutes, seconds});
    module.HandAngle[0] = single((seconds - 15) * RadiansPerMinute);
    module.HandAngle[1] = single((minutes - 15) * RadiansPerMinute);
    module.HandAngle[2] = single(((hours - 3) * 5 + minutes / 12.0) * RadiansPerMinute);
    if (showsTimeSinceStart(choice))
        showOnDialLabels(screen, ReadClock(screen.ElapsedTime));
    if (screen.ShapeS.UBound() > 0)
        if (ShapeElement* hub = screen.ShapeS.find(1))
            hub->BorderColor = screen.Shape[0].BorderColor;
}

void fadeHint(SaverScreen& screen)
{
    // The count stops at the end of its 16-bit range; the hint is long gone by then.
    if (const auto next = toInt16(screen.HintTicks + 1))
        screen.HintTicks = *next;
    if (screen.HintTicks >= HintTicksShown) {
        screen.lblF1.Visible = false;
    } else {
        const int grey = HintStartGrey - HintGreyPerTick * screen.HintTicks;
        screen.lblF1.ForeColor = rgb(grey, grey, grey);
    }
}

} // namespace

ClockReading ReadClock(double date)
{
    const int second = secondOfDay(date);
    return {static_cast<int>(second / 3600), static_cast<int>(second / 60 % 60), static_cast<int>(second % 60)};
}

double ElapsedSince(double start, double now)
{
    const double elapsed = now - start;
    return elapsed < 0 ? elapsed + 1 : elapsed;
}

std::string DurationText(double days)
{
    const ClockReading reading = ReadClock(days);
    char text[40];
    std::snprintf(text, sizeof text, "%d:%02d:%02d", reading.hours, reading.minutes, reading.seconds);
    return text;
}

void ClockTick(SaverScreen& screen, ModuleState& module, Platform& platform)
{
    const double choice = textToNumber(module.ViewTime);
    if (module.Scenario == 3)
        applyCaptivesRule(screen, module);
    writeTimeLabel(screen, platform, choice);
    if (module.GraphicClock)
        writeDial(screen, module, platform, choice);
    fadeHint(screen);
}

} // namespace vortexa
