#pragma once
// Which monitors a show covers in black. The scene's view fills the primary monitor and stays above
// the covers, so a monitor that overlaps the primary (a mirror of another resolution, a projector)
// leaves the scene whole; a monitor that shows nothing beyond the primary gets no cover at all.

#include <vector>

namespace vortexa {

// A monitor's place on the desktop, in pixels.
struct MonitorArea {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    friend bool operator==(const MonitorArea&, const MonitorArea&) = default;
};

constexpr bool liesWithin(const MonitorArea& inner, const MonitorArea& outer)
{
    return inner.left >= outer.left && inner.top >= outer.top && inner.left + inner.width <= outer.left + outer.width
        && inner.top + inner.height <= outer.top + outer.height;
}

// The monitors that get a view: the primary, for the scene, and each other one that shows some of
// the desktop the primary does not. areaOf(monitor) gives a monitor's MonitorArea.
template <typename Monitor, typename AreaOf>
std::vector<Monitor> monitorsToShowOn(const std::vector<Monitor>& monitors, const Monitor& primary, AreaOf areaOf)
{
    const MonitorArea primaryArea = areaOf(primary);
    std::vector<Monitor> shown;
    for (const Monitor& monitor : monitors)
        if (monitor == primary || !liesWithin(areaOf(monitor), primaryArea))
            shown.push_back(monitor);
    return shown;
}

} // namespace vortexa
