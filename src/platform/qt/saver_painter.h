#pragma once
// Paints a saver screen's records: shapes, lines and labels in their drawing order on black.

#include <QImage>
#include <QPainter>
#include <QSize>

#include "scene/saver_screen.h"

namespace vortexa {

// Paints the whole screen, one pixel for every 15 twips.
void paintSaverScreen(QPainter& painter, const SaverScreen& screen);

// The screen as an image of the given size in pixels.
QImage renderSaverScreen(const SaverScreen& screen, QSize pixels);

} // namespace vortexa
