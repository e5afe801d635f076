#include "platform/qt/dialog_view.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QSlider>

#include <cmath>
#include <utility>

#include "dialog/form2.h"
#include "platform/qt/qt_platform.h"
#include "platform/qt/saver_painter.h"
#include "platform/qt/system_look.h"
#include "saver/program.h"

namespace vortexa {

namespace {

int toPixels(float twips) { return static_cast<int>(std::lround(twips / TwipsPerPixel)); }

template <typename Element> QRect placeOf(const Element& element)
{
    return QRect(toPixels(element.Left), toPixels(element.Top), toPixels(element.Width), toPixels(element.Height));
}

// Captions end their lines with CR LF; a label breaks at the LF alone.
QString shownText(const std::string& caption)
{
    return QString::fromStdString(caption).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

Qt::Alignment alignmentOf(int alignment)
{
    const Qt::Alignment horizontal = alignment == AlignRight ? Qt::AlignRight
        : alignment == AlignCentre                           ? Qt::AlignHCenter
                                                             : Qt::AlignLeft;
    return horizontal | Qt::AlignTop;
}

// A caption of one word cannot wrap; when it is wider than its label, the label grows about its
// alignment so that the word shows whole.
QRect labelBox(const QLabel& widget, const LabelElement& label)
{
    QRect box = placeOf(label);
    const QString text = widget.text();
    if (text.contains(u' ') || text.contains(u'\n'))
        return box;
    const int wanted = widget.fontMetrics().horizontalAdvance(text);
    if (wanted <= box.width())
        return box;
    const int growth = wanted - box.width();
    if (label.Alignment == AlignCentre)
        box.adjust(-growth / 2, 0, growth - growth / 2, 0);
    else if (label.Alignment == AlignRight)
        box.adjust(-growth, 0, 0, 0);
    else
        box.adjust(0, 0, growth, 0);
    return box;
}

void followLabel(QLabel& widget, const LabelElement& label)
{
    widget.setText(shownText(label.Caption));
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
    widget.setGeometry(labelBox(widget, label));
    widget.setVisible(label.Visible);
}

void followFrame(QGroupBox& widget, const FrameElement& frame)
{
    widget.setTitle(QString::fromStdString(frame.Caption));
    widget.setGeometry(placeOf(frame));
    widget.setVisible(frame.Visible);
}

void followButton(QPushButton& widget, const ButtonElement& button, const QFont& dialogFont)
{
    widget.setText(QString::fromStdString(button.Caption));
    QFont font = dialogFont;
    font.setBold(button.FontBold);
    widget.setFont(font);
    widget.setDefault(button.Default);
    widget.setGeometry(placeOf(button));
    widget.setVisible(button.Visible);
}

void followSlider(QSlider& widget, const TrackBar& bar)
{
    widget.setRange(bar.Min(), bar.Max());
    widget.setValue(bar.Value());
    widget.setGeometry(placeOf(bar));
    widget.setVisible(bar.Visible);
}

// The list's height follows its font, as the record says.
void followList(QComboBox& widget, const ComboList& list)
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
    const QRect place = placeOf(list);
    widget.setGeometry(place.left(), place.top(), place.width(), widget.sizeHint().height());
    widget.setVisible(list.Visible);
}

} // namespace

// The picture area: its background, its shapes and the time label, in its drawing order. The
// information text and the link, which come last in that order, are widgets of their own above
// it, since the user clicks the link.
class PictureView : public QWidget {
public:
    PictureView(const Form2& form, QWidget* parent)
        : QWidget(parent)
        , m_form(form)
    {
        setAttribute(Qt::WA_OpaquePaintEvent);
    }

protected:
    void paintEvent(QPaintEvent* event) override
    {
        QPainter painter(this);
        painter.fillRect(event->rect(), toQColor(m_form.Pic.BackColor));
        for (const ElementRef& element : m_form.PicDrawingOrder.backToFront()) {
            if (element.kind == KindPicShape && m_form.Shape.exists(element.index)
                && m_form.Shape[element.index].Visible)
                paintShape(painter, m_form.Shape[element.index], event->rect());
            else if (element.kind == KindLblTIME && m_form.lblTIME.Visible)
                paintLabel(painter, m_form.lblTIME, event->rect());
        }
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

    void follow()
    {
        const int reach = std::max(m_line.BorderWidth, 1);
        setGeometry(QRectF(pixels().p1(), pixels().p2()).normalized().toAlignedRect().adjusted(0, 0, reach, reach));
        setVisible(m_line.Visible && m_line.BorderWidth > 0);
        update();
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.translate(-pos());
        painter.setPen(QPen(toQColor(m_line.BorderColor), m_line.BorderWidth, Qt::SolidLine, Qt::FlatCap));
        painter.drawLine(pixels());
    }

private:
    QLineF pixels() const
    {
        return QLineF(toPixels(m_line.X1), toPixels(m_line.Y1), toPixels(m_line.X2), toPixels(m_line.Y2));
    }

    const LineElement& m_line;
};

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
{
    // The saver screen stays on top of other windows; the dialog must come over it.
    setWindowFlag(Qt::WindowStaysOnTopHint);
    setFont(toQFont(Font {}));
    setObjectName(QStringLiteral("Form2"));

    m_picture = new PictureView(form, this);
    m_picture->setObjectName(QStringLiteral("Pic"));
    m_lblINFO = addLabel(m_picture, "LblINFO");
    m_lblINFO->setWordWrap(true);
    m_lblLINK = addLabel(m_picture, "lblLINK", [](Form2& dialog) { dialog.lblLINK_Click(); });

    m_frame1 = new QGroupBox(this);
    m_frame1->setObjectName(QStringLiteral("Frame1"));
    const char* const scriptButtons[] = {"cmdS(0)", "cmdS(1)", "cmdS(2)"};
    for (int k = 0; k < static_cast<int>(form.cmdS.size()); ++k)
        addButton(m_frame1, scriptButtons[k], form.cmdS[static_cast<size_t>(k)],
            [k](Form2& dialog) { dialog.cmdS_Click(k); });

    m_frame2 = new QGroupBox(this);
    m_frame2->setObjectName(QStringLiteral("Frame2"));
    const char* const labels[] = {"Label(0)", "Label(1)", "Label(2)"};
    const char* const sliders[] = {"Slider(0)", "Slider(1)", "Slider(2)"};
    for (size_t k = 0; k < form.Slider.size(); ++k) {
        m_labels.push_back(addLabel(m_frame2, labels[k]));
        m_labels.back()->setWordWrap(true);
        auto* slider = new QSlider(Qt::Horizontal, m_frame2);
        slider->setObjectName(QString::fromLatin1(sliders[k]));
        slider->setTickPosition(QSlider::TicksBelow);
        slider->setTickInterval(TrackBar::TickFrequency);
        slider->setSingleStep(TrackBar::SmallChange);
        slider->setPageStep(TrackBar::LargeChange);
        connect(slider, &QSlider::valueChanged, this,
            [this, k](int value) { deliver([k, value](Form2& dialog) { dialog.Slider[k].setValue(value); }); });
        m_sliders.push_back(slider);
    }
    m_comboP = addList(m_frame2, "ComboP", true);
    m_comboT = addList(m_frame2, "ComboT", false);

    auto* line = new LineView(form.Line1, this);
    line->setObjectName(QStringLiteral("Line1"));
    m_line1 = line;
    const char* const languages[] = {"lblLOC(0)", "lblLOC(1)"};
    for (int k = 0; k < static_cast<int>(form.lblLOC.size()); ++k)
        m_lblLOC.push_back(addLabel(this, languages[k], [k](Form2& dialog) { dialog.lblLOC_Click(k); }));

    addButton(this, "cmdHELP", form.cmdHELP, [](Form2& dialog) { dialog.cmdHELP_Click(); });
    addButton(this, "CmdPRO", form.CmdPRO, [](Form2& dialog) { dialog.CmdPRO_Click(); });
    addButton(this, "cmdESC", form.cmdESC, [](Form2& dialog) { dialog.cmdESC_Click(); });
    addButton(this, "cmdOK", form.cmdOK, [](Form2& dialog) { dialog.cmdOK_Click(); });
    follow();
}

void DialogView::addButton(
    QWidget* parent, const char* name, const ButtonElement& record, std::function<void(Form2&)> click)
{
    auto* button = new QPushButton(parent);
    button->setObjectName(QString::fromLatin1(name));
    connect(button, &QPushButton::clicked, this, [this, click] { deliver(click); });
    m_buttons.push_back({&record, button, std::move(click)});
}

ClickableLabel* DialogView::addLabel(QWidget* parent, const char* name, std::function<void(Form2&)> click)
{
    auto* label = new ClickableLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setTextFormat(Qt::PlainText);
    if (click)
        label->onClick = [this, click = std::move(click)] { deliver(click); };
    return label;
}

// The user's text goes to the list as typed: no completion and no new entries. Without a completer
// the field also matches its entries by exact text when it loses the focus, as the list does.
QComboBox* DialogView::addList(QWidget* parent, const char* name, bool captives)
{
    auto* list = new QComboBox(parent);
    list->setObjectName(QString::fromLatin1(name));
    list->setEditable(true);
    list->setInsertPolicy(QComboBox::NoInsert);
    list->setCompleter(nullptr);
    const auto model = [captives](Form2& dialog) -> ComboList& { return captives ? dialog.ComboP : dialog.ComboT; };
    connect(list, &QComboBox::activated, this,
        [this, model](int index) { deliver([model, index](Form2& dialog) { model(dialog).setListIndex(index); }); });
    connect(list->lineEdit(), &QLineEdit::textEdited, this, [this, model](const QString& text) {
        deliver([model, text = text.toStdString()](Form2& dialog) { model(dialog).setText(text); });
    });
    return list;
}

void DialogView::deliver(std::function<void(Form2&)> handler)
{
    // Widgets report the changes the records make to them, too; only the user's reach the records.
    if (m_following)
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
    setFixedSize(toPixels(m_form.Width), toPixels(m_form.Height));

    m_picture->setGeometry(placeOf(m_form.Pic));
    m_picture->setVisible(m_form.Pic.Visible);
    m_picture->update();
    followLabel(*m_lblINFO, m_form.LblINFO);
    followLabel(*m_lblLINK, m_form.lblLINK);

    followFrame(*m_frame1, m_form.Frame1);
    followFrame(*m_frame2, m_form.Frame2);
    for (const Button& button : m_buttons)
        followButton(*button.widget, *button.record, font());
    for (size_t k = 0; k < m_labels.size(); ++k) {
        followLabel(*m_labels[k], m_form.Label[k]);
        followSlider(*m_sliders[k], m_form.Slider[k]);
    }
    followList(*m_comboP, m_form.ComboP);
    followList(*m_comboT, m_form.ComboT);

    m_line1->follow();
    for (size_t k = 0; k < m_lblLOC.size(); ++k)
        followLabel(*m_lblLOC[k], m_form.lblLOC[k]);

    followPlace();
    followVisibility();
}

void DialogView::followPlace()
{
    // A window that was never placed would be centred on the screen when shown.
    const QPoint place(toPixels(m_form.Left), toPixels(m_form.Top));
    if (pos() != place || !testAttribute(Qt::WA_Moved))
        move(place);
}

void DialogView::followVisibility()
{
    if (!m_form.Visible) {
        hide();
        m_form.BringToFront = false;
        return;
    }
    show();
    if (m_form.BringToFront) {
        raise();
        activateWindow();
        m_form.BringToFront = false;
    }
}

// The dialog ends only through its buttons: Esc and the window's close button press the cancel
// button.
void DialogView::reject() { pressCancelButton(); }

void DialogView::closeEvent(QCloseEvent* event)
{
    event->ignore();
    pressCancelButton();
}

void DialogView::pressCancelButton()
{
    for (const Button& button : m_buttons)
        if (button.record->Cancel && button.record->Visible) {
            deliver(button.click);
            return;
        }
}

void DialogView::moveEvent(QMoveEvent* event)
{
    QDialog::moveEvent(event);
    const QPoint place = pos();
    if (m_following || !isVisible() || place == QPoint(toPixels(m_form.Left), toPixels(m_form.Top)))
        return;
    deliver([place](Form2& dialog) {
        dialog.Left = static_cast<float>(place.x() * TwipsPerPixel);
        dialog.Top = static_cast<float>(place.y() * TwipsPerPixel);
    });
}

DialogWindow::DialogWindow(Program& program, QtPlatform& platform)
    : m_program(program)
    , m_platform(platform)
{
    m_afterEvent = m_platform.addAfterEvent([this](bool) { follow(); });
}

DialogWindow::~DialogWindow() { m_platform.removeAfterEvent(m_afterEvent); }

void DialogWindow::follow()
{
    Form2* form = m_program.loadedDialog();
    // While a message is open its own event loop runs; the widgets follow once it is closed.
    if (!form || m_showingMessage)
        return;
    if (!m_view)
        m_view = std::make_unique<DialogView>(*form, m_platform);
    showMessages(*form);
    m_view->follow();
}

void DialogWindow::showMessages(Form2& form)
{
    const QScopedValueRollback showing(m_showingMessage, true);
    while (!form.Messages.empty()) {
        // A copy, since the list may grow while the box runs its event loop.
        const MessageRecord message = form.Messages.front();
        QMessageBox box(QMessageBox::Information, QString::fromStdString(message.Title),
            QString::fromStdString(message.Text), QMessageBox::Ok, m_view.get());
        box.setTextFormat(Qt::PlainText);
        box.setWindowFlag(Qt::WindowStaysOnTopHint);
        box.exec();
        form.Messages.erase(form.Messages.begin());
    }
}

} // namespace vortexa
