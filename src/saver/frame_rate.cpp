#include "saver/frame_rate.h"

#include <charconv>
#include <utility>

namespace vortexa {

namespace {

// The label's distance from the screen's left and bottom edges, or from the hint's top.
constexpr float FrameRateMargin = 75;

std::string oneDecimal(double value)
{
    char text[32];
    const auto written = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, 1);
    return written.ec == std::errc() ? std::string(text, written.ptr) : std::string("?");
}

} // namespace

std::string FrameRateText(const ShowCost& from, const ShowCost& to)
{
    const double seconds = to.seconds - from.seconds;
    const double frames = static_cast<double>(to.framesPainted - from.framesPainted) / seconds;
    const double load = (to.processorSeconds - from.processorSeconds) / seconds * 100;
    return "FPS: " + oneDecimal(frames) + "  Load: " + oneDecimal(load) + "%";
}

void PlaceFrameRate(SaverScreen& screen)
{
    LabelElement& label = screen.lblFrameRate;
    const float bottom = screen.lblF1.Visible ? screen.lblF1.Top : static_cast<float>(screen.ScreenHeight);
    label.Move(FrameRateMargin, bottom - label.Height - FrameRateMargin);
}

void UpdateFrameRate(SaverScreen& screen, const ShowCost& now)
{
    const std::optional<ShowCost> from = std::exchange(screen.FrameRateFrom, now);
    if (!from || now.seconds <= from->seconds)
        return;
    screen.lblFrameRate.Caption = FrameRateText(*from, now);
    PlaceFrameRate(screen);
    screen.lblFrameRate.Visible = true;
}

} // namespace vortexa
