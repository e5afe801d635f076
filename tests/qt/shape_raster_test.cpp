#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <numbers>
#include <string>
#include <vector>

#include "backend_kit/shape_raster.h"
#include "platform/qt/system_look.h"

namespace vortexa {
namespace {

QImage toImage(const RasterPicture& picture)
{
    QImage image(picture.width, picture.height, QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < picture.height; ++y)
        for (int x = 0; x < picture.width; ++x)
            image.setPixel(x, y, picture.at(x, y));
    return image;
}

QImage clearImage(int width, int height)
{
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

// The toolkit's own aliased drawing of a shape in its box: its background, then its fill and border
// with a flat-ended pen on the border's centre line.
QImage toolkitShape(const ShapeElement& shape)
{
    const PixelBox box = pixelBoxOf(shape);
    QImage image = clearImage(box.width, box.height);
    QPainter painter(&image);
    const OutlineBox line = borderCentreLine(shape, {0, 0, box.width, box.height});
    const QRectF outline(line.left, line.top, line.width, line.height);
    const auto drawOutline = [&] {
        if (shape.Shape == ShapeRoundedRectangle) {
            const double radius = std::min(outline.width(), outline.height()) * RoundedCornerShare;
            painter.drawRoundedRect(outline, radius, radius);
        } else {
            painter.drawEllipse(outline);
        }
    };
    if (shape.BackStyle == BackOpaque && shape.FillStyle != FillSolid) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(toQColor(shape.BackColor));
        drawOutline();
    }
    const Qt::PenStyle style = shape.BorderStyle == BorderDashed ? Qt::DashLine
        : shape.BorderStyle == BorderDotted                      ? Qt::DotLine
                                                                 : Qt::SolidLine;
    painter.setPen(QPen(toQColor(shape.BorderColor), borderPenWidth(shape.BorderWidth), style, Qt::FlatCap));
    painter.setBrush(shape.FillStyle == FillSolid ? QBrush(toQColor(shape.FillColor)) : QBrush());
    drawOutline();
    return image;
}

QImage toolkitLine(const LineElement& line, const PixelBox& area)
{
    QImage image = clearImage(area.width, area.height);
    QPainter painter(&image);
    painter.translate(-area.left, -area.top);
    painter.setPen(QPen(toQColor(line.BorderColor), line.BorderWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawLine(
        QLineF(line.X1 / TwipsPerPixel, line.Y1 / TwipsPerPixel, line.X2 / TwipsPerPixel, line.Y2 / TwipsPerPixel));
    return image;
}

struct Comparison {
    int lit = 0; // in either picture
    int moved = 0; // lit in one and not in the same colour in the other
    int unmatched = 0; // with no pixel of its colour within a pixel in the other
};

Comparison compare(const QImage& ours, const QImage& theirs)
{
    Comparison result;
    for (const auto& [from, to] : {std::pair {&ours, &theirs}, std::pair {&theirs, &ours}})
        for (int y = 0; y < from->height(); ++y)
            for (int x = 0; x < from->width(); ++x) {
                const QRgb colour = from->pixel(x, y);
                if (qAlpha(colour) == 0)
                    continue;
                ++result.lit;
                if (to->pixel(x, y) == colour)
                    continue;
                ++result.moved;
                bool near = false;
                for (int dy = -1; dy <= 1 && !near; ++dy)
                    for (int dx = -1; dx <= 1 && !near; ++dx)
                        near = to->rect().contains(x + dx, y + dy) && to->pixel(x + dx, y + dy) == colour;
                result.unmatched += near ? 0 : 1;
            }
    return result;
}

constexpr int ThinDotsUnmatchedOneIn = 30;

// The shapes and lines the show draws lie within a pixel of the toolkit's aliased drawing of them:
// circles of every size the scripts make in every border style and width they take, the dial's
// hub and discs, the block, and the hands at every angle.
TEST(ShapeRaster, ShowsWhatTheToolkitsAliasedDrawingShows)
{
    struct Row {
        std::string name;
        QImage ours, theirs;
        bool thinDots = false;
    };
    std::vector<Row> rows;
    for (const float size : {555.f, 975.f, 2050.f, 4800.f})
        for (const int style : {BorderSolid, BorderDashed, BorderDotted})
            for (const int width : {1, 2, 3, 5, 10}) {
                ShapeElement circle;
                circle.Width = circle.Height = size;
                circle.BorderWidth = width;
                circle.BorderStyle = style;
                circle.BorderColor = rgb(0xC0, 0xFF, 0xC0);
                rows.push_back({"circle " + std::to_string(size) + " style " + std::to_string(style) + " width "
                        + std::to_string(width),
                    toImage(rasteriseShape(circle)), toolkitShape(circle), width == 1 && style != BorderSolid});
            }
    ShapeElement hub;
    hub.Width = hub.Height = 735;
    hub.BackStyle = BackOpaque;
    hub.BackColor = rgb(0, 0, 0);
    hub.FillStyle = FillTransparent;
    hub.BorderColor = rgb(0xFF, 0, 0);
    hub.BorderWidth = 2;
    ShapeElement disc = hub;
    disc.BackStyle = BackTransparent;
    disc.FillStyle = FillSolid;
    disc.FillColor = disc.BorderColor;
    ShapeElement block = disc;
    block.Shape = ShapeRoundedRectangle;
    block.Width = 4100;
    block.Height = 3900;
    for (const auto& [name, shape] : {std::pair {"hub", hub}, std::pair {"disc", disc}, std::pair {"block", block}})
        rows.push_back({name, toImage(rasteriseShape(shape)), toolkitShape(shape)});
    for (int degrees = 0; degrees < 360; degrees += 17)
        for (const int width : {1, 2, 3}) {
            const double angle = degrees * std::numbers::pi / 180;
            LineElement hand {1000.3f, 1000.7f, static_cast<float>(1000 + 700 * std::cos(angle)),
                static_cast<float>(1000 - 700 * std::sin(angle)), rgb(0xFF, 0x80, 0x80), width, true};
            const PixelBox area = lineBounds(hand);
            rows.push_back({"hand at " + std::to_string(degrees) + " width " + std::to_string(width),
                toImage(rasteriseLine(hand, area)), toolkitLine(hand, area)});
        }

    Comparison all;
    for (const Row& row : rows) {
        ASSERT_EQ(row.ours.size(), row.theirs.size()) << row.name;
        const Comparison one = compare(row.ours, row.theirs);
        // The toolkit counts a one-pixel pen's dots along the straight pieces it makes of a curve, so
        // now and then one of its dots lies a pixel further on.
        const int allowed = row.thinDots ? one.lit / ThinDotsUnmatchedOneIn : 0;
        EXPECT_LE(one.unmatched, allowed) << row.name << ": " << one.unmatched << " of " << one.lit;
        all.lit += one.lit;
        all.moved += one.moved;
        all.unmatched += one.unmatched;
    }
    RecordProperty("movedPerThousandLit", all.moved * 1000 / std::max(all.lit, 1));
    std::printf("lit pixels %d, moved %d, none of their colour within a pixel %d\n", all.lit, all.moved, all.unmatched);
}

} // namespace
} // namespace vortexa
