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

#include "dialog/form2.h"
#include "platform/qt/qt_platform.h"
#include "platform/qt/x11_scene_painter.h"
#include "saver/form1.h"
#include "saver/program.h"

namespace vortexa {

namespace {

constexpr int PointerSize = 32;
// The character the Delete key gives; on the system the show was made for it types nothing.
constexpr char16_t DeleteCharacter = 0x7f;

const QIcon& transparentIcon()
{
    static const QIcon icon = [] {
        QPixmap picture(PointerSize, PointerSize);
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
        return QCursor(ringsPointerImage(), PointerSize / 2, PointerSize / 2);
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
    QPixmap image(PointerSize, PointerSize);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF red(3, 11, 18, 18);
    const QRectF blue(11, 3, 18, 18);
    const QPen redPen(QColor(0xE0, 0x10, 0x10), 3);
    painter.setPen(redPen);
    painter.drawEllipse(red);
    painter.setPen(QPen(QColor(0x10, 0x30, 0xE0), 3));
    painter.drawEllipse(blue);
    // The red ring passes over the blue one at the lower right crossing, so the rings interlock.
    painter.setPen(redPen);
    painter.drawArc(red, -30 * 16, 40 * 16);
    return image;
}

FramePainter::FramePainter() = default;

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
}

SaverView::SaverView(Form1& form, QtPlatform& platform, QScreen* screen, bool drawsScene)
    : m_form(&form)
    , m_platform(platform)
    , m_drawsScene(drawsScene)
    , m_lastPointerPosition(QCursor::pos())
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
    for (const auto& [form, view] : m_views)
        delete view;
    for (const QPointer<SaverView>& view : m_retired)
        delete view.data();
}

void SaverWindows::follow()
{
    retireWindowsOfUnloadedScreens();
    for (const auto& form : m_program.screens()) {
        if (m_monitorsChanged || windowsOf(*form).empty())
            matchMonitors(*form);
        for (SaverView* view : windowsOf(*form))
            view->follow();
    }
    m_monitorsChanged = false;
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

// A screen has its scene's window on the primary monitor and a cover on each other monitor.
void SaverWindows::matchMonitors(Form1& form)
{
    QScreen* primary = QGuiApplication::primaryScreen();
    const QList<QScreen*> monitors = QGuiApplication::screens();
    for (SaverView* view : windowsOf(form)) {
        const bool placed = view->drawsScene() ? view->screen() == primary
                                               : view->screen() != primary && monitors.contains(view->screen());
        if (!placed) {
            retire(view);
            std::erase_if(m_views, [view](const auto& entry) { return entry.second == view; });
        }
    }
    for (QScreen* monitor : monitors) {
        const std::vector<SaverView*> windows = windowsOf(form);
        const bool covered = std::any_of(
            windows.begin(), windows.end(), [monitor](SaverView* view) { return view->screen() == monitor; });
        if (!covered) {
            auto* view = new SaverView(form, m_platform, monitor, monitor == primary);
            // The scene's window comes first, so that it is the one the screen is known by.
            if (monitor == primary)
                m_views.insert(m_views.begin(), {&form, view});
            else
                m_views.emplace_back(&form, view);
        }
    }
}

SaverView* SaverWindows::viewOf(const Form1& form) const
{
    const auto found = std::find_if(m_views.begin(), m_views.end(),
        [&form](const auto& entry) { return entry.first == &form && entry.second->drawsScene(); });
    return found == m_views.end() ? nullptr : found->second;
}

std::vector<SaverView*> SaverWindows::windowsOf(const Form1& form) const
{
    std::vector<SaverView*> windows;
    for (const auto& [owner, view] : m_views)
        if (owner == &form)
            windows.push_back(view);
    return windows;
}

// A retired window may be the one whose event is being handled, so it is deleted only once
// control is back in the event loop.
void SaverWindows::retire(SaverView* view)
{
    view->detach();
    view->hide();
    view->deleteLater();
    m_retired.emplace_back(view);
}

void SaverWindows::retireWindowsOfUnloadedScreens()
{
    const auto& screens = m_program.screens();
    const auto unloaded = [&screens](const auto& entry) {
        return std::none_of(
            screens.begin(), screens.end(), [&entry](const auto& form) { return form.get() == entry.first; });
    };
    for (const auto& entry : m_views)
        if (unloaded(entry))
            retire(entry.second);
    std::erase_if(m_views, unloaded);
    std::erase_if(m_retired, [](const QPointer<SaverView>& view) { return view.isNull(); });
}

} // namespace vortexa
