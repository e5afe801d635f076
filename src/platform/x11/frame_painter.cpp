#include "platform/x11/frame_painter.h"

#include "platform/x11/x11_platform.h"
#include "platform/x11/x11_scene_painter.h"

namespace vortexa {

FramePainter::FramePainter(X11Platform& platform)
    : m_platform(platform)
{
}

FramePainter::~FramePainter() { stop(); }

void FramePainter::start(xcb_window_t window, double devicePixelRatio, int framesPerSecond)
{
    if (!m_painter)
        m_painter = std::make_unique<X11ScenePainter>(m_platform.connection(), window, devicePixelRatio);
    m_painter->forgetWindow(devicePixelRatio);
    m_pacing.setFramesPerSecond(framesPerSecond);
    paintNow();
}

void FramePainter::stop()
{
    stopOwedFrame();
    m_painter.reset();
}

void FramePainter::stopOwedFrame()
{
    if (m_owedFrame)
        m_platform.loop().stopTimer(m_owedFrame);
    m_owedFrame = 0;
}

void FramePainter::paintWhenDue()
{
    if (!m_painter)
        return;
    paceFrame(
        m_pacing, monotonicMicroseconds(), [this] { paintNow(); },
        [this](int milliseconds) {
            m_owedFrame = m_platform.loop().startTimer(milliseconds, [this](int) { paintNow(); });
        });
}

void FramePainter::paintNow()
{
    stopOwedFrame();
    if (!m_painter)
        return;
    m_pacing.drawn(monotonicMicroseconds());
    // The very first frame shows the scene before its text: the fonts take a moment to load, and
    // the circles need not wait for them.
    if (m_screen && !m_anySceneDrawn)
        m_painter->paint(m_screen, X11ScenePainter::Text::Left);
    m_anySceneDrawn = m_anySceneDrawn || m_screen;
    m_painter->paint(m_screen);
    // A black cover of another monitor is no frame of the show.
    if (!m_screen)
        return;
    m_platform.framePainted();
    // No frame can show a step before the next one is due, so the steps until then need not wake
    // the program: they run together with the first step due from then on, which draws it.
    m_platform.loop().holdTimersUntil((m_pacing.nextDue() + 999) / 1000);
}

} // namespace vortexa
