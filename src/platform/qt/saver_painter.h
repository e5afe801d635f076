#pragma once
// Paints a saver screen's records: shapes, lines and labels in their drawing order on black.

#include <QImage>
#include <QPainter>
#include <QRect>
#include <QSize>

#include "backend_kit/render_geometry.h"
#include "scene/saver_screen.h"

namespace vortexa {

inline QRect toQRect(const PixelBox& box) { return QRect(box.left, box.top, box.width, box.height); }

// Paint one element whose place is in twips, at 15 twips to the pixel, if it reaches into `area`.
void paintShape(QPainter& painter, const ShapeElement& shape, const QRect& area);
void paintLine(QPainter& painter, const LineElement& line, const QRect& area);
void paintLabel(QPainter& painter, const LabelElement& label, const QRect& area);
// The pixels a label may paint: its box, and its text where that runs past the box.
QRect labelReach(const LabelElement& label);

// Paints the part `area` of the screen (in pixels), one pixel for every 15 twips; the painter's
// clip, if any, is left as it is.
void paintSaverScreen(QPainter& painter, const SaverScreen& screen, const QRect& area);

// The whole screen as an image of the given size in pixels.
QImage renderSaverScreen(const SaverScreen& screen, QSize pixels);

} // namespace vortexa
