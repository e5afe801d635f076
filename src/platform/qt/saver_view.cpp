#include "platform/qt/saver_view.h"

#include <QCloseEvent>
#include <QCursor>
#include <QGuiApplication>
#include <QIcon>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScreen>

#include <algorithm>

#include "platform/qt/qt_platform.h"
#include "platform/qt/saver_painter.h"
#include "saver/form1.h"
#include "saver/program.h"

namespace vortexa {

namespace {

constexpr int PointerSize = 32;

QPixmap transparentIcon()
{
    QPixmap icon(PointerSize, PointerSize);
    icon.fill(Qt::transparent);
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

QRect primaryScreenGeometry()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->geometry() : QRect();
}

} // namespace

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

SaverView::SaverView(Form1& form, QtPlatform& platform)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
    , m_form(&form)
    , m_platform(platform)
    , m_lastPointerPosition(QCursor::pos())
{
    // The painter covers every pixel it is asked for, so the system need not clear first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    setPalette(QPalette(Qt::black));
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setWindowIcon(QIcon(transparentIcon()));
    setWindowTitle(QStringLiteral("Vortexa"));
}

void SaverView::follow()
{
    if (!m_form)
        return;
    const SaverScreen& screen = m_form->screen;
    followPointer(screen.MousePointer);
    if (!screen.Visible) {
        if (isVisible())
            hide();
        return;
    }
    if (!isVisible() || isFullScreen() != screen.Maximised) {
        if (screen.Maximised) {
            setGeometry(primaryScreenGeometry());
            showFullScreen();
            activateWindow();
        } else {
            showNormal();
        }
    }
    update();
}

void SaverView::followPointer(int style)
{
    if (style == m_pointerStyle)
        return;
    m_pointerStyle = style;
    setCursor(cursorFor(style));
}

void SaverView::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    if (m_form)
        paintSaverScreen(painter, m_form->screen, event->rect());
    else
        painter.fillRect(event->rect(), Qt::black);
}

void SaverView::keyPressEvent(QKeyEvent* event)
{
    const QString text = event->text();
    if (!m_form || text.isEmpty())
        return;
    const auto KeyAscii = static_cast<int16_t>(text.at(0).unicode());
    Form1* form = m_form;
    m_platform.deliver([form, KeyAscii] { form->Form_KeyPress(KeyAscii); });
}

namespace {

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

void SaverView::mouseMoveEvent(QMouseEvent* event)
{
    // The window system also reports the pointer when a window appears under it; only a change
    // of place is a movement.
    const QPointF position = event->globalPosition();
    if (!m_form || position == m_lastPointerPosition)
        return;
    m_lastPointerPosition = position;
    Form1* form = m_form;
    const auto Button = static_cast<int16_t>(buttonState(event->buttons()));
    const auto Shift = static_cast<int16_t>(shiftState(event->modifiers()));
    const auto X = static_cast<float>(event->position().x() * TwipsPerPixel);
    const auto Y = static_cast<float>(event->position().y() * TwipsPerPixel);
    m_platform.deliver([form, Button, Shift, X, Y] { form->Form_MouseMove(Button, Shift, X, Y); });
}

// The program has no handler for a request to close its screen, and its record still says shown;
// the show ends by a key or the mouse instead.
void SaverView::closeEvent(QCloseEvent* event) { event->ignore(); }

SaverWindows::SaverWindows(Program& program, QtPlatform& platform)
    : m_program(program)
    , m_platform(platform)
{
    m_afterEvent = m_platform.addAfterEvent([this](bool outermost) {
        follow();
        if (outermost)
            m_program.DiscardUnloaded();
    });
}

SaverWindows::~SaverWindows()
{
    m_platform.removeAfterEvent(m_afterEvent);
    for (const auto& [form, view] : m_views)
        delete view;
    for (const QPointer<SaverView>& view : m_retired)
        delete view.data();
}

void SaverWindows::follow()
{
    retireViewsOfUnloadedScreens();
    for (const auto& form : m_program.screens()) {
        SaverView* view = viewOf(*form);
        if (!view) {
            view = new SaverView(*form, m_platform);
            m_views.emplace_back(form.get(), view);
        }
        view->follow();
    }
}

SaverView* SaverWindows::viewOf(const Form1& form) const
{
    const auto found
        = std::find_if(m_views.begin(), m_views.end(), [&form](const auto& entry) { return entry.first == &form; });
    return found == m_views.end() ? nullptr : found->second;
}

// A retired window may be the one whose event is being handled, so it is deleted only once
// control is back in the event loop.
void SaverWindows::retireViewsOfUnloadedScreens()
{
    const auto& screens = m_program.screens();
    const auto unloaded = [&screens](const auto& entry) {
        return std::none_of(
            screens.begin(), screens.end(), [&entry](const auto& form) { return form.get() == entry.first; });
    };
    for (const auto& entry : m_views) {
        if (!unloaded(entry))
            continue;
        entry.second->detach();
        entry.second->hide();
        entry.second->deleteLater();
        m_retired.emplace_back(entry.second);
    }
    std::erase_if(m_views, unloaded);
    std::erase_if(m_retired, [](const QPointer<SaverView>& view) { return view.isNull(); });
}

} // namespace vortexa
