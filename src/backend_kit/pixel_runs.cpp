#include "backend_kit/pixel_runs.h"

#include <algorithm>

namespace vortexa {

PixelRuns::PixelRuns(const RasterPicture& picture)
{
    m_rowStarts.reserve(static_cast<size_t>(picture.height) + 1);
    for (int y = 0; y < picture.height; ++y) {
        for (int x = 0; x < picture.width;) {
            if (!picture.covered(x, y)) {
                ++x;
                continue;
            }
            const int left = x;
            while (x < picture.width && picture.covered(x, y))
                ++x;
            m_runs.push_back({left, x});
        }
        m_rowStarts.push_back(static_cast<uint32_t>(m_runs.size()));
    }
}

bool runsMeet(const PixelRuns& one, PixelPlace oneAt, const PixelRuns& other, PixelPlace otherAt)
{
    const int top = std::max(oneAt.y, otherAt.y);
    const int bottom = std::min(oneAt.y + one.height(), otherAt.y + other.height());
    for (int y = top; y < bottom; ++y) {
        const std::span<const PixelRun> mine = one.row(y - oneAt.y), theirs = other.row(y - otherAt.y);
        // Both rows are in order: step past whichever run ends first.
        for (size_t m = 0, t = 0; m < mine.size() && t < theirs.size();) {
            const int mineLeft = mine[m].left + oneAt.x, mineRight = mine[m].right + oneAt.x;
            const int theirLeft = theirs[t].left + otherAt.x, theirRight = theirs[t].right + otherAt.x;
            if (mineLeft < theirRight && theirLeft < mineRight)
                return true;
            if (mineRight <= theirRight)
                ++m;
            else
                ++t;
        }
    }
    return false;
}

} // namespace vortexa
