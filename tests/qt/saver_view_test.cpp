#include <QApplication>
#include <QCursor>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScreen>

#include <gtest/gtest.h>

#include "platform/headless/headless_platform.h"
#include "platform/qt/qt_platform.h"
#include "platform/qt/saver_view.h"
#include "platform/qt/system_look.h"
#include "qt_test_support.h"
#include "saver/form1.h"
#include "state/program.h"

namespace vortexa {
namespace {

// The program on a virtual clock, with real windows that follow its saver screens; events reach
// the program through the Qt platform's delivery, as in the shipped program.
class SaverWindowsTest : public ::testing::Test {
protected:
    SaverWindowsTest()
    {
        events.deliver([this] { program.Start(); });
    }
    ~SaverWindowsTest() override { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

    Form1& form() { return *program.screens().front(); }
    SaverView& view() { return *windows.viewOf(form()); }

    test::TemporaryFolder folder;
    HeadlessPlatform platform {folder.path()};
    Program program {platform};
    QtPlatform events;
    SaverWindows windows {program, events};
};

TEST_F(SaverWindowsTest, StartedScreenCoversThePrimaryScreenWithTheRingsPointer)
{
    ASSERT_NE(windows.viewOf(form()), nullptr);
    EXPECT_TRUE(view().isVisible());
    EXPECT_EQ(view().windowStates(), Qt::WindowFullScreen);
    EXPECT_EQ(view().geometry(), QGuiApplication::primaryScreen()->geometry());
    EXPECT_TRUE(view().flags().testFlag(Qt::FramelessWindowHint));
    EXPECT_EQ(view().cursor().shape(), Qt::BitmapCursor);
    EXPECT_EQ(view().cursor().pixmap().size(), QSize(32, 32));

    const QImage icon = view().icon().pixmap(32, 32).toImage();
    EXPECT_EQ(icon.pixelColor(16, 16).alpha(), 0);
    EXPECT_EQ(icon.pixelColor(0, 0).alpha(), 0);
}

TEST(SaverPointer, RingsAreRedAtTheLowerLeftAndBlueAtTheUpperRight)
{
    const QImage pointer = ringsPointerImage().toImage();
    ASSERT_EQ(pointer.size(), QSize(32, 32));
    const auto reddish = [](QColor c) { return c.alpha() > 128 && c.red() > 2 * c.blue(); };
    const auto bluish = [](QColor c) { return c.alpha() > 128 && c.blue() > 2 * c.red(); };
    EXPECT_TRUE(reddish(pointer.pixelColor(3, 20))); // left side of the red ring
    EXPECT_TRUE(reddish(pointer.pixelColor(12, 28))); // bottom of the red ring
    EXPECT_TRUE(bluish(pointer.pixelColor(28, 12))); // right side of the blue ring
    EXPECT_TRUE(bluish(pointer.pixelColor(20, 3))); // top of the blue ring
    for (const QPoint corner : {QPoint(0, 0), QPoint(31, 31), QPoint(0, 31), QPoint(31, 0)})
        EXPECT_EQ(pointer.pixelColor(corner).alpha(), 0) << corner.x() << ',' << corner.y();
}

TEST_F(SaverWindowsTest, WindowFollowsItsRecordAfterEachEvent)
{
    events.deliver([this] { form().screen.MousePointer = PointerCrossHair; });
    EXPECT_EQ(view().cursor().shape(), Qt::CrossCursor);

    EXPECT_FALSE(view().close()); // the record still says shown
    EXPECT_TRUE(view().isVisible());

    events.deliver([this] { form().Hide(); });
    EXPECT_FALSE(view().isVisible());
    events.deliver([this] { form().Show(); });
    EXPECT_TRUE(view().isVisible());
    EXPECT_EQ(view().windowStates(), Qt::WindowFullScreen);
}

TEST_F(SaverWindowsTest, OnlyKeysThatTypeACharacterAreDelivered)
{
    const struct {
        int key;
        QString text;
        bool delivered;
    } rows[] = {
        {Qt::Key_Shift, QString(), false},
        {Qt::Key_Left, QString(), false},
        {Qt::Key_A, QStringLiteral("a"), true},
        {Qt::Key_Escape, QStringLiteral("\x1b"), true},
        {Qt::Key_Space, QStringLiteral(" "), true},
        {Qt::Key_Delete, QStringLiteral("\x7f"), false},
    };
    for (const auto& row : rows) {
        // A delivered event makes the window follow its record, which says hidden.
        form().Show();
        events.deliver([] {});
        form().Hide();
        QKeyEvent press(QEvent::KeyPress, row.key, Qt::NoModifier, row.text);
        QApplication::sendEvent(&view(), &press);
        EXPECT_EQ(!view().isVisible(), row.delivered) << row.key;
    }
}

TEST_F(SaverWindowsTest, OnlyMouseMovesThatChangeThePlaceAreDelivered)
{
    const auto move = [this](QPointF place) {
        form().Show();
        events.deliver([] {});
        form().Hide();
        QMouseEvent event(QEvent::MouseMove, place, place, Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(&view(), &event);
        return !view().isVisible();
    };
    const QPointF start = QCursor::pos();
    EXPECT_FALSE(move(start)); // the window appeared under the pointer
    EXPECT_TRUE(move(start + QPointF(5, 5)));
    EXPECT_FALSE(move(start + QPointF(5, 5)));
    EXPECT_TRUE(move(start + QPointF(6, 5)));
}

TEST_F(SaverWindowsTest, UnloadedScreenLosesItsWindowAndIsDiscardedOnlyAfterTheOutermostEvent)
{
    Form1* first = &form();
    events.deliver([&] {
        events.deliver([&] {
            program.Unload(first);
            program.CreateSaverScreen();
        });
        // The outer handler still runs, so the unloaded screen must still be there to read.
        EXPECT_FALSE(first->screen.Visible);
        EXPECT_EQ(windows.viewOf(*first), nullptr);
    });
    ASSERT_EQ(program.screens().size(), 1u);
    EXPECT_NE(windows.viewOf(form()), nullptr);
    EXPECT_TRUE(view().isVisible());
}

} // namespace
} // namespace vortexa
