#pragma once
// What a frame of the show repaints: the boxes of the window where something changed since the
// last frame, and for each box the elements that meet it, in drawing order. A painter paints each
// box black and then those elements, clipped to the box, so that the window always shows what a
// fresh picture of the records shows, and draws little when little changed.
//
// The elements come as the painter drew them: any record with `reach`, the PixelBox of every pixel
// it may set, and an equality that holds when it draws the same pixels in the same place. A painter
// that knows its elements' pixels also gives `movedOnly(before, now)`, true when `now` draws the
// very pixels of `before` at another place, and `pixelsMeet`; an element that only moved, away
// from every other element's pixels, is then left to the painter to move on its own (see Move).

#include <algorithm>
#include <concepts>
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

// An element that only moved, alone: no other element of this frame shares a pixel with its old
// place or its new one. After the boxes are repainted, which leave it out, a painter moves it by
// erasing its old pixels and drawing its new ones: nothing else is lit there, and whatever a box
// erased there it draws again. Elements that move away from each other cost no more than their
// own pixels, where repainting boxes would draw everything their boxes meet.
template <typename Drawn> struct Move {
    Drawn before;
    size_t element = 0; // index into the frame's elements
};

// A painter that can shift an element's pixels says which elements only moved and which share a
// pixel; `pixelsMeet` may answer true for elements whose boxes merely meet.
template <typename Drawn>
concept ShiftsPixels = requires(const Drawn& before, const Drawn& now)
{
    {
        movedOnly(before, now)
        } -> std::convertible_to<bool>;
    {
        pixelsMeet(before, now)
        } -> std::convertible_to<bool>;
};

// Whether one of the moves is of element k of the frame, or from `element` of the last frame.
template <typename Drawn> bool movedTo(const std::vector<Move<Drawn>>& moves, size_t k)
{
    return std::any_of(moves.begin(), moves.end(), [k](const Move<Drawn>& move) { return move.element == k; });
}
template <typename Drawn> bool movedFrom(const std::vector<Move<Drawn>>& moves, const Drawn& element)
{
    return std::any_of(moves.begin(), moves.end(), [&](const Move<Drawn>& move) { return move.before == element; });
}

// Each box with the elements of `now` that meet it, but for those the painter moves.
template <typename Drawn>
std::vector<Repaint> repaintsOf(
    std::vector<PixelBox> boxes, const std::vector<Drawn>& now, const std::vector<Move<Drawn>>& moves = {})
{
    std::vector<Repaint> repaints;
    for (const PixelBox& box : mergedBoxes(std::move(boxes))) {
        Repaint repaint {box, {}};
        for (size_t k = 0; k < now.size(); ++k)
            if (boxesMeet(box, now[k].reach) && !movedTo(moves, k))
                repaint.elements.push_back(k);
        repaints.push_back(std::move(repaint));
    }
    return repaints;
}

template <typename Drawn> bool holds(const std::vector<Drawn>& items, const Drawn& item)
{
    return std::find(items.begin(), items.end(), item) != items.end();
}

// The elements that only moved, alone (see Move).
template <typename Drawn>
std::vector<Move<Drawn>> loneMoves(const std::vector<Drawn>& before, const std::vector<Drawn>& now)
{
    std::vector<Move<Drawn>> moves;
    if constexpr (ShiftsPixels<Drawn>) {
        const auto alone = [&now](size_t n, const Drawn& old) {
            for (size_t k = 0; k < now.size(); ++k)
                if (k != n && (pixelsMeet(now[k], now[n]) || pixelsMeet(now[k], old)))
                    return false;
            return true;
        };
        for (size_t n = 0; n < now.size(); ++n) {
            if (holds(before, now[n]))
                continue;
            const auto old = std::find_if(
                before.begin(), before.end(), [&](const Drawn& element) { return movedOnly(element, now[n]); });
            if (old != before.end() && alone(n, *old))
                moves.push_back({*old, n});
        }
    }
    return moves;
}

// The old place of every element that went or changed, and the new place of every element that
// came or changed, but for the moves left to the painter; `extra` adds boxes the system asked to
// have repainted.
template <typename Drawn>
std::vector<Repaint> changesBetween(const std::vector<Drawn>& before, const std::vector<Drawn>& now,
    std::vector<PixelBox> extra = {}, const std::vector<Move<Drawn>>& moves = {})
{
    std::vector<PixelBox> boxes = std::move(extra);
    for (const Drawn& element : before)
        if (!holds(now, element) && !movedFrom(moves, element))
            boxes.push_back(element.reach);
    for (size_t k = 0; k < now.size(); ++k)
        if (!holds(before, now[k]) && !movedTo(moves, k))
            boxes.push_back(now[k].reach);
    return repaintsOf(std::move(boxes), now, moves);
}

// What a frame repaints: the boxes, and the elements of the last frame that went or changed. A
// painter that paints each box black first needs no more; one that keeps the window's pixels and
// erases by shape (cheaper where little of a box is lit) paints those elements black instead,
// except when the frame is the whole window, which it clears. The moves are the painter's to
// shift, and lie in no box; what they moved from is not among the gone.
template <typename Drawn> struct FrameRepaint {
    bool wholeWindow = false;
    std::vector<Drawn> gone;
    std::vector<Repaint> boxes;
    std::vector<Move<Drawn>> moves;
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
            frame.moves = loneMoves(m_shown, now);
            for (const Drawn& element : m_shown)
                if (!holds(now, element) && !movedFrom(frame.moves, element))
                    frame.gone.push_back(element);
            frame.boxes = changesBetween(m_shown, now, std::move(m_extra), frame.moves);
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
