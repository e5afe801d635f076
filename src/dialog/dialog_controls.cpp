#include "dialog/dialog_controls.h"

#include <algorithm>
#include <cstdlib>
#include <string_view>
#include <type_traits>

namespace vortexa {

namespace {

std::string indexed(const char* name, size_t k) { return std::string(name) + "(" + std::to_string(k) + ")"; }

// The room a drop-down list's field takes beside its text, at 96 dots to the inch, where the
// backend does not say.
constexpr int ListFieldRoom = 30;
// The width of a frame's border, in pixels: nothing inside the frame lies over it.
constexpr int FrameBorder = 2;

// The corner of a control's container inside the dialog, twips.
struct Origin {
    float left = 0, top = 0;
};

Origin originOf(const Form2& form, Container container)
{
    switch (container) {
    case Container::Picture:
        return {form.Pic.Left, form.Pic.Top};
    case Container::Frame1:
        return {form.Frame1.Left, form.Frame1.Top};
    case Container::Frame2:
        return {form.Frame2.Left, form.Frame2.Top};
    case Container::Dialog:
        break;
    }
    return {};
}

// A line's box holds both ends and the pen's width beyond them.
PixelBox lineBox(const LineElement& line, int dotsPerInch)
{
    const int x1 = toPixelsAt(line.X1, dotsPerInch), y1 = toPixelsAt(line.Y1, dotsPerInch);
    const int x2 = toPixelsAt(line.X2, dotsPerInch), y2 = toPixelsAt(line.Y2, dotsPerInch);
    const int reach = std::max(line.BorderWidth, 1);
    return {std::min(x1, x2), std::min(y1, y2), std::abs(x2 - x1) + reach, std::abs(y2 - y1) + reach};
}

PixelBox moved(PixelBox box, const Origin& origin, int dotsPerInch)
{
    box.left += toPixelsAt(origin.left, dotsPerInch);
    box.top += toPixelsAt(origin.top, dotsPerInch);
    return box;
}

template <typename Element> PixelBox boxAt(const Element& element, int dotsPerInch)
{
    return pixelBoxAt(element.Left, element.Top, element.Width, element.Height, dotsPerInch);
}

// Captions end their lines with CR LF; a lone LF ends one too.
std::vector<std::string_view> paragraphsOf(std::string_view caption)
{
    std::vector<std::string_view> paragraphs;
    size_t start = 0;
    while (true) {
        const size_t end = caption.find('\n', start);
        std::string_view paragraph = caption.substr(start, end == std::string_view::npos ? end : end - start);
        if (!paragraph.empty() && paragraph.back() == '\r')
            paragraph.remove_suffix(1);
        paragraphs.push_back(paragraph);
        if (end == std::string_view::npos)
            return paragraphs;
        start = end + 1;
    }
}

std::vector<std::string> wrappedLines(
    std::string_view paragraph, int width, const Font& font, const TextMeasure& measure)
{
    std::vector<std::string> lines;
    std::string line;
    size_t start = 0;
    while (start <= paragraph.size()) {
        const size_t end = std::min(paragraph.find(' ', start), paragraph.size());
        const std::string word(paragraph.substr(start, end - start));
        const std::string longer = line.empty() ? word : line + " " + word;
        if (!line.empty() && measure.textWidth(font, longer) > width) {
            lines.push_back(line);
            line = word;
        } else {
            line = longer;
        }
        start = end + 1;
    }
    lines.push_back(line);
    return lines;
}

// How much wider a list's field must be to show its widest entry, and its shown text, whole.
int listShortfall(const ComboList& list, const PixelBox& box, const TextMeasure& measure, int dotsPerInch)
{
    const Font font;
    int widest = measure.textWidth(font, list.Text());
    for (int k = 0; k < list.ListCount(); ++k)
        widest = std::max(widest, measure.textWidth(font, list.List(k)));
    return widest + measure.listFieldRoom(dotsPerInch) - box.width;
}

float containerWidth(const Form2& form, Container container)
{
    switch (container) {
    case Container::Picture:
        return form.Pic.Width;
    case Container::Frame1:
        return form.Frame1.Width;
    case Container::Frame2:
        return form.Frame2.Width;
    case Container::Dialog:
        break;
    }
    return form.Width;
}

// A shown list grows to the right to show its entries whole, pushing the shown lists to its right
// on the same line, as far as its container's border allows.
void growListsToTheirEntries(const Form2& form, const std::vector<DialogControl>& controls,
    std::vector<ControlLayout>& layout, const TextMeasure& measure, int dotsPerInch)
{
    const auto shownList = [&](size_t k) {
        auto* const* list = std::get_if<ComboList*>(&controls[k].record);
        return list && (*list)->Visible ? *list : nullptr;
    };
    for (size_t grown = 0; grown < controls.size(); ++grown) {
        if (!shownList(grown))
            continue;
        PixelBox& box = layout[grown].box;
        const auto besideIt = [&](size_t k) {
            return k != grown && shownList(k) && controls[k].container == controls[grown].container
                && layout[k].box.top == box.top && layout[k].box.left >= box.right();
        };
        int rowEnd = box.right();
        for (size_t k = 0; k < controls.size(); ++k)
            if (besideIt(k))
                rowEnd = std::max(rowEnd, layout[k].box.right());
        const int border = toPixelsAt(containerWidth(form, controls[grown].container), dotsPerInch) - FrameBorder;
        const int growth
            = std::max(0, std::min(listShortfall(*shownList(grown), box, measure, dotsPerInch), border - rowEnd));
        for (size_t k = 0; k < controls.size(); ++k)
            if (besideIt(k)) {
                layout[k].box.left += growth;
                layout[k].inDialog.left += growth;
            }
        box.width += growth;
        layout[grown].inDialog.width += growth;
    }
}

int alignedLeft(int alignment, int boxWidth, int lineWidth)
{
    if (alignment == AlignCentre)
        return (boxWidth - lineWidth) / 2;
    return alignment == AlignRight ? boxWidth - lineWidth : 0;
}

// A box that grows about its middle moves its corner back by half its growth.
int growthBeforeCorner(int designSize, int size) { return (size - designSize) / 2; }

// The start of a window's client area along one axis, moved the least that puts the window with
// its frame between the work area's ends; its start wins when it cannot fit.
int heldInside(int start, int size, int areaStart, int areaEnd, int frameBefore, int frameAfter)
{
    start = std::min(start, areaEnd - frameAfter - size);
    return std::max(start, areaStart + frameBefore);
}

} // namespace

int TextMeasure::listFieldRoom(int dotsPerInch) const { return ListFieldRoom * dotsPerInch / DesignDotsPerInch; }

std::vector<DialogControl> dialogControls(Form2& form)
{
    std::vector<DialogControl> controls;
    const auto add
        = [&](std::string name, ControlRecord record, Container container, std::function<void(Form2&)> click = {}) {
              controls.push_back({std::move(name), record, container, std::move(click), std::nullopt});
          };
    add("Pic", &form.Pic, Container::Dialog);
    controls.back().holds = Container::Picture;
    add("LblINFO", &form.LblINFO, Container::Picture);
    add("lblLINK", &form.lblLINK, Container::Picture, [](Form2& dialog) { dialog.lblLINK_Click(); });
    add("Frame1", &form.Frame1, Container::Dialog);
    controls.back().holds = Container::Frame1;
    for (size_t k = 0; k < form.cmdS.size(); ++k)
        add(indexed("cmdS", k), &form.cmdS[k], Container::Frame1,
            [k](Form2& dialog) { dialog.cmdS_Click(static_cast<int>(k)); });
    add("Frame2", &form.Frame2, Container::Dialog);
    controls.back().holds = Container::Frame2;
    for (size_t k = 0; k < form.Slider.size(); ++k) {
        add(indexed("Label", k), &form.Label[k], Container::Frame2);
        add(indexed("Slider", k), &form.Slider[k], Container::Frame2);
    }
    add("ComboP", &form.ComboP, Container::Frame2);
    add("ComboT", &form.ComboT, Container::Frame2);
    add("Line1", &form.Line1, Container::Dialog);
    for (size_t k = 0; k < form.lblLOC.size(); ++k)
        add(indexed("lblLOC", k), &form.lblLOC[k], Container::Dialog,
            [k](Form2& dialog) { dialog.lblLOC_Click(static_cast<int>(k)); });
    add("cmdHELP", &form.cmdHELP, Container::Dialog, [](Form2& dialog) { dialog.cmdHELP_Click(); });
    add("CmdPRO", &form.CmdPRO, Container::Dialog, [](Form2& dialog) { dialog.CmdPRO_Click(); });
    add("cmdESC", &form.cmdESC, Container::Dialog, [](Form2& dialog) { dialog.cmdESC_Click(); });
    add("cmdOK", &form.cmdOK, Container::Dialog, [](Form2& dialog) { dialog.cmdOK_Click(); });
    return controls;
}

const DialogControl* keyButton(const std::vector<DialogControl>& controls, bool cancel)
{
    for (const DialogControl& control : controls) {
        const auto* const* button = std::get_if<ButtonElement*>(&control.record);
        if (button && (cancel ? (*button)->Cancel : (*button)->Default) && (*button)->Visible)
            return &control;
    }
    return nullptr;
}

PixelBox labelBox(const LabelElement& label, const PixelBox& box, const TextMeasure& measure)
{
    const std::string& caption = label.Caption;
    if (caption.empty() || caption.find_first_of(" \r\n") != std::string::npos)
        return box;
    const int growth = measure.textWidth(label.LabelFont, caption) - box.width;
    if (growth <= 0)
        return box;
    PixelBox grown = box;
    if (label.Alignment == AlignCentre)
        grown.left -= growth / 2;
    else if (label.Alignment == AlignRight)
        grown.left -= growth;
    grown.width += growth;
    return grown;
}

std::vector<TextLine> wrapCaption(const LabelElement& label, const PixelBox& box, const TextMeasure& measure)
{
    std::vector<TextLine> lines;
    const int height = measure.lineHeight(label.LabelFont);
    for (const std::string_view paragraph : paragraphsOf(label.Caption))
        for (std::string& text : wrappedLines(paragraph, box.width, label.LabelFont, measure)) {
            const int width = measure.textWidth(label.LabelFont, text);
            const int top = static_cast<int>(lines.size()) * height;
            lines.push_back({std::move(text), {alignedLeft(label.Alignment, box.width, width), top, width, height}});
        }
    return lines;
}

std::vector<ControlLayout> layOutDialog(
    const Form2& form, const std::vector<DialogControl>& controls, const TextMeasure& measure, int dotsPerInch)
{
    std::vector<ControlLayout> layout;
    layout.reserve(controls.size());
    for (const DialogControl& control : controls) {
        ControlLayout placed;
        std::visit(
            [&](const auto* record) {
                using Record = std::remove_cvref_t<decltype(*record)>;
                if constexpr (std::is_same_v<Record, LineElement>) {
                    placed.box = lineBox(*record, dotsPerInch);
                } else if constexpr (std::is_same_v<Record, LabelElement>) {
                    placed.box = labelBox(*record, boxAt(*record, dotsPerInch), measure);
                    placed.lines = wrapCaption(*record, placed.box, measure);
                } else {
                    placed.box = boxAt(*record, dotsPerInch);
                }
            },
            control.record);
        placed.inDialog = moved(placed.box, originOf(form, control.container), dotsPerInch);
        layout.push_back(std::move(placed));
    }
    growListsToTheirEntries(form, controls, layout, measure, dotsPerInch);
    return layout;
}

PixelBox dialogPlace(const Form2& form, int dotsPerInch)
{
    const int width = toPixelsAt(form.Width, dotsPerInch), height = toPixelsAt(form.Height, dotsPerInch);
    return {toPixels(form.Left) - growthBeforeCorner(toPixels(form.Width), width),
        toPixels(form.Top) - growthBeforeCorner(toPixels(form.Height), height), width, height};
}

PixelBox dialogPlace(const Form2& form, int dotsPerInch, const PixelBox& workArea, const FrameReach& frame)
{
    PixelBox place = dialogPlace(form, dotsPerInch);
    place.left = heldInside(place.left, place.width, workArea.left, workArea.right(), frame.left, frame.right);
    place.top = heldInside(place.top, place.height, workArea.top, workArea.bottom(), frame.top, frame.bottom);
    return place;
}

void MoveDialog(Form2& form, int left, int top, int dotsPerInch)
{
    const int designWidth = toPixels(form.Width), designHeight = toPixels(form.Height);
    const int width = toPixelsAt(form.Width, dotsPerInch), height = toPixelsAt(form.Height, dotsPerInch);
    form.Left = toTwips(left + growthBeforeCorner(designWidth, width));
    form.Top = toTwips(top + growthBeforeCorner(designHeight, height));
}

void forEachPictureElement(const Form2& form, const std::function<void(const ShapeElement&)>& shape,
    const std::function<void(const LabelElement&)>& label)
{
    for (const ElementRef& element : form.PicDrawingOrder.backToFront()) {
        if (element.kind == KindPicShape && form.Shape.exists(element.index) && form.Shape[element.index].Visible)
            shape(form.Shape[element.index]);
        else if (element.kind == KindLblTIME && form.lblTIME.Visible)
            label(form.lblTIME);
    }
}

} // namespace vortexa
