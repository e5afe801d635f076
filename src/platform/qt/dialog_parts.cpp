#include "platform/qt/dialog_parts.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

#include "platform/qt/saver_painter.h"
#include "platform/qt/system_look.h"

namespace vortexa {

void ClickableLabel::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setFont(font());
    painter.setPen(palette().color(QPalette::WindowText));
    for (const TextLine& line : lines)
        painter.drawText(
            toQRect(line.box), Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, QString::fromStdString(line.text));
}

void ClickableLabel::mousePressEvent(QMouseEvent* event) { m_pressed = event->button() == Qt::LeftButton; }

void ClickableLabel::mouseReleaseEvent(QMouseEvent* event)
{
    const bool click = m_pressed && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
    m_pressed = false;
    if (click && onClick)
        onClick();
}

PictureView::PictureView(const Form2& form, QWidget* parent)
    : QWidget(parent)
    , m_form(form)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void PictureView::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    const QRect area = event->rect();
    painter.fillRect(area, toQColor(m_form.Pic.BackColor));
    forEachPictureElement(
        m_form, [&](const ShapeElement& shape) { paintShape(painter, shape, area); },
        [&](const LabelElement& label) { paintLabel(painter, label, area); });
}

void LineView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.translate(-pos());
    painter.setPen(QPen(toQColor(line.colour), line.width, Qt::SolidLine, Qt::FlatCap));
    painter.drawLine(line.x1, line.y1, line.x2, line.y2);
}

} // namespace vortexa
