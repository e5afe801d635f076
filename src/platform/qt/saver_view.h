#pragma once
// The windows of the standalone show: for each loaded saver screen a black, frameless, full-screen
// window on the primary monitor that the X server draws the scene into, and a black window over
// every other monitor. Each follows the screen's record (shown, pointer) after every event and
// passes its keys and mouse moves to the screen's handlers.

#include <QElapsedTimer>
#include <QPixmap>
#include <QPointF>
#include <QPointer>
#include <QWindow>

#include <xcb/xcb.h>

#include <memory>
#include <utility>
#include <vector>

#include "backend_kit/show_views.h"

namespace vortexa {

class Form1;
class Program;
class QtPlatform;
class X11ScenePainter;
struct SaverScreen;

// Qt's connection to the X server, or null on a platform without one.
xcb_connection_t* x11Connection();

// The saver screen's own pointer: two interlocking rings, red at the lower left and blue at the
// upper right, on a transparent 32 x 32 picture.
QPixmap ringsPointerImage();

// Draws a scene, or black, into an X window after the events that change it, no more often than
// the screen refreshes, and only what changed since the last frame. Without an X server (Qt's
// offscreen platform) it draws nothing.
class FramePainter {
public:
    // Each frame of a scene drawn counts in the platform's show cost.
    explicit FramePainter(QtPlatform& platform);
    ~FramePainter();
    // Starts drawing into the window: the whole window at once.
    void start(unsigned long window, double devicePixelRatio, int framesPerSecond);
    void stop();
    void setScreen(const SaverScreen* screen) { m_screen = screen; }
    // Draws a frame unless the last one is younger than a refresh of the screen.
    void paintIfDue();

private:
    void paintNow();

    QtPlatform& m_platform;
    std::unique_ptr<X11ScenePainter> m_painter;
    const SaverScreen* m_screen = nullptr;
    QElapsedTimer m_sinceFrame;
    qint64 m_frameNanoseconds = 0;
};

class SaverView : public QWindow {
    Q_OBJECT

public:
    // The scene's window on `screen` when drawsScene, else a black cover for another monitor.
    SaverView(Form1& form, QtPlatform& platform, QScreen* screen, bool drawsScene);
    ~SaverView() override;

    // Shows, hides and shapes the window as the screen's record says.
    void follow();
    // The screen was unloaded: the window no longer reaches it.
    void detach();
    bool drawsScene() const { return m_drawsScene; }

protected:
    bool event(QEvent* event) override;
    void exposeEvent(QExposeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    void followPointer(int style);

    Form1* m_form;
    QtPlatform& m_platform;
    bool m_drawsScene;
    int m_pointerStyle = -1;
    QPointF m_lastPointerPosition;
    FramePainter m_painter;
};

// Holds the keyboard and the pointer in one window of the show, as a screen-saver window does, so
// that a window manager's keys (Alt+Tab) cannot move typed keys to a window behind the show. The
// X server refuses a grab while another client holds one, so a refused grab is tried again a few
// times.
class InputGrab {
public:
    // Grabs in the window (0: none), letting go of the window held before.
    void holdIn(xcb_window_t window);

private:
    bool tryToGrab();
    void release();

    xcb_window_t m_window = 0;
    bool m_held = false;
    int m_triesLeft = 0;
    QElapsedTimer m_sinceTry;
};

class SaverWindows {
public:
    // Makes the windows follow the program's saver screens after every event that the platform
    // delivers, and the monitors as they come and go.
    SaverWindows(Program& program, QtPlatform& platform);
    ~SaverWindows();
    SaverWindows(const SaverWindows&) = delete;
    SaverWindows& operator=(const SaverWindows&) = delete;

    // Creates windows for new screens, retires those of unloaded screens and lets the others
    // follow their records.
    void follow();

    // The scene's window of a screen, and every window of it (the scene's first).
    SaverView* viewOf(const Form1& form) const;
    std::vector<SaverView*> windowsOf(const Form1& form) const;

private:
    void retire(SaverView* view);
    SaverView* windowToHoldInput() const;

    Program& m_program;
    QtPlatform& m_platform;
    int m_afterEvent = 0;
    ShowViews<Form1, QScreen*, SaverView> m_views;
    std::vector<QPointer<SaverView>> m_retired;
    std::vector<QMetaObject::Connection> m_monitorWatch;
    bool m_monitorsChanged = false;
    InputGrab m_grab;
};

} // namespace vortexa
