#include "platform/qt/saver_painter.h"

namespace vortexa {

void paintSaverScreen(QPainter& painter, const SaverScreen& screen)
{
    (void)screen;
    painter.fillRect(painter.viewport(), Qt::black);
}

QImage renderSaverScreen(const SaverScreen& screen, QSize pixels)
{
    QImage image(pixels, QImage::Format_RGB32);
    QPainter painter(&image);
    paintSaverScreen(painter, screen);
    return image;
}

} // namespace vortexa
