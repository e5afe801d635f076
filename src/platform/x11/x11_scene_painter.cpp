#include "platform/x11/x11_scene_painter.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdlib>
#include <type_traits>

#include "backend_kit/classic_palette.h"
#include "backend_kit/pixel_runs.h"
#include "backend_kit/render_geometry.h"
#include "backend_kit/shape_raster.h"
#include "platform/x11/text_raster.h"

namespace vortexa {

namespace {

const xcb_visualtype_t* visualOf(xcb_connection_t* connection, xcb_visualid_t id)
{
    for (auto screens = xcb_setup_roots_iterator(xcb_get_setup(connection)); screens.rem; xcb_screen_next(&screens))
        for (auto depths = xcb_screen_allowed_depths_iterator(screens.data); depths.rem; xcb_depth_next(&depths))
            for (auto visuals = xcb_depth_visuals_iterator(depths.data); visuals.rem; xcb_visualtype_next(&visuals))
                if (visuals.data->visual_id == id)
                    return visuals.data;
    return nullptr;
}

// The value of an 8-bit colour channel in the bits of a mask, rounded to the nearest level.
uint32_t channelBits(int value, uint32_t mask)
{
    if (mask == 0)
        return 0;
    const int shift = std::countr_zero(mask);
    const uint32_t most = mask >> shift;
    return (static_cast<uint32_t>(value) * most + 127) / 255 << shift;
}

} // namespace

uint32_t PixelFormat::pixel(int red, int green, int blue) const
{
    return channelBits(red, redMask) | channelBits(green, greenMask) | channelBits(blue, blueMask) | alphaMask;
}

std::optional<PixelFormat> pixelFormatOf(xcb_connection_t* connection, xcb_window_t window)
{
    xcb_get_window_attributes_reply_t* attributes
        = xcb_get_window_attributes_reply(connection, xcb_get_window_attributes(connection, window), nullptr);
    xcb_get_geometry_reply_t* geometry
        = xcb_get_geometry_reply(connection, xcb_get_geometry(connection, window), nullptr);
    const xcb_visualtype_t* visual = attributes ? visualOf(connection, attributes->visual) : nullptr;
    const int depth = geometry ? geometry->depth : 0;
    std::free(attributes);
    std::free(geometry);
    if (!visual || (visual->_class != XCB_VISUAL_CLASS_TRUE_COLOR && visual->_class != XCB_VISUAL_CLASS_DIRECT_COLOR))
        return std::nullopt;
    PixelFormat format;
    format.depth = static_cast<uint8_t>(depth);
    format.redMask = visual->red_mask;
    format.greenMask = visual->green_mask;
    format.blueMask = visual->blue_mask;
    // The bits of the depth that hold no colour are alpha: a window of depth 32 shows what lies
    // behind it wherever they are 0, so every pixel drawn sets them.
    const uint32_t depthBits = depth >= 32 ? ~0u : (1u << depth) - 1;
    format.alphaMask = depthBits & ~(format.redMask | format.greenMask | format.blueMask);
    const xcb_setup_t* setup = xcb_get_setup(connection);
    for (auto formats = xcb_setup_pixmap_formats_iterator(setup); formats.rem; xcb_format_next(&formats))
        if (formats.data->depth == depth) {
            format.bitsPerPixel = formats.data->bits_per_pixel;
            format.scanlinePad = formats.data->scanline_pad;
        }
    format.mostSignificantFirst = setup->image_byte_order == XCB_IMAGE_ORDER_MSB_FIRST;
    if (format.bitsPerPixel % 8 != 0 || format.bitsPerPixel < 8 || format.bitsPerPixel > 32)
        return std::nullopt;
    return format;
}

namespace {

// The pixels of a picture over black, in the window's pixel format, rows padded as the server asks.
std::vector<uint8_t> pixelsOver(const RasterPicture& picture, const PixelFormat& format, size_t& bytesPerRow)
{
    const size_t bytesPerPixel = static_cast<size_t>(format.bitsPerPixel) / 8;
    const size_t pad = static_cast<size_t>(format.scanlinePad);
    bytesPerRow = (static_cast<size_t>(picture.width) * format.bitsPerPixel + pad - 1) / pad * pad / 8;
    std::vector<uint8_t> pixels(bytesPerRow * static_cast<size_t>(picture.height), 0);
    for (int y = 0; y < picture.height; ++y) {
        // Premultiplied colours are the picture over black, which is what the window holds.
        uint8_t* out = pixels.data() + static_cast<size_t>(y) * bytesPerRow;
        for (int x = 0; x < picture.width; ++x, out += bytesPerPixel) {
            const uint32_t argb = picture.at(x, y);
            const uint32_t value = format.pixel(static_cast<int>(argb >> 16 & 0xFFu),
                static_cast<int>(argb >> 8 & 0xFFu), static_cast<int>(argb & 0xFFu));
            for (size_t k = 0; k < bytesPerPixel; ++k) {
                const size_t shift = 8 * (format.mostSignificantFirst ? bytesPerPixel - 1 - k : k);
                out[k] = static_cast<uint8_t>(value >> shift);
            }
        }
    }
    return pixels;
}

uint32_t pixelOf(const PixelFormat& format, uint32_t colour)
{
    const uint32_t argb = argbOf(colour);
    return format.pixel(
        static_cast<int>(argb >> 16 & 0xFFu), static_cast<int>(argb >> 8 & 0xFFu), static_cast<int>(argb & 0xFFu));
}

// A sprite's key: a letter for its kind and the numbers its pixels depend on, as they lie in memory.
// It is made for every element of every frame, where formatting the numbers as text cost more than
// drawing.
template <typename... Numbers> std::string spriteKey(char kind, Numbers... numbers)
{
    std::string key(1, kind);
    key.reserve(1 + (sizeof numbers + ...));
    (key.append(reinterpret_cast<const char*>(&numbers), sizeof numbers), ...);
    return key;
}

// The name's length goes first, so that a name and the caption after it cannot run together.
std::string fontKey(const Font& font)
{
    return spriteKey('F', font.Size, font.Bold, font.Underline, font.Name.size()) + font.Name;
}

// Puts rows of an image into a drawable, a band at a time, so that no request is longer than the
// server takes.
void putRows(xcb_connection_t* connection, xcb_drawable_t target, xcb_gcontext_t gc, uint8_t format, uint8_t depth,
    int width, int height, const std::vector<uint8_t>& data, size_t bytesPerRow)
{
    const size_t largest = static_cast<size_t>(xcb_get_maximum_request_length(connection)) * 4 - 64;
    const int rowsPerBand = std::max<int>(1, static_cast<int>(largest / std::max<size_t>(bytesPerRow, 1)));
    for (int top = 0; top < height; top += rowsPerBand) {
        const int rows = std::min(rowsPerBand, height - top);
        xcb_put_image(connection, format, target, gc, static_cast<uint16_t>(width), static_cast<uint16_t>(rows), 0,
            static_cast<int16_t>(top), 0, depth, static_cast<uint32_t>(bytesPerRow * static_cast<size_t>(rows)),
            data.data() + bytesPerRow * static_cast<size_t>(top));
    }
}

// The covered pixels of a picture as one-pixel lines, across, down or along a diagonal: from each
// pixel no line covers yet, the line through it that covers the most such pixels. The server draws
// these lines pixel for pixel at a fraction of the cost of filling runs as rectangles or through a
// clip mask, and outlines, whose runs follow their curve, need few of them.
std::vector<xcb_segment_t> coveringLines(const RasterPicture& picture)
{
    const int width = picture.width, height = picture.height;
    std::vector<uint8_t> covered(static_cast<size_t>(width) * static_cast<size_t>(height), 0);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            covered[static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)]
                = picture.covered(x, y);
    enum : uint8_t { Empty = 0, Covered = 1, Drawn = 2 };
    const auto at = [&](int x, int y) -> uint8_t& {
        return covered[static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)];
    };
    const auto inside = [&](int x, int y) { return x >= 0 && x < width && y >= 0 && y < height && at(x, y) != Empty; };
    constexpr int Directions[4][2] = {{1, 0}, {0, 1}, {1, 1}, {-1, 1}};
    std::vector<xcb_segment_t> lines;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            if (at(x, y) != Covered)
                continue;
            int bestFresh = -1, bestBack = 0, bestForth = 0, bestDirection = 0;
            for (int d = 0; d < 4; ++d) {
                const auto [dx, dy] = Directions[d];
                int back = 0, forth = 0, fresh = 1;
                while (inside(x - (back + 1) * dx, y - (back + 1) * dy)) {
                    ++back;
                    fresh += at(x - back * dx, y - back * dy) == Covered ? 1 : 0;
                }
                while (inside(x + (forth + 1) * dx, y + (forth + 1) * dy)) {
                    ++forth;
                    fresh += at(x + forth * dx, y + forth * dy) == Covered ? 1 : 0;
                }
                if (fresh > bestFresh) {
                    bestFresh = fresh;
                    bestBack = back;
                    bestForth = forth;
                    bestDirection = d;
                }
            }
            const auto [dx, dy] = Directions[bestDirection];
            for (int k = -bestBack; k <= bestForth; ++k)
                at(x + k * dx, y + k * dy) = Drawn;
            lines.push_back({static_cast<int16_t>(x - bestBack * dx), static_cast<int16_t>(y - bestBack * dy),
                static_cast<int16_t>(x + bestForth * dx), static_cast<int16_t>(y + bestForth * dy)});
        }
    return lines;
}

xcb_segment_t movedBy(xcb_segment_t line, int dx, int dy)
{
    return {static_cast<int16_t>(line.x1 + dx), static_cast<int16_t>(line.y1 + dy), static_cast<int16_t>(line.x2 + dx),
        static_cast<int16_t>(line.y2 + dy)};
}

xcb_segment_t acrossRow(int y, PixelRun run)
{
    return {static_cast<int16_t>(run.left), static_cast<int16_t>(y), static_cast<int16_t>(run.right - 1),
        static_cast<int16_t>(y)};
}

// What lines cost the server, roughly: each line, and each row of the window it touches, since the
// window's rows lie far apart in its memory.
size_t drawingCost(const std::vector<xcb_segment_t>& lines)
{
    size_t cost = 0;
    for (const xcb_segment_t& line : lines)
        cost += 2 + static_cast<size_t>(std::abs(line.y2 - line.y1));
    return cost;
}

// The runs across each row, or the covering lines where those cost less: a wide outline crosses a
// row in one run that several lines along its curve would each touch, so where runs are wider
// than a pixel on the whole, the lines are not even looked for.
std::vector<xcb_segment_t> cheaperLines(const RasterPicture& picture, const PixelRuns& runs)
{
    std::vector<xcb_segment_t> across;
    size_t pixels = 0;
    for (int y = 0; y < runs.height(); ++y)
        for (const PixelRun& run : runs.row(y)) {
            across.push_back(acrossRow(y, run));
            pixels += static_cast<size_t>(run.right - run.left);
        }
    if (pixels >= 2 * across.size())
        return across;
    std::vector<xcb_segment_t> covering = coveringLines(picture);
    return drawingCost(across) < drawingCost(covering) ? across : covering;
}

} // namespace

struct X11ScenePainter::Sprite {
    xcb_connection_t* connection = nullptr;
    std::vector<xcb_segment_t> lines; // the pixels of a one-colour sprite, from its origin
    PixelRuns runs; // the covered pixels, row by row
    xcb_pixmap_t mask = 0;
    xcb_pixmap_t picture = 0; // the colours of a many-coloured sprite
    xcb_gcontext_t gc = 0; // clips to the mask
    int width = 0, height = 0;
    bool empty = true;
    uint64_t lastFrame = 0;

    ~Sprite()
    {
        if (gc)
            xcb_free_gc(connection, gc);
        if (mask)
            xcb_free_pixmap(connection, mask);
        if (picture)
            xcb_free_pixmap(connection, picture);
    }
};

X11ScenePainter::X11ScenePainter(xcb_connection_t* connection, xcb_window_t window, double devicePixelRatio)
    : m_connection(connection)
    , m_window(window)
    , m_ratio(devicePixelRatio)
{
    if (const auto format = pixelFormatOf(connection, window))
        m_format = *format;
    m_black = m_format.pixel(0, 0, 0);
    m_plainGc = xcb_generate_id(connection);
    const uint32_t values[] = {m_black, 0};
    xcb_create_gc(connection, m_plainGc, window, XCB_GC_FOREGROUND | XCB_GC_GRAPHICS_EXPOSURES, values);
    m_lineGc = xcb_generate_id(connection);
    xcb_create_gc(connection, m_lineGc, window, XCB_GC_FOREGROUND | XCB_GC_GRAPHICS_EXPOSURES, values);
}

X11ScenePainter::~X11ScenePainter()
{
    m_changes = {};
    m_sprites.clear();
    xcb_free_gc(m_connection, m_plainGc);
    xcb_free_gc(m_connection, m_lineGc);
    xcb_flush(m_connection);
}

void X11ScenePainter::forgetWindow(double devicePixelRatio)
{
    if (devicePixelRatio != m_ratio) {
        m_changes = {};
        m_sprites.clear();
        m_ratio = devicePixelRatio;
    }
    m_changes.forgetWindow();
}

void X11ScenePainter::paint(const SaverScreen* screen, Text text)
{
    ++m_frame;
    // The server clips to the window, so the whole of it is the largest box a request takes.
    constexpr PixelBox WholeWindow {0, 0, 0x7fff, 0x7fff};
    std::vector<DrawnElement> now = screen ? drawnElements(*screen, text) : std::vector<DrawnElement> {};
    const FrameRepaint<DrawnElement> frame = m_changes.next(std::move(now), WholeWindow);
    // The window keeps its pixels, so erasing what went costs only its own pixels, where painting
    // its box black would cost the whole box. Every pixel erased lies in a box drawn again, or is
    // the old place of an element that moved alone and is drawn again after the boxes.
    if (frame.wholeWindow)
        fillBlack(WholeWindow);
    m_erased.clear();
    for (const DrawnElement& gone : frame.gone)
        erase(gone);
    for (const Move<DrawnElement>& move : frame.moves)
        erase(move.before);
    drawLines(m_black, WholeWindow, m_erased);
    for (const Repaint& repaint : frame.boxes)
        for (const size_t element : repaint.elements)
            draw(m_changes.shown()[element], repaint.box);
    for (const Move<DrawnElement>& move : frame.moves)
        draw(m_changes.shown()[move.element], WholeWindow);
    dropUnusedSprites();
    xcb_flush(m_connection);
}

std::vector<X11ScenePainter::DrawnElement> X11ScenePainter::drawnElements(const SaverScreen& screen, Text text)
{
    std::vector<DrawnElement> drawn;
    forEachShownElement(screen, [&](ElementRef element, const auto& record) {
        if (text == Text::Drawn || !std::is_same_v<std::decay_t<decltype(record)>, LabelElement>)
            add(drawn, element, record);
    });
    return drawn;
}

bool pixelsMeet(const X11ScenePainter::DrawnElement& one, const X11ScenePainter::DrawnElement& other)
{
    return boxesMeet(one.reach, other.reach)
        && runsMeet(one.sprite->runs, {one.x, one.y}, other.sprite->runs, {other.x, other.y});
}

template <typename Render>
std::shared_ptr<X11ScenePainter::Sprite> X11ScenePainter::spriteFor(
    const std::string& key, bool oneColour, const Render& render)
{
    if (const auto found = m_sprites.find(key); found != m_sprites.end()) {
        found->second->lastFrame = m_frame;
        return found->second;
    }
    return newSprite(key, oneColour, render());
}

X11ScenePainter::DrawnElement X11ScenePainter::drawnSprite(
    ElementRef element, std::shared_ptr<Sprite> sprite, int x, int y, uint32_t pixel) const
{
    const PixelBox reach {x, y, sprite->width, sprite->height};
    return {element, std::move(sprite), x, y, pixel, reach};
}

void X11ScenePainter::add(std::vector<DrawnElement>& drawn, ElementRef element, const ShapeElement& shape)
{
    const PixelBox box = pixelBoxOf(shape);
    if (box.empty())
        return;
    // An outline alone, or a disc filled in its border's colour, is one colour: its mask serves every
    // colour the shape takes.
    const bool outlineOnly = shape.FillStyle == FillTransparent && shape.BackStyle == BackTransparent;
    const bool oneColour = outlineOnly || (shape.FillStyle == FillSolid && shape.FillColor == shape.BorderColor);
    std::string key = spriteKey('S', shape.Shape, box.width, box.height, shape.BorderWidth, shape.BorderStyle,
        shape.FillStyle, shape.BackStyle);
    if (!oneColour)
        key += spriteKey('C', shape.BorderColor, shape.FillColor, shape.BackColor);
    auto sprite = spriteFor(key, oneColour, [&] {
        ShapeElement white = shape;
        if (oneColour)
            white.BorderColor = white.FillColor = rgb(255, 255, 255);
        return rasteriseShape(white, m_ratio);
    });
    drawn.push_back(drawnSprite(element, std::move(sprite), static_cast<int>(std::lround(box.left * m_ratio)),
        static_cast<int>(std::lround(box.top * m_ratio)), pixelOf(m_format, shape.BorderColor)));
}

// A line's ends are taken to quarter pixels of its box, so that a hand riding on a moving block
// keeps a few sprites until it turns.
void X11ScenePainter::add(std::vector<DrawnElement>& drawn, ElementRef element, const LineElement& line)
{
    if (line.BorderWidth <= 0)
        return;
    constexpr double Quarters = 4;
    const double x1 = line.X1 / TwipsPerPixel, y1 = line.Y1 / TwipsPerPixel;
    const double x2 = line.X2 / TwipsPerPixel, y2 = line.Y2 / TwipsPerPixel;
    const int reach = lineReach(line.BorderWidth);
    const int left = static_cast<int>(std::floor(std::min(x1, x2))) - reach;
    const int top = static_cast<int>(std::floor(std::min(y1, y2))) - reach;
    const auto quarters = [](double pixels) { return static_cast<int>(std::lround(pixels * Quarters)); };
    const int ends[4] = {quarters(x1 - left), quarters(y1 - top), quarters(x2 - left), quarters(y2 - top)};
    const PixelBox area {0, 0, static_cast<int>(std::max(ends[0], ends[2]) / Quarters) + reach + 2,
        static_cast<int>(std::max(ends[1], ends[3]) / Quarters) + reach + 2};
    const std::string key = spriteKey('L', ends[0], ends[1], ends[2], ends[3], line.BorderWidth);
    auto sprite = spriteFor(key, true, [&] {
        LineElement atOrigin = line;
        const auto twips = [](int quarter) { return static_cast<float>(quarter * TwipsPerPixel / Quarters); };
        atOrigin.X1 = twips(ends[0]);
        atOrigin.Y1 = twips(ends[1]);
        atOrigin.X2 = twips(ends[2]);
        atOrigin.Y2 = twips(ends[3]);
        atOrigin.BorderColor = rgb(255, 255, 255);
        return rasteriseLine(atOrigin, area, m_ratio);
    });
    drawn.push_back(drawnSprite(element, std::move(sprite), static_cast<int>(std::lround(left * m_ratio)),
        static_cast<int>(std::lround(top * m_ratio)), pixelOf(m_format, line.BorderColor)));
}

X11ScenePainter::LabelText X11ScenePainter::layOut(const LabelElement& label, const PixelBox& box)
{
    LabelText text;
    text.extent = m_text.measure(label.LabelFont, label.Caption);
    const double advance = text.extent.advance;
    const int alignment = ShownAlignment(label.Alignment, text.extent.width(), box.width);
    text.penX = alignment == AlignRight ? box.right() - advance
        : alignment == AlignCentre      ? box.left + (box.width - advance) / 2
                                        : box.left;
    text.reach = box;
    if (label.Caption.empty())
        return text;
    // The text's box, with a pixel round it for ink that runs past its advance.
    const int left = static_cast<int>(std::floor(text.penX)) - 1;
    const int right = static_cast<int>(std::ceil(text.penX + advance)) + 1;
    const int top = box.top - 1;
    const int bottom = std::max(box.bottom(), box.top + text.extent.height() + 1);
    text.reach.left = std::min(box.left, left);
    text.reach.top = top;
    text.reach.width = std::max(box.right(), right) - text.reach.left;
    text.reach.height = bottom - top;
    return text;
}

void X11ScenePainter::add(std::vector<DrawnElement>& drawn, ElementRef element, const LabelElement& label)
{
    const PixelBox box = pixelBoxOf(label);
    if (box.empty())
        return;
    const LabelText text = layOut(label, box);
    const PixelBox& reach = text.reach;
    const std::string key
        = spriteKey('T', box.width, box.height, box.left - reach.left, box.top - reach.top, reach.width, reach.height,
              label.ForeColor, label.BackColor, label.BackStyle, label.Alignment)
        + fontKey(label.LabelFont) + label.Caption;
    auto sprite = spriteFor(key, false, [&] {
        RasterPicture image(deviceSize(reach.width, m_ratio), deviceSize(reach.height, m_ratio));
        const auto device = [this](double logical) { return static_cast<int>(std::lround(logical * m_ratio)); };
        const uint32_t back = argbOf(label.BackColor);
        const uint32_t fore = argbOf(label.ForeColor);
        const PixelBox backed = label.BackStyle != BackOpaque
            ? PixelBox {}
            : PixelBox {device(box.left - reach.left), device(box.top - reach.top),
                device(box.left - reach.left + box.width) - device(box.left - reach.left),
                device(box.top - reach.top + box.height) - device(box.top - reach.top)};
        const TextCoverage coverage = m_text.render(label.LabelFont, label.Caption, m_ratio, image.width, image.height,
            (text.penX - reach.left) * m_ratio, device(box.top - reach.top + text.extent.ascent));
        for (int y = 0; y < image.height; ++y)
            for (int x = 0; x < image.width; ++x) {
                const int ink = coverage.at(x, y);
                const bool onBack = x >= backed.left && x < backed.right() && y >= backed.top && y < backed.bottom();
                if (ink == 0 && !onBack)
                    continue;
                const auto mix = [ink, onBack](uint32_t over, uint32_t under, int shift) {
                    const int overValue = static_cast<int>(over >> shift & 0xFFu);
                    const int underValue = onBack ? static_cast<int>(under >> shift & 0xFFu) : 0;
                    return static_cast<uint32_t>((overValue * ink + underValue * (255 - ink) + 127) / 255) << shift;
                };
                const uint32_t alpha = onBack ? 255u : static_cast<uint32_t>(ink);
                image.at(x, y) = alpha << 24 | mix(fore, back, 16) | mix(fore, back, 8) | mix(fore, back, 0);
            }
        return image;
    });
    drawn.push_back(drawnSprite(element, std::move(sprite), static_cast<int>(std::lround(reach.left * m_ratio)),
        static_cast<int>(std::lround(reach.top * m_ratio)), 0));
}

std::shared_ptr<X11ScenePainter::Sprite> X11ScenePainter::newSprite(
    const std::string& key, bool oneColour, const RasterPicture& image)
{
    auto& cached = m_sprites[key];
    cached = std::make_shared<Sprite>();
    Sprite& sprite = *cached;
    sprite.connection = m_connection;
    sprite.width = image.width;
    sprite.height = image.height;
    sprite.lastFrame = m_frame;
    sprite.runs = PixelRuns(image);
    if (oneColour) {
        sprite.lines = cheaperLines(image, sprite.runs);
        sprite.empty = sprite.lines.empty();
        return cached;
    }

    // The mask: one bit a pixel, in the server's bit order, rows padded as it asks.
    const xcb_setup_t* setup = xcb_get_setup(m_connection);
    const size_t pad = setup->bitmap_format_scanline_pad;
    const size_t maskRow = (static_cast<size_t>(sprite.width) + pad - 1) / pad * pad / 8;
    const bool leastFirst = setup->bitmap_format_bit_order == XCB_IMAGE_ORDER_LSB_FIRST;
    std::vector<uint8_t> bits(maskRow * static_cast<size_t>(sprite.height), 0);
    for (int y = 0; y < sprite.height; ++y) {
        for (int x = 0; x < sprite.width; ++x) {
            if (!image.covered(x, y))
                continue;
            sprite.empty = false;
            bits[static_cast<size_t>(y) * maskRow + static_cast<size_t>(x) / 8]
                |= static_cast<uint8_t>(leastFirst ? 1u << (x % 8) : 0x80u >> (x % 8));
        }
    }
    if (sprite.empty)
        return cached;
    sprite.mask = xcb_generate_id(m_connection);
    xcb_create_pixmap(m_connection, 1, sprite.mask, m_window, static_cast<uint16_t>(sprite.width),
        static_cast<uint16_t>(sprite.height));
    const xcb_gcontext_t maskGc = xcb_generate_id(m_connection);
    xcb_create_gc(m_connection, maskGc, sprite.mask, 0, nullptr);
    putRows(
        m_connection, sprite.mask, maskGc, XCB_IMAGE_FORMAT_XY_PIXMAP, 1, sprite.width, sprite.height, bits, maskRow);
    xcb_free_gc(m_connection, maskGc);

    sprite.picture = xcb_generate_id(m_connection);
    xcb_create_pixmap(m_connection, m_format.depth, sprite.picture, m_window, static_cast<uint16_t>(sprite.width),
        static_cast<uint16_t>(sprite.height));
    size_t bytesPerRow = 0;
    const std::vector<uint8_t> pixels = pixelsOver(image, m_format, bytesPerRow);
    putRows(m_connection, sprite.picture, m_plainGc, XCB_IMAGE_FORMAT_Z_PIXMAP, m_format.depth, sprite.width,
        sprite.height, pixels, bytesPerRow);
    sprite.gc = xcb_generate_id(m_connection);
    const uint32_t values[] = {0, sprite.mask};
    xcb_create_gc(m_connection, sprite.gc, m_window, XCB_GC_GRAPHICS_EXPOSURES | XCB_GC_CLIP_MASK, values);
    return cached;
}

namespace {

PixelBox commonBox(const PixelBox& a, const PixelBox& b)
{
    const int left = std::max(a.left, b.left), top = std::max(a.top, b.top);
    return {left, top, std::min(a.right(), b.right()) - left, std::min(a.bottom(), b.bottom()) - top};
}

xcb_rectangle_t toRectangle(const PixelBox& box)
{
    return {static_cast<int16_t>(box.left), static_cast<int16_t>(box.top), static_cast<uint16_t>(box.width),
        static_cast<uint16_t>(box.height)};
}

} // namespace

// Draws the part of an element inside `box`: a one-colour sprite's lines in its colour, or a
// picture copied through its mask.
void X11ScenePainter::draw(const DrawnElement& drawn, const PixelBox& box)
{
    if (drawn.sprite->picture) {
        const Sprite& sprite = *drawn.sprite;
        const PixelBox part = commonBox(drawn.reach, box);
        if (part.empty())
            return;
        const uint32_t origin[] = {static_cast<uint32_t>(drawn.x), static_cast<uint32_t>(drawn.y)};
        xcb_change_gc(m_connection, sprite.gc, XCB_GC_CLIP_ORIGIN_X | XCB_GC_CLIP_ORIGIN_Y, origin);
        xcb_copy_area(m_connection, sprite.picture, m_window, sprite.gc, static_cast<int16_t>(part.left - drawn.x),
            static_cast<int16_t>(part.top - drawn.y), static_cast<int16_t>(part.left), static_cast<int16_t>(part.top),
            static_cast<uint16_t>(part.width), static_cast<uint16_t>(part.height));
        return;
    }
    drawInColour(drawn, drawn.pixel, box);
}

// Erasing draws the same pixels in black: the same lines, or the same mask.
void X11ScenePainter::drawInColour(const DrawnElement& drawn, uint32_t pixel, const PixelBox& box)
{
    const Sprite& sprite = *drawn.sprite;
    const PixelBox part = commonBox(drawn.reach, box);
    if (sprite.empty || part.empty())
        return;
    if (sprite.picture) {
        // A many-coloured sprite's pixels in one colour: its mask filled.
        const uint32_t values[] = {pixel, static_cast<uint32_t>(drawn.x), static_cast<uint32_t>(drawn.y)};
        xcb_change_gc(m_connection, sprite.gc, XCB_GC_FOREGROUND | XCB_GC_CLIP_ORIGIN_X | XCB_GC_CLIP_ORIGIN_Y, values);
        const xcb_rectangle_t rectangle = toRectangle(part);
        xcb_poly_fill_rectangle(m_connection, m_window, sprite.gc, 1, &rectangle);
        return;
    }
    // The lines lie inside the element's reach, so the box alone clips them; elements drawn in
    // one box share its clip.
    m_lines.clear();
    appendLinesWhereDrawn(drawn, m_lines);
    drawLines(pixel, box, m_lines);
}

// Erases an element by drawing its pixels in black: a one-colour sprite's lines join the frame's
// one request of black lines, a picture's mask is filled at once.
void X11ScenePainter::erase(const DrawnElement& drawn)
{
    const Sprite& sprite = *drawn.sprite;
    if (sprite.picture) {
        drawInColour(drawn, m_black, drawn.reach);
        return;
    }
    appendLinesWhereDrawn(drawn, m_erased);
}

void X11ScenePainter::appendLinesWhereDrawn(const DrawnElement& drawn, std::vector<xcb_segment_t>& lines)
{
    for (const xcb_segment_t line : drawn.sprite->lines)
        lines.push_back(movedBy(line, drawn.x, drawn.y));
}

// Lines clipped by one rectangle: the server keeps its fast way of drawing one-pixel lines under a
// clip of one box. The colour and the clip are sent only when they change.
void X11ScenePainter::drawLines(uint32_t pixel, const PixelBox& clip, const std::vector<xcb_segment_t>& lines)
{
    if (lines.empty())
        return;
    if (!m_lineGcSet || pixel != m_linePixel) {
        xcb_change_gc(m_connection, m_lineGc, XCB_GC_FOREGROUND, &pixel);
        m_linePixel = pixel;
    }
    if (!m_lineGcSet || !(clip == m_lineClip)) {
        const xcb_rectangle_t rectangle = toRectangle(clip);
        xcb_set_clip_rectangles(m_connection, XCB_CLIP_ORDERING_UNSORTED, m_lineGc, 0, 0, 1, &rectangle);
        m_lineClip = clip;
    }
    m_lineGcSet = true;
    const size_t perRequest
        = (static_cast<size_t>(xcb_get_maximum_request_length(m_connection)) * 4 - 64) / sizeof(xcb_segment_t);
    for (size_t first = 0; first < lines.size(); first += perRequest)
        xcb_poly_segment(m_connection, m_window, m_lineGc,
            static_cast<uint32_t>(std::min(perRequest, lines.size() - first)), lines.data() + first);
}

void X11ScenePainter::fillBlack(const PixelBox& box)
{
    const xcb_rectangle_t rectangle = toRectangle(box);
    xcb_poly_fill_rectangle(m_connection, m_window, m_plainGc, 1, &rectangle);
}

void X11ScenePainter::dropUnusedSprites()
{
    if (m_sprites.size() <= SpritesCachedFreely)
        return;
    std::erase_if(
        m_sprites, [this](const auto& entry) { return entry.second->lastFrame + FramesUnusedBeforeDropped < m_frame; });
}

} // namespace vortexa
