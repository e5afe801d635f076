#include "platform/qt/dialog_view.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSlider>
#include <QWindow>

#include <utility>

#include "platform/qt/dialog_parts.h"
#include "platform/qt/saver_painter.h"

namespace vortexa {

namespace {

// The show's scene window, which the program that loaded the dialog names.
std::function<uint32_t()> sceneWindowOfShow;

// The toolkit's window for the scene's X window: its own, or one it knows as another client's.
QWindow* sceneWindow()
{
    const uint32_t id = sceneWindowOfShow ? sceneWindowOfShow() : 0;
    if (id == 0)
        return nullptr;
    for (QWindow* window : QGuiApplication::topLevelWindows())
        if (window->handle() && window->winId() == id)
            return window;
    return QWindow::fromWinId(id);
}

} // namespace

void DialogView::setSceneWindow(std::function<uint32_t()> sceneWindow) { sceneWindowOfShow = std::move(sceneWindow); }

DialogView::DialogView(Form2& form, EventDelivery& events)
    : m_following(form, events, *this, FrameControls::InsideTheFrame)
{
    // The saver screen stays on top of other windows; the dialog must come over it.
    setWindowFlag(Qt::WindowStaysOnTopHint);
    setFont(toQFont(Font {}));
    setObjectName(QStringLiteral("Form2"));
    for (size_t row = 0; row < m_following.controls().size(); ++row) {
        m_widgets.push_back(makeWidget(row));
        m_widgets.back()->setObjectName(QString::fromStdString(m_following.controls()[row].name));
    }
    follow();
}

QWidget* DialogView::containerOf(Container container) const
{
    for (size_t row = 0; row < m_widgets.size(); ++row)
        if (m_following.controls()[row].holds == container)
            return m_widgets[row];
    return const_cast<DialogView*>(this);
}

QWidget* DialogView::makeWidget(size_t row)
{
    const DialogControl& control = m_following.controls()[row];
    QWidget* parent = containerOf(control.container);
    const auto click = [this, row] { m_following.clicked(row); };
    return std::visit(
        [&](auto* record) -> QWidget* {
            using Record = std::remove_cvref_t<decltype(*record)>;
            if constexpr (std::is_same_v<Record, PictureElement>) {
                return new PictureView(m_following.form(), parent);
            } else if constexpr (std::is_same_v<Record, LabelElement>) {
                auto* label = new ClickableLabel(parent);
                label->setTextFormat(Qt::PlainText);
                label->onClick = click;
                return label;
            } else if constexpr (std::is_same_v<Record, FrameElement>) {
                return new QGroupBox(parent);
            } else if constexpr (std::is_same_v<Record, ButtonElement>) {
                auto* button = new QPushButton(parent);
                button->setDefault(record->Default);
                connect(button, &QPushButton::clicked, this, click);
                return button;
            } else if constexpr (std::is_same_v<Record, TrackBar>) {
                auto* slider = new QSlider(Qt::Horizontal, parent);
                slider->setTickPosition(QSlider::TicksBelow);
                slider->setTickInterval(TrackBar::TickFrequency);
                slider->setSingleStep(TrackBar::SmallChange);
                slider->setPageStep(TrackBar::LargeChange);
                connect(slider, &QSlider::valueChanged, this,
                    [this, row](int value) { m_following.trackBarMoved(row, value); });
                return slider;
            } else if constexpr (std::is_same_v<Record, ComboList>) {
                // The user's text goes to the list as typed: no completion and no new entries.
                // Without a completer the field also matches its entries by exact text when it
                // loses the focus, as the list does.
                auto* list = new QComboBox(parent);
                list->setEditable(true);
                list->setInsertPolicy(QComboBox::NoInsert);
                list->setCompleter(nullptr);
                connect(
                    list, &QComboBox::activated, this, [this, row](int index) { m_following.entryPicked(row, index); });
                connect(list->lineEdit(), &QLineEdit::textEdited, this,
                    [this, row](const QString& text) { m_following.textTyped(row, text.toStdString()); });
                return list;
            } else {
                return new LineView(parent);
            }
        },
        control.record);
}

void DialogView::writePlace(const PixelBox& place)
{
    setFixedSize(place.width, place.height);
    move(place.left, place.top);
}

// The dialog opened over the show stays above it: a window manager keeps a window above the one it
// is transient for, even when the user clicks that one. The window system learns it as the dialog
// is shown.
void DialogView::writeShown(bool shown)
{
    if (shown && !isVisible()) {
        if (!windowHandle())
            create();
        QWindow* scene = sceneWindow();
        if (windowHandle()->transientParent() != scene)
            windowHandle()->setTransientParent(scene);
    }
    setVisible(shown);
}

void DialogView::bringToFront()
{
    raise();
    activateWindow();
}

void DialogView::writeBox(size_t row, const PixelBox& box)
{
    // A list's height follows its font.
    if (auto* list = qobject_cast<QComboBox*>(m_widgets[row]))
        list->setGeometry(box.left, box.top, box.width, list->sizeHint().height());
    else
        m_widgets[row]->setGeometry(toQRect(box));
}

void DialogView::writeText(size_t row, const std::string& text)
{
    const QString shown = QString::fromStdString(text);
    if (auto* button = qobject_cast<QPushButton*>(m_widgets[row]))
        button->setText(shown);
    else if (auto* frame = qobject_cast<QGroupBox*>(m_widgets[row]))
        frame->setTitle(shown);
    // A field that shows the text already keeps the user's typing cursor.
    else if (auto* list = qobject_cast<QComboBox*>(m_widgets[row]); list && list->currentText() != shown)
        list->setEditText(shown);
}

void DialogView::writeEntries(size_t row, const std::vector<std::string>& entries)
{
    auto* list = static_cast<QComboBox*>(m_widgets[row]);
    list->clear();
    for (const std::string& entry : entries)
        list->addItem(QString::fromStdString(entry));
}

// Selecting rewrites the field; the field's own text is written next, and the typing cursor stays.
void DialogView::writeSelection(size_t row, int index)
{
    auto* list = static_cast<QComboBox*>(m_widgets[row]);
    const QString before = list->currentText();
    const int cursor = list->lineEdit()->cursorPosition();
    list->setCurrentIndex(index);
    if (list->currentText() != before)
        list->setEditText(before);
    list->lineEdit()->setCursorPosition(cursor);
}

void DialogView::writeLabel(size_t row, const LabelLook& look)
{
    auto* label = static_cast<ClickableLabel*>(m_widgets[row]);
    QStringList text;
    for (const TextLine& line : look.lines)
        text << QString::fromStdString(line.text);
    label->setText(text.join(u'\n'));
    label->lines = look.lines;
    label->setFont(toQFont(look.font));
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, toQColor(look.foreColour));
    palette.setColor(QPalette::Window, toQColor(look.backColour));
    label->setPalette(palette);
    label->setAutoFillBackground(look.opaque);
    if (look.handPointer)
        label->setCursor(Qt::PointingHandCursor);
    else
        label->unsetCursor();
    label->update();
}

void DialogView::writeLine(size_t row, const LineLook& line)
{
    auto* view = static_cast<LineView*>(m_widgets[row]);
    view->line = line;
    view->update();
}

void DialogView::writePicture(size_t row, const PictureLook&) { m_widgets[row]->update(); }

void DialogView::showMessage(const MessageRecord& message)
{
    QMessageBox box(QMessageBox::Information, QString::fromStdString(message.Title),
        QString::fromStdString(message.Text), QMessageBox::Ok, this);
    box.setTextFormat(Qt::PlainText);
    box.setWindowFlag(Qt::WindowStaysOnTopHint);
    box.exec();
}

void DialogView::closeEvent(QCloseEvent* event)
{
    event->ignore();
    m_following.pressKeyButton(true);
}

void DialogView::moveEvent(QMoveEvent* event)
{
    QDialog::moveEvent(event);
    m_following.windowMoved(pos().x(), pos().y());
}

} // namespace vortexa
