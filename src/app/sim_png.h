#pragma once
// The simulator's picture of the last frame, drawn by the saver window's own painter where the build
// has one.

#include <string>

#include "scene/saver_screen.h"

namespace vortexa {

// Why this build renders no PNG, or nothing when it does.
std::string pngUnavailableReason();

// Renders the screen at the given size in pixels to a PNG file; false when it cannot be written.
bool renderPng(
    const SaverScreen& screen, int widthPixels, int heightPixels, const std::string& file, int argc, char** argv);

} // namespace vortexa
