#include <QApplication>
#include <QComboBox>
#include <QGlyphRun>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSlider>
#include <QTest>
#include <QTextLayout>
#include <QTimer>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <map>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "dialog/captions.h"
#include "dialog/dialog_controls.h"
#include "dialog/form2.h"
#include "platform/event_delivery.h"
#include "platform/headless/headless_platform.h"
#include "platform/qt/dialog_view.h"
#include "platform/qt/saver_painter.h"
#include "qt_test_support.h"
#include "saver/form1.h"
#include "state/program.h"

namespace vortexa {
namespace {

// The program on a virtual clock, started with a command line, with the real window of its dialog;
// every user action reaches it through the delivery of events, as in the shipped program.
struct DialogWorld {
    explicit DialogWorld(const char* commandLine = "/c")
    {
        platform.setCommandLine(commandLine);
        events.deliver([this] { program.Start(); });
    }
    ~DialogWorld() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

    Form2& form() { return *program.loadedDialog(); }
    DialogView& view() { return *dialogWindow.view(); }
    template <typename Widget = QWidget> Widget& widget(const char* name)
    {
        auto* found = view().findChild<Widget*>(QString::fromLatin1(name));
        if (!found)
            throw std::runtime_error(std::string("no widget ") + name);
        return *found;
    }
    void click(const char* name) { QTest::mouseClick(&widget(name), Qt::LeftButton); }
    std::filesystem::path settingsPath() const { return folder.path() / "Vortexa.ini"; }

    test::TemporaryFolder folder;
    HeadlessPlatform platform {folder.path(), 1280, 720};
    Program program {platform};
    EventDelivery events;
    DialogWindow dialogWindow {program, events};
};

// What a message box showed before the test closed it.
struct ShownMessage {
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    int buttons = 0;
    QFont font;
};

// Runs an action that opens a message box, notes what the box shows and presses its OK button.
ShownMessage closeMessageOpenedBy(const std::function<void()>& action)
{
    ShownMessage shown;
    // The box runs its own event loop; the watch looks in at every turn until the box is there.
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&shown, &watch] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box)
            return;
        watch.stop();
        shown = {box->windowTitle(), box->text(), box->icon(), static_cast<int>(box->buttons().size()), box->font()};
        box->button(QMessageBox::Ok)->click();
    });
    watch.start(0);
    action();
    return shown;
}

// True when the font draws every character of the text with a glyph of its own, falling back to
// other installed fonts as the widget would; glyph 0 is the empty box of a missing character.
bool drawnWithRealGlyphs(const QString& text, const QFont& font)
{
    QTextLayout layout(text, font);
    layout.beginLayout();
    while (layout.createLine().isValid()) { }
    layout.endLayout();
    int glyphs = 0;
    for (const QGlyphRun& run : layout.glyphRuns())
        for (const quint32 glyph : run.glyphIndexes()) {
            if (glyph == 0)
                return false;
            ++glyphs;
        }
    return glyphs > 0;
}

QString captionOf(const QWidget& widget)
{
    if (const auto* button = qobject_cast<const QPushButton*>(&widget))
        return button->text();
    if (const auto* frame = qobject_cast<const QGroupBox*>(&widget))
        return frame->title();
    if (const auto* label = qobject_cast<const QLabel*>(&widget))
        return label->text();
    return {};
}

bool hasCyrillic(const QString& text)
{
    return std::any_of(text.begin(), text.end(), [](QChar c) { return c.script() == QChar::Script_Cyrillic; });
}

// The places are the layout's (see EveryWidgetSitsAtItsControlsBox); here the widgets' containers,
// kinds and captions.
TEST(DialogWindow, ElementsHaveTheirContainersAndCaptions)
{
    DialogWorld world;
    ASSERT_TRUE(world.view().isVisible());
    EXPECT_EQ(world.view().windowTitle(), QStringLiteral("Vortexa"));
    const PixelBox place = dialogPlace(world.form());
    EXPECT_EQ(world.view().size(), QSize(place.width, place.height));

    const struct {
        const char* name;
        const char* container;
        QString caption;
    } rows[] = {
        {"Pic", "Form2", {}},
        {"LblINFO", "Pic", {}},
        {"Frame1", "Form2", "Script"},
        {"cmdS(0)", "Frame1", "Independence"},
        {"cmdS(1)", "Frame1", "Capture"},
        {"cmdS(2)", "Frame1", "Opposition"},
        {"Frame2", "Form2", "Options"},
        {"Label(0)", "Frame2", "Amount of circles"},
        {"Label(1)", "Frame2", "Width ol lines"},
        {"Label(2)", "Frame2", "Circles's speed"},
        {"Slider(0)", "Frame2", {}},
        {"Slider(1)", "Frame2", {}},
        {"Slider(2)", "Frame2", {}},
        {"lblLOC(0)", "Form2", "Russian"},
        {"lblLOC(1)", "Form2", "English"},
        {"Line1", "Form2", {}},
        {"cmdHELP", "Form2", "Information"},
        {"CmdPRO", "Form2", "Preview"},
        {"cmdESC", "Form2", "Cancel"},
        {"cmdOK", "Form2", "OK"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        QWidget& widget = world.widget(row.name);
        EXPECT_EQ(widget.parentWidget()->objectName(), QString::fromLatin1(row.container));
        EXPECT_TRUE(widget.isVisible());
        if (!row.caption.isEmpty()) {
            EXPECT_EQ(captionOf(widget), row.caption);
        }
    }
    EXPECT_TRUE(world.widget<QLabel>("LblINFO").text().startsWith("Select the script and do setups!\n\n"));

    // The lists can be typed into, the captives list hidden.
    for (const char* name : {"ComboP", "ComboT"})
        EXPECT_TRUE(world.widget<QComboBox>(name).isEditable()) << name;
    EXPECT_FALSE(world.widget("ComboP").isVisible());

    for (const char* name : {"Slider(0)", "Slider(1)", "Slider(2)"}) {
        const auto& slider = world.widget<QSlider>(name);
        EXPECT_EQ(slider.orientation(), Qt::Horizontal);
        EXPECT_NE(slider.tickPosition(), QSlider::NoTicks);
        EXPECT_EQ(slider.tickInterval(), 1);
        EXPECT_EQ(slider.singleStep(), 1);
        EXPECT_EQ(slider.pageStep(), 5);
    }
    EXPECT_TRUE(world.widget<QPushButton>("cmdOK").isDefault());
    EXPECT_FALSE(world.widget<QPushButton>("cmdESC").isDefault());

    // The host name is wider than the link's designed box: the box grows to hold it in this font.
    const auto& link = world.widget<QLabel>("lblLINK");
    EXPECT_EQ(link.text(), QStringLiteral(VORTEXA_AUTHOR_HOST));
    EXPECT_GE(link.width(), link.fontMetrics().horizontalAdvance(link.text()));
    EXPECT_EQ(link.cursor().shape(), Qt::PointingHandCursor);
    EXPECT_TRUE(link.font().underline());
}

// Each widget lies at the box the dialog's layout gives its control, in either language.
TEST(DialogWindow, EveryWidgetSitsAtItsControlsBox)
{
    DialogWorld world;
    const std::vector<DialogControl> controls = dialogControls(world.form());
    for (const int language : {Russian, English}) {
        world.click(language == Russian ? "lblLOC(0)" : "lblLOC(1)");
        const std::vector<ControlLayout> layout = layOutDialog(world.form(), controls, QtTextMeasure());
        for (size_t k = 0; k < controls.size(); ++k) {
            const QWidget& widget = world.widget(controls[k].name.c_str());
            const QRect box = toQRect(layout[k].box);
            const bool list = std::holds_alternative<ComboList*>(controls[k].record);
            // A list's height follows its font.
            EXPECT_EQ(list ? QRect(widget.pos(), QSize(widget.width(), box.height())) : widget.geometry(), box)
                << controls[k].name;
        }
    }
}

TEST(DialogWindow, RussianCaptionsAreDrawnWithRealGlyphs)
{
    DialogWorld world;
    world.click("lblLOC(0)");
    ASSERT_EQ(world.widget<QPushButton>("cmdHELP").text(), QStringLiteral("Информация"));

    int checked = 0;
    const auto check = [&checked](const QString& text, const QFont& font, const QString& where) {
        if (!hasCyrillic(text))
            return;
        ++checked;
        EXPECT_TRUE(drawnWithRealGlyphs(text, font)) << where.toStdString() << ": " << text.toStdString();
    };
    for (QPushButton* button : world.view().findChildren<QPushButton*>())
        check(button->text(), button->font(), button->objectName());
    for (QGroupBox* frame : world.view().findChildren<QGroupBox*>())
        check(frame->title(), frame->font(), frame->objectName());
    for (QLabel* label : world.view().findChildren<QLabel*>())
        check(label->text(), label->font(), label->objectName());
    for (QComboBox* list : world.view().findChildren<QComboBox*>()) {
        check(list->currentText(), list->font(), list->objectName());
        for (int k = 0; k < list->count(); ++k)
            check(list->itemText(k), list->font(), list->objectName());
    }
    // Two frames, six buttons, four labels and seven list entries at least.
    EXPECT_GE(checked, 19);
}

TEST(DialogWindow, TrackBarMovedByTheUserLandsInItsRecord)
{
    const struct {
        const char* name;
        size_t index;
        Qt::Key key;
        int presses;
        int expected;
    } rows[] = {
        {"Slider(0)", 0, Qt::Key_Left, 1, 8}, // from the 9 of a missing file, one small step
        {"Slider(0)", 0, Qt::Key_PageDown, 1, 6}, // a large step stops at the end of the range
        {"Slider(0)", 0, Qt::Key_Right, 2, 11}, // two small steps
        {"Slider(1)", 1, Qt::Key_Left, 1, 1}, // already at the start
        {"Slider(2)", 2, Qt::Key_End, 1, 5}, // from 2, speed level
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(std::string(row.name) + " " + std::to_string(row.presses));
        DialogWorld world;
        auto& slider = world.widget<QSlider>(row.name);
        for (int k = 0; k < row.presses; ++k)
            QTest::keyClick(&slider, row.key);
        EXPECT_EQ(world.form().Slider[row.index].Value(), row.expected);
        EXPECT_EQ(slider.value(), row.expected);
    }
}

TEST(DialogWindow, ScriptButtonChangesShowInTheWidgets)
{
    DialogWorld world;
    world.click("cmdS(2)");
    EXPECT_EQ(world.program.module.Scenario, 3);
    const auto& slider = world.widget<QSlider>("Slider(0)");
    EXPECT_EQ(slider.minimum(), 10);
    EXPECT_EQ(slider.maximum(), 20);
    EXPECT_EQ(slider.value(), 10);
    EXPECT_TRUE(world.widget<QPushButton>("cmdS(2)").font().bold());
    EXPECT_FALSE(world.widget<QPushButton>("cmdS(0)").font().bold());
    EXPECT_TRUE(world.widget("ComboP").isVisible());
    EXPECT_EQ(world.widget("ComboT").geometry().left(), 103); // 30 twips right of the captives list
    EXPECT_FALSE(world.widget("LblINFO").isVisible());
    EXPECT_FALSE(world.widget("lblLINK").isVisible());

    // The picture shows the shapes: the rounded square's top edge, in the desktop colour, and
    // small circles in the colours of the table.
    const QImage picture = world.widget("Pic").grab().toImage();
    const ShapeElement& square = world.form().Shape[0];
    EXPECT_TRUE(test::colourNear(picture, {static_cast<int>(square.Left / 15) + 60, static_cast<int>(square.Top / 15)},
        QColor(0x00, 0x80, 0x80)));
    EXPECT_GT(test::pixelsOtherThan(picture, QRect(0, 0, 190, 87), Qt::black), 50);
    const QRect squareAndTime(200, 145, 130, 65); // below the information text and the link
    EXPECT_GT(test::pixelsOtherThan(picture, squareAndTime, Qt::black), 50);

    world.click("cmdHELP");
    EXPECT_TRUE(world.widget("LblINFO").isVisible());
    const QImage information = world.widget("Pic").grab().toImage();
    EXPECT_EQ(test::pixelsOtherThan(information, squareAndTime, Qt::black), 0);
}

TEST(DialogWindow, ListTypedOrPickedByTheUserLandsInItsRecord)
{
    DialogWorld world;
    auto& list = world.widget<QComboBox>("ComboT");
    ComboList& record = world.form().ComboT;

    QTest::keyClick(&list, Qt::Key_Down);
    EXPECT_EQ(record.ListIndex(), SystemDial);
    EXPECT_EQ(record.Text(), "System (Zentar)");

    list.lineEdit()->clear();
    QTest::keyClicks(list.lineEdit(), QStringLiteral("Without time"));
    EXPECT_EQ(record.Text(), "Without time");
    EXPECT_EQ(record.ListIndex(), WithoutClock);
    // Typing inside the text leaves the selection and keeps the cursor where the user types.
    list.lineEdit()->setCursorPosition(7);
    QTest::keyClicks(list.lineEdit(), QStringLiteral("ab"));
    EXPECT_EQ(record.Text(), "Withoutab time");
    EXPECT_EQ(record.ListIndex(), -1);
    EXPECT_EQ(list.lineEdit()->cursorPosition(), 9);
    // Other events, such as the ticks of the show behind the dialog, leave the field alone.
    list.lineEdit()->selectAll();
    world.events.deliver([] {});
    EXPECT_EQ(list.lineEdit()->selectedText(), list.currentText());

    // Only the exact text selects: a text in other letter case stays as typed, also when the
    // field loses the focus.
    list.lineEdit()->clear();
    QTest::keyClicks(list.lineEdit(), QStringLiteral("without time"));
    Q_EMIT list.lineEdit()->editingFinished();
    EXPECT_EQ(record.Text(), "without time");
    EXPECT_EQ(record.ListIndex(), -1);
    EXPECT_EQ(list.currentText(), QStringLiteral("without time"));

    // A change of the record shows in the widget: the entries and the shown text in Russian.
    world.click("lblLOC(0)");
    EXPECT_EQ(list.itemText(WithoutClock), QStringLiteral("Без времени"));
    EXPECT_EQ(list.count(), 5);
    EXPECT_EQ(list.currentText(), QString::fromStdString(record.Text()));
}

TEST(DialogWindow, MovingTheWindowMovesItsRecord)
{
    DialogWorld world;
    world.view().move(100, 50);
    QCoreApplication::processEvents();
    EXPECT_EQ(world.form().Left, 1500);
    EXPECT_EQ(world.form().Top, 750);
    EXPECT_EQ(world.view().pos(), QPoint(100, 50));
}

TEST(DialogWindow, EnterSavesAndEndsEscAndTheCloseButtonEndWithoutSaving)
{
    const struct {
        const char* action;
        bool saved;
    } rows[] = {{"Enter", true}, {"Esc", false}, {"close", false}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.action);
        DialogWorld world;
        const std::string action = row.action;
        if (action == "Enter")
            QTest::keyClick(&world.view(), Qt::Key_Return);
        else if (action == "Esc")
            QTest::keyClick(&world.view(), Qt::Key_Escape);
        else
            EXPECT_FALSE(world.view().close());
        EXPECT_TRUE(world.platform.ended());
        EXPECT_EQ(std::filesystem::exists(world.settingsPath()), row.saved);
    }
}

TEST(DialogWindow, SaveThatFailsIsReportedAndTheDialogKeepsTheChoices)
{
    DialogWorld world;
    std::filesystem::create_directory(world.settingsPath()); // a folder cannot be replaced by the file
    QTest::keyClick(&world.widget("Slider(0)"), Qt::Key_Right);

    const ShownMessage shown = closeMessageOpenedBy([&world] { world.click("cmdOK"); });
    EXPECT_EQ(shown.title, QStringLiteral("Vortexa"));
    EXPECT_TRUE(shown.text.contains(QString::fromStdString(world.settingsPath().string()))) << shown.text.toStdString();
    EXPECT_EQ(shown.icon, QMessageBox::Information);
    EXPECT_EQ(shown.buttons, 1);

    EXPECT_FALSE(world.platform.ended());
    EXPECT_TRUE(world.view().isVisible());
    EXPECT_TRUE(world.form().Messages.empty());
    EXPECT_EQ(world.form().Slider[0].Value(), 10); // the 9 of a missing file, one step up
    EXPECT_EQ(world.widget<QSlider>("Slider(0)").value(), 10);
}

TEST(DialogWindow, DialClockWithTheWrongScriptIsRefusedInTheCurrentLanguage)
{
    DialogWorld world;
    world.click("lblLOC(0)");
    auto& list = world.widget<QComboBox>("ComboT");
    list.setFocus();
    QTest::keyClick(&list, Qt::Key_Down); // a dial clock with the first script
    const Form1* saver = world.program.form1;

    const ShownMessage shown = closeMessageOpenedBy([&world] { world.click("CmdPRO"); });
    EXPECT_EQ(shown.title, QStringLiteral("Attention!"));
    EXPECT_EQ(shown.text, QString::fromStdString(world.program.module.ClockWarning));
    EXPECT_TRUE(shown.text.startsWith(QStringLiteral("Графические часы")));
    EXPECT_TRUE(drawnWithRealGlyphs(shown.text, shown.font));

    EXPECT_EQ(world.program.form1, saver); // no preview
    EXPECT_FALSE(world.program.module.PreviewMode);
    EXPECT_TRUE(world.view().isVisible());
    EXPECT_EQ(list.currentText(), QStringLiteral("Системное (Циф)"));
}

TEST(DialogWindow, ClicksRunTheirHandlers)
{
    DialogWorld world;
    world.click("lblLINK");
    ASSERT_EQ(world.platform.startedPrograms().size(), 1u);
    EXPECT_EQ(world.platform.startedPrograms()[0].arguments,
        std::vector<std::string> {"https://" VORTEXA_AUTHOR_HOST "/index-e.htm"});

    world.click("lblLOC(0)");
    EXPECT_EQ(world.program.module.Language, 0);
    EXPECT_EQ(world.widget<QLabel>("lblLOC(0)").palette().color(QPalette::WindowText), QColor(Qt::black));
    EXPECT_EQ(world.widget<QLabel>("lblLOC(1)").palette().color(QPalette::WindowText), QColor(Qt::blue));

    world.click("cmdS(1)");
    EXPECT_EQ(world.program.module.Scenario, 2);

    world.click("CmdPRO");
    EXPECT_TRUE(world.program.module.PreviewMode);
    ASSERT_EQ(world.program.screens().size(), 1u);
    EXPECT_TRUE(world.program.screens().front()->screen.Visible);
    // A program started with "/c" shows the dialog again over the new screen.
    EXPECT_TRUE(world.view().isVisible());
    EXPECT_FALSE(world.form().BringToFront);
}

TEST(DialogWindow, KeyOneOverTheShowOpensTheDialogInFront)
{
    DialogWorld world("/s");
    ASSERT_NE(world.dialogWindow.view(), nullptr); // loaded at start-up, hidden
    EXPECT_FALSE(world.view().isVisible());
    world.events.deliver([&world] { world.program.form1->Form_KeyPress('1'); });
    EXPECT_TRUE(world.view().isVisible());
    EXPECT_FALSE(world.form().BringToFront);
    EXPECT_TRUE(world.program.form1->screen.Visible);
    EXPECT_FALSE(world.platform.ended());
}

// Counts the paint events of every widget of the dialog and of the dialog itself.
class PaintCounter : public QObject {
public:
    explicit PaintCounter(QWidget& dialog)
    {
        dialog.installEventFilter(this);
        for (QWidget* widget : dialog.findChildren<QWidget*>())
            widget->installEventFilter(this);
    }
    std::map<QString, int> paints;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            ++paints[watched->objectName()];
        return false;
    }
};

// While the dialog is open over the show, the show's ticks follow it a hundred times a second:
// nothing is drawn again until something it shows changed.
TEST(DialogWindow, TicksOfTheShowDrawNothingAgainAndAChangedPictureIsDrawn)
{
    DialogWorld world("/s");
    world.events.deliver([&world] { world.program.form1->Form_KeyPress('1'); });
    ASSERT_TRUE(world.view().isVisible());
    QCoreApplication::processEvents();
    PaintCounter counter(world.view());
    for (int tick = 0; tick < 50; ++tick) {
        world.events.deliver([&world] { world.platform.advance(10); });
        QCoreApplication::processEvents();
    }
    EXPECT_EQ(counter.paints, (std::map<QString, int> {}));

    world.events.deliver([&world] { world.form().Shape[0].Visible = !world.form().Shape[0].Visible; });
    QCoreApplication::processEvents();
    EXPECT_GE(counter.paints["Pic"], 1);
}

// Columns of the image that hold a pixel other than its most common colour, between two rows.
std::pair<int, int> inkColumns(const QImage& image, int top, int bottom)
{
    std::map<QRgb, int> counts;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            ++counts[image.pixel(x, y)];
    const QRgb background = std::max_element(counts.begin(), counts.end(), [](const auto& a, const auto& b) {
        return a.second < b.second;
    })->first;
    int left = image.width(), right = -1;
    for (int y = std::max(top, 0); y < std::min(bottom, image.height()); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != background) {
                left = std::min(left, x);
                right = std::max(right, x);
            }
    return {left, right};
}

// A label draws each line of its caption inside the box the layout gave that line, however the
// label is aligned.
TEST(DialogWindow, LabelsDrawEachLineAtItsBox)
{
    DialogWorld world;
    world.click("cmdHELP");
    const std::vector<DialogControl> controls = dialogControls(world.form());
    for (const int alignment : {AlignLeft, AlignCentre, AlignRight}) {
        SCOPED_TRACE(alignment);
        world.events.deliver([&world, alignment] { world.form().LblINFO.Alignment = alignment; });
        const std::vector<ControlLayout> layout = layOutDialog(world.form(), controls, QtTextMeasure());
        const std::vector<TextLine>& lines = layout[1].lines;
        ASSERT_GE(lines.size(), 3u);
        const QImage image = world.widget("LblINFO").grab().toImage();
        int checked = 0;
        for (const TextLine& line : lines) {
            if (line.text.empty())
                continue;
            const auto [left, right] = inkColumns(image, line.box.top, line.box.bottom());
            EXPECT_NEAR(left, line.box.left, 2) << line.text;
            EXPECT_NEAR(right, line.box.right(), 3) << line.text;
            ++checked;
        }
        EXPECT_GE(checked, 2);
    }
}

} // namespace
} // namespace vortexa
