#include <QFontInfo>
#include <QFontMetrics>

#include <gtest/gtest.h>

#include <string_view>

#include "platform/headless/headless_platform.h"
#include "platform/qt/saver_painter.h"
#include "platform/qt/system_look.h"
#include "qt_test_support.h"
#include "saver/form1.h"
#include "state/program.h"

namespace vortexa {
namespace {

using test::colourNear;
using test::pixelsOtherThan;

const QColor Black(Qt::black);
const QSize FullHd(1920, 1080);

// A screen whose designed elements are all hidden, for one element under test.
SaverScreen emptyScreen()
{
    SaverScreen screen;
    screen.Shape[0].Visible = false;
    screen.lblT.Visible = false;
    screen.lblF1.Visible = false;
    return screen;
}

ShapeElement circleAt(float left, float top, float width, float height, uint32_t colour)
{
    ShapeElement circle;
    circle.Left = left;
    circle.Top = top;
    circle.Width = width;
    circle.Height = height;
    circle.BorderColor = colour;
    return circle;
}

TEST(SaverPainter, DefaultSceneDrawsEachCircleInItsColourOnBlack)
{
    test::TemporaryFolder folder;
    HeadlessPlatform platform(folder.path());
    Program program(platform);
    program.Start();
    ASSERT_EQ(program.screens().size(), 1u);
    const SaverScreen& screen = program.screens().front()->screen;
    const QImage frame = renderSaverScreen(screen, FullHd);

    ASSERT_EQ(screen.Shape.Count(), 9);
    // The circles share their top-left corner, so each one alone reaches the middle of the bottom
    // of its box; only the largest reaches the middle of the right side.
    for (int k = 0; k < screen.Shape.Count(); ++k) {
        const ShapeElement& circle = screen.Shape[k];
        const int size = static_cast<int>(circle.Width / TwipsPerPixel);
        EXPECT_TRUE(colourNear(frame, {size / 2, size - 1}, toQColor(circle.BorderColor))) << "circle " << k;
    }
    const ShapeElement& largest = screen.Shape[0];
    ASSERT_EQ(largest.Width, 3800);
    EXPECT_TRUE(colourNear(frame, {252, 126}, toQColor(largest.BorderColor)));
    EXPECT_NE(frame.pixelColor(126, 0), Black);
    EXPECT_NE(frame.pixelColor(0, 126), Black);

    EXPECT_EQ(frame.pixelColor(960, 540), Black);
    EXPECT_EQ(frame.pixelColor(1919, 1079), Black);
    EXPECT_EQ(frame.pixelColor(256, 256), Black); // just outside the largest circle's box
    EXPECT_EQ(frame.pixelColor(40, 240), Black); // inside the box, outside the circle
}

TEST(SaverPainter, CircleTakesTheShorterSideOfItsBoxAndSitsInTheMiddle)
{
    const struct {
        float width, height;
        QPoint top, left, outsideLeft;
    } rows[] = {
        {3000, 1500, {100, 0}, {50, 50}, {40, 50}}, // 100 px circle in a 200 x 100 box
        {1500, 3000, {50, 50}, {0, 100}, {50, 40}}, // 100 px circle in a 100 x 200 box
    };
    for (const auto& row : rows) {
        SaverScreen screen = emptyScreen();
        screen.Shape[0] = circleAt(0, 0, row.width, row.height, rgb(255, 0, 0));
        const QImage frame = renderSaverScreen(screen, QSize(300, 300));
        EXPECT_TRUE(colourNear(frame, row.top, Qt::red)) << row.width;
        EXPECT_TRUE(colourNear(frame, row.left, Qt::red)) << row.width;
        EXPECT_EQ(frame.pixelColor(row.outsideLeft), Black) << row.width;
    }
}

TEST(SaverPainter, ColoursAreStoredBlueGreenRed)
{
    EXPECT_EQ(toQColor(rgb(0x12, 0x34, 0x56)), QColor(0x12, 0x34, 0x56));
    EXPECT_EQ(toQColor(0xC0C0FF), QColor(0xFF, 0xC0, 0xC0));
    const struct {
        int index;
        QRgb colour;
    } systemColours[] = {{0, 0xC0C0C0}, {1, 0x008080}, {6, 0x000000}, {15, 0xC0C0C0}, {17, 0x808080}, {18, 0x000000},
        {24, 0xFFFFE1}, {25, 0x000000}, {0x7FFFFF01, 0x000000}};
    for (const auto& row : systemColours)
        EXPECT_EQ(toQColor(systemColour(row.index)), QColor::fromRgb(row.colour)) << row.index;
}

// The pixels along the straight part of a rounded square's top border that are not black.
int topBorderPixels(int borderStyle, int borderWidth)
{
    SaverScreen screen = emptyScreen();
    ShapeElement& square = screen.Shape[0];
    square = circleAt(150, 150, 3000, 3000, rgb(255, 255, 255));
    square.Shape = ShapeRoundedRectangle;
    square.BorderStyle = borderStyle;
    square.BorderWidth = borderWidth;
    const QImage frame = renderSaverScreen(screen, QSize(240, 240));
    return pixelsOtherThan(frame, QRect(50, 10, 120, 1), Black);
}

TEST(SaverPainter, DashedAndDottedBordersLeaveGapsWhereSolidOnesDoNot)
{
    for (int width : {1, 3}) {
        const int solid = topBorderPixels(BorderSolid, width);
        EXPECT_EQ(solid, 120) << width;
        const int dashed = topBorderPixels(BorderDashed, width);
        const int dotted = topBorderPixels(BorderDotted, width);
        EXPECT_GT(dashed, 20) << width;
        EXPECT_LT(dashed, solid - 10) << width;
        EXPECT_GT(dotted, 10) << width;
        EXPECT_LT(dotted, dashed) << width;
    }
}

TEST(SaverPainter, WideBorderStaysInsideItsBox)
{
    SaverScreen screen = emptyScreen();
    screen.Shape[0] = circleAt(150, 150, 1500, 1500, rgb(0, 255, 0));
    screen.Shape[0].BorderWidth = 3;
    const QImage frame = renderSaverScreen(screen, QSize(200, 200));
    for (int row = 10; row <= 12; ++row)
        EXPECT_TRUE(colourNear(frame, {60, row}, Qt::green, 0)) << row;
    EXPECT_EQ(frame.pixelColor(60, 9), Black);
    EXPECT_EQ(frame.pixelColor(60, 13), Black);
}

TEST(SaverPainter, BackgroundAndFillFollowTheirStyles)
{
    const QColor back(0x11, 0x22, 0x33), fill(0x44, 0x55, 0x66);
    const struct {
        int backStyle, fillStyle;
        QColor inside;
    } rows[] = {
        {BackTransparent, FillTransparent, Black},
        {BackOpaque, FillTransparent, back},
        {BackOpaque, FillSolid, fill},
        {BackTransparent, FillSolid, fill},
    };
    for (const auto& row : rows) {
        SaverScreen screen = emptyScreen();
        ShapeElement& disc = screen.Shape[0];
        disc = circleAt(0, 0, 1500, 1500, rgb(255, 255, 255));
        disc.BackColor = rgb(0x11, 0x22, 0x33);
        disc.BackStyle = row.backStyle;
        disc.FillColor = rgb(0x44, 0x55, 0x66);
        disc.FillStyle = row.fillStyle;
        const QImage frame = renderSaverScreen(screen, QSize(120, 120));
        EXPECT_EQ(frame.pixelColor(50, 50), row.inside) << row.backStyle << ' ' << row.fillStyle;
        EXPECT_EQ(frame.pixelColor(110, 110), Black) << row.backStyle << ' ' << row.fillStyle;
    }
}

TEST(SaverPainter, LaterElementsCoverEarlierOnesAndHiddenOnesAreLeftOut)
{
    SaverScreen screen = emptyScreen();
    screen.Shape[0] = circleAt(0, 0, 1500, 1500, rgb(255, 0, 0));
    screen.Shape[0].FillStyle = FillSolid;
    screen.Shape[0].FillColor = rgb(255, 0, 0);
    ASSERT_TRUE(screen.LoadShape(1));
    screen.Shape[1].FillColor = rgb(0, 0, 255);
    screen.Shape[1].Visible = true;
    const QPoint middle(50, 50);

    EXPECT_EQ(renderSaverScreen(screen, QSize(120, 120)).pixelColor(middle), QColor(Qt::blue));
    screen.drawingOrder.sendToBack({KindShape, 1});
    EXPECT_EQ(renderSaverScreen(screen, QSize(120, 120)).pixelColor(middle), QColor(Qt::red));
    screen.Shape[0].Visible = false;
    EXPECT_EQ(renderSaverScreen(screen, QSize(120, 120)).pixelColor(middle), QColor(Qt::blue));
    screen.Shape[1].Visible = false;
    EXPECT_EQ(renderSaverScreen(screen, QSize(120, 120)).pixelColor(middle), Black);
}

TEST(SaverPainter, LinesRunBetweenTheirEndsInTheirWidth)
{
    SaverScreen screen = emptyScreen();
    LineElement& hand = screen.LineS[2];
    hand = {150, 300, 1350, 300, rgb(255, 255, 0), 3, true};
    const QImage frame = renderSaverScreen(screen, QSize(120, 60));
    EXPECT_TRUE(colourNear(frame, {50, 19}, Qt::yellow, 0));
    EXPECT_TRUE(colourNear(frame, {50, 21}, Qt::yellow, 0));
    EXPECT_EQ(frame.pixelColor(50, 16), Black);
    EXPECT_EQ(frame.pixelColor(50, 24), Black);
    EXPECT_EQ(frame.pixelColor(100, 20), Black); // past the end
    hand.Visible = false;
    EXPECT_EQ(pixelsOtherThan(renderSaverScreen(screen, QSize(120, 60)), QRect(0, 0, 120, 60), Black), 0);
}

TEST(SaverPainter, LabelFontsStandInWithInstalledFontsThatHaveCyrillicLetters)
{
    for (const char* name : {"Times New Roman", "MS Sans Serif"}) {
        const QFont font = toQFont({name, 24, true, false});
        const QFontMetrics metrics(font);
        for (const char32_t letter : std::u32string_view(U"Время"))
            EXPECT_TRUE(metrics.inFontUcs4(letter)) << name << " lacks U+" << std::hex << unsigned(letter);
        EXPECT_EQ(font.pixelSize(), 32) << name;
        EXPECT_TRUE(QFontInfo(font).bold()) << name;
    }
    EXPECT_EQ(QFontInfo(toQFont({"Times New Roman", 12, false, false})).family(), "Liberation Serif");
    EXPECT_EQ(QFontInfo(toQFont({"MS Sans Serif", 8.25f, false, false})).family(), "Liberation Sans");
    EXPECT_EQ(toQFont({"MS Sans Serif", 8.25f, false, false}).pixelSize(), 11);
}

TEST(SaverPainter, TimeLabelShowsItsCyrillicCaptionInGreyOnBlack)
{
    SaverScreen screen = emptyScreen();
    screen.lblT.Visible = true;
    const QImage frame = renderSaverScreen(screen, QSize(400, 200));
    const QRect label(122, 32, 110, 36);
    EXPECT_GT(pixelsOtherThan(frame, label, Black), 150);
    EXPECT_TRUE(colourNear(frame, label.center(), QColor(0x80, 0x80, 0x80), 20));
    EXPECT_EQ(pixelsOtherThan(frame, QRect(0, 0, 400, 30), Black), 0);
}

// The left and right ends of the ink in a label's box.
std::pair<int, int> inkSpan(const QImage& frame, const QRect& box, QColor background)
{
    int left = box.right(), right = box.left();
    for (int y = box.top(); y <= box.bottom(); ++y)
        for (int x = box.left(); x <= box.right(); ++x)
            if (frame.pixelColor(x, y) != background) {
                left = std::min(left, x);
                right = std::max(right, x);
            }
    return {left, right};
}

TEST(SaverPainter, LabelsAlignTheirCaptionAndPaintAnOpaqueBackground)
{
    const QColor face(0xC0, 0xC0, 0xC0);
    const QRect box(20, 20, 200, 40);
    const struct {
        int alignment;
        int inkLeftLeast, inkLeftMost, inkRightLeast, inkRightMost;
    } rows[] = {
        {AlignLeft, 20, 24, 20, 140},
        {AlignRight, 100, 219, 214, 219},
        {AlignCentre, 60, 110, 130, 180},
    };
    for (const auto& row : rows) {
        SaverScreen screen = emptyScreen();
        LabelElement& label = screen.lblF1;
        label.Visible = true;
        label.Caption = "Click <1>";
        label.Left = 300;
        label.Top = 300;
        label.Width = 3000;
        label.Height = 600;
        label.BackColor = systemColour(15);
        label.ForeColor = systemColour(18);
        label.Alignment = row.alignment;
        const QImage frame = renderSaverScreen(screen, QSize(260, 100));
        EXPECT_EQ(frame.pixelColor(box.topLeft()), face);
        EXPECT_EQ(frame.pixelColor(box.bottomRight()), face);
        EXPECT_EQ(frame.pixelColor(box.right() + 1, box.top()), Black);
        const auto [left, right] = inkSpan(frame, box, face);
        EXPECT_GE(left, row.inkLeftLeast) << row.alignment;
        EXPECT_LE(left, row.inkLeftMost) << row.alignment;
        EXPECT_GE(right, row.inkRightLeast) << row.alignment;
        EXPECT_LE(right, row.inkRightMost) << row.alignment;
    }
}

TEST(SaverPainter, PaintsOnlyTheAskedPartOfTheScreen)
{
    SaverScreen screen = emptyScreen();
    screen.Shape[0] = circleAt(3000, 3000, 1500, 1500, rgb(255, 0, 0));
    QImage frame(400, 400, QImage::Format_RGB32);
    frame.fill(Qt::magenta);
    QPainter painter(&frame);
    paintSaverScreen(painter, screen, QRect(0, 0, 100, 100));
    painter.end();
    EXPECT_EQ(pixelsOtherThan(frame, QRect(0, 0, 100, 100), Black), 0);
    EXPECT_EQ(pixelsOtherThan(frame, QRect(100, 0, 300, 400), Qt::magenta), 0);
    EXPECT_EQ(pixelsOtherThan(frame, QRect(0, 100, 100, 300), Qt::magenta), 0);
}

} // namespace
} // namespace vortexa
