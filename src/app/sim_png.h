#pragma once
// The simulator's picture of the last frame, drawn by the saver window's own painter where the build
// has one.

#include <string>

#include "app/sim_options.h"
#include "scene/saver_screen.h"

namespace vortexa {

// Why this build renders no PNG, or nothing when it does.
std::string pngUnavailableReason();

// Renders the screen at the size of the options to their PNG file; a failure throws BadOption with
// its one line.
void writePng(const SimOptions& options, const SaverScreen& screen, int argc, char** argv);

} // namespace vortexa
