#pragma once
// The covered pixels of a picture, row by row, as runs across: a wide outline crosses most rows in
// two runs, and two pictures share a pixel only where their runs on a row overlap.

#include <cstdint>
#include <span>
#include <vector>

#include "backend_kit/shape_raster.h"

namespace vortexa {

struct PixelRun {
    int left = 0, right = 0; // the pixels left <= x < right
    friend bool operator==(const PixelRun&, const PixelRun&) = default;
};

class PixelRuns {
public:
    PixelRuns() = default;
    explicit PixelRuns(const RasterPicture& picture);

    int height() const { return static_cast<int>(m_rowStarts.size()) - 1; }
    // The runs of row y, left to right; none outside the picture.
    std::span<const PixelRun> row(int y) const
    {
        if (y < 0 || y >= height())
            return {};
        const uint32_t first = m_rowStarts[static_cast<size_t>(y)];
        return {m_runs.data() + first, m_rowStarts[static_cast<size_t>(y) + 1] - first};
    }

private:
    std::vector<PixelRun> m_runs;
    std::vector<uint32_t> m_rowStarts {0}; // row y's runs are m_runs[m_rowStarts[y], m_rowStarts[y + 1])
};

struct PixelPlace {
    int x = 0, y = 0;
    friend bool operator==(const PixelPlace&, const PixelPlace&) = default;
};

// Whether the picture of `one` at `oneAt` and that of `other` at `otherAt` cover a pixel in common.
bool runsMeet(const PixelRuns& one, PixelPlace oneAt, const PixelRuns& other, PixelPlace otherAt);

} // namespace vortexa
