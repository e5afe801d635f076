#pragma once
// The once-a-second tick of the saver screen: the captives rule of "Opposition", the time label,
// the dial's contents and the fading hint.

#include <string>

#include "platform/platform.h"
#include "scene/module_state.h"
#include "scene/saver_screen.h"

namespace vortexa {

// Hours (0..23), minutes and seconds of a date value's time of day, to the nearest second.
struct ClockReading {
    int hours = 0;
    int minutes = 0;
    int seconds = 0;
};
ClockReading ReadClock(double date);

// The time from start to now as a fraction of a day, counted modulo one day, so a start before
// midnight looked at after it gives the hours in between.
double ElapsedSince(double start, double now);

// A duration as hours, minutes and seconds, "H:mm:ss", the same in every locale.
std::string DurationText(double days);

void ClockTick(SaverScreen& screen, ModuleState& module, Platform& platform);

} // namespace vortexa
