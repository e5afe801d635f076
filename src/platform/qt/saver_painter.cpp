#include "platform/qt/saver_painter.h"

#include <QFontMetrics>
#include <QPen>

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

#include "backend_kit/render_geometry.h"
#include "platform/qt/system_look.h"

namespace vortexa {

namespace {

Qt::PenStyle penStyleOf(int borderStyle)
{
    switch (borderStyle) {
    case BorderTransparent:
        return Qt::NoPen;
    case BorderDashed:
        return Qt::DashLine;
    case BorderDotted:
        return Qt::DotLine;
    case BorderDashDot:
        return Qt::DashDotLine;
    case BorderDashDotDot:
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

QRectF toQRectF(const OutlineBox& outline) { return QRectF(outline.left, outline.top, outline.width, outline.height); }

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

// A screen uses a handful of fonts, so they are made once and kept.
const QFont& fontFor(const Font& font)
{
    constexpr size_t MostFontsKept = 16;
    static std::vector<std::pair<Font, QFont>> fonts;
    for (const auto& [record, qfont] : fonts)
        if (record == font)
            return qfont;
    if (fonts.size() >= MostFontsKept)
        fonts.clear();
    fonts.emplace_back(font, toQFont(font));
    return fonts.back().second;
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

void paintShape(QPainter& painter, const ShapeElement& shape, const QRect& area)
{
    const PixelBox pixels = pixelBoxOf(shape);
    const QRect box = toQRect(pixels);
    if (pixels.empty() || !area.intersects(box))
        return;
    const QRectF outline = toQRectF(borderCentreLine(shape, pixels));
    // A solid fill covers the background entirely, so the background is painted only under
    // patterns and transparent fills.
    if (shape.BackStyle == BackOpaque && shape.FillStyle != FillSolid) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(toQColor(shape.BackColor));
        drawOutline(painter, shape.Shape, outline);
    }
    const Qt::PenStyle penStyle = shape.BorderWidth > 0 ? penStyleOf(shape.BorderStyle) : Qt::NoPen;
    painter.setPen(QPen(toQColor(shape.BorderColor), borderPenWidth(shape.BorderWidth), penStyle, Qt::FlatCap));
    painter.setBrush(QBrush(toQColor(shape.FillColor), brushStyleOf(shape.FillStyle)));
    drawOutline(painter, shape.Shape, outline);
}

void paintLine(QPainter& painter, const LineElement& line, const QRect& area)
{
    const QLineF pixels(
        line.X1 / TwipsPerPixel, line.Y1 / TwipsPerPixel, line.X2 / TwipsPerPixel, line.Y2 / TwipsPerPixel);
    const int reach = lineReach(line.BorderWidth);
    const QRect bounds
        = QRectF(pixels.p1(), pixels.p2()).normalized().toAlignedRect().adjusted(-reach, -reach, reach, reach);
    if (line.BorderWidth <= 0 || !area.intersects(bounds))
        return;
    painter.setPen(QPen(toQColor(line.BorderColor), line.BorderWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawLine(pixels);
}

QRect labelReach(const LabelElement& label)
{
    const QRect box = toQRect(pixelBoxOf(label));
    if (label.Caption.empty() || box.width() <= 0 || box.height() <= 0)
        return box;
    const QRect text = QFontMetrics(fontFor(label.LabelFont))
                           .boundingRect(box, textFlagsOf(label, box), QString::fromStdString(label.Caption));
    return box.united(text.adjusted(-1, -1, 1, 1));
}

void paintLabel(QPainter& painter, const LabelElement& label, const QRect& area)
{
    const QRect box = toQRect(pixelBoxOf(label));
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

namespace {

void paintElement(QPainter& painter, const ShapeElement& shape, const QRect& area) { paintShape(painter, shape, area); }
void paintElement(QPainter& painter, const LineElement& line, const QRect& area) { paintLine(painter, line, area); }
void paintElement(QPainter& painter, const LabelElement& label, const QRect& area) { paintLabel(painter, label, area); }

} // namespace

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
