#include "platform/qt/dialog_view.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QSlider>

#include <utility>

#include "platform/qt/qt_platform.h"
#include "platform/qt/saver_painter.h"
#include "platform/qt/saver_view.h"
#include "platform/qt/system_look.h"

namespace vortexa {

namespace {

Qt::Alignment alignmentOf(int alignment)
{
    const Qt::Alignment horizontal = alignment == AlignRight ? Qt::AlignRight
        : alignment == AlignCentre                           ? Qt::AlignHCenter
                                                             : Qt::AlignLeft;
    return horizontal | Qt::AlignTop;
}

// The label shows the lines the layout broke its caption into, each aligned as the label says.
QString shownLines(const std::vector<TextLine>& lines)
{
    QStringList shown;
    for (const TextLine& line : lines)
        shown << QString::fromStdString(line.text);
    return shown.join(u'\n');
}

void followLabel(QLabel& widget, const LabelElement& label, const ControlLayout& layout)
{
    widget.setText(shownLines(layout.lines));
    widget.setFont(toQFont(label.LabelFont));
    widget.setAlignment(alignmentOf(label.Alignment));
    QPalette palette = widget.palette();
    palette.setColor(QPalette::WindowText, toQColor(label.ForeColor));
    palette.setColor(QPalette::Window, toQColor(label.BackColor));
    widget.setPalette(palette);
    widget.setAutoFillBackground(label.BackStyle == BackOpaque);
    // Setting a pointer reaches the window system, so only a change is passed on.
    if (label.HandPointer != widget.testAttribute(Qt::WA_SetCursor)) {
        if (label.HandPointer)
            widget.setCursor(Qt::PointingHandCursor);
        else
            widget.unsetCursor();
    }
    widget.setGeometry(toQRect(layout.box));
    widget.setVisible(label.Visible);
}

void followFrame(QGroupBox& widget, const FrameElement& frame, const ControlLayout& layout)
{
    widget.setTitle(QString::fromStdString(frame.Caption));
    widget.setGeometry(toQRect(layout.box));
    widget.setVisible(frame.Visible);
}

void followButton(
    QPushButton& widget, const ButtonElement& button, const ControlLayout& layout, const QFont& dialogFont)
{
    widget.setText(QString::fromStdString(button.Caption));
    QFont font = dialogFont;
    font.setBold(button.FontBold);
    widget.setFont(font);
    widget.setDefault(button.Default);
    widget.setGeometry(toQRect(layout.box));
    widget.setVisible(button.Visible);
}

void followSlider(QSlider& widget, const TrackBar& bar, const ControlLayout& layout)
{
    widget.setRange(bar.Min(), bar.Max());
    widget.setValue(bar.Value());
    widget.setGeometry(toQRect(layout.box));
    widget.setVisible(bar.Visible);
}

// The list's height follows its font, as the record says.
void followList(QComboBox& widget, const ComboList& list, const ControlLayout& layout)
{
    for (int k = 0; k < list.ListCount(); ++k) {
        const QString entry = QString::fromStdString(list.List(k));
        if (k >= widget.count())
            widget.addItem(entry);
        else if (widget.itemText(k) != entry)
            widget.setItemText(k, entry);
    }
    while (widget.count() > list.ListCount())
        widget.removeItem(widget.count() - 1);
    // A change of selection rewrites the field; when its text stays, so does the typing cursor.
    // A field left alone keeps its cursor and the user's selection.
    const QString before = widget.currentText();
    const int cursor = widget.lineEdit()->cursorPosition();
    bool rewritten = false;
    if (widget.currentIndex() != list.ListIndex()) {
        widget.setCurrentIndex(list.ListIndex());
        rewritten = true;
    }
    const QString text = QString::fromStdString(list.Text());
    if (widget.currentText() != text) {
        widget.setEditText(text);
        rewritten = true;
    }
    if (rewritten && text == before)
        widget.lineEdit()->setCursorPosition(cursor);
    const PixelBox& box = layout.box;
    widget.setGeometry(box.left, box.top, box.width, widget.sizeHint().height());
    widget.setVisible(list.Visible);
}

// The shown window of the show that draws the scene, if any.
QWindow* sceneWindow()
{
    for (QWindow* window : QGuiApplication::topLevelWindows()) {
        auto* view = qobject_cast<SaverView*>(window);
        if (view && view->drawsScene() && view->isVisible())
            return view;
    }
    return nullptr;
}

// The picture area: its background, and its shapes and time label in their drawing order.
class PictureView : public QWidget {
public:
    PictureView(const Form2& form, QWidget* parent)
        : QWidget(parent)
        , m_form(form)
    {
        setAttribute(Qt::WA_OpaquePaintEvent);
    }

    void follow(const PixelBox& box)
    {
        setGeometry(toQRect(box));
        setVisible(m_form.Pic.Visible);
        update();
    }

protected:
    void paintEvent(QPaintEvent* event) override
    {
        QPainter painter(this);
        const QRect area = event->rect();
        painter.fillRect(area, toQColor(m_form.Pic.BackColor));
        forEachPictureElement(
            m_form, [&](const ShapeElement& shape) { paintShape(painter, shape, area); },
            [&](const LabelElement& label) { paintLabel(painter, label, area); });
    }

private:
    const Form2& m_form;
};

class LineView : public QWidget {
public:
    LineView(const LineElement& line, QWidget* parent)
        : QWidget(parent)
        , m_line(line)
    {
    }

    void follow(const PixelBox& box)
    {
        setGeometry(toQRect(box));
        setVisible(m_line.Visible && m_line.BorderWidth > 0);
        update();
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.translate(-pos());
        painter.setPen(QPen(toQColor(m_line.BorderColor), m_line.BorderWidth, Qt::SolidLine, Qt::FlatCap));
        painter.drawLine(QLineF(toPixels(m_line.X1), toPixels(m_line.Y1), toPixels(m_line.X2), toPixels(m_line.Y2)));
    }

private:
    const LineElement& m_line;
};

} // namespace

int QtTextMeasure::textWidth(const Font& font, const std::string& text) const
{
    return QFontMetrics(toQFont(font)).horizontalAdvance(QString::fromStdString(text));
}

int QtTextMeasure::lineHeight(const Font& font) const { return QFontMetrics(toQFont(font)).lineSpacing(); }

void ClickableLabel::mousePressEvent(QMouseEvent* event) { m_pressed = event->button() == Qt::LeftButton; }

void ClickableLabel::mouseReleaseEvent(QMouseEvent* event)
{
    const bool click = m_pressed && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
    m_pressed = false;
    if (click && onClick)
        onClick();
}

DialogView::DialogView(Form2& form, QtPlatform& platform)
    : m_form(form)
    , m_platform(platform)
    , m_controls(dialogControls(form))
{
    // The saver screen stays on top of other windows; the dialog must come over it.
    setWindowFlag(Qt::WindowStaysOnTopHint);
    setFont(toQFont(Font {}));
    setObjectName(QStringLiteral("Form2"));
    for (const DialogControl& control : m_controls) {
        QWidget* widget = makeWidget(control);
        widget->setObjectName(QString::fromStdString(control.name));
        m_widgets.push_back(widget);
    }
    follow();
}

QWidget* DialogView::containerOf(Container container) const
{
    for (size_t k = 0; k < m_widgets.size(); ++k)
        if (m_controls[k].holds == container)
            return m_widgets[k];
    return const_cast<DialogView*>(this);
}

QWidget* DialogView::makeWidget(const DialogControl& control)
{
    QWidget* parent = containerOf(control.container);
    const auto click = control.click;
    return std::visit(
        [&](auto* record) -> QWidget* {
            using Record = std::remove_cvref_t<decltype(*record)>;
            if constexpr (std::is_same_v<Record, PictureElement>) {
                return new PictureView(m_form, parent);
            } else if constexpr (std::is_same_v<Record, LabelElement>) {
                auto* label = new ClickableLabel(parent);
                label->setTextFormat(Qt::PlainText);
                if (click)
                    label->onClick = [this, click] { deliver(click); };
                return label;
            } else if constexpr (std::is_same_v<Record, FrameElement>) {
                return new QGroupBox(parent);
            } else if constexpr (std::is_same_v<Record, ButtonElement>) {
                auto* button = new QPushButton(parent);
                connect(button, &QPushButton::clicked, this, [this, click] { deliver(click); });
                return button;
            } else if constexpr (std::is_same_v<Record, TrackBar>) {
                auto* slider = new QSlider(Qt::Horizontal, parent);
                slider->setTickPosition(QSlider::TicksBelow);
                slider->setTickInterval(TrackBar::TickFrequency);
                slider->setSingleStep(TrackBar::SmallChange);
                slider->setPageStep(TrackBar::LargeChange);
                connect(slider, &QSlider::valueChanged, this,
                    [this, record](int value) { deliver([record, value](Form2&) { record->setValue(value); }); });
                return slider;
            } else if constexpr (std::is_same_v<Record, ComboList>) {
                // The user's text goes to the list as typed: no completion and no new entries.
                // Without a completer the field also matches its entries by exact text when it
                // loses the focus, as the list does.
                auto* list = new QComboBox(parent);
                list->setEditable(true);
                list->setInsertPolicy(QComboBox::NoInsert);
                list->setCompleter(nullptr);
                connect(list, &QComboBox::activated, this,
                    [this, record](int index) { deliver([record, index](Form2&) { record->setListIndex(index); }); });
                connect(list->lineEdit(), &QLineEdit::textEdited, this, [this, record](const QString& text) {
                    deliver([record, text = text.toStdString()](Form2&) { record->setText(text); });
                });
                return list;
            } else {
                return new LineView(*record, parent);
            }
        },
        control.record);
}

void DialogView::deliver(std::function<void(Form2&)> handler)
{
    // Widgets report the changes the records make to them, too; only the user's reach the records.
    if (m_following || !handler)
        return;
    Form2& form = m_form;
    m_platform.deliver([&form, handler = std::move(handler)] { handler(form); });
}

void DialogView::follow()
{
    // A hidden dialog is followed in full once it is shown; the show's ticks need not pay for it.
    if (!m_form.Visible && !isVisible()) {
        m_form.BringToFront = false;
        return;
    }
    const QScopedValueRollback following(m_following, true);
    setWindowTitle(QString::fromStdString(m_form.Caption));
    const PixelBox place = dialogPlace(m_form);
    setFixedSize(place.width, place.height);

    const std::vector<ControlLayout> layout = layOutDialog(m_form, m_controls, m_measure);
    for (size_t k = 0; k < m_controls.size(); ++k) {
        QWidget* widget = m_widgets[k];
        const ControlLayout& placed = layout[k];
        std::visit(
            [&](const auto* record) {
                using Record = std::remove_cvref_t<decltype(*record)>;
                if constexpr (std::is_same_v<Record, PictureElement>)
                    static_cast<PictureView*>(widget)->follow(placed.box);
                else if constexpr (std::is_same_v<Record, LabelElement>)
                    followLabel(*static_cast<QLabel*>(widget), *record, placed);
                else if constexpr (std::is_same_v<Record, FrameElement>)
                    followFrame(*static_cast<QGroupBox*>(widget), *record, placed);
                else if constexpr (std::is_same_v<Record, ButtonElement>)
                    followButton(*static_cast<QPushButton*>(widget), *record, placed, font());
                else if constexpr (std::is_same_v<Record, TrackBar>)
                    followSlider(*static_cast<QSlider*>(widget), *record, placed);
                else if constexpr (std::is_same_v<Record, ComboList>)
                    followList(*static_cast<QComboBox*>(widget), *record, placed);
                else
                    static_cast<LineView*>(widget)->follow(placed.box);
            },
            m_controls[k].record);
    }
    followPlace();
    followVisibility();
}

void DialogView::followPlace()
{
    // A window that was never placed would be centred on the screen when shown.
    const PixelBox place = dialogPlace(m_form);
    if (pos() != QPoint(place.left, place.top) || !testAttribute(Qt::WA_Moved))
        move(place.left, place.top);
}

void DialogView::followVisibility()
{
    if (!m_form.Visible) {
        hide();
        m_form.BringToFront = false;
        return;
    }
    if (!isVisible())
        followOwner();
    show();
    if (m_form.BringToFront) {
        raise();
        activateWindow();
        m_form.BringToFront = false;
    }
}

// The dialog opened over the show stays above it: a window manager keeps a window above the one it
// is transient for, even when the user clicks that one. The window system learns it as the dialog
// is shown.
void DialogView::followOwner()
{
    QWindow* scene = sceneWindow();
    if (!windowHandle())
        create();
    if (windowHandle()->transientParent() != scene)
        windowHandle()->setTransientParent(scene);
}

void DialogView::showMessage(const MessageRecord& message)
{
    QMessageBox box(QMessageBox::Information, QString::fromStdString(message.Title),
        QString::fromStdString(message.Text), QMessageBox::Ok, this);
    box.setTextFormat(Qt::PlainText);
    box.setWindowFlag(Qt::WindowStaysOnTopHint);
    box.exec();
}

// The dialog ends only through its buttons: Esc and the window's close button press the cancel
// button.
void DialogView::reject() { pressKeyButton(true); }

void DialogView::closeEvent(QCloseEvent* event)
{
    event->ignore();
    pressKeyButton(true);
}

void DialogView::pressKeyButton(bool cancel)
{
    if (const DialogControl* button = keyButton(m_controls, cancel))
        deliver(button->click);
}

void DialogView::moveEvent(QMoveEvent* event)
{
    QDialog::moveEvent(event);
    const QPoint place = pos();
    const PixelBox recorded = dialogPlace(m_form);
    if (m_following || !isVisible() || place == QPoint(recorded.left, recorded.top))
        return;
    deliver([place](Form2& dialog) { MoveDialog(dialog, place.x(), place.y()); });
}

} // namespace vortexa
