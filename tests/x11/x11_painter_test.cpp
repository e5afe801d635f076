#include <QGuiApplication>
#include <QWindow>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <memory>
#include <string>
#include <thread>

#include "../core/running_program.h"
#include "platform/qt/saver_painter.h"
#include "platform/x11/x11_scene_painter.h"

namespace vortexa {
namespace {

const QSize WindowSize(960, 600);

// The toolkit's connection to the X server.
xcb_connection_t* x11Connection()
{
    return qGuiApp->nativeInterface<QNativeInterface::QX11Application>()->connection();
}

// A real window of the X server, drawn by the X11 painter and read back pixel by pixel.
class PaintedWindow {
public:
    PaintedWindow()
    {
        m_window.resize(WindowSize);
        m_window.setFlags(Qt::Window | Qt::FramelessWindowHint | Qt::BypassWindowManagerHint);
        m_window.setPosition(0, 0);
        m_window.show();
        for (int tries = 0; tries < 200 && !m_window.isExposed(); ++tries)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        m_painter
            = std::make_unique<X11ScenePainter>(x11Connection(), static_cast<xcb_window_t>(m_window.winId()), 1.0);
    }

    void paint(const SaverScreen& screen) { m_painter->paint(&screen); }
    void forgetWindow() { m_painter->forgetWindow(1.0); }
    size_t cachedSprites() const { return m_painter->cachedSprites(); }
    xcb_window_t id() const { return static_cast<xcb_window_t>(m_window.winId()); }

    QImage read() const
    {
        xcb_connection_t* connection = x11Connection();
        xcb_get_image_reply_t* reply = xcb_get_image_reply(connection,
            xcb_get_image(connection, XCB_IMAGE_FORMAT_Z_PIXMAP, static_cast<xcb_drawable_t>(m_window.winId()), 0, 0,
                static_cast<uint16_t>(WindowSize.width()), static_cast<uint16_t>(WindowSize.height()), ~0u),
            nullptr);
        if (!reply)
            return {};
        const QImage image(xcb_get_image_data(reply), WindowSize.width(), WindowSize.height(), QImage::Format_RGB32);
        QImage copy = image.copy();
        std::free(reply);
        return copy;
    }

private:
    QWindow m_window;
    std::unique_ptr<X11ScenePainter> m_painter;
};

// The lit pixels of one picture that have no pixel of the same colour within a pixel of their place
// in the other, both ways.
int pixelsWithoutMatch(const QImage& one, const QImage& other)
{
    int unmatched = 0;
    for (const auto& [from, to] : {std::pair {&one, &other}, std::pair {&other, &one}})
        for (int y = 0; y < from->height(); ++y)
            for (int x = 0; x < from->width(); ++x) {
                const QRgb colour = from->pixel(x, y) & 0xffffff;
                if (colour == 0)
                    continue;
                bool matched = false;
                for (int dy = -1; dy <= 1 && !matched; ++dy)
                    for (int dx = -1; dx <= 1 && !matched; ++dx)
                        matched
                            = to->rect().contains(x + dx, y + dy) && (to->pixel(x + dx, y + dy) & 0xffffff) == colour;
                unmatched += matched ? 0 : 1;
            }
    return unmatched;
}

int litPixels(const QImage& image)
{
    int lit = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            lit += (image.pixel(x, y) & 0xffffff) != 0 ? 1 : 0;
    return lit;
}

// After the start and after every stretch of frames drawn one upon the other, the window shows what
// a fresh picture of the same records shows: nothing is left behind where an element was, and
// nothing is missing where elements cross.
TEST(X11Painter, EveryFrameShowsWhatAFreshPictureShows)
{
    const struct {
        const char* name;
        std::string settings;
    } scenes[] = {
        {"independence, time label", settingsText(12, 1, 3, 0, 1, 0)},
        {"capture, 2-px borders", settingsText(10, 2, 5, 2, 2, 0)},
        {"opposition, dial, 3-px borders, captives marked", settingsText(20, 3, 5, 3, 3, 0)},
        {"opposition, thin dashed and dotted captives", settingsText(20, 1, 5, 4, 3, 0)},
    };
    // Text over an outline is drawn over black by the one and over the outline by the other.
    constexpr int UnmatchedPerThousandLit = 3;
    PaintedWindow window;
    for (const auto& scene : scenes) {
        StartOptions options;
        options.settingsFile = scene.settings;
        options.widthPixels = WindowSize.width();
        options.heightPixels = WindowSize.height();
        RunningProgram running(options);
        for (int stretch = 0; stretch < 4; ++stretch) {
            for (int frame = 0; frame < 60; ++frame) {
                running.platform.advance(stretch == 0 ? 20 : 1000);
                window.paint(running.screen());
            }
            const QImage shown = window.read();
            const QImage fresh = renderSaverScreen(running.screen(), WindowSize);
            const int lit = litPixels(fresh);
            ASSERT_GT(lit, 1000) << scene.name;
            EXPECT_LE(pixelsWithoutMatch(shown, fresh) * 1000, lit * UnmatchedPerThousandLit)
                << scene.name << ", stretch " << stretch << ": " << pixelsWithoutMatch(shown, fresh) << " of " << lit;
        }
    }
}

int differingPixels(const QImage& one, const QImage& other)
{
    int differing = 0;
    for (int y = 0; y < one.height(); ++y)
        for (int x = 0; x < one.width(); ++x)
            differing += (one.pixel(x, y) & 0xffffff) != (other.pixel(x, y) & 0xffffff) ? 1 : 0;
    return differing;
}

// Outlines and discs of every width and border style, drawn where they were and then moved by a few
// pixels over one another, show the very pixels of a fresh picture.
TEST(X11Painter, OutlinesOfEveryWidthShowThePixelsOfThePicture)
{
    struct Outline {
        int shape, width, style, fill;
        float diameter;
    };
    const Outline outlines[] = {
        {ShapeCircle, 3, BorderSolid, FillTransparent, 7700},
        {ShapeCircle, 3, BorderSolid, FillTransparent, 2050},
        {ShapeCircle, 3, BorderSolid, FillTransparent, 555},
        {ShapeCircle, 2, BorderSolid, FillTransparent, 1400},
        {ShapeCircle, 3, BorderDashed, FillTransparent, 1900},
        {ShapeCircle, 2, BorderDotted, FillTransparent, 1300},
        {ShapeCircle, 3, BorderInsideSolid, FillTransparent, 1000},
        {ShapeCircle, 3, BorderSolid, FillSolid, 600},
        {ShapeCircle, 1, BorderSolid, FillSolid, 600},
        {ShapeRoundedRectangle, 3, BorderSolid, FillTransparent, 3000},
        {ShapeRoundedRectangle, 2, BorderDashed, FillTransparent, 2500},
    };
    PaintedWindow window;
    SaverScreen screen;
    screen.lblT.Visible = false;
    screen.lblF1.Visible = false;
    for (int k = 0; k < static_cast<int>(std::size(outlines)); ++k) {
        if (k > 0) {
            ASSERT_TRUE(screen.LoadShape(k));
        }
        ShapeElement& shape = screen.Shape[k];
        const Outline& outline = outlines[k];
        shape = ShapeElement {};
        shape.Shape = outline.shape;
        shape.BorderWidth = outline.width;
        shape.BorderStyle = outline.style;
        shape.FillStyle = outline.fill;
        shape.BorderColor = shape.FillColor = rgb(40 + 20 * k, 250 - 20 * k, 128);
        shape.Width = shape.Height = outline.diameter;
        shape.Visible = true;
    }
    for (const int offset : {0, 45, 90}) {
        for (int k = 0; k < static_cast<int>(std::size(outlines)); ++k)
            screen.Shape[k].Move(static_cast<float>(600 + 1000 * (k % 6) + offset),
                static_cast<float>(300 + 2600 * (k / 6) + offset / 3));
        window.paint(screen);
        const QImage fresh = renderSaverScreen(screen, WindowSize);
        ASSERT_GT(litPixels(fresh), 1000);
        EXPECT_EQ(differingPixels(window.read(), fresh), 0) << "moved by " << offset << " twips";
    }
}

// The time, the hint and a dial label, in Latin and Cyrillic letters, show in the window the pixels
// of the toolkit's picture: the same fonts, at the same places, smoothed alike.
TEST(X11Painter, LabelsShowTheirTextAsThePictureDoes)
{
    const struct {
        SaverElementKind kind;
        const char* caption;
    } labels[] = {
        {KindLblT, "18:35:55"},
        {KindLblT, "6:35:55 PM"},
        {KindLblT, "Время"},
        {KindLblF1, "Click <1> for setup"},
        {KindLblF1, "Нажмите <1> для настройки"},
        {KindLblS, "59"},
    };
    PaintedWindow window;
    for (const auto& shown : labels) {
        SaverScreen screen;
        screen.Shape[0].Visible = false;
        LabelElement& label = shown.kind == KindLblT ? screen.lblT
            : shown.kind == KindLblF1                ? screen.lblF1
                                                     : screen.lblS[0];
        screen.lblT.Visible = screen.lblF1.Visible = false;
        label.Visible = true;
        label.Caption = shown.caption;
        label.Move(3000, 1500);
        if (shown.kind == KindLblS)
            label.ForeColor = rgb(255, 255, 0); // as the clock tick colours the dial
        window.paint(screen);
        const QImage pictures[] = {window.read(), renderSaverScreen(screen, WindowSize)};
        // The ink is what differs from the label's back colour, round the label's box, where a text
        // wider than it runs.
        const QRgb back = pictures[1].pixel(
                              static_cast<int>(label.Left / TwipsPerPixel), static_cast<int>(label.Top / TwipsPerPixel))
            & 0xffffff;
        const QRect around = toQRect(pixelBoxOf(label)).adjusted(-100, -10, 100, 10);
        QRect inks[2];
        int inked[2] = {0, 0}, differing = 0;
        for (int y = around.top(); y <= around.bottom(); ++y)
            for (int x = around.left(); x <= around.right(); ++x) {
                for (int k = 0; k < 2; ++k) {
                    const QRgb colour = pictures[k].pixel(x, y) & 0xffffff;
                    if (colour != 0 && colour != back) {
                        inks[k] |= QRect(x, y, 1, 1);
                        ++inked[k];
                    }
                }
                differing += ((pictures[0].pixel(x, y) ^ pictures[1].pixel(x, y)) & 0xffffff) != 0 ? 1 : 0;
            }
        const std::string name = shown.caption;
        ASSERT_GT(inked[1], 20) << name;
        EXPECT_NEAR(inks[0].left(), inks[1].left(), 1) << name;
        EXPECT_NEAR(inks[0].right(), inks[1].right(), 1) << name;
        EXPECT_NEAR(inks[0].top(), inks[1].top(), 1) << name;
        EXPECT_NEAR(inks[0].bottom(), inks[1].bottom(), 1) << name;
        EXPECT_LE(differing, inked[1] / 100) << name;
    }
}

// The time label rides centred on circle 0 or the block. In a 12-hour locale ("6:35:55 PM") the
// time is wider than its label; read back from the window, its ink is still centred on the
// label's centre, as in a 24-hour locale, in the window and in the simulator's picture.
TEST(X11Painter, TheTimeIsCentredOnItsLabelInEveryLocale)
{
    constexpr int Tolerance = 3;
    PaintedWindow window;
    // The evening's time as three locales write it.
    for (const auto& [localeName, caption] :
        {std::pair {"en_US", "6:35:55 PM"}, std::pair {"de_DE", "18:35:55"}, std::pair {"ru_RU", "18:35:55"}}) {
        SaverScreen screen;
        screen.Shape[0].Visible = false;
        screen.lblF1.Visible = false;
        screen.lblT.Move(6000, 3000);
        screen.lblT.Caption = caption;
        const int centre = static_cast<int>((screen.lblT.Left + screen.lblT.Width / 2) / TwipsPerPixel);
        const int top = static_cast<int>(screen.lblT.Top / TwipsPerPixel);
        const int bottom = static_cast<int>((screen.lblT.Top + screen.lblT.Height) / TwipsPerPixel);
        window.paint(screen);
        for (const auto& [where, image] :
            {std::pair {"window", window.read()}, std::pair {"picture", renderSaverScreen(screen, WindowSize)}}) {
            int left = image.width(), right = -1;
            for (int y = top; y < bottom; ++y)
                for (int x = 0; x < image.width(); ++x)
                    if ((image.pixel(x, y) & 0xffffff) != 0) {
                        left = std::min(left, x);
                        right = std::max(right, x);
                    }
            ASSERT_GE(right, left) << localeName << ", " << where << ": no ink of " << screen.lblT.Caption;
            EXPECT_NEAR((left + right) / 2.0, centre, Tolerance)
                << localeName << ", " << where << ": " << screen.lblT.Caption << " inked from " << left << " to "
                << right;
        }
    }
}

// Every new caption of the time makes a sprite. Once the cache holds more than it keeps freely,
// sprites unused for long go, and those of the frame on the window stay and draw it right.
TEST(X11Painter, SpritesUnusedForLongGoOnceTheCacheIsLarge)
{
    PaintedWindow window;
    SaverScreen screen;
    screen.lblT.Move(6000, 3000);
    for (int caption = 0; caption < 300; ++caption) {
        screen.lblT.Caption = "12:00:" + std::to_string(caption);
        window.paint(screen);
    }
    const size_t afterCaptions = window.cachedSprites();
    ASSERT_GT(afterCaptions, X11ScenePainter::SpritesCachedFreely);
    // The first caption's sprite was last drawn in frame 1: it goes in the first frame after 601.
    for (uint64_t frame = 300; frame < X11ScenePainter::FramesUnusedBeforeDropped; ++frame)
        window.paint(screen);
    EXPECT_EQ(window.cachedSprites(), afterCaptions) << "a sprite went before it was unused for long";
    for (int frame = 0; frame < 300; ++frame)
        window.paint(screen);
    EXPECT_EQ(window.cachedSprites(), X11ScenePainter::SpritesCachedFreely);
    window.forgetWindow();
    window.paint(screen);
    const QImage fresh = renderSaverScreen(screen, WindowSize);
    EXPECT_LE(pixelsWithoutMatch(window.read(), fresh) * 1000, litPixels(fresh) * 3);
}

} // namespace
} // namespace vortexa
