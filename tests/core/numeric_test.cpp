#include <gtest/gtest.h>

#include <clocale>
#include <limits>
#include <string>

#include "records/controls.h"
#include "records/elements.h"
#include "records/numeric.h"
#include "running_program.h"

namespace vortexa {
namespace {

TEST(Numbers, RoundingTakesHalvesToTheEvenNeighbour)
{
    const struct {
        double value;
        int32_t rounded;
    } rows[] = {
        {2.5, 2},
        {3.5, 4},
        {-2.5, -2},
        {0.5, 0},
        {1.5, 2},
        {2.4999, 2},
        {2.5001, 3},
        {-0.4, 0},
    };
    for (const auto& row : rows)
        EXPECT_EQ(wholeNumber(row.value), row.rounded) << row.value;
}

TEST(Numbers, SixteenBitConversionFailsOutsideItsRange)
{
    EXPECT_EQ(toInt16(32767.4), 32767);
    EXPECT_EQ(toInt16(-32768.5), -32768); // the half goes to the even neighbour, inside the range
    EXPECT_FALSE(toInt16(32767.5));
    EXPECT_FALSE(toInt16(40000));
    EXPECT_FALSE(toInt16(-32769));
    EXPECT_FALSE(toInt32(3e9));
    EXPECT_EQ(wholeNumber(1e300), INT32_MAX); // held at the end, never undefined
}

TEST(Numbers, IntegerHalvingTruncates)
{
    EXPECT_EQ(integerHalf(975), 487);
    EXPECT_EQ(integerHalf(-975), -487);
}

TEST(Numbers, TextToNumberTakesTheLeadingNumber)
{
    const struct {
        const char* text;
        double value;
    } rows[] = {
        {"12", 12},
        {"  7", 7},
        {"3.5", 3.5},
        {"-4", -4},
        {"12abc", 12},
        {"abc", 0},
        {"", 0},
        {"8=9", 8},
        {"1e3", 1000},
        {"2e", 2},
        {".5", 0.5},
        {"&HFF", 255},
        {"&hC0FFC0", 0xC0FFC0},
        {"&O17", 15},
        {"&", 0},
        {"\x01\xff", 0},
        {"99999999999999999999", 1e20},
    };
    for (const auto& row : rows)
        EXPECT_DOUBLE_EQ(textToNumber(row.text), row.value) << '"' << row.text << '"';
}

// The Qt application sets the C library's locale from the environment, and Russian and German
// write "1,5". A hand-edited "viewTime=1.5" must not become the dial clock 1 there.
#ifdef _WIN32
constexpr const char* Locales[] = {"C", "Russian_Russia.1251", "German_Germany.1252"};
#else
constexpr const char* Locales[] = {"C", "ru_RU.UTF-8", "de_DE.UTF-8"};
#endif

TEST(Numbers, TextToNumberReadsTheSameUnderEveryLocale)
{
    struct CLocaleAfterwards {
        ~CLocaleAfterwards() { std::setlocale(LC_ALL, "C"); }
    } restore;
    for (const char* locale : Locales) {
        SCOPED_TRACE(locale);
        ASSERT_NE(std::setlocale(LC_ALL, locale), nullptr) << "scripts/install-deps.sh generates this locale";
        EXPECT_EQ(textToNumber("1.5"), 1.5);
        EXPECT_EQ(textToNumber("-2.25e1"), -22.5);
        EXPECT_EQ(textToNumber("1,5"), 1);
        RunningProgram started({"krugN=9\r\nBorderWidth=1\r\nSpeed=2\r\nviewTime=1.5\r\nScenario=3\r\n"});
        EXPECT_FALSE(started.module().GraphicClock);
    }
}

TEST(Numbers, NumbersBeyondADoubleAreHeld)
{
    EXPECT_EQ(textToNumber("1e400"), std::numeric_limits<double>::max());
    EXPECT_EQ(textToNumber("-1e99999999999999999999"), -std::numeric_limits<double>::max());
    EXPECT_EQ(textToNumber("0.0000001e-400"), 0);
    EXPECT_EQ(textToNumber(std::string(400, '9')), std::numeric_limits<double>::max());
    EXPECT_EQ(textToNumber("&H" + std::string(400, 'F')), std::numeric_limits<double>::max());
}

TEST(Numbers, ColourTextsReadAsHexadecimal)
{
    EXPECT_EQ(colourFromText("&HDDDDAA"), 0xDDDDAAu);
    EXPECT_EQ(colourFromText("&H008080"), 0x008080u);
    EXPECT_EQ(colourFromText("-5"), 0u);
}

TEST(ElementArray, NewElementsCopyElementZeroAsItIsNowAndStartHidden)
{
    ElementArray<ShapeElement> shapes({ShapeElement {}});
    shapes[0].BorderWidth = 3;
    shapes[0].Left = 120;
    ASSERT_TRUE(shapes.Load(1));
    EXPECT_EQ(shapes[1].BorderWidth, 3);
    EXPECT_EQ(shapes[1].Left, 120);
    EXPECT_FALSE(shapes[1].Visible);

    shapes[0].BorderWidth = 1; // later changes to element 0 reach only later copies
    EXPECT_EQ(shapes[1].BorderWidth, 3);
    EXPECT_FALSE(shapes.Load(1));
    EXPECT_FALSE(shapes.Load(-1));
    ASSERT_TRUE(shapes.Load(5));
    EXPECT_EQ(shapes.Count(), 3);
    EXPECT_EQ(shapes.UBound(), 5);
    EXPECT_FALSE(shapes.exists(3));
    EXPECT_EQ(shapes.find(3), nullptr);
}

TEST(Controls, TrackBarKeepsItsPositionInsideItsRange)
{
    TrackBar bar(6, 12, 6);
    bar.setValue(15);
    EXPECT_EQ(bar.Value(), 12);
    bar.setMax(20);
    bar.setMin(10);
    bar.setValue(15);
    EXPECT_EQ(bar.Value(), 15);
    bar.setMin(0);
    bar.setMax(10); // the position is outside the new range and moves to its nearer end
    EXPECT_EQ(bar.Value(), 10);
    bar.setMin(6);
    EXPECT_EQ(bar.Value(), 10);
}

TEST(Controls, ListSelectsOnlyTheEntryItsTextEquals)
{
    ComboList list({"Get captives", "Not get"});
    EXPECT_EQ(list.ListIndex(), -1);
    list.setText("Not get");
    EXPECT_EQ(list.ListIndex(), 1);
    list.setText("not get");
    EXPECT_EQ(list.ListIndex(), -1);
    list.setText("Captives?");
    EXPECT_EQ(list.ListIndex(), -1);
    EXPECT_EQ(list.List(7), "");
}

} // namespace
} // namespace vortexa
