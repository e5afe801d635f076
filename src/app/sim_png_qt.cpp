#include "app/sim_png.h"

#include <QGuiApplication>

#include "platform/qt/saver_painter.h"

namespace vortexa {

std::string pngUnavailableReason() { return {}; }

bool renderPng(
    const SaverScreen& screen, int widthPixels, int heightPixels, const std::string& file, int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    const QImage frame = renderSaverScreen(screen, QSize(widthPixels, heightPixels));
    return frame.save(QString::fromStdString(file), "PNG");
}

} // namespace vortexa
