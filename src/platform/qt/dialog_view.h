#pragma once
// The window of the settings dialog: one widget for each of the dialog's records. After every event
// the widgets follow the records; the user's changes go back into the records (track bars, lists,
// the window's place) and each click runs the handler named after its element.

#include <QDialog>
#include <QLabel>

#include <functional>
#include <memory>
#include <vector>

class QComboBox;
class QGroupBox;
class QPushButton;
class QSlider;

namespace vortexa {

class Form2;
class LineView;
class Program;
class QtPlatform;
struct ButtonElement;
struct LabelElement;

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

class DialogView : public QDialog {
public:
    DialogView(Form2& form, QtPlatform& platform);

    // Shapes, shows and fills every widget as the records say; carries out a request to come to
    // the front.
    void follow();

protected:
    void reject() override;
    void closeEvent(QCloseEvent* event) override;
    void moveEvent(QMoveEvent* event) override;

private:
    struct Button {
        const ButtonElement* record;
        QPushButton* widget;
        std::function<void(Form2&)> click;
    };

    void deliver(std::function<void(Form2&)> handler);
    void addButton(QWidget* parent, const char* name, const ButtonElement& record, std::function<void(Form2&)> click);
    ClickableLabel* addLabel(QWidget* parent, const char* name, std::function<void(Form2&)> click = {});
    QComboBox* addList(QWidget* parent, const char* name, bool captives);
    void followPlace();
    void followVisibility();
    void pressCancelButton();

    Form2& m_form;
    QtPlatform& m_platform;
    bool m_following = false;

    QWidget* m_picture;
    ClickableLabel* m_lblINFO;
    ClickableLabel* m_lblLINK;
    QGroupBox* m_frame1;
    QGroupBox* m_frame2;
    std::vector<Button> m_buttons;
    std::vector<ClickableLabel*> m_labels;
    std::vector<ClickableLabel*> m_lblLOC;
    std::vector<QSlider*> m_sliders;
    QComboBox* m_comboP;
    QComboBox* m_comboT;
    LineView* m_line1;
};

// Makes the dialog's window follow the dialog after every event the platform delivers, once the
// dialog is loaded, and shows the messages the dialog asks for.
class DialogWindow {
public:
    DialogWindow(Program& program, QtPlatform& platform);
    ~DialogWindow();
    DialogWindow(const DialogWindow&) = delete;
    DialogWindow& operator=(const DialogWindow&) = delete;

    void follow();
    // The window, once the dialog is loaded.
    DialogView* view() const { return m_view.get(); }

private:
    void showMessages(Form2& form);

    Program& m_program;
    QtPlatform& m_platform;
    int m_afterEvent = 0;
    bool m_showingMessage = false;
    std::unique_ptr<DialogView> m_view;
};

} // namespace vortexa
