#include "platform/qt/saver_painter.h"

#include <QFontMetrics>
#include <QTransform>

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

#include "backend_kit/render_geometry.h"
#include "backend_kit/shape_raster.h"
#include "platform/qt/system_look.h"

namespace vortexa {

namespace {

// The device pixels to each of the painter's pixels, so that a picture is made at the size it is
// shown and copied pixel for pixel.
double deviceScaleOf(const QPainter& painter)
{
    const QTransform transform = painter.deviceTransform();
    const double scale = std::hypot(transform.m11(), transform.m12());
    return scale > 0 ? scale : 1;
}

void drawPicture(QPainter& painter, const RasterPicture& picture, const PixelBox& box, double scale)
{
    if (picture.pixels.empty())
        return;
    QImage image(reinterpret_cast<const uchar*>(picture.pixels.data()), picture.width, picture.height,
        picture.width * static_cast<int>(sizeof(uint32_t)), QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(scale);
    painter.drawImage(QPoint(box.left, box.top), image);
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
    const PixelBox box = pixelBoxOf(shape);
    if (box.empty() || !area.intersects(toQRect(box)))
        return;
    const double scale = deviceScaleOf(painter);
    drawPicture(painter, rasteriseShape(shape, scale), box, scale);
}

void paintLine(QPainter& painter, const LineElement& line, const QRect& area)
{
    const PixelBox bounds = lineBounds(line);
    if (line.BorderWidth <= 0 || !area.intersects(toQRect(bounds)))
        return;
    const double scale = deviceScaleOf(painter);
    drawPicture(painter, rasteriseLine(line, bounds, scale), bounds, scale);
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
