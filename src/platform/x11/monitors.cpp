#include "platform/x11/monitors.h"

#include <xcb/randr.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace vortexa {

namespace {

// True when the server's RandR reports monitors (version 1.5 on).
bool reportsMonitors(xcb_connection_t* connection)
{
    const xcb_query_extension_reply_t* extension = xcb_get_extension_data(connection, &xcb_randr_id);
    if (!extension || !extension->present)
        return false;
    xcb_randr_query_version_reply_t* version
        = xcb_randr_query_version_reply(connection, xcb_randr_query_version(connection, 1, 5), nullptr);
    const bool reports = version && (version->major_version > 1 || version->minor_version >= 5);
    std::free(version);
    return reports;
}

std::vector<Monitor> monitorsOfScreen(xcb_connection_t* connection, int number, const xcb_screen_t& screen, bool randr)
{
    std::vector<Monitor> monitors;
    if (randr) {
        xcb_randr_get_monitors_reply_t* reply
            = xcb_randr_get_monitors_reply(connection, xcb_randr_get_monitors(connection, screen.root, 1), nullptr);
        if (reply)
            for (auto it = xcb_randr_get_monitors_monitors_iterator(reply); it.rem; xcb_randr_monitor_info_next(&it))
                if (it.data->width > 0 && it.data->height > 0)
                    monitors.push_back(
                        {number, {it.data->x, it.data->y, it.data->width, it.data->height}, it.data->primary != 0});
        std::free(reply);
    }
    if (monitors.empty())
        monitors.push_back({number, {0, 0, screen.width_in_pixels, screen.height_in_pixels}, false});
    return monitors;
}

} // namespace

std::vector<Monitor> monitorsOf(xcb_connection_t* connection, int defaultScreen)
{
    const bool randr = reportsMonitors(connection);
    std::vector<Monitor> monitors;
    int number = 0;
    for (auto screens = xcb_setup_roots_iterator(xcb_get_setup(connection)); screens.rem;
         xcb_screen_next(&screens), ++number) {
        std::vector<Monitor> ofScreen = monitorsOfScreen(connection, number, *screens.data, randr);
        if (number != defaultScreen)
            for (Monitor& monitor : ofScreen)
                monitor.primary = false;
        monitors.insert(monitors.end(), ofScreen.begin(), ofScreen.end());
    }
    const auto primary = std::find_if(monitors.begin(), monitors.end(), [](const Monitor& m) { return m.primary; });
    if (primary != monitors.end())
        std::for_each(primary + 1, monitors.end(), [](Monitor& m) { m.primary = false; });
    else if (const auto first = std::find_if(monitors.begin(), monitors.end(),
                 [defaultScreen](const Monitor& m) { return m.screen == defaultScreen; });
             first != monitors.end())
        first->primary = true;
    else if (!monitors.empty())
        monitors.front().primary = true;
    return monitors;
}

std::optional<int> refreshRateOf(xcb_connection_t* connection, xcb_window_t root, const MonitorArea& area)
{
    if (!reportsMonitors(connection))
        return std::nullopt;
    xcb_randr_get_screen_resources_current_reply_t* resources = xcb_randr_get_screen_resources_current_reply(
        connection, xcb_randr_get_screen_resources_current(connection, root), nullptr);
    if (!resources)
        return std::nullopt;
    std::optional<int> rate;
    const xcb_randr_crtc_t* crtcs = xcb_randr_get_screen_resources_current_crtcs(resources);
    const xcb_randr_mode_info_t* modes = xcb_randr_get_screen_resources_current_modes(resources);
    const int modeCount = xcb_randr_get_screen_resources_current_modes_length(resources);
    for (int c = 0; c < xcb_randr_get_screen_resources_current_crtcs_length(resources) && !rate; ++c) {
        xcb_randr_get_crtc_info_reply_t* crtc = xcb_randr_get_crtc_info_reply(
            connection, xcb_randr_get_crtc_info(connection, crtcs[c], resources->config_timestamp), nullptr);
        if (crtc && crtc->mode && crtc->x == area.left && crtc->y == area.top)
            for (int m = 0; m < modeCount; ++m)
                if (modes[m].id == crtc->mode && modes[m].htotal > 0 && modes[m].vtotal > 0) {
                    double lines = modes[m].vtotal;
                    if (modes[m].mode_flags & XCB_RANDR_MODE_FLAG_DOUBLE_SCAN)
                        lines *= 2;
                    if (modes[m].mode_flags & XCB_RANDR_MODE_FLAG_INTERLACE)
                        lines /= 2;
                    const double perSecond = modes[m].dot_clock / (modes[m].htotal * lines);
                    if (perSecond >= 1)
                        rate = static_cast<int>(std::lround(perSecond));
                }
        std::free(crtc);
    }
    std::free(resources);
    return rate;
}

void followMonitorChanges(xcb_connection_t* connection, xcb_window_t root)
{
    const xcb_query_extension_reply_t* extension = xcb_get_extension_data(connection, &xcb_randr_id);
    if (extension && extension->present)
        xcb_randr_select_input(connection, root, XCB_RANDR_NOTIFY_MASK_SCREEN_CHANGE);
}

} // namespace vortexa
