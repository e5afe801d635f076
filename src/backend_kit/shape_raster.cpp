#include "backend_kit/shape_raster.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <span>

#include "backend_kit/classic_palette.h"

namespace vortexa {

namespace {

constexpr double Pi = std::numbers::pi;
// A pixel is lit when the point just above and left of its middle is covered, so that an edge
// through the very middle of a row of pixels lights the row below it and not the one above.
constexpr double SampleBias = 1.0 / 64;
constexpr double sampleAt(int pixel) { return pixel + 0.5 - SampleBias; }
// Hatches repeat every this many device pixels.
constexpr int HatchSpacing = 8;
// An ellipse's length is measured along this many straight pieces.
constexpr int EllipsePieces = 256;

// A point's place against an outline: how far it lies from the outline (less than 0 inside), the
// outline's outward direction there, and how far along the outline, from its start, that is.
struct OutlinePlace {
    double distance = 0;
    double normalX = 1, normalY = 0;
    double along = 0;
};

// An outline in device pixels: an ellipse, or a rectangle whose corners are rounded by
// cornerRadius (0 for sharp ones). Ellipses start at their rightmost point and run down, as
// the clock does; rectangles start at the left end of their top side and run to the right. Along a
// one-pixel pen, lengths count the pixels it steps through rather than its true length, so that
// its dashes and dots keep their pixels on curves too.
class Outline {
public:
    // Lengths along the outline are measured only for a dashed border, which needs them.
    Outline(const ShapeElement& shape, const OutlineBox& box, bool measured, bool inPixelSteps)
        : m_measured(measured)
        , m_inPixelSteps(inPixelSteps)
        , m_ellipse(shape.Shape == ShapeCircle || shape.Shape == ShapeOval)
        , m_centreX(box.left + box.width / 2)
        , m_centreY(box.top + box.height / 2)
        , m_halfWidth(box.width / 2)
        , m_halfHeight(box.height / 2)
    {
        const bool rounded = shape.Shape == ShapeRoundedRectangle || shape.Shape == ShapeRoundedSquare;
        m_cornerRadius = rounded ? std::min(box.width, box.height) * RoundedCornerShare : 0;
        if (m_measured && m_ellipse && (m_halfWidth != m_halfHeight || m_inPixelSteps))
            measureEllipse();
    }

    // A circle's centre and radius, when the outline is one.
    bool circle() const { return m_ellipse && m_halfWidth == m_halfHeight && m_halfWidth > 0; }
    double centreX() const { return m_centreX; }
    double centreY() const { return m_centreY; }
    double radius() const { return m_halfWidth; }

    OutlinePlace placeOf(double x, double y) const
    {
        const double dx = x - m_centreX, dy = y - m_centreY;
        if (m_halfWidth <= 0 || m_halfHeight <= 0)
            return placeOnFlat(dx, dy);
        return m_ellipse ? placeOnEllipse(dx, dy) : placeOnRectangle(dx, dy);
    }

private:
    // An outline with no inside, a line or a point: the pen draws round it, the fill nowhere.
    OutlinePlace placeOnFlat(double dx, double dy) const
    {
        const double offX = dx - std::clamp(dx, -m_halfWidth, m_halfWidth);
        const double offY = dy - std::clamp(dy, -m_halfHeight, m_halfHeight);
        const double distance = std::hypot(offX, offY);
        OutlinePlace place {distance, 1, 0, 0};
        if (distance > 0) {
            place.normalX = offX / distance;
            place.normalY = offY / distance;
        }
        return place;
    }

    // A circle's distance is exact; an ellipse's is taken to the first order, which keeps a border
    // of a few pixels even.
    OutlinePlace placeOnEllipse(double dx, double dy) const
    {
        const double a = m_halfWidth, b = m_halfHeight;
        const double angle = m_measured ? std::fmod(std::atan2(dy / b, dx / a) + 2 * Pi, 2 * Pi) : 0;
        if (a == b && (!m_measured || !m_inPixelSteps)) {
            const double radius = std::sqrt(dx * dx + dy * dy);
            if (radius == 0)
                return {-a, 1, 0, 0};
            return {radius - a, dx / radius, dy / radius, angle * a};
        }
        const double scaled = std::hypot(dx / a, dy / b);
        const double gradientX = dx / (a * a), gradientY = dy / (b * b);
        const double gradient = std::hypot(gradientX, gradientY);
        if (scaled == 0 || gradient == 0)
            return {-std::min(a, b), 1, 0, 0};
        if (a == b)
            return {(scaled - 1) * a, dx / (scaled * a), dy / (scaled * a), ellipseLengthTo(angle)};
        const double slope = gradient / scaled;
        return {
            (scaled - 1) / slope, gradientX / gradient, gradientY / gradient, m_measured ? ellipseLengthTo(angle) : 0};
    }

    OutlinePlace placeOnRectangle(double dx, double dy) const
    {
        const double r = m_cornerRadius;
        const double straightX = m_halfWidth - r, straightY = m_halfHeight - r;
        const double overX = std::abs(dx) - straightX, overY = std::abs(dy) - straightY;
        const double signX = dx < 0 ? -1 : 1, signY = dy < 0 ? -1 : 1;
        OutlinePlace place;
        if (overX > 0 && overY > 0) {
            const double reach = std::hypot(overX, overY);
            place = {reach - r, signX * overX / reach, signY * overY / reach, 0};
        } else if (overX > overY) {
            place = {overX - r, signX, 0, 0};
        } else {
            place = {overY - r, 0, signY, 0};
        }
        if (m_measured)
            place.along = rectangleLengthTo(dx, dy, place);
        return place;
    }

    // From the left end of the top side, clockwise: the top side, a corner, the right side, and so
    // on round.
    double rectangleLengthTo(double dx, double dy, const OutlinePlace& place) const
    {
        const double r = m_cornerRadius;
        const double sideX = 2 * (m_halfWidth - r), sideY = 2 * (m_halfHeight - r), corner = Pi / 2 * r;
        if (place.normalX != 0 && place.normalY != 0) {
            const double nx = place.normalX, ny = place.normalY;
            const double quarter = Pi / 2;
            if (nx > 0 && ny < 0)
                return sideX + corner * std::atan2(nx, -ny) / quarter;
            if (nx > 0)
                return sideX + corner + sideY + corner * std::atan2(ny, nx) / quarter;
            if (ny > 0)
                return 2 * sideX + 2 * corner + sideY + corner * std::atan2(-nx, ny) / quarter;
            return 2 * sideX + 3 * corner + 2 * sideY + corner * std::atan2(-ny, -nx) / quarter;
        }
        if (place.normalY < 0)
            return std::clamp(dx + m_halfWidth - r, 0.0, sideX);
        if (place.normalX > 0)
            return sideX + corner + std::clamp(dy + m_halfHeight - r, 0.0, sideY);
        if (place.normalY > 0)
            return sideX + sideY + 2 * corner + std::clamp(m_halfWidth - r - dx, 0.0, sideX);
        return 2 * sideX + sideY + 3 * corner + std::clamp(m_halfHeight - r - dy, 0.0, sideY);
    }

    void measureEllipse()
    {
        m_ellipseLengths.resize(EllipsePieces + 1, 0);
        for (int k = 1; k <= EllipsePieces; ++k) {
            const double before = 2 * Pi * (k - 1) / EllipsePieces, after = 2 * Pi * k / EllipsePieces;
            const double across = std::abs(m_halfWidth * (std::cos(after) - std::cos(before)));
            const double down = std::abs(m_halfHeight * (std::sin(after) - std::sin(before)));
            m_ellipseLengths[k]
                = m_ellipseLengths[k - 1] + (m_inPixelSteps ? std::max(across, down) : std::hypot(across, down));
        }
    }

    double ellipseLengthTo(double angle) const
    {
        const double piece = angle / (2 * Pi) * EllipsePieces;
        const int whole = std::clamp(static_cast<int>(piece), 0, EllipsePieces - 1);
        const double share = piece - whole;
        return m_ellipseLengths[whole] + share * (m_ellipseLengths[whole + 1] - m_ellipseLengths[whole]);
    }

    bool m_measured;
    bool m_inPixelSteps;
    bool m_ellipse;
    double m_centreX, m_centreY, m_halfWidth, m_halfHeight;
    double m_cornerRadius = 0;
    std::vector<double> m_ellipseLengths;
};

// Dashes and gaps in pen widths, from the start of the outline.
std::span<const int> dashPattern(int borderStyle)
{
    static constexpr int Dashed[] = {4, 2}, Dotted[] = {1, 2}, DashDot[] = {4, 2, 1, 2},
                         DashDotDot[] = {4, 2, 1, 2, 1, 2};
    switch (borderStyle) {
    case BorderDashed:
        return Dashed;
    case BorderDotted:
        return Dotted;
    case BorderDashDot:
        return DashDot;
    case BorderDashDotDot:
        return DashDotDot;
    default:
        return {};
    }
}

bool onDash(std::span<const int> pattern, double penWidth, double along)
{
    if (pattern.empty())
        return true;
    const double unit = std::max(penWidth, 1.0);
    double period = 0;
    for (const int length : pattern)
        period += length * unit;
    double into = std::fmod(along, period);
    for (size_t k = 0; k < pattern.size(); ++k) {
        into -= pattern[k] * unit;
        if (into < 0)
            return k % 2 == 0;
    }
    return false;
}

// A one-pixel pen lights one pixel a column where the outline runs flatter than a diagonal, and one
// a row where it runs steeper: the pixel whose middle lies within half a pixel of it across its run.
bool underPen(const OutlinePlace& place, double penWidth)
{
    const double half = penWidth <= 1 ? 0.5 * std::max(std::abs(place.normalX), std::abs(place.normalY)) : penWidth / 2;
    return place.distance >= -half && place.distance < half;
}

bool hatched(int fillStyle, int x, int y)
{
    const auto onLine
        = [](int value) { return ((value % HatchSpacing) + HatchSpacing) % HatchSpacing == HatchSpacing / 2; };
    switch (fillStyle) {
    case FillHorizontalLines:
        return onLine(y);
    case FillVerticalLines:
        return onLine(x);
    case FillUpwardDiagonal:
        return onLine(x + y);
    case FillDownwardDiagonal:
        return onLine(x - y);
    case FillCross:
        return onLine(x) || onLine(y);
    case FillDiagonalCross:
        return onLine(x + y) || onLine(x - y);
    default:
        return false;
    }
}

// The colour of a pixel inside the outline, or 0 where the inside shows what lies behind.
uint32_t insideColour(const ShapeElement& shape, int x, int y)
{
    if (shape.FillStyle == FillSolid || hatched(shape.FillStyle, x, y))
        return argbOf(shape.FillColor);
    return shape.BackStyle == BackOpaque ? argbOf(shape.BackColor) : 0;
}

double distanceToSegment(double x, double y, double x1, double y1, double x2, double y2)
{
    const double dx = x2 - x1, dy = y2 - y1;
    const double lengthSquared = dx * dx + dy * dy;
    const double share = lengthSquared == 0 ? 0 : std::clamp(((x - x1) * dx + (y - y1) * dy) / lengthSquared, 0.0, 1.0);
    return std::hypot(x - (x1 + share * dx), y - (y1 + share * dy));
}

void light(RasterPicture& picture, int x, int y, uint32_t colour)
{
    if (x >= 0 && y >= 0 && x < picture.width && y < picture.height)
        picture.at(x, y) = colour;
}

// A one-pixel line lights one pixel in each column from the one of its start to the one of its end
// (each row, when it runs steeper than a diagonal): the one its path passes through at the column's
// middle.
void drawThinLine(RasterPicture& picture, double x1, double y1, double x2, double y2, uint32_t colour)
{
    const bool steep = std::abs(y2 - y1) > std::abs(x2 - x1);
    if (steep) {
        std::swap(x1, y1);
        std::swap(x2, y2);
    }
    if (x2 < x1) {
        std::swap(x1, x2);
        std::swap(y1, y2);
    }
    const double slope = x2 > x1 ? (y2 - y1) / (x2 - x1) : 0;
    const int last = static_cast<int>(std::floor(x2));
    for (int column = static_cast<int>(std::floor(x1)); column <= last; ++column) {
        const double along = std::clamp(column + 0.5, x1, x2);
        const int row = static_cast<int>(std::floor(y1 + (along - x1) * slope));
        steep ? light(picture, row, column, colour) : light(picture, column, row, colour);
    }
}

// The columns of a row worth looking at: those the outline may reach, and among them those that
// lie wholly inside a circle, well clear of its pen. Other outlines look at every pixel.
struct ColumnSpan {
    int first = 0, last = -1;
    bool empty() const { return last < first; }
};
struct RowSpans {
    bool reached = true;
    ColumnSpan ring;
    ColumnSpan inside;
};

RowSpans circleRowSpans(const Outline& outline, double penWidth, int y, int width)
{
    RowSpans spans {true, {0, width - 1}, {}};
    if (!outline.circle())
        return spans;
    // A pixel's middle farther than this from the circle's centre line is beyond the pen's reach.
    const double margin = penWidth / 2 + 1;
    const double dy = sampleAt(y) - outline.centreY();
    const double outer = outline.radius() + margin, inner = outline.radius() - margin;
    if (std::abs(dy) > outer) {
        spans.reached = false;
        return spans;
    }
    const double outerHalf = std::sqrt(outer * outer - dy * dy);
    spans.ring = {std::max(0, static_cast<int>(std::floor(outline.centreX() - outerHalf))),
        std::min(width - 1, static_cast<int>(std::ceil(outline.centreX() + outerHalf)))};
    if (inner > 0 && std::abs(dy) < inner) {
        const double innerHalf = std::sqrt(inner * inner - dy * dy);
        spans.inside = {std::max(spans.ring.first, static_cast<int>(std::ceil(outline.centreX() - innerHalf))),
            std::min(spans.ring.last, static_cast<int>(std::floor(outline.centreX() + innerHalf)) - 1)};
    }
    return spans;
}

} // namespace

RasterPicture::RasterPicture(int pictureWidth, int pictureHeight)
    : width(std::max(pictureWidth, 0))
    , height(std::max(pictureHeight, 0))
    , pixels(static_cast<size_t>(width) * static_cast<size_t>(height), 0)
{
}

int deviceSize(int logical, double scale) { return std::max(1, static_cast<int>(std::ceil(logical * scale))); }

RasterPicture rasteriseShape(const ShapeElement& shape, double scale)
{
    const PixelBox box = pixelBoxOf(shape);
    if (box.empty())
        return {};
    RasterPicture picture(deviceSize(box.width, scale), deviceSize(box.height, scale));
    const OutlineBox logical = borderCentreLine(shape, {0, 0, box.width, box.height});
    // A pen wider than the shape fills it, and no more.
    const OutlineBox whole = shapeBox(shape, {0, 0, box.width, box.height});
    const double penWidth
        = std::min<double>(borderPenWidth(shape.BorderWidth), std::min(whole.width, whole.height)) * scale;
    const bool bordered = shape.BorderWidth > 0 && shape.BorderStyle != BorderTransparent;
    const std::span<const int> dashes = dashPattern(shape.BorderStyle);
    const Outline outline(shape,
        {logical.left * scale, logical.top * scale, logical.width * scale, logical.height * scale},
        bordered && !dashes.empty(), penWidth <= 1);
    const uint32_t border = argbOf(shape.BorderColor);
    const auto paintPixel = [&](int x, int y) {
        const OutlinePlace place = outline.placeOf(sampleAt(x), sampleAt(y));
        if (bordered && underPen(place, penWidth) && onDash(dashes, penWidth, place.along))
            picture.at(x, y) = border;
        else if (place.distance < 0)
            picture.at(x, y) = insideColour(shape, x, y);
    };
    for (int y = 0; y < picture.height; ++y) {
        const RowSpans spans = circleRowSpans(outline, penWidth, y, picture.width);
        if (!spans.reached)
            continue;
        // A solid or empty fill is the same colour all over the inside.
        const bool plainInside
            = !spans.inside.empty() && (shape.FillStyle == FillSolid || shape.FillStyle == FillTransparent);
        for (int x = spans.ring.first; x <= spans.ring.last; ++x) {
            if (plainInside && x == spans.inside.first) {
                std::fill_n(&picture.at(x, y), spans.inside.last - x + 1, insideColour(shape, x, y));
                x = spans.inside.last;
                continue;
            }
            paintPixel(x, y);
        }
    }
    return picture;
}

PixelBox lineBounds(const LineElement& line)
{
    const double x1 = line.X1 / TwipsPerPixel, y1 = line.Y1 / TwipsPerPixel;
    const double x2 = line.X2 / TwipsPerPixel, y2 = line.Y2 / TwipsPerPixel;
    const int reach = lineReach(line.BorderWidth);
    const int left = static_cast<int>(std::floor(std::min(x1, x2))),
              top = static_cast<int>(std::floor(std::min(y1, y2)));
    const int right = static_cast<int>(std::ceil(std::max(x1, x2))),
              bottom = static_cast<int>(std::ceil(std::max(y1, y2)));
    return {left - reach, top - reach, right - left + 2 * reach, bottom - top + 2 * reach};
}

RasterPicture rasteriseLine(const LineElement& line, const PixelBox& area, double scale)
{
    RasterPicture picture(deviceSize(area.width, scale), deviceSize(area.height, scale));
    if (line.BorderWidth <= 0)
        return picture;
    const auto deviceX = [&](float twips) { return (twips / TwipsPerPixel - area.left) * scale; };
    const auto deviceY = [&](float twips) { return (twips / TwipsPerPixel - area.top) * scale; };
    const double x1 = deviceX(line.X1), y1 = deviceY(line.Y1), x2 = deviceX(line.X2), y2 = deviceY(line.Y2);
    const double penWidth = line.BorderWidth * scale;
    const uint32_t colour = argbOf(line.BorderColor);
    if (penWidth <= 1) {
        drawThinLine(picture, x1, y1, x2, y2, colour);
        return picture;
    }
    for (int y = 0; y < picture.height; ++y)
        for (int x = 0; x < picture.width; ++x)
            if (distanceToSegment(sampleAt(x), sampleAt(y), x1, y1, x2, y2) < penWidth / 2)
                picture.at(x, y) = colour;
    return picture;
}

} // namespace vortexa
