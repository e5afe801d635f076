#pragma once
// The scale of an X screen: device pixels to each of the screen's logical pixels (96 to the inch),
// from the `Xft.dpi` resource desktops set for high-resolution monitors, as the toolkit takes it.

#include <xcb/xcb.h>

#include <optional>
#include <string_view>

namespace vortexa {

// The value of `Xft.dpi` in the text of the resource database (lines "name:\tvalue"), if it holds a
// positive number.
std::optional<double> resourceDpi(std::string_view resources);

// The scale for that many dots to the inch: 1 without the resource.
double scaleOfDpi(std::optional<double> dpi);

// The scale of the screen whose root window is `root`, from its resource database.
double screenScale(xcb_connection_t* connection, xcb_window_t root);

} // namespace vortexa
