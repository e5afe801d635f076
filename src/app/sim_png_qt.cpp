#include "app/sim_png.h"

#include <QBuffer>
#include <QByteArray>
#include <QGuiApplication>
#include <QImage>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "platform/qt/saver_painter.h"

namespace vortexa {

std::string pngUnavailableReason() { return {}; }

namespace {

[[noreturn]] void fail(std::string message) { throw BadOption {std::move(message)}; }

std::string because(int error) { return std::string(": ") + std::strerror(error); }

// The name is handed to the system as the bytes it was given, whatever their encoding; a failed
// write removes what it began.
void writeFile(const std::string& name, const QByteArray& bytes)
{
    std::FILE* file = std::fopen(name.c_str(), "wb");
    if (!file)
        fail("cannot write the PNG file " + quotedText(name) + because(errno));
    const auto size = static_cast<size_t>(bytes.size());
    const bool written = std::fwrite(bytes.constData(), 1, size, file) == size;
    const int writeError = errno;
    const bool closed = std::fclose(file) == 0;
    const int reason = written ? errno : writeError;
    if (!written || !closed) {
        std::remove(name.c_str());
        fail("cannot write the PNG file " + quotedText(name) + because(reason));
    }
}

// Qt's own warnings (no runtime folder, an image too large) would add lines to the one-line message
// of a failure, which is reported on its own.
void dropQtMessages(QtMsgType, const QMessageLogContext&, const QString&) { }

} // namespace

void writePng(const SimOptions& options, const SaverScreen& screen, int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(dropQtMessages);
    QGuiApplication application(argc, argv);
    const QImage frame = renderSaverScreen(screen, QSize(options.widthPixels, options.heightPixels));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    if (frame.isNull() || !buffer.open(QIODevice::WriteOnly) || !frame.save(&buffer, "PNG"))
        fail("cannot render the last frame: not enough memory for a screen of " + std::to_string(options.widthPixels)
            + "x" + std::to_string(options.heightPixels));
    writeFile(*options.png, bytes);
}

} // namespace vortexa
