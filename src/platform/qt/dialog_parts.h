#pragma once
// The parts of the settings dialog that it draws itself: the picture area, the line, and labels
// that show their lines where the dialog's layout placed them.

#include <QLabel>
#include <QWidget>

#include <functional>
#include <vector>

#include "dialog/dialog_follower.h"

namespace vortexa {

// A label that shows its lines where the dialog's layout placed them, and runs an action when the
// user clicks it: pressed and released over it.
class ClickableLabel : public QLabel {
public:
    using QLabel::QLabel;
    std::function<void()> onClick;
    std::vector<TextLine> lines;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    bool m_pressed = false;
};

// The picture area: its background, and its shapes and time label in their drawing order.
class PictureView : public QWidget {
public:
    PictureView(const Form2& form, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const Form2& m_form;
};

class LineView : public QWidget {
public:
    using QWidget::QWidget;
    LineLook line;

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace vortexa
