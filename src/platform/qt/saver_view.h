#pragma once
// The windows of the saver screens: one black, frameless window for each loaded saver screen,
// following its record (shown, full screen, pointer) after every event, painting its elements and
// passing its keys and mouse moves to the screen's handlers.

#include <QPixmap>
#include <QPointF>
#include <QPointer>
#include <QWidget>

#include <utility>
#include <vector>

namespace vortexa {

class Form1;
class Program;
class QtPlatform;

// The saver screen's own pointer: two interlocking rings, red at the lower left and blue at the
// upper right, on a transparent 32 x 32 picture.
QPixmap ringsPointerImage();

class SaverView : public QWidget {
    Q_OBJECT

public:
    SaverView(Form1& form, QtPlatform& platform);

    // Shows, hides and shapes the window as the screen's record says, and repaints it.
    void follow();
    // The screen was unloaded: the window no longer reaches it.
    void detach() { m_form = nullptr; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void followPointer(int style);

    Form1* m_form;
    QtPlatform& m_platform;
    int m_pointerStyle = -1;
    QPointF m_lastPointerPosition;
};

class SaverWindows {
public:
    // Makes the windows follow the program's saver screens after every event that the platform
    // delivers.
    SaverWindows(Program& program, QtPlatform& platform);
    ~SaverWindows();
    SaverWindows(const SaverWindows&) = delete;
    SaverWindows& operator=(const SaverWindows&) = delete;

    // Creates windows for new screens, retires those of unloaded screens and lets the others
    // follow their records.
    void follow();

    SaverView* viewOf(const Form1& form) const;

private:
    void retireViewsOfUnloadedScreens();

    Program& m_program;
    QtPlatform& m_platform;
    int m_afterEvent = 0;
    std::vector<std::pair<const Form1*, SaverView*>> m_views;
    std::vector<QPointer<SaverView>> m_retired;
};

} // namespace vortexa
