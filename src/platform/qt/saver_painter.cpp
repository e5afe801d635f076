#include "platform/qt/saver_painter.h"

#include <QFontMetrics>
#include <QPen>

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

#include "platform/qt/system_look.h"

namespace vortexa {

namespace {

// The corner of a rounded rectangle has a radius of this share of its shorter side.
constexpr double RoundedCornerShare = 1.0 / 8;

int toPixels(float twips) { return static_cast<int>(std::lround(twips / TwipsPerPixel)); }

QRect pixelBox(float left, float top, float width, float height)
{
    return QRect(toPixels(left), toPixels(top), toPixels(width), toPixels(height));
}

Qt::PenStyle penStyleOf(int borderStyle)
{
    switch (borderStyle) {
    case 0:
        return Qt::NoPen;
    case BorderDashed:
        return Qt::DashLine;
    case BorderDotted:
        return Qt::DotLine;
    case 4:
        return Qt::DashDotLine;
    case 5:
        return Qt::DashDotDotLine;
    default:
        return Qt::SolidLine;
    }
}

Qt::BrushStyle brushStyleOf(int fillStyle)
{
    static constexpr Qt::BrushStyle Styles[] = {Qt::SolidPattern, Qt::NoBrush, Qt::HorPattern, Qt::VerPattern,
        Qt::BDiagPattern, Qt::FDiagPattern, Qt::CrossPattern, Qt::DiagCrossPattern};
    return fillStyle >= 0 && fillStyle < static_cast<int>(std::size(Styles)) ? Styles[fillStyle] : Qt::NoBrush;
}

// The path of the border's centre line: the border lies inside the box, and a circle takes the
// shorter side of its box as its diameter, centred in the box.
QRectF outlineOf(const ShapeElement& shape, const QRect& box)
{
    QRectF outline(box);
    if (shape.Shape == ShapeCircle) {
        const double diameter = std::min(outline.width(), outline.height());
        outline = QRectF(outline.center().x() - diameter / 2, outline.center().y() - diameter / 2, diameter, diameter);
    }
    // A border wider than the shape fills it rather than turning it inside out.
    const double inset
        = std::min(std::max(shape.BorderWidth, 1) / 2.0, std::min(outline.width(), outline.height()) / 2);
    return outline.adjusted(inset, inset, -inset, -inset);
}

void drawOutline(QPainter& painter, int kind, const QRectF& outline)
{
    if (kind == ShapeRoundedRectangle) {
        const double radius = std::min(outline.width(), outline.height()) * RoundedCornerShare;
        painter.drawRoundedRect(outline, radius, radius);
    } else if (kind == ShapeCircle) {
        painter.drawEllipse(outline);
    } else {
        painter.drawRect(outline);
    }
}

bool sameFont(const Font& a, const Font& b)
{
    return a.Name == b.Name && a.Size == b.Size && a.Bold == b.Bold && a.Underline == b.Underline;
}

// A screen uses a handful of fonts, so they are made once and kept.
const QFont& fontFor(const Font& font)
{
    constexpr size_t MostFontsKept = 16;
    static std::vector<std::pair<Font, QFont>> made;
    for (const auto& [record, qfont] : made)
        if (sameFont(record, font))
            return qfont;
    if (made.size() >= MostFontsKept)
        made.clear();
    made.emplace_back(font, toQFont(font));
    return made.back().second;
}

int textFlagsOf(const LabelElement& label, const QRect& box)
{
    const int textWidth
        = QFontMetrics(fontFor(label.LabelFont)).horizontalAdvance(QString::fromStdString(label.Caption));
    const int alignment = ShownAlignment(label.Alignment, textWidth, box.width());
    const int horizontal = alignment == AlignRight ? Qt::AlignRight
        : alignment == AlignCentre                 ? Qt::AlignHCenter
                                                   : Qt::AlignLeft;
    return horizontal | Qt::AlignTop | Qt::TextSingleLine | Qt::TextDontClip;
}

} // namespace

void paintElement(QPainter& painter, const ShapeElement& shape, const QRect& area) { paintShape(painter, shape, area); }
void paintElement(QPainter& painter, const LineElement& line, const QRect& area) { paintLine(painter, line, area); }
void paintElement(QPainter& painter, const LabelElement& label, const QRect& area) { paintLabel(painter, label, area); }

void paintShape(QPainter& painter, const ShapeElement& shape, const QRect& area)
{
    const QRect box = pixelBox(shape.Left, shape.Top, shape.Width, shape.Height);
    if (box.width() <= 0 || box.height() <= 0 || !area.intersects(box))
        return;
    const QRectF outline = outlineOf(shape, box);
    // A solid fill covers the background entirely, so the background is painted only under
    // patterns and transparent fills.
    if (shape.BackStyle == BackOpaque && shape.FillStyle != FillSolid) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(toQColor(shape.BackColor));
        drawOutline(painter, shape.Shape, outline);
    }
    const Qt::PenStyle penStyle = shape.BorderWidth > 0 ? penStyleOf(shape.BorderStyle) : Qt::NoPen;
    painter.setPen(QPen(toQColor(shape.BorderColor), std::max(shape.BorderWidth, 1), penStyle, Qt::FlatCap));
    painter.setBrush(QBrush(toQColor(shape.FillColor), brushStyleOf(shape.FillStyle)));
    drawOutline(painter, shape.Shape, outline);
}

void paintLine(QPainter& painter, const LineElement& line, const QRect& area)
{
    const QLineF pixels(
        line.X1 / TwipsPerPixel, line.Y1 / TwipsPerPixel, line.X2 / TwipsPerPixel, line.Y2 / TwipsPerPixel);
    const int reach = line.BorderWidth + 1;
    const QRect bounds
        = QRectF(pixels.p1(), pixels.p2()).normalized().toAlignedRect().adjusted(-reach, -reach, reach, reach);
    if (line.BorderWidth <= 0 || !area.intersects(bounds))
        return;
    painter.setPen(QPen(toQColor(line.BorderColor), line.BorderWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawLine(pixels);
}

QRect labelReach(const LabelElement& label)
{
    const QRect box = pixelBox(label.Left, label.Top, label.Width, label.Height);
    if (label.Caption.empty() || box.width() <= 0 || box.height() <= 0)
        return box;
    const QRect text = QFontMetrics(fontFor(label.LabelFont))
                           .boundingRect(box, textFlagsOf(label, box), QString::fromStdString(label.Caption));
    return box.united(text.adjusted(-1, -1, 1, 1));
}

void paintLabel(QPainter& painter, const LabelElement& label, const QRect& area)
{
    const QRect box = pixelBox(label.Left, label.Top, label.Width, label.Height);
    if (box.width() <= 0 || box.height() <= 0 || !area.intersects(labelReach(label)))
        return;
    if (label.BackStyle == BackOpaque)
        painter.fillRect(box, toQColor(label.BackColor));
    if (label.Caption.empty())
        return;
    painter.setPen(toQColor(label.ForeColor));
    painter.setFont(fontFor(label.LabelFont));
    painter.drawText(box, textFlagsOf(label, box), QString::fromStdString(label.Caption));
}

void paintSaverScreen(QPainter& painter, const SaverScreen& screen, const QRect& area)
{
    painter.fillRect(area, Qt::black);
    painter.setRenderHint(QPainter::Antialiasing, false);
    forEachShownElement(screen, [&](ElementRef, const auto& record) { paintElement(painter, record, area); });
}

QImage renderSaverScreen(const SaverScreen& screen, QSize pixels)
{
    QImage image(pixels, QImage::Format_RGB32);
    QPainter painter(&image);
    paintSaverScreen(painter, screen, image.rect());
    return image;
}

} // namespace vortexa
