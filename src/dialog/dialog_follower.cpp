#include "dialog/dialog_follower.h"

#include <algorithm>
#include <type_traits>
#include <utility>
#include <variant>

namespace vortexa {

namespace {

Font boldOf(Font font, bool bold)
{
    font.Bold = bold;
    return font;
}

// A transparent label shows what lies behind it: the picture's background or the dialog's.
LabelLook labelLook(const LabelElement& label, const ControlLayout& layout, const Form2& form, Container container)
{
    const bool opaque = label.BackStyle == BackOpaque;
    const uint32_t behind = container == Container::Picture ? form.Pic.BackColor : DialogBackColour;
    return {
        layout.lines, label.LabelFont, label.ForeColor, opaque ? label.BackColor : behind, opaque, label.HandPointer};
}

LineLook lineLook(const LineElement& line, int dotsPerInch)
{
    return {toPixelsAt(line.X1, dotsPerInch), toPixelsAt(line.Y1, dotsPerInch), toPixelsAt(line.X2, dotsPerInch),
        toPixelsAt(line.Y2, dotsPerInch), std::max(1, line.BorderWidth * dotsPerInch / DesignDotsPerInch),
        line.BorderColor};
}

PictureLook pictureLook(const Form2& form)
{
    PictureLook look {form.Pic.BackColor, {}, {}};
    forEachPictureElement(
        form, [&](const ShapeElement& shape) { look.shapes.push_back(shape); },
        [&](const LabelElement& label) { look.labels.push_back(label); });
    return look;
}

std::vector<std::string> entriesOf(const ComboList& list)
{
    std::vector<std::string> entries;
    for (int k = 0; k < list.ListCount(); ++k)
        entries.push_back(list.List(k));
    return entries;
}

std::string measured(const Font& font, const std::string& text)
{
    return font.Name + '\0' + std::to_string(font.Size) + (font.Bold ? 'b' : '-') + (font.Underline ? 'u' : '-') + '\0'
        + text;
}

// Counts the follows running, so that a follow that ends inside another leaves the guard up.
class FollowingScope {
public:
    explicit FollowingScope(int& depth)
        : m_depth(depth)
    {
        ++m_depth;
    }
    ~FollowingScope() { --m_depth; }
    FollowingScope(const FollowingScope&) = delete;
    FollowingScope& operator=(const FollowingScope&) = delete;

private:
    int& m_depth;
};

} // namespace

DialogFollowing::DialogFollowing(Form2& form, EventDelivery& events, DialogFace& face, FrameControls frameControls)
    : m_form(form)
    , m_events(events)
    , m_face(face)
    , m_frameControls(frameControls)
    , m_controls(dialogControls(form))
{
}

void DialogFollowing::follow()
{
    if (following()) {
        m_followAgain = true;
        return;
    }
    const FollowingScope scope(m_followingDepth);
    do {
        m_followAgain = false;
        followOnce();
    } while (m_followAgain);
}

void DialogFollowing::followOnce()
{
    // A hidden dialog is followed in full once it is shown; the show's ticks need not pay for it.
    if (!m_form.Visible && !m_shown.shown.value_or(false)) {
        m_form.BringToFront = false;
        return;
    }
    const int dotsPerInch = m_face.dotsPerInch();
    if (dotsPerInch != m_shown.dotsPerInch) {
        // Fonts, boxes and lines all grow with the resolution: everything is written again.
        const std::optional<bool> shown = m_shown.shown;
        m_shown = {};
        m_shown.shown = shown;
        m_shown.dotsPerInch = dotsPerInch;
        m_shown.rows.resize(m_controls.size());
        m_measure = {};
    }
    m_measure.use(m_face.measure());
    if (!m_shown.written || m_shown.title != m_form.Caption)
        m_face.writeTitle(m_shown.title = m_form.Caption);
    const std::vector<ControlLayout> layout = layOutDialog(m_form, m_controls, m_measure, dotsPerInch);
    for (size_t row = 0; row < m_controls.size(); ++row)
        writeRow(row, lookOf(row, layout[row]));
    followPlace(dotsPerInch);
    followVisibility();
    m_shown.written = true;
}

ControlLook DialogFollowing::lookOf(size_t row, const ControlLayout& layout) const
{
    const DialogControl& control = m_controls[row];
    ControlLook look;
    const bool insideItsContainer
        = m_frameControls == FrameControls::InsideTheFrame || control.container == Container::Picture;
    look.box = insideItsContainer ? layout.box : layout.inDialog;
    std::visit(
        [&](const auto* record) {
            using Record = std::remove_cvref_t<decltype(*record)>;
            look.visible = record->Visible;
            if constexpr (std::is_same_v<Record, PictureElement>) {
                look.picture = pictureLook(m_form);
            } else if constexpr (std::is_same_v<Record, LabelElement>) {
                look.label = labelLook(*record, layout, m_form, control.container);
            } else if constexpr (std::is_same_v<Record, FrameElement>) {
                look.text = record->Caption;
            } else if constexpr (std::is_same_v<Record, ButtonElement>) {
                look.text = record->Caption;
                look.font = boldOf(Font {}, record->FontBold);
            } else if constexpr (std::is_same_v<Record, TrackBar>) {
                look.min = record->Min();
                look.max = record->Max();
                look.value = record->Value();
            } else if constexpr (std::is_same_v<Record, ComboList>) {
                look.entries = entriesOf(*record);
                look.selected = record->ListIndex();
                look.text = record->Text();
            } else if constexpr (std::is_same_v<Record, LineElement>) {
                look.visible = record->Visible && record->BorderWidth > 0;
                look.line = lineLook(*record, m_shown.dotsPerInch);
            }
        },
        control.record);
    return look;
}

void DialogFollowing::writeRow(size_t row, const ControlLook& wanted)
{
    ControlLook& shown = m_shown.rows[row];
    const bool all = !m_shown.written;
    const auto changed = [all](auto& before, const auto& now) {
        if (!all && before == now)
            return false;
        before = now;
        return true;
    };
    std::visit(
        [&](const auto* record) {
            using Record = std::remove_cvref_t<decltype(*record)>;
            if constexpr (std::is_same_v<Record, PictureElement>) {
                if (changed(shown.picture, wanted.picture))
                    m_face.writePicture(row, shown.picture);
            } else if constexpr (std::is_same_v<Record, LabelElement>) {
                if (changed(shown.label, wanted.label))
                    m_face.writeLabel(row, shown.label);
            } else if constexpr (std::is_same_v<Record, ButtonElement> || std::is_same_v<Record, FrameElement>) {
                if (changed(shown.text, wanted.text))
                    m_face.writeText(row, shown.text);
                if (changed(shown.font, wanted.font))
                    m_face.writeFont(row, shown.font);
            } else if constexpr (std::is_same_v<Record, TrackBar>) {
                const bool minChanged = changed(shown.min, wanted.min);
                if (changed(shown.max, wanted.max) || minChanged)
                    m_face.writeRange(row, shown.min, shown.max);
                if (changed(shown.value, wanted.value))
                    m_face.writeValue(row, shown.value);
            } else if constexpr (std::is_same_v<Record, ComboList>) {
                const bool entriesChanged = changed(shown.entries, wanted.entries);
                if (entriesChanged)
                    m_face.writeEntries(row, shown.entries);
                const bool selectionChanged = changed(shown.selected, wanted.selected) || entriesChanged;
                if (selectionChanged)
                    m_face.writeSelection(row, shown.selected);
                if (changed(shown.text, wanted.text) || selectionChanged)
                    m_face.writeText(row, shown.text);
                if (changed(shown.font, wanted.font))
                    m_face.writeFont(row, shown.font);
            } else if constexpr (std::is_same_v<Record, LineElement>) {
                if (changed(shown.line, wanted.line))
                    m_face.writeLine(row, shown.line);
            }
        },
        m_controls[row].record);
    if (changed(shown.box, wanted.box))
        m_face.writeBox(row, shown.box);
    if (changed(shown.visible, wanted.visible))
        m_face.writeVisible(row, shown.visible);
}

void DialogFollowing::followPlace(int dotsPerInch)
{
    PixelBox place = dialogPlace(m_form, dotsPerInch);
    if (const std::optional<PixelBox> workArea = m_face.workAreaAround(place))
        place = dialogPlace(m_form, dotsPerInch, *workArea, m_face.frameReach());
    if (m_face.userMovesWindow())
        return;
    if (!m_shown.written || m_shown.place != place)
        m_face.writePlace(m_shown.place = place);
}

void DialogFollowing::followVisibility()
{
    if (m_shown.shown != m_form.Visible)
        m_face.writeShown(*(m_shown.shown = m_form.Visible));
    if (m_form.Visible && m_form.BringToFront)
        m_face.bringToFront();
    m_form.BringToFront = false;
}

void DialogFollowing::deliver(std::function<void(Form2&)> handler)
{
    if (following() || !handler)
        return;
    Form2& form = m_form;
    m_events.deliver([&form, handler = std::move(handler)] { handler(form); });
}

void DialogFollowing::clicked(size_t row) { deliver(m_controls[row].click); }

void DialogFollowing::trackBarMoved(size_t row, int value)
{
    TrackBar* const* bar = std::get_if<TrackBar*>(&m_controls[row].record);
    if (!bar || following() || value == (*bar)->Value())
        return;
    // The control shows the user's value already.
    m_shown.rows[row].value = value;
    deliver([bar = *bar, value](Form2&) { bar->setValue(value); });
}

void DialogFollowing::entryPicked(size_t row, int index)
{
    ComboList* const* list = std::get_if<ComboList*>(&m_controls[row].record);
    if (!list || following())
        return;
    m_shown.rows[row].selected = index;
    deliver([list = *list, index](Form2&) { list->setListIndex(index); });
}

void DialogFollowing::textTyped(size_t row, const std::string& text)
{
    ComboList* const* list = std::get_if<ComboList*>(&m_controls[row].record);
    if (!list || following())
        return;
    m_shown.rows[row].text = text;
    deliver([list = *list, text](Form2&) { list->setText(text); });
}

void DialogFollowing::pressKeyButton(bool cancel)
{
    if (const DialogControl* button = keyButton(m_controls, cancel))
        deliver(button->click);
}

void DialogFollowing::windowMoved(int left, int top)
{
    if (following() || !m_shown.shown.value_or(false) || (left == m_shown.place.left && top == m_shown.place.top))
        return;
    deliver(
        [left, top, dotsPerInch = m_shown.dotsPerInch](Form2& dialog) { MoveDialog(dialog, left, top, dotsPerInch); });
}

int RememberingMeasure::textWidth(const Font& font, const std::string& text) const
{
    const auto [found, added] = m_widths.try_emplace(measured(font, text), 0);
    if (added)
        found->second = m_measure->textWidth(font, text);
    return found->second;
}

int RememberingMeasure::lineHeight(const Font& font) const
{
    const auto [found, added] = m_heights.try_emplace(measured(font, {}), 0);
    if (added)
        found->second = m_measure->lineHeight(font);
    return found->second;
}

void RememberingMeasure::use(const TextMeasure& measure)
{
    if (m_measure == &measure)
        return;
    m_measure = &measure;
    m_widths.clear();
    m_heights.clear();
}

} // namespace vortexa
