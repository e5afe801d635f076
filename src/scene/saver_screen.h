#pragma once
// The saver screen's own state and elements: one set for each saver screen, fresh when it is made.

#include <array>
#include <cstdint>
#include <optional>

#include "platform/platform.h"
#include "records/drawing_order.h"
#include "records/elements.h"

namespace vortexa {

enum SaverElementKind { KindShape, KindShapeS, KindLineS, KindLblS, KindLblT, KindLblF1, KindLblFrameRate };

enum MousePointerStyle { PointerDefault = 0, PointerCrossHair = 2, PointerCustom = 99 };

struct TimerRecord {
    int Interval = 0;
    bool Enabled = false;
    TimerId id = -1; // the platform's timer while it runs
};

struct SaverScreen {
    SaverScreen();

    int16_t MoveCount = 0;
    int16_t MinuteCount = 0;
    std::array<int32_t, 21> StepX {};
    std::array<int32_t, 21> StepY {};
    int16_t MaxSize = 0;
    int32_t ScreenHeight = 0;
    int32_t ScreenWidth = 0;
    int32_t TimeHalfHeight = 0;
    int32_t TimeHalfWidth = 0;
    double StartTime = 0;
    double ElapsedTime = 0;
    int16_t HintTicks = 0;
    // Quarter turns each captured circle has made since it last moved on its own.
    std::array<int, 14> TurnsInARow {};

    ElementArray<ShapeElement> Shape;
    ElementArray<ShapeElement> ShapeS;
    ElementArray<LineElement> LineS;
    ElementArray<LabelElement> lblS;
    LabelElement lblT;
    LabelElement lblF1;
    // The frame rate over the scene, shown when asked for, and the show's cost at its last reading.
    LabelElement lblFrameRate;
    std::optional<ShowCost> FrameRateFrom;
    TimerRecord Timer1, Timer2, Timer3, Timer4, Timer5;

    // The window itself.
    bool Visible = false;
    bool Maximised = false;
    int MousePointer = PointerCustom;
    DrawingOrder drawingOrder;

    // Creates element k of Shape or ShapeS by the copy rule, drawn just above its array's elements.
    bool LoadShape(int k);
    bool LoadShapeS(int k);
};

// Calls visit(element, record) for every shown element of the screen in drawing order, back first;
// the record is a ShapeElement, LineElement or LabelElement.
template <typename Visitor> void forEachShownElement(const SaverScreen& screen, Visitor&& visit)
{
    const auto shown = [&](ElementRef element, const auto* record) {
        if (record && record->Visible)
            visit(element, *record);
    };
    for (const ElementRef& element : screen.drawingOrder.backToFront()) {
        switch (element.kind) {
        case KindShape:
            shown(element, screen.Shape.exists(element.index) ? &screen.Shape[element.index] : nullptr);
            break;
        case KindShapeS:
            shown(element, screen.ShapeS.exists(element.index) ? &screen.ShapeS[element.index] : nullptr);
            break;
        case KindLineS:
            shown(element, screen.LineS.exists(element.index) ? &screen.LineS[element.index] : nullptr);
            break;
        case KindLblS:
            shown(element, screen.lblS.exists(element.index) ? &screen.lblS[element.index] : nullptr);
            break;
        case KindLblT:
            shown(element, &screen.lblT);
            break;
        case KindLblF1:
            shown(element, &screen.lblF1);
            break;
        case KindLblFrameRate:
            shown(element, &screen.lblFrameRate);
            break;
        default:
            break;
        }
    }
}

} // namespace vortexa
