#pragma once
// Draws a scene, or black, into an X window after the events that change it, no more often than
// the screen refreshes, and only what changed since the last frame.

#include <xcb/xcb.h>

#include <memory>

#include "backend_kit/frame_pacing.h"

namespace vortexa {

class X11Platform;
class X11ScenePainter;
struct SaverScreen;

class FramePainter {
public:
    // Each frame of a scene drawn counts in the platform's show cost.
    explicit FramePainter(X11Platform& platform);
    ~FramePainter();
    FramePainter(const FramePainter&) = delete;
    FramePainter& operator=(const FramePainter&) = delete;

    // Starts drawing into the window, or draws it again after it lost its pixels: the whole window
    // at once.
    void start(xcb_window_t window, double devicePixelRatio, int framesPerSecond);
    void stop();
    bool started() const { return m_painter != nullptr; }
    void setScreen(const SaverScreen* screen) { m_screen = screen; }
    // Draws a frame now if the last one is a refresh old, else when it is.
    void paintWhenDue();

private:
    void paintNow();
    void stopOwedFrame();

    X11Platform& m_platform;
    std::unique_ptr<X11ScenePainter> m_painter;
    const SaverScreen* m_screen = nullptr;
    FramePacing m_pacing;
    int m_owedFrame = 0; // the loop's timer of a frame owed, or 0
    bool m_anySceneDrawn = false;
};

} // namespace vortexa
