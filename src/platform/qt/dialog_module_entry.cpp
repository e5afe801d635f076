// The settings dialog's module: the toolkit's application, the dialog's window following the
// program's records, and the toolkit's loop running the show's sources beside its own.

#include <QApplication>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include <unistd.h>

#include "platform/dialog_module.h"
#include "platform/qt/dialog_view.h"
#include "platform/qt/loop_driver.h"

namespace vortexa {

namespace {

constexpr int StatusUnusable = 2;

std::string displayNamed()
{
    const char* display = std::getenv("DISPLAY");
    return display ? display : "";
}

// The dialog comes over the show, which draws on X (also under a Wayland desktop's X server), so
// the toolkit runs on X unless told otherwise, as the tests do.
void useXUnlessTold()
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "xcb");
}

// While the toolkit starts, its complaints are held back: one that ends the start (it would abort
// with a page of advice) becomes the program's own one line, and the rest are told once it runs.
struct ToolkitStart {
    QtMessageHandler previous = nullptr;
    bool starting = false;
    std::vector<std::pair<QtMsgType, QString>> held;
};
ToolkitStart toolkitStart;

void whileToolkitStarts(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (!toolkitStart.starting) {
        toolkitStart.previous(type, context, message);
        return;
    }
    if (type == QtFatalMsg) {
        std::fprintf(
            stderr, "vortexa: no display to show on (the toolkit cannot open DISPLAY=%s)\n", displayNamed().c_str());
        std::fflush(stderr);
        _exit(StatusUnusable);
    }
    toolkitStart.held.emplace_back(type, message);
}

std::unique_ptr<QApplication> startToolkit(int& argc, char** argv)
{
    useXUnlessTold();
    toolkitStart.previous = qInstallMessageHandler(whileToolkitStarts);
    toolkitStart.starting = true;
    auto application = std::make_unique<QApplication>(argc, argv);
    toolkitStart.starting = false;
    for (const auto& [type, message] : toolkitStart.held)
        toolkitStart.previous(type, QMessageLogContext(), message);
    toolkitStart.held.clear();
    // Only the program itself ends the program, even when it hides its last window.
    QApplication::setQuitOnLastWindowClosed(false);
    return application;
}

class QtDialogModule : public DialogModule {
public:
    explicit QtDialogModule(DialogHost& host)
        : m_application(startToolkit(host.argc, host.argv))
        , m_loop(host.loop)
        , m_window(host.program, host.delivery)
    {
        DialogView::setSceneWindow(host.sceneWindow);
        // The module is made while an event is delivered, after the dialog was loaded.
        m_window.follow();
    }

    void yieldToEvents() override { QCoreApplication::processEvents(); }
    void run() override { QApplication::exec(); }

private:
    std::unique_ptr<QApplication> m_application;
    LoopDriver m_loop;
    DialogWindow m_window;
};

} // namespace

} // namespace vortexa

// The module stays loaded until the program ends, and so does what this makes; the toolkit's
// application is made once, however often the program asks.
extern "C" __attribute__((visibility("default"))) vortexa::DialogModule* vortexa_dialog_module(
    vortexa::DialogHost& host)
{
    static vortexa::DialogModule* const module = new vortexa::QtDialogModule(host);
    return module;
}

static_assert(std::is_same_v<decltype(&vortexa_dialog_module), vortexa::DialogModuleEntry>);
