#include "platform/x11/screen_scale.h"

#include <charconv>
#include <cstdlib>
#include <string>

namespace vortexa {

namespace {

constexpr double LogicalDpi = 96;

std::string_view trimmed(std::string_view text)
{
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

} // namespace

std::optional<double> resourceDpi(std::string_view resources)
{
    std::optional<double> dpi;
    while (!resources.empty()) {
        const size_t end = resources.find('\n');
        const std::string_view line = resources.substr(0, end);
        resources = end == std::string_view::npos ? std::string_view {} : resources.substr(end + 1);
        const size_t colon = line.find(':');
        if (colon == std::string_view::npos || trimmed(line.substr(0, colon)) != "Xft.dpi")
            continue;
        const std::string_view value = trimmed(line.substr(colon + 1));
        double number = 0;
        const auto [rest, error] = std::from_chars(value.data(), value.data() + value.size(), number);
        // The last line of a name wins, as in the resource database itself.
        dpi = error == std::errc {} && rest == value.data() + value.size() && number > 0 ? std::optional(number)
                                                                                         : std::nullopt;
    }
    return dpi;
}

double scaleOfDpi(std::optional<double> dpi) { return dpi ? *dpi / LogicalDpi : 1.0; }

double screenScale(xcb_connection_t* connection, xcb_window_t root)
{
    // The database is a few kilobytes; a longer one is read as far as this goes.
    constexpr uint32_t MostWords = 1 << 16;
    xcb_get_property_reply_t* reply = xcb_get_property_reply(connection,
        xcb_get_property(connection, 0, root, XCB_ATOM_RESOURCE_MANAGER, XCB_ATOM_STRING, 0, MostWords), nullptr);
    if (!reply)
        return 1.0;
    const std::string_view resources(static_cast<const char*>(xcb_get_property_value(reply)),
        static_cast<size_t>(xcb_get_property_value_length(reply)));
    const double scale = scaleOfDpi(resourceDpi(resources));
    std::free(reply);
    return scale;
}

} // namespace vortexa
