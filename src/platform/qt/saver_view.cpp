#include "platform/qt/saver_view.h"

#include <QCursor>
#include <QGuiApplication>
#include <QIcon>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "backend_kit/monitor_covers.h"
#include "backend_kit/rings_pointer.h"
#include "dialog/form2.h"
#include "platform/qt/qt_platform.h"
#include "platform/qt/system_look.h"
#include "platform/qt/x11_scene_painter.h"
#include "saver/form1.h"
#include "state/program.h"

namespace vortexa {

namespace {

// The character the Delete key gives; on the system the show was made for it types nothing.
constexpr char16_t DeleteCharacter = 0x7f;

const QIcon& transparentIcon()
{
    static const QIcon icon = [] {
        QPixmap picture(RingsPointer.size, RingsPointer.size);
        picture.fill(Qt::transparent);
        return QIcon(picture);
    }();
    return icon;
}

QCursor cursorFor(int style)
{
    switch (style) {
    case PointerCrossHair:
        return QCursor(Qt::CrossCursor);
    case PointerCustom:
        return QCursor(ringsPointerImage(), RingsPointer.hotSpotX, RingsPointer.hotSpotY);
    default:
        return QCursor(Qt::ArrowCursor);
    }
}

int framesPerSecondOf(const QScreen* screen)
{
    const double rate = screen ? screen->refreshRate() : 60;
    return static_cast<int>(std::lround(rate));
}

} // namespace

xcb_connection_t* x11Connection()
{
    // Qt's offscreen platform answers too, without a connection.
    const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 ? x11->connection() : nullptr;
}

QPixmap ringsPointerImage()
{
    const RingsPointerPicture& rings = RingsPointer;
    QPixmap image(rings.size, rings.size);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    // Qt strokes on the box's edge; the rings' boxes are their outer edges.
    const auto boxOf = [&rings](const PointerRing& ring) {
        const double inset = rings.penWidth / 2.0;
        return QRectF(ring.left + inset, ring.top + inset, ring.size - rings.penWidth, ring.size - rings.penWidth);
    };
    const auto penOf = [&rings](const PointerRing& ring) { return QPen(toQColor(ring.colour), rings.penWidth); };
    painter.setPen(penOf(rings.blue));
    painter.drawEllipse(boxOf(rings.blue));
    painter.setPen(penOf(rings.red));
    painter.drawEllipse(boxOf(rings.red));
    painter.drawArc(boxOf(rings.red), rings.crossingArcStart * 16, rings.crossingArcSpan * 16);
    return image;
}

FramePainter::FramePainter(QtPlatform& platform)
    : m_platform(platform)
{
    m_owedFrame.setSingleShot(true);
    m_owedFrame.setTimerType(Qt::PreciseTimer);
    QObject::connect(&m_owedFrame, &QTimer::timeout, [this] { paintNow(); });
}

FramePainter::~FramePainter() = default;

void FramePainter::start(unsigned long window, double devicePixelRatio, int framesPerSecond)
{
    xcb_connection_t* connection = x11Connection();
    if (!connection)
        return;
    if (!m_painter)
        m_painter = std::make_unique<X11ScenePainter>(connection, static_cast<xcb_window_t>(window), devicePixelRatio);
    m_painter->forgetWindow(devicePixelRatio);
    m_pacing.setFramesPerSecond(framesPerSecond);
    paintNow();
}

void FramePainter::stop()
{
    m_owedFrame.stop();
    m_painter.reset();
}

void FramePainter::paintWhenDue()
{
    if (!m_painter)
        return;
    const int64_t now = monotonicMicroseconds();
    switch (m_pacing.changed(now)) {
    case FrameStep::DrawNow:
        paintNow();
        break;
    case FrameStep::WaitForTimer:
        m_owedFrame.start(static_cast<int>((m_pacing.untilDue(now) + 999) / 1000));
        break;
    case FrameStep::AlreadyOwed:
        break;
    }
}

void FramePainter::paintNow()
{
    m_owedFrame.stop();
    if (!m_painter)
        return;
    m_pacing.drawn(monotonicMicroseconds());
    m_painter->paint(m_screen);
    // A black cover of another monitor is no frame of the show.
    if (m_screen)
        m_platform.framePainted();
}

SaverView::SaverView(Form1& form, QtPlatform& platform, QScreen* screen, bool drawsScene)
    : m_form(&form)
    , m_platform(platform)
    , m_drawsScene(drawsScene)
    , m_pointerMoves(QCursor::pos().x(), QCursor::pos().y())
    , m_painter(platform)
{
    setScreen(screen);
    setFlags(Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    setIcon(transparentIcon());
    setTitle(QStringLiteral("Vortexa"));
    if (drawsScene)
        m_painter.setScreen(&form.screen);
}

SaverView::~SaverView() { m_painter.stop(); }

void SaverView::retire()
{
    m_form = nullptr;
    m_painter.setScreen(nullptr);
    hide();
    m_retired = true;
    m_returnedToEventLoop = new QObject;
    m_returnedToEventLoop->deleteLater();
}

void SaverView::follow()
{
    m_painter.paintWhenDue();
    if (!m_form)
        return;
    const SaverScreen& screen = m_form->screen;
    followPointer(screen.MousePointer);
    if (!screen.Visible) {
        if (isVisible())
            hide();
        return;
    }
    // A shown saver screen is always maximised: its window fills its monitor.
    if (!isVisible()) {
        if (this->screen())
            setGeometry(this->screen()->geometry());
        showFullScreen();
        requestActivate();
    }
}

void SaverView::followPointer(int style)
{
    if (style == m_pointerStyle)
        return;
    m_pointerStyle = style;
    setCursor(cursorFor(style));
}

bool SaverView::event(QEvent* event)
{
    // The program has no handler for a request to close its screen, and its record still says
    // shown; the show ends by a key or the mouse instead.
    if (event->type() == QEvent::Close) {
        event->ignore();
        return true;
    }
    return QWindow::event(event);
}

void SaverView::exposeEvent(QExposeEvent*)
{
    if (isExposed())
        m_painter.start(winId(), devicePixelRatio(), framesPerSecondOf(screen()));
    else
        m_painter.stop();
}

void SaverView::keyPressEvent(QKeyEvent* event)
{
    const QString text = event->text();
    if (!m_form || text.isEmpty() || text.at(0) == DeleteCharacter)
        return;
    const auto KeyAscii = static_cast<int16_t>(text.at(0).unicode());
    Form1* form = m_form;
    m_platform.deliver([form, KeyAscii] { form->Form_KeyPress(KeyAscii); });
}

void SaverView::mouseMoveEvent(QMouseEvent* event)
{
    const QPointF position = event->globalPosition();
    const QScreen* primary = QGuiApplication::primaryScreen();
    const QPointF corner = primary ? QPointF(primary->geometry().topLeft()) : QPointF();
    const auto place = m_pointerMoves.movedTo(position.x(), position.y(), corner.x(), corner.y());
    if (!m_form || !place)
        return;
    Form1* form = m_form;
    m_platform.deliver([form, X = place->x, Y = place->y] { form->Form_MouseMove(X, Y); });
}

SaverWindows::SaverWindows(Program& program, QtPlatform& platform)
    : m_program(program)
    , m_windows(program, platform,
          {
              [] {
                  const QList<QScreen*> monitors = QGuiApplication::screens();
                  return std::vector<QScreen*>(monitors.begin(), monitors.end());
              },
              [] { return QGuiApplication::primaryScreen(); },
              [](QScreen* monitor) {
                  const QRect area = monitor ? monitor->geometry() : QRect();
                  return MonitorArea {area.x(), area.y(), area.width(), area.height()};
              },
              [&platform](Form1& form, QScreen* monitor, bool drawsScene) {
                  return new SaverView(form, platform, monitor, drawsScene);
              },
              [](SaverView* scene) {
                  if (scene->isVisible())
                      scene->raise();
              },
              [this] {
                  const SaverView* holder = windowToHoldInput();
                  m_grab.holdIn(holder ? static_cast<xcb_window_t>(holder->winId()) : 0);
              },
          })
{
    const auto monitorsChanged = [this] { m_windows.monitorsChanged(); };
    m_monitorWatch.push_back(QObject::connect(qGuiApp, &QGuiApplication::screenAdded, monitorsChanged));
    m_monitorWatch.push_back(QObject::connect(qGuiApp, &QGuiApplication::screenRemoved, monitorsChanged));
    m_monitorWatch.push_back(QObject::connect(qGuiApp, &QGuiApplication::primaryScreenChanged, monitorsChanged));
}

SaverWindows::~SaverWindows()
{
    for (const QMetaObject::Connection& connection : m_monitorWatch)
        QObject::disconnect(connection);
}

// The scene's window of the newest shown screen holds the keys and the pointer, except while the
// dialog is open over it and needs them.
SaverView* SaverWindows::windowToHoldInput() const
{
    const Form2* dialog = m_program.loadedDialog();
    if (dialog && dialog->Visible)
        return nullptr;
    for (auto form = m_program.screens().rbegin(); form != m_program.screens().rend(); ++form) {
        SaverView* view = viewOf(**form);
        if ((*form)->screen.Visible && view && view->isExposed())
            return view;
    }
    return nullptr;
}

void InputGrab::holdIn(xcb_window_t window)
{
    if (window != m_window) {
        release();
        m_window = window;
        m_triesLeft = Tries;
    }
    if (m_window == 0 || m_held || m_triesLeft == 0)
        return;
    if (m_sinceTry.isValid() && m_sinceTry.elapsed() < BetweenTriesMs)
        return;
    m_sinceTry.start();
    --m_triesLeft;
    m_held = tryToGrab();
}

bool InputGrab::tryToGrab()
{
    xcb_connection_t* connection = x11Connection();
    if (!connection)
        return false;
    xcb_grab_keyboard_reply_t* keyboard = xcb_grab_keyboard_reply(connection,
        xcb_grab_keyboard(connection, 1, m_window, XCB_CURRENT_TIME, XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC),
        nullptr);
    const bool keyboardHeld = keyboard && keyboard->status == XCB_GRAB_STATUS_SUCCESS;
    std::free(keyboard);
    if (!keyboardHeld)
        return false;
    constexpr uint16_t PointerEvents = XCB_EVENT_MASK_POINTER_MOTION | XCB_EVENT_MASK_BUTTON_PRESS
        | XCB_EVENT_MASK_BUTTON_RELEASE | XCB_EVENT_MASK_ENTER_WINDOW | XCB_EVENT_MASK_LEAVE_WINDOW;
    xcb_grab_pointer_reply_t* pointer = xcb_grab_pointer_reply(connection,
        xcb_grab_pointer(connection, 1, m_window, PointerEvents, XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC, XCB_NONE,
            XCB_NONE, XCB_CURRENT_TIME),
        nullptr);
    const bool pointerHeld = pointer && pointer->status == XCB_GRAB_STATUS_SUCCESS;
    std::free(pointer);
    if (!pointerHeld)
        xcb_ungrab_keyboard(connection, XCB_CURRENT_TIME);
    xcb_flush(connection);
    return pointerHeld;
}

void InputGrab::release()
{
    xcb_connection_t* connection = x11Connection();
    if (m_held && connection) {
        xcb_ungrab_pointer(connection, XCB_CURRENT_TIME);
        xcb_ungrab_keyboard(connection, XCB_CURRENT_TIME);
        xcb_flush(connection);
    }
    m_held = false;
    m_sinceTry.invalidate();
}

} // namespace vortexa
