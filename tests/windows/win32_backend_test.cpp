// The Win32 backend under Wine: the GDI painter's picture, the dialog's controls and their way back
// into the records, and the command line as the system passes it.

#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "../core/running_program.h"
#include "../core/temporary_folder.h"
#include "backend_kit/render_geometry.h"
#include "dialog/captions.h"
#include "dialog/dialog_controls.h"
#include "dialog/form2.h"
#include "platform/headless/headless_platform.h"
#include "platform/win32/dialog_window.h"
#include "platform/win32/gdi_painter.h"
#include "platform/win32/system_look.h"
#include "platform/win32/win32_platform.h"
#include "saver/form1.h"
#include "state/program.h"

namespace vortexa {
namespace {

constexpr uint32_t Black = 0;

// True when the pixel or one of its neighbours has the colour: the edge of a circle may fall on
// either side of a pixel.
bool colourNear(const PixelPicture& frame, int x, int y, uint32_t colour)
{
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx)
            if (x + dx >= 0 && y + dy >= 0 && frame.at(x + dx, y + dy) == colour)
                return true;
    return false;
}

TEST(GdiPainter, DefaultSceneDrawsEachCircleInItsColourOnBlack)
{
    TemporaryFolder folder;
    HeadlessPlatform platform(folder.path());
    Program program(platform);
    program.Start();
    ASSERT_EQ(program.screens().size(), 1u);
    const SaverScreen& screen = program.screens().front()->screen;
    const PixelPicture frame = renderSaverScreen(screen, 1920, 1080);

    ASSERT_EQ(screen.Shape.Count(), 9);
    // The circles share their top-left corner, so each one alone reaches the middle of the bottom
    // of its box; only the largest reaches the middle of the right side.
    for (int k = 0; k < screen.Shape.Count(); ++k) {
        const ShapeElement& circle = screen.Shape[k];
        const int size = static_cast<int>(circle.Width / TwipsPerPixel);
        EXPECT_TRUE(colourNear(frame, size / 2, size - 1, toColorRef(circle.BorderColor))) << "circle " << k;
    }
    EXPECT_TRUE(colourNear(frame, 252, 126, toColorRef(screen.Shape[0].BorderColor)));
    EXPECT_EQ(frame.at(960, 540), Black);
    EXPECT_EQ(frame.at(1919, 1079), Black);
    EXPECT_EQ(frame.at(256, 256), Black); // just outside the largest circle's box
    EXPECT_EQ(frame.at(40, 240), Black); // inside the box, outside the circle
}

TEST(GdiPainter, WideAndDashedBordersStayInsideTheirBox)
{
    for (const int style : {BorderSolid, BorderDashed, BorderDotted}) {
        ShapeElement circle;
        circle.Left = 150;
        circle.Top = 150;
        circle.Width = circle.Height = 1500; // 100 pixels at (10, 10)
        circle.BorderColor = 0x0000FF;
        circle.BorderWidth = style == BorderSolid ? 5 : 1;
        circle.BorderStyle = style;
        const PixelPicture frame = renderPicture(200, 200, [&](HDC dc) { paintShape(dc, circle, {0, 0, 200, 200}); });
        int lit = 0, outside = 0;
        for (int y = 0; y < 200; ++y)
            for (int x = 0; x < 200; ++x) {
                const bool inBox = x >= 10 && x < 110 && y >= 10 && y < 110;
                lit += frame.at(x, y) != Black;
                outside += !inBox && frame.at(x, y) != Black;
            }
        EXPECT_EQ(outside, 0) << "style " << style;
        // A broken border lights fewer pixels than a whole one of the same width would.
        EXPECT_GT(lit, style == BorderSolid ? 1200 : 100) << "style " << style;
        EXPECT_LT(lit, style == BorderSolid ? 2000 : 300) << "style " << style;
    }
}

// Pens, brushes and border regions are cached, and the caches are emptied when they grow large. A
// run of more colours and sizes than a cache holds draws every shape in its own colours, before and
// after the caches were emptied, also for a colour whose handle was let go and made again.
TEST(GdiPainter, CachedPensBrushesAndRegionsDrawRightWhenTheCachesEmpty)
{
    constexpr int Cell = 16, Columns = 40, Rows = 30, Shapes = Columns * Rows;
    const auto colourOf = [](int k, int part) { return rgb(k % 250 + 1, k / 250 * 40 + part * 20 + 5, 200 - k % 150); };
    std::vector<ShapeElement> shapes;
    for (int k = 0; k < Shapes; ++k) {
        ShapeElement shape;
        shape.Shape = k % 3 == 0 ? ShapeRoundedRectangle : ShapeCircle;
        shape.Move(static_cast<float>(k % Columns * Cell * TwipsPerPixel),
            static_cast<float>(k / Columns * Cell * TwipsPerPixel));
        // Sizes change too, so that each wide curved border has a region of its own.
        shape.Width = shape.Height = static_cast<float>((Cell - 2 - k % 3) * TwipsPerPixel);
        shape.BorderWidth = 1 + k % 3;
        shape.BorderColor = colourOf(k % 700, 0);
        shape.FillStyle = FillSolid;
        shape.FillColor = colourOf(k % 700, 1);
        shapes.push_back(shape);
    }
    const PixelPicture picture = renderPicture(Columns * Cell, Rows * Cell, [&](HDC dc) {
        for (const ShapeElement& shape : shapes)
            paintShape(dc, shape, {0, 0, Columns * Cell, Rows * Cell});
    });
    for (int k = 0; k < Shapes; ++k) {
        const int left = k % Columns * Cell, top = k / Columns * Cell, side = Cell - 2 - k % 3;
        EXPECT_EQ(picture.at(left + side / 2, top + side / 2), shapes[k].FillColor) << "shape " << k;
        EXPECT_TRUE(colourNear(picture, left + 1, top + side / 2, shapes[k].BorderColor)) << "shape " << k;
    }
}

// The number of pixels in which two pictures of the same size differ.
int differingPixels(const PixelPicture& a, const PixelPicture& b)
{
    int differing = 0;
    for (size_t k = 0; k < a.pixels.size(); ++k)
        differing += a.pixels[k] != b.pixels[k];
    return differing;
}

TEST(GdiScenePainter, FramesDrawnOneUponAnotherEqualAFreshPictureOfTheSameRecords)
{
    constexpr int Width = 640, Height = 480;
    const struct {
        const char* name;
        int script, circles, border, viewTime;
    } rows[] = {
        {"Independence with the time", 1, 12, 1, 0},
        {"Capture, wide borders", 2, 10, 3, 0},
        {"Opposition with the dial", 3, 20, 1, 3},
        {"Opposition, wide borders and the dial", 3, 20, 3, 3},
    };
    for (const auto& row : rows) {
        RunningProgram running(
            {settingsText(row.circles, row.border, 5, row.viewTime, row.script, 0), "/s", Width, Height});
        const Canvas canvas(Width, Height);
        GdiScenePainter painter;
        for (int frame = 1; frame <= 60; ++frame) {
            running.platform.advance(frame % 7 == 0 ? 1000 : 30);
            painter.paint(canvas.dc(), &running.screen(), {0, 0, Width, Height});
            if (frame % 15 != 0)
                continue;
            EXPECT_EQ(differingPixels(canvas.picture(), renderSaverScreen(running.screen(), Width, Height)), 0)
                << row.name << ", frame " << frame;
        }
    }
}

// The grey level of a colour 0x00BBGGRR.
int greyOf(uint32_t colour)
{
    return static_cast<int>((colour & 0xFFu) * 299 + (colour >> 8 & 0xFFu) * 587 + (colour >> 16 & 0xFFu) * 114) / 1000;
}

TEST(GdiPainter, TheTimeOfDayIsLightTextOnTheBlackShowWhateverTheSystemsScheme)
{
    RunningProgram running({settingsText(6, 1, 2, 0, 1, 0), "/s", 800, 600});
    const LabelElement& label = running.screen().lblT;
    ASSERT_TRUE(label.Visible);
    ASSERT_FALSE(label.Caption.empty());
    const PixelPicture frame = renderSaverScreen(running.screen(), 800, 600);
    const PixelBox box = pixelBoxOf(label);
    int black = 0, lightest = 0;
    for (int y = std::max(box.top, 0); y < std::min(box.bottom(), 600); ++y)
        for (int x = std::max(box.left, 0); x < std::min(box.right(), 800); ++x) {
            black += frame.at(x, y) == Black;
            lightest = std::max(lightest, greyOf(frame.at(x, y)));
        }
    const int area = box.width * box.height;
    EXPECT_GT(black, area / 2) << "the label's box is not black";
    EXPECT_GE(lightest, 60) << "the text is not lighter than its box";
}

TEST(CommandLine, TheArgumentsFollowTheProgramsName)
{
    const struct {
        const wchar_t* commandLine;
        const wchar_t* arguments;
    } rows[] = {
        {L"\"C:\\Windows\\System32\\Vortexa.scr\" /p 12345", L" /p 12345"},
        {L"C:\\WINDOWS\\Vortexa.scr /c:1234", L" /c:1234"},
        {L"\"C:\\Program Files\\Vortexa.scr\"", L""},
        {L"Vortexa.scr", L""},
        {L"\"unclosed /s", L""},
    };
    for (const auto& row : rows)
        EXPECT_EQ(argumentsOf(row.commandLine), row.arguments) << std::wstring(row.commandLine).size();
    EXPECT_EQ(RunSwitch(" /P 12345"), "/p");
}

// A dialog loaded by a configuration start, with its window.
struct DialogWorld {
    TemporaryFolder folder;
    HeadlessPlatform headless {folder.path()};
    Win32Platform windows;
    Program program {headless};
    std::unique_ptr<DialogView> view;

    DialogWorld()
    {
        headless.setCommandLine("/c");
        program.Start();
        view = std::make_unique<DialogView>(program.dialog(), windows);
        view->follow();
    }

    Form2& dialog() { return program.dialog(); }

    // An element's place in the dialog's client area, in pixels, and its caption.
    RECT placeOf(const std::string& name) const
    {
        RECT place;
        GetWindowRect(view->control(name), &place);
        MapWindowPoints(HWND_DESKTOP, view->window(), reinterpret_cast<POINT*>(&place), 2);
        return place;
    }

    // A control's place inside another window.
    RECT placeIn(const std::string& name, HWND container) const
    {
        RECT place;
        GetWindowRect(view->control(name), &place);
        MapWindowPoints(HWND_DESKTOP, container, reinterpret_cast<POINT*>(&place), 2);
        return place;
    }

    std::string captionOf(const std::string& name) const
    {
        wchar_t text[256] = {};
        GetWindowTextW(view->control(name), text, 256);
        const std::wstring wide(text);
        const int length = WideCharToMultiByte(CP_UTF8, 0, wide.c_str(), -1, nullptr, 0, nullptr, nullptr);
        std::string utf8(static_cast<size_t>(length), '\0');
        WideCharToMultiByte(CP_UTF8, 0, wide.c_str(), -1, utf8.data(), length, nullptr, nullptr);
        utf8.pop_back();
        return utf8;
    }
};

// The places are the layout's (see EveryControlSitsAtItsBoxAtEitherResolution); here what lies on
// top and the captions.
TEST(DialogWindow, ControlsLieOnTopWithTheCaptionsOfEitherLanguage)
{
    DialogWorld world;
    ASSERT_TRUE(world.dialog().Visible);

    // What the user clicks lies on top: the buttons over their frame, the link over the text.
    for (const char* name : {"cmdS(0)", "Slider(2)", "ComboT", "cmdOK"}) {
        const RECT place = world.placeOf(name);
        const POINT middle {(place.left + place.right) / 2, (place.top + place.bottom) / 2};
        EXPECT_EQ(ChildWindowFromPointEx(world.view->window(), middle, CWP_SKIPINVISIBLE), world.view->control(name))
            << name;
    }
    const RECT link = world.placeIn("lblLINK", world.view->control("Pic"));
    const POINT linkMiddle {(link.left + link.right) / 2, (link.top + link.bottom) / 2};
    EXPECT_EQ(ChildWindowFromPointEx(world.view->control("Pic"), linkMiddle, CWP_SKIPINVISIBLE),
        world.view->control("lblLINK"));

    const struct {
        const char* name;
        const char* english;
        const char* russian;
    } captions[] = {
        {"Frame1", "Script", "Сценарий"},
        {"cmdS(0)", "Independence", "Независимость"},
        {"Frame2", "Options", "Настройки"},
        {"cmdESC", "Cancel", "Отмена"},
        {"cmdOK", "OK", "OK"},
    };
    for (const auto& row : captions)
        EXPECT_EQ(world.captionOf(row.name), row.english) << row.name;
    world.windows.deliver([&] { world.dialog().lblLOC_Click(0); });
    world.view->follow();
    for (const auto& row : captions)
        EXPECT_EQ(world.captionOf(row.name), row.russian) << row.name;
    EXPECT_EQ(world.captionOf("ComboT"), "Системное (Циф)");
}

// Each control lies at the box the dialog's layout gives it, in either language, on a screen of
// 96 dots to the inch and, after the system says the dialog moved to a denser one, at 144.
TEST(DialogWindow, EveryControlSitsAtItsBoxAtEitherResolution)
{
    DialogWorld world;
    const std::vector<DialogControl> controls = dialogControls(world.dialog());
    const struct {
        int language;
        int dotsPerInch;
    } rows[] = {{English, 96}, {Russian, 96}, {English, 144}};
    for (const auto& row : rows) {
        if (row.dotsPerInch != world.view->dotsPerInch())
            SendMessageW(world.view->window(), WM_DPICHANGED, MAKEWPARAM(row.dotsPerInch, row.dotsPerInch), 0);
        world.windows.deliver([&] { world.dialog().lblLOC_Click(row.language); });
        world.view->follow();
        const std::vector<ControlLayout> layout
            = layOutDialog(world.dialog(), controls, GdiTextMeasure(row.dotsPerInch), row.dotsPerInch);
        for (size_t k = 0; k < controls.size(); ++k) {
            const DialogControl& control = controls[k];
            if (!world.view->control(control.name))
                continue; // the line, which the dialog draws itself
            const bool inPicture = control.container == Container::Picture;
            const RECT place
                = inPicture ? world.placeIn(control.name, world.view->control("Pic")) : world.placeOf(control.name);
            const PixelBox& box = inPicture ? layout[k].box : layout[k].inDialog;
            const bool list = std::holds_alternative<ComboList*>(control.record);
            EXPECT_EQ(place.left, box.left) << control.name << " at " << row.dotsPerInch;
            EXPECT_EQ(place.top, box.top) << control.name << " at " << row.dotsPerInch;
            EXPECT_EQ(place.right - place.left, box.width) << control.name << " at " << row.dotsPerInch;
            if (!list) {
                EXPECT_EQ(place.bottom - place.top, box.height) << control.name << " at " << row.dotsPerInch;
            }
        }
        RECT client;
        GetClientRect(world.view->window(), &client);
        EXPECT_EQ(client.right, dialogPlace(world.dialog(), row.dotsPerInch).width);
    }
}

// No caption is cut off at any resolution from 96 to 192 dots to the inch, in either language and
// in the script layout that shows both lists: a button's caption fits inside its edges, and every
// entry of a list fits the list's field beside its button.
TEST(DialogWindow, EveryCaptionFitsItsControlAtEveryResolution)
{
    DialogWorld world;
    world.windows.deliver([&] { world.dialog().cmdS_Click(2); });
    const std::vector<DialogControl> controls = dialogControls(world.dialog());
    for (const int dotsPerInch : {96, 120, 144, 168, 192}) {
        SendMessageW(world.view->window(), WM_DPICHANGED, MAKEWPARAM(dotsPerInch, dotsPerInch), 0);
        const GdiTextMeasure measure(dotsPerInch);
        const int edges = 2 * GetSystemMetricsForDpi(SM_CXEDGE, static_cast<UINT>(dotsPerInch)) + 2;
        for (const int language : {English, Russian}) {
            world.windows.deliver([&] { world.dialog().lblLOC_Click(language); });
            world.view->follow();
            for (const DialogControl& control : controls) {
                const HWND window = world.view->control(control.name);
                const auto where = [&] { return control.name + " at " + std::to_string(dotsPerInch); };
                if (const auto* const* button = std::get_if<ButtonElement*>(&control.record)) {
                    Font font;
                    font.Bold = (*button)->FontBold;
                    RECT client;
                    GetClientRect(window, &client);
                    EXPECT_LE(measure.textWidth(font, (*button)->Caption), client.right - edges)
                        << (*button)->Caption << ", " << where();
                } else if (const auto* const* list = std::get_if<ComboList*>(&control.record)) {
                    COMBOBOXINFO info {};
                    info.cbSize = sizeof info;
                    ASSERT_TRUE(GetComboBoxInfo(window, &info));
                    RECT field;
                    GetClientRect(info.hwndItem, &field);
                    const auto margins = SendMessageW(info.hwndItem, EM_GETMARGINS, 0, 0);
                    const int room = field.right - LOWORD(margins) - HIWORD(margins);
                    for (int k = 0; k < (*list)->ListCount(); ++k)
                        EXPECT_LE(measure.textWidth(Font {}, (*list)->List(k)), room)
                            << (*list)->List(k) << ", " << where();
                }
            }
        }
    }
}

// Tab goes through the controls in the order they were made, as on Linux.
TEST(DialogWindow, TabFollowsTheOrderOfTheControls)
{
    DialogWorld world;
    const char* const order[] = {"cmdS(0)", "cmdS(1)", "cmdS(2)", "Slider(0)", "Slider(1)", "Slider(2)", "ComboT",
        "cmdHELP", "CmdPRO", "cmdESC", "cmdOK", "cmdS(0)"};
    for (size_t k = 0; k + 1 < std::size(order); ++k) {
        const HWND next = GetNextDlgTabItem(world.view->window(), world.view->control(order[k]), FALSE);
        EXPECT_EQ(next, world.view->control(order[k + 1])) << "after " << order[k];
    }
}

// The display settings' "Settings" button starts the saver with "/c:HWND": the dialog stays above
// that window.
TEST(DialogWindow, TheWindowNamedByTheSettingsSwitchOwnsTheDialog)
{
    const HWND owner = CreateWindowExW(
        0, L"STATIC", L"owner", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    const std::string number = std::to_string(reinterpret_cast<uintptr_t>(owner));
    const struct {
        std::string commandLine;
        std::optional<HWND> owner;
    } rows[] = {
        {"/c:" + number, owner}, {"/C:" + number + " ", owner}, {"/c", std::nullopt}, {"/c:", std::nullopt},
        {"/c:window", std::nullopt}, {"/c:0", std::nullopt},
        {"/c:" + std::to_string(reinterpret_cast<uintptr_t>(owner) + 0x10000000), std::nullopt}, // no such window
    };
    for (const auto& row : rows)
        EXPECT_EQ(dialogOwnerFrom(row.commandLine), row.owner) << row.commandLine;
    DialogWorld world;
    DialogView owned(world.dialog(), world.windows, owner);
    EXPECT_EQ(GetWindow(owned.window(), GW_OWNER), owner);
    EXPECT_EQ(GetWindow(world.view->window(), GW_OWNER), nullptr);
    DestroyWindow(owner);
}

TEST(DialogWindow, TrackBarMovedByAMessageLandsInItsRecord)
{
    DialogWorld world;
    const HWND bar = world.view->control("Slider(0)");
    ASSERT_EQ(world.dialog().Slider[0].Value(), 9);
    for (const int position : {7, 12}) {
        SendMessageW(bar, TBM_SETPOS, TRUE, position);
        SendMessageW(
            world.view->window(), WM_HSCROLL, MAKEWPARAM(TB_THUMBPOSITION, position), reinterpret_cast<LPARAM>(bar));
        EXPECT_EQ(world.dialog().Slider[0].Value(), position);
    }
    // A record changed by the program moves the control, and not the other way round.
    world.dialog().cmdS_Click(2);
    world.view->follow();
    EXPECT_EQ(SendMessageW(bar, TBM_GETRANGEMIN, 0, 0), 10);
    EXPECT_EQ(SendMessageW(bar, TBM_GETPOS, 0, 0), 12);
    EXPECT_EQ(world.dialog().Slider[0].Value(), 12);
}

TEST(DialogWindow, EnterSavesAndEndsWhereverTheFocusIsAndEscEndsWithoutSaving)
{
    for (const WPARAM key : {VK_ESCAPE, VK_RETURN}) {
        DialogWorld world;
        const HWND field = FindWindowExW(world.view->control("ComboT"), nullptr, L"Edit", nullptr);
        MSG typed {};
        typed.hwnd = field ? field : world.view->control("ComboT");
        typed.message = WM_KEYDOWN;
        typed.wParam = key;
        MSG elsewhere = typed;
        elsewhere.hwnd = GetDesktopWindow();
        EXPECT_FALSE(world.view->takeKey(elsewhere));
        EXPECT_FALSE(world.headless.ended());
        EXPECT_TRUE(world.view->takeKey(typed));
        EXPECT_TRUE(world.headless.ended());
        EXPECT_EQ(std::filesystem::exists(world.folder.path() / "Vortexa.ini"), key == VK_RETURN);
    }
}

// Counts the messages that write a control: its text, font, place, visibility, position, range,
// entries or selection.
LRESULT CALLBACK countWrites(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR count)
{
    switch (message) {
    case WM_SETTEXT:
    case WM_SETFONT:
    case WM_WINDOWPOSCHANGING:
    case WM_SHOWWINDOW:
    case TBM_SETPOS:
    case TBM_SETRANGE:
    case CB_RESETCONTENT:
    case CB_ADDSTRING:
    case CB_SETCURSEL:
        ++*reinterpret_cast<int*>(count);
        break;
    default:
        break;
    }
    return DefSubclassProc(window, message, wParam, lParam);
}

// The show's ticks run the dialog's following a hundred times a second while it is open over the
// show: they write no control, and so leave an open list open.
TEST(DialogWindow, EventsThatChangeNothingWriteNoControlAndLeaveAnOpenListOpen)
{
    DialogWorld world;
    const std::vector<DialogControl> controls = dialogControls(world.dialog());
    std::vector<int> writes(controls.size() + 1);
    const auto watched
        = [&](size_t k) { return k < controls.size() ? world.view->control(controls[k].name) : world.view->window(); };
    for (size_t k = 0; k < writes.size(); ++k)
        if (watched(k))
            SetWindowSubclass(watched(k), countWrites, 1, reinterpret_cast<DWORD_PTR>(&writes[k]));
    const HWND list = world.view->control("ComboT");
    SendMessageW(list, CB_SHOWDROPDOWN, TRUE, 0);
    ASSERT_TRUE(SendMessageW(list, CB_GETDROPPEDSTATE, 0, 0));
    std::fill(writes.begin(), writes.end(), 0);

    for (int tick = 0; tick < 50; ++tick) {
        world.windows.deliver([] {});
        world.view->follow();
    }
    for (size_t k = 0; k < writes.size(); ++k)
        EXPECT_EQ(writes[k], 0) << (k < controls.size() ? controls[k].name : "the dialog");
    EXPECT_TRUE(SendMessageW(list, CB_GETDROPPEDSTATE, 0, 0));

    // A change writes its control only.
    world.windows.deliver([&] { world.dialog().Slider[1].setValue(3); });
    world.view->follow();
    for (size_t k = 0; k < writes.size(); ++k)
        EXPECT_EQ(writes[k] > 0, k < controls.size() && controls[k].name == "Slider(1)")
            << (k < controls.size() ? controls[k].name : "the dialog");
    EXPECT_EQ(SendMessageW(world.view->control("Slider(1)"), TBM_GETPOS, 0, 0), 3);
    for (size_t k = 0; k < writes.size(); ++k)
        if (watched(k))
            RemoveWindowSubclass(watched(k), countWrites, 1);
}

// The first caption written calls back into the dialog: the system says the dialog moved to a
// denser screen, which follows the dialog again, and then a track bar reports a position.
LRESULT CALLBACK reenterOnCaption(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR data)
{
    if (message == WM_SETTEXT) {
        RemoveWindowSubclass(window, reenterOnCaption, 2);
        const DialogView& view = *reinterpret_cast<const DialogView*>(data);
        SendMessageW(view.window(), WM_DPICHANGED, MAKEWPARAM(144, 144), 0);
        const HWND bar = view.control("Slider(0)");
        SendMessageW(bar, TBM_SETPOS, TRUE, 11);
        SendMessageW(view.window(), WM_HSCROLL, MAKEWPARAM(TB_THUMBPOSITION, 11), reinterpret_cast<LPARAM>(bar));
    }
    return DefSubclassProc(window, message, wParam, lParam);
}

TEST(DialogWindow, AControlsReportDuringAFollowInsideAFollowStaysOutOfTheRecords)
{
    DialogWorld world;
    SetWindowSubclass(
        world.view->control("cmdESC"), reenterOnCaption, 2, reinterpret_cast<DWORD_PTR>(world.view.get()));
    const int circles = world.dialog().Slider[0].Value();
    world.windows.deliver([&] { world.dialog().lblLOC_Click(0); });
    world.view->follow();
    EXPECT_EQ(world.captionOf("cmdESC"), "Отмена");
    EXPECT_EQ(world.dialog().Slider[0].Value(), circles);
    // The dialog was followed again at the new resolution: grown, with the record's position.
    const HWND bar = world.view->control("Slider(0)");
    EXPECT_EQ(SendMessageW(bar, TBM_GETPOS, 0, 0), circles);
    RECT client;
    GetClientRect(world.view->window(), &client);
    EXPECT_EQ(client.right, dialogPlace(world.dialog(), 144).width);
    // The user's moves reach the record again.
    SendMessageW(bar, TBM_SETPOS, TRUE, 7);
    SendMessageW(world.view->window(), WM_HSCROLL, MAKEWPARAM(TB_THUMBPOSITION, 7), reinterpret_cast<LPARAM>(bar));
    EXPECT_EQ(world.dialog().Slider[0].Value(), 7);
}

} // namespace
} // namespace vortexa
