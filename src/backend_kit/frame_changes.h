#pragma once
// What a frame of the show repaints: the boxes of the window where something changed since the
// last frame, and for each box the elements that meet it, in drawing order. A painter paints each
// box black and then those elements, clipped to the box, so that the window always shows what a
// fresh picture of the records shows, and draws little when little changed.
//
// The elements come as the painter drew them: any record with `reach`, the PixelBox of every pixel
// it may set, and an equality that holds when it draws the same pixels in the same place.

#include <algorithm>
#include <cstddef>
#include <utility>
#include <vector>

#include "backend_kit/render_geometry.h"

namespace vortexa {

struct Repaint {
    PixelBox box;
    std::vector<size_t> elements; // indices into the frame's elements, in drawing order
    friend bool operator==(const Repaint&, const Repaint&) = default;
};

inline bool boxesMeet(const PixelBox& a, const PixelBox& b)
{
    return !a.empty() && !b.empty() && a.left < b.right() && b.left < a.right() && a.top < b.bottom()
        && b.top < a.bottom();
}

inline PixelBox boxAround(const PixelBox& a, const PixelBox& b)
{
    const int left = std::min(a.left, b.left), top = std::min(a.top, b.top);
    return {left, top, std::max(a.right(), b.right()) - left, std::max(a.bottom(), b.bottom()) - top};
}

// Boxes that overlap become the box around both, so that no pixel is painted twice in a frame.
inline std::vector<PixelBox> mergedBoxes(std::vector<PixelBox> boxes)
{
    std::erase_if(boxes, [](const PixelBox& box) { return box.empty(); });
    for (bool merged = true; merged;) {
        merged = false;
        for (size_t i = 0; i < boxes.size() && !merged; ++i)
            for (size_t j = i + 1; j < boxes.size() && !merged; ++j)
                if (boxesMeet(boxes[i], boxes[j])) {
                    boxes[i] = boxAround(boxes[i], boxes[j]);
                    boxes.erase(boxes.begin() + static_cast<std::ptrdiff_t>(j));
                    merged = true;
                }
    }
    return boxes;
}

// Each box with the elements of `now` that meet it.
template <typename Drawn> std::vector<Repaint> repaintsOf(std::vector<PixelBox> boxes, const std::vector<Drawn>& now)
{
    std::vector<Repaint> repaints;
    for (const PixelBox& box : mergedBoxes(std::move(boxes))) {
        Repaint repaint {box, {}};
        for (size_t k = 0; k < now.size(); ++k)
            if (boxesMeet(box, now[k].reach))
                repaint.elements.push_back(k);
        repaints.push_back(std::move(repaint));
    }
    return repaints;
}

// The old place of every element that went or changed, and the new place of every element that
// came or changed; `extra` adds boxes the system asked to have repainted.
template <typename Drawn>
std::vector<Repaint> changesBetween(
    const std::vector<Drawn>& before, const std::vector<Drawn>& now, std::vector<PixelBox> extra = {})
{
    const auto contains = [](const std::vector<Drawn>& items, const Drawn& item) {
        return std::find(items.begin(), items.end(), item) != items.end();
    };
    std::vector<PixelBox> boxes = std::move(extra);
    for (const Drawn& element : before)
        if (!contains(now, element))
            boxes.push_back(element.reach);
    for (const Drawn& element : now)
        if (!contains(before, element))
            boxes.push_back(element.reach);
    return repaintsOf(std::move(boxes), now);
}

// What a frame repaints: the boxes, and the elements of the last frame that went or changed. A
// painter that paints each box black first needs no more; one that keeps the window's pixels and
// erases by shape (cheaper where little of a box is lit) paints those elements black instead,
// except when the frame is the whole window, which it clears.
template <typename Drawn> struct FrameRepaint {
    bool wholeWindow = false;
    std::vector<Drawn> gone;
    std::vector<Repaint> boxes;
};

// A window's last frame, and what the next one repaints.
template <typename Drawn> class FrameChanges {
public:
    // The window's pixels are lost (exposed, resized, rescaled): the next frame repaints it whole.
    void forgetWindow() { m_wholeWindow = true; }
    // The next frame also repaints this box.
    void repaintBox(const PixelBox& box) { m_extra.push_back(box); }

    // What brings the window, whose box is `whole`, from the last frame to `now`, which becomes the
    // last frame.
    FrameRepaint<Drawn> next(std::vector<Drawn> now, const PixelBox& whole)
    {
        FrameRepaint<Drawn> frame;
        frame.wholeWindow = m_wholeWindow;
        if (m_wholeWindow) {
            frame.boxes = repaintsOf(std::vector<PixelBox> {whole}, now);
        } else {
            for (const Drawn& element : m_shown)
                if (std::find(now.begin(), now.end(), element) == now.end())
                    frame.gone.push_back(element);
            frame.boxes = changesBetween(m_shown, now, std::move(m_extra));
        }
        m_extra.clear();
        m_wholeWindow = false;
        m_shown = std::move(now);
        return frame;
    }

    // The elements of the last frame, which the indices of its repaints name.
    const std::vector<Drawn>& shown() const { return m_shown; }

private:
    std::vector<Drawn> m_shown;
    std::vector<PixelBox> m_extra;
    bool m_wholeWindow = true;
};

} // namespace vortexa
