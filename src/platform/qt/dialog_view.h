#pragma once
// The window of the settings dialog: one widget for each row of the dialog's table of controls.
// After every event the widgets follow the records and the layout; the user's changes go back into
// the records (track bars, lists, the window's place) and each click runs the row's handler.

#include <QDialog>
#include <QLabel>

#include <functional>
#include <string>
#include <vector>

#include "dialog/dialog_controls.h"
#include "dialog/dialog_follower.h"

namespace vortexa {

class QtPlatform;

// A label that runs an action when the user clicks it: pressed and released over it.
class ClickableLabel : public QLabel {
public:
    using QLabel::QLabel;
    std::function<void()> onClick;

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    bool m_pressed = false;
};

// Text measured with Qt's fonts, as the widgets draw it.
class QtTextMeasure : public TextMeasure {
public:
    int textWidth(const Font& font, const std::string& text) const override;
    int lineHeight(const Font& font) const override;
};

class DialogView : public QDialog {
public:
    DialogView(Form2& form, QtPlatform& platform);

    // Shapes, shows and fills every widget as the records say; carries out a request to come to
    // the front.
    void follow();
    // Shows a message over the dialog until the user closes it.
    void showMessage(const MessageRecord& message);

protected:
    void reject() override;
    void closeEvent(QCloseEvent* event) override;
    void moveEvent(QMoveEvent* event) override;

private:
    QWidget* makeWidget(const DialogControl& control);
    QWidget* containerOf(Container container) const;
    void deliver(std::function<void(Form2&)> handler);
    void followPlace();
    void followOwner();
    void followVisibility();
    void pressKeyButton(bool cancel);

    Form2& m_form;
    QtPlatform& m_platform;
    bool m_following = false;
    QtTextMeasure m_measure;
    std::vector<DialogControl> m_controls;
    std::vector<QWidget*> m_widgets; // row for row of the table
};

using DialogWindow = DialogFollower<DialogView, QtPlatform>;

} // namespace vortexa
