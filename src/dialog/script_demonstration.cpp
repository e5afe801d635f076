// The script buttons of the dialog: each chooses its script and draws a still picture of it.

#include <cmath>

#include "dialog/form2.h"
#include "records/numeric.h"
#include "state/program.h"

namespace vortexa {

namespace {

// The large shape of each script's picture.
struct ScriptPicture {
    int shape;
    uint32_t borderColour;
    float size;
    float left, top;
};

constexpr ScriptPicture Pictures[] = {
    {ShapeCircle, 0x990000, 1800, 700, 100},
    {ShapeCircle, 0x0000FF, 2500, 700, 100},
    {ShapeRoundedRectangle, systemColour(1), 1800, 3100, 1300},
};

constexpr float ListGap = 30;

// Int(r * range): the largest whole number not above the draw scaled to the range.
float draw(ModuleState& module, double range) { return single(std::floor(module.Random.next() * range)); }

void ShowSmallCircle(ShapeElement& circle, ModuleState& module)
{
    circle.Shape = ShapeCircle;
    circle.Visible = true;
    circle.BorderColor = PickColour(module);
}

void HideShapes(ElementArray<ShapeElement>& shapes, std::initializer_list<int> indexes)
{
    for (int i : indexes)
        if (ShapeElement* shape = shapes.find(i))
            shape->Visible = false;
}

// Circles of growing size anywhere in the picture area.
void DrawIndependence(Form2& dialog, ModuleState& module)
{
    for (module.LoopIndex = 1; module.LoopIndex <= 8; ++module.LoopIndex) {
        ShapeElement& circle = dialog.Shape[module.LoopIndex];
        ShowSmallCircle(circle, module);
        circle.Width = single(100 * module.LoopIndex + 500);
        circle.Height = circle.Width;
        circle.Left = draw(module, dialog.Pic.Width - circle.Width);
        circle.Top = draw(module, dialog.Pic.Height - circle.Width);
    }
}

// Circles in the upper left quarter of the large circle's box.
void DrawCapture(Form2& dialog, ModuleState& module)
{
    const ShapeElement& captor = dialog.Shape[0];
    for (module.LoopIndex = 3; module.LoopIndex <= 8; ++module.LoopIndex) {
        ShapeElement& circle = dialog.Shape[module.LoopIndex];
        ShowSmallCircle(circle, module);
        circle.Width = single(100 * module.LoopIndex + 100);
        circle.Left = draw(module, captor.Width / 2) + captor.Left;
        circle.Top = draw(module, captor.Width / 2) + captor.Top;
    }
}

// Circles in the upper left region, and three near the block, placed again on every pass so that
// the last pass decides where they stay.
void DrawOpposition(Form2& dialog, ModuleState& module)
{
    const ShapeElement& block = dialog.Shape[0];
    for (module.LoopIndex = 1; module.LoopIndex <= 11; ++module.LoopIndex) {
        ShapeElement& circle = dialog.Shape[module.LoopIndex];
        ShowSmallCircle(circle, module);
        circle.Width = 300;
        circle.Left = draw(module, block.Left - circle.Width);
        circle.Top = draw(module, block.Top);
        dialog.Shape[1].Top = draw(module, 400) + 200;
        dialog.Shape[1].Left = draw(module, 1200) + 3600;
        dialog.Shape[2].Top = draw(module, 600) + 1600;
        dialog.Shape[2].Left = draw(module, 500) + 1600;
        dialog.Shape[3].Top = draw(module, 700) + 1800;
        dialog.Shape[3].Left = draw(module, 500) + 500;
    }
}

} // namespace

// Only "Opposition" shows the captives list, with the clock list moved to its right.
void Form2::ArrangeLists(bool withCaptives)
{
    ComboP.Visible = withCaptives;
    if (withCaptives) {
        ComboT.Width = 1800;
        ComboT.Left = ComboP.Left + ComboP.Width + ListGap;
    } else {
        ComboT.Width = 3135;
        ComboT.Left = 120;
    }
}

void Form2::cmdS_Click(int Index)
{
    if (Index < 0 || Index >= static_cast<int>(cmdS.size()) || Shape.UBound() < DemonstrationShapes - 1)
        return;
    ModuleState& module = m_program.module;
    const ScriptPicture& picture = Pictures[Index];
    module.Scenario = static_cast<int16_t>(Index + 1);
    for (module.LoopIndex = 0; module.LoopIndex <= 2; ++module.LoopIndex)
        cmdS[static_cast<size_t>(module.LoopIndex)].FontBold = false;
    cmdS[static_cast<size_t>(Index)].FontBold = true;

    const CircleRange circles = circleRangeOf(module.Scenario);
    Slider[0].setMin(0);
    Slider[0].setMax(circles.most);
    Slider[0].setMin(circles.fewest);

    ShapeElement& large = Shape[0];
    large.Shape = picture.shape;
    large.Visible = true;
    large.BorderColor = picture.borderColour;
    large.Width = picture.size;
    large.Height = large.Width;
    large.Top = picture.top;
    large.Left = picture.left;

    switch (Index) {
    case 0:
        HideShapes(Shape, {9, 10, 11});
        DrawIndependence(*this, module);
        break;
    case 1:
        HideShapes(Shape, {1, 2, 9, 10, 11});
        DrawCapture(*this, module);
        break;
    default:
        DrawOpposition(*this, module);
        break;
    }
    ArrangeLists(Index == 2);
    LblINFO.Visible = false;
    lblLINK.Visible = false;

    Platform& platform = m_program.platform;
    lblTIME.Caption = platform.longTimeText(platform.timeOfDay());
    lblTIME.Visible = true;
    lblTIME.Top = large.Height / 2 + large.Top - lblTIME.Height / 2;
    lblTIME.Left = large.Width / 2 + large.Left - lblTIME.Width / 2;
    PicDrawingOrder.sendToBack({KindLblTIME, 0});
}

} // namespace vortexa
