#pragma once
// The frame rate a user may ask to see over the show (--fps): the frames painted a second and the
// processor load of the program, read once a second from what the platform counts, in small text
// at the bottom left of the screen.

#include <string>

#include "platform/platform.h"
#include "scene/saver_screen.h"

namespace vortexa {

// "FPS: 59.9  Load: 3.2%" for the cost between two readings; the load is the share of one
// processor the program took.
std::string FrameRateText(const ShowCost& from, const ShowCost& to);

// Places the label at the bottom left, above the hint while the hint shows.
void PlaceFrameRate(SaverScreen& screen);

// Takes a reading: from the second one on, the label shows the rate since the reading before. A
// platform that counts nothing leaves it hidden.
void UpdateFrameRate(SaverScreen& screen, const ShowCost& now);

} // namespace vortexa
