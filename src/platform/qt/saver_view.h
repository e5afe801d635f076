#pragma once
// The windows of the standalone show: for each loaded saver screen a black, frameless, full-screen
// window on the primary monitor that the X server draws the scene into, and a black window over
// every other monitor. Each follows the screen's record (shown, pointer) after every event and
// passes its keys and mouse moves to the screen's handlers.

#include <QElapsedTimer>
#include <QPixmap>
#include <QPointer>
#include <QTimer>
#include <QWindow>

#include <xcb/xcb.h>

#include <memory>
#include <utility>
#include <vector>

#include "backend_kit/frame_pacing.h"
#include "backend_kit/pointer_moves.h"
#include "backend_kit/saver_windows.h"
#include "state/program.h"

namespace vortexa {

class Form1;
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
    // Draws a frame now if the last one is a refresh old, else when it is.
    void paintWhenDue();

private:
    void paintNow();

    QtPlatform& m_platform;
    std::unique_ptr<X11ScenePainter> m_painter;
    const SaverScreen* m_screen = nullptr;
    FramePacing m_pacing;
    QTimer m_owedFrame;
};

class SaverView : public QWindow {
    Q_OBJECT

public:
    // The scene's window on `screen` when drawsScene, else a black cover for another monitor.
    SaverView(Form1& form, QtPlatform& platform, QScreen* screen, bool drawsScene);
    ~SaverView() override;

    // Shows and hides the window as the screen's record says.
    void follow();
    // The window is no longer needed: it no longer reaches its screen, hides, and is gone once
    // control is back in the event loop.
    void retire();
    bool gone() const { return m_retired && m_returnedToEventLoop.isNull(); }
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
    PointerMoves m_pointerMoves;
    FramePainter m_painter;
    bool m_retired = false;
    // Deleted later, as a retired window would be; its going says that the window may go too.
    QPointer<QObject> m_returnedToEventLoop;
};

// Holds the keyboard and the pointer in one window of the show, as a screen-saver window does, so
// that a window manager's keys (Alt+Tab) cannot move typed keys to a window behind the show. The
// X server refuses a grab while another client holds one, so a refused grab is tried again a few
// times.
class InputGrab {
public:
    static constexpr int Tries = 20;
    static constexpr qint64 BetweenTriesMs = 100;

    // Grabs in the window (0: none), letting go of the window held before.
    void holdIn(xcb_window_t window);
    bool held() const { return m_held; }
    int triesLeft() const { return m_triesLeft; }

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

    // The scene's window of a screen.
    SaverView* viewOf(const Form1& form) const { return m_windows.sceneViewOf(form); }

private:
    SaverView* windowToHoldInput() const;

    Program& m_program;
    SaverWindowsKit<Program, QScreen*, SaverView> m_windows;
    std::vector<QMetaObject::Connection> m_monitorWatch;
    InputGrab m_grab;
};

} // namespace vortexa
