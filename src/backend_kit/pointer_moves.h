#pragma once
// Which of the pointer's reports are moves the show hears of. The window system also reports the
// pointer when a window appears under it; only a change of place is a move. The screen's places
// are measured in twips from the primary monitor's corner, also for moves over the other monitors.

#include <optional>

#include "records/elements.h"

namespace vortexa {

struct TwipsPoint {
    float x = 0, y = 0;
};

class PointerMoves {
public:
    // The pointer's place when the show starts, in pixels of the whole desktop.
    PointerMoves(double x, double y)
        : m_x(x)
        , m_y(y)
    {
    }

    // The place of a move to (x, y) for the handler, or nothing when the pointer is where it was;
    // (primaryLeft, primaryTop) is the primary monitor's corner on the desktop.
    std::optional<TwipsPoint> movedTo(double x, double y, double primaryLeft, double primaryTop)
    {
        if (x == m_x && y == m_y)
            return std::nullopt;
        m_x = x;
        m_y = y;
        return TwipsPoint {static_cast<float>((x - primaryLeft) * TwipsPerPixel),
            static_cast<float>((y - primaryTop) * TwipsPerPixel)};
    }

private:
    double m_x, m_y;
};

} // namespace vortexa
