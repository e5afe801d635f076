#pragma once
// The window of the settings dialog: one widget for each row of the dialog's table of controls.
// The dialog's following says what to write to the widgets and when; the user's changes and
// clicks go back through it.

#include <QDialog>
#include <QSlider>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "dialog/dialog_follower.h"
#include "platform/qt/system_look.h"

namespace vortexa {

class DialogView : public QDialog, public DialogFace {
public:
    DialogView(Form2& form, EventDelivery& events);

    // The X window of the show's scene the dialog is kept above once it is shown (0 for none).
    static void setSceneWindow(std::function<uint32_t()> sceneWindow);

    // Writes to the widgets what changed in the records; carries out a request to come to the front.
    void follow() { m_following.follow(); }
    // Shows a message over the dialog until the user closes it.
    void showMessage(const MessageRecord& message);

    const TextMeasure& measure() const override { return m_measure; }
    void writeTitle(const std::string& title) override { setWindowTitle(QString::fromStdString(title)); }
    void writePlace(const PixelBox& place) override;
    void writeShown(bool shown) override;
    void bringToFront() override;
    void writeBox(size_t row, const PixelBox& box) override;
    void writeVisible(size_t row, bool visible) override { m_widgets[row]->setVisible(visible); }
    void writeText(size_t row, const std::string& text) override;
    void writeFont(size_t row, const Font& font) override { m_widgets[row]->setFont(toQFont(font)); }
    void writeRange(size_t row, int min, int max) override
    {
        static_cast<QSlider*>(m_widgets[row])->setRange(min, max);
    }
    void writeValue(size_t row, int value) override { static_cast<QSlider*>(m_widgets[row])->setValue(value); }
    void writeEntries(size_t row, const std::vector<std::string>& entries) override;
    void writeSelection(size_t row, int index) override;
    void writeLabel(size_t row, const LabelLook& label) override;
    void writeLine(size_t row, const LineLook& line) override;
    void writePicture(size_t row, const PictureLook& picture) override;

protected:
    void reject() override { m_following.pressKeyButton(true); }
    void closeEvent(QCloseEvent* event) override;
    void moveEvent(QMoveEvent* event) override;

private:
    QWidget* makeWidget(size_t row);
    QWidget* containerOf(Container container) const;

    QtTextMeasure m_measure;
    DialogFollowing m_following;
    std::vector<QWidget*> m_widgets; // row for row of the table
};

using DialogWindow = DialogFollower<DialogView, EventDelivery>;

} // namespace vortexa
