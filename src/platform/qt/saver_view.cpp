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
    return std::clamp(static_cast<int>(std::lround(rate)), 1, 100);
}

// The button and shift states as the handler takes them: 1 left, 2 right, 4 middle; 1 Shift,
// 2 Ctrl, 4 Alt.
int buttonState(Qt::MouseButtons buttons)
{
    return (buttons & Qt::LeftButton ? 1 : 0) | (buttons & Qt::RightButton ? 2 : 0)
        | (buttons & Qt::MiddleButton ? 4 : 0);
}

int shiftState(Qt::KeyboardModifiers modifiers)
{
    return (modifiers & Qt::ShiftModifier ? 1 : 0) | (modifiers & Qt::ControlModifier ? 2 : 0)
        | (modifiers & Qt::AltModifier ? 4 : 0);
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
    m_frameNanoseconds = 1'000'000'000 / framesPerSecond;
    paintNow();
}

void FramePainter::stop() { m_painter.reset(); }

void FramePainter::paintIfDue()
{
    if (m_painter && m_sinceFrame.nsecsElapsed() >= m_frameNanoseconds)
        paintNow();
}

void FramePainter::paintNow()
{
    m_sinceFrame.start();
    m_painter->paint(m_screen);
    // A black cover of another monitor is no frame of the show.
    if (m_screen)
        m_platform.framePainted();
}

SaverView::SaverView(Form1& form, QtPlatform& platform, QScreen* screen, bool drawsScene)
    : m_form(&form)
    , m_platform(platform)
    , m_drawsScene(drawsScene)
    , m_lastPointerPosition(QCursor::pos())
    , m_painter(platform)
{
    setScreen(screen);
    setFlags(Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    setIcon(transparentIcon());
    setTitle(QStringLiteral("Vortexa"));
    if (m_drawsScene)
        m_painter.setScreen(&form.screen);
}

SaverView::~SaverView() { m_painter.stop(); }

void SaverView::detach()
{
    m_form = nullptr;
    m_painter.setScreen(nullptr);
}

void SaverView::follow()
{
    m_painter.paintIfDue();
    if (!m_form)
        return;
    const SaverScreen& screen = m_form->screen;
    followPointer(screen.MousePointer);
    if (!screen.Visible) {
        if (isVisible())
            hide();
        return;
    }
    const bool fullScreen = windowState() == Qt::WindowFullScreen;
    if (!isVisible() || fullScreen != screen.Maximised) {
        if (screen.Maximised) {
            if (this->screen())
                setGeometry(this->screen()->geometry());
            showFullScreen();
            requestActivate();
        } else {
            showNormal();
        }
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
    // The window system also reports the pointer when a window appears under it; only a change
    // of place is a movement.
    const QPointF position = event->globalPosition();
    if (!m_form || position == m_lastPointerPosition)
        return;
    m_lastPointerPosition = position;
    // The scene's screen has its origin at the primary monitor's corner, also for moves over the
    // other monitors.
    const QScreen* primary = QGuiApplication::primaryScreen();
    const QPointF place = position - (primary ? QPointF(primary->geometry().topLeft()) : QPointF());
    Form1* form = m_form;
    const auto Button = static_cast<int16_t>(buttonState(event->buttons()));
    const auto Shift = static_cast<int16_t>(shiftState(event->modifiers()));
    const auto X = static_cast<float>(place.x() * TwipsPerPixel);
    const auto Y = static_cast<float>(place.y() * TwipsPerPixel);
    m_platform.deliver([form, Button, Shift, X, Y] { form->Form_MouseMove(Button, Shift, X, Y); });
}

SaverWindows::SaverWindows(Program& program, QtPlatform& platform)
    : m_program(program)
    , m_platform(platform)
{
    m_afterEvent = m_platform.addAfterEvent([this](bool outermost) {
        follow();
        if (outermost)
            m_program.DiscardUnloaded();
    });
    const auto monitorsChanged = [this] {
        m_monitorsChanged = true;
        follow();
    };
    m_monitorWatch.push_back(QObject::connect(qGuiApp, &QGuiApplication::screenAdded, monitorsChanged));
    m_monitorWatch.push_back(QObject::connect(qGuiApp, &QGuiApplication::screenRemoved, monitorsChanged));
    m_monitorWatch.push_back(QObject::connect(qGuiApp, &QGuiApplication::primaryScreenChanged, monitorsChanged));
}

SaverWindows::~SaverWindows()
{
    for (const QMetaObject::Connection& connection : m_monitorWatch)
        QObject::disconnect(connection);
    m_platform.removeAfterEvent(m_afterEvent);
    for (const auto& entry : m_views.entries())
        delete entry.view;
    for (const QPointer<SaverView>& view : m_retired)
        delete view.data();
}

void SaverWindows::follow()
{
    std::vector<Form1*> screens;
    for (const auto& form : m_program.screens())
        screens.push_back(form.get());
    const QList<QScreen*> monitors = QGuiApplication::screens();
    const auto make = [this](Form1& form, QScreen* monitor, bool drawsScene) {
        return new SaverView(form, m_platform, monitor, drawsScene);
    };
    m_views.match(screens, std::vector<QScreen*>(monitors.begin(), monitors.end()), QGuiApplication::primaryScreen(),
        m_monitorsChanged, make, [this](SaverView* view) { retire(view); });
    m_monitorsChanged = false;
    std::erase_if(m_retired, [](const QPointer<SaverView>& view) { return view.isNull(); });
    for (const auto& entry : m_views.entries())
        entry.view->follow();
    const SaverView* holder = windowToHoldInput();
    m_grab.holdIn(holder ? static_cast<xcb_window_t>(holder->winId()) : 0);
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
    constexpr int Tries = 20;
    constexpr qint64 BetweenTriesMs = 100;
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

SaverView* SaverWindows::viewOf(const Form1& form) const { return m_views.sceneViewOf(form); }

std::vector<SaverView*> SaverWindows::windowsOf(const Form1& form) const { return m_views.viewsOf(form); }

// A retired window may be the one whose event is being handled, so it is deleted only once
// control is back in the event loop.
void SaverWindows::retire(SaverView* view)
{
    view->detach();
    view->hide();
    view->deleteLater();
    m_retired.emplace_back(view);
}

} // namespace vortexa
