#include "saver/scene_setup.h"

#include <algorithm>

#include "dialog/form2.h"
#include "records/numeric.h"
#include "settings/settings_file.h"

namespace vortexa {

namespace {

// BaseStep and StepIncrement both come from one speed level.
void TakeSpeed(ModuleState& module, double level)
{
    module.BaseStep = single((level - 1) * 5 + 10);
    module.StepIncrement = single((level - 1) * 5 + 5);
}

double numberOf(const std::string& text) { return textToNumber(text); }

bool isDialClock(double viewTime) { return viewTime == 1 || viewTime == 3; }
constexpr double NoClock = 4;

// Creates circles 1 .. CircleCount - 1 after the highest existing one, visible, as copies of
// circle 0.
void CreateCircles(SaverScreen& screen, const ModuleState& module)
{
    const int highest = screen.Shape.UBound();
    const int32_t more = wholeNumber(module.CircleCount - 1);
    for (int k = 1; k <= more; ++k)
        if (screen.LoadShape(k + highest))
            screen.Shape[k + highest].Visible = true;
}

int circlesOnScreen(const SaverScreen& screen, int slots) { return std::min(screen.Shape.Count(), slots); }

void BuildIndependence(SaverScreen& screen, ModuleState& module)
{
    screen.Timer1.Interval = 10;
    screen.Timer1.Enabled = true;
    if (module.CircleCount == 6)
        screen.MaxSize = 3300;
    else if (module.CircleCount == 12)
        screen.MaxSize = 4800;
    else
        screen.MaxSize = 3800;
    CreateCircles(screen, module);
    const int n = circlesOnScreen(screen, ShapeSlots);
    for (module.LoopIndex = 0; module.LoopIndex < n; ++module.LoopIndex) {
        const int i = module.LoopIndex;
        ShapeElement& circle = screen.Shape[i];
        circle.BorderColor = PickColour(module);
        screen.StepY[i] = wholeNumber(double {module.StepIncrement} * i + (module.BaseStep + 3) - module.CircleCount);
        screen.StepX[i] = wholeNumber(double {module.StepIncrement} * i + module.BaseStep);
        circle.Height = single(screen.MaxSize - 300 * i);
        circle.Width = circle.Height;
    }
}

void BuildCapture(SaverScreen& screen, ModuleState& module)
{
    screen.Timer2.Interval = 10;
    screen.Timer2.Enabled = true;
    CreateCircles(screen, module);
    const int n = circlesOnScreen(screen, CaptureShapeSlots);
    for (module.LoopIndex = 0; module.LoopIndex < n; ++module.LoopIndex) {
        const int i = module.LoopIndex;
        ShapeElement& circle = screen.Shape[i];
        circle.BorderColor = PickColour(module);
        circle.Top = single(200 * i + 700);
        circle.Left = single(200 * i + 700);
        screen.StepY[i] = wholeNumber(double {module.StepIncrement} * i + module.BaseStep - module.CircleCount);
        screen.StepX[i] = 0;
        circle.Height = single(2200 - 150 * i);
        circle.Width = circle.Height;
        module.Radius[i] = integerHalf(wholeNumber(circle.Width));
    }
    ShapeElement& captor = screen.Shape[0];
    captor.Top = 0;
    captor.Left = 0;
    captor.Height = single(module.Radius[0] * 7);
    captor.Width = captor.Height;
    screen.StepX[0] = 15;
    if (ShapeElement* second = screen.Shape.find(1))
        second->Visible = false;
}

void BuildOpposition(SaverScreen& screen, ModuleState& module)
{
    CreateCircles(screen, module);
    const int n = circlesOnScreen(screen, ShapeSlots);
    const int32_t places = wholeNumber(module.CircleCount + 3);
    for (module.LoopIndex = 0; module.LoopIndex < n; ++module.LoopIndex) {
        const int i = module.LoopIndex;
        ShapeElement& circle = screen.Shape[i];
        circle.BorderColor = PickColour(module);
        screen.StepY[i] = wholeNumber(module.BaseStep + 2 + 4 * i);
        screen.StepX[i] = wholeNumber(module.BaseStep + 4 * i);
        circle.Height = 600;
        circle.Width = 600;
        module.Diameter[i] = wholeNumber(circle.Width);
        circle.Top = single(screen.ScreenHeight - 2 * module.Diameter[i]);
        circle.Left = single(wholeNumber(static_cast<double>(screen.ScreenWidth) * i) / places);
        circle.FillColor = circle.BorderColor;
    }
    ShapeElement& block = screen.Shape[0];
    block.Shape = ShapeRoundedRectangle;
    block.Top = 600;
    block.Left = 600;
    block.Height = 3000;
    block.Width = block.Height;
    screen.StepY[0] = wholeNumber(module.BaseStep);
    screen.StepX[0] = wholeNumber(module.BaseStep);
    screen.Timer3.Interval = 10;
    screen.Timer3.Enabled = true;
}

void BuildHub(SaverScreen& screen, ShapeElement& hub)
{
    hub.Width = 150;
    hub.Height = 150;
    hub.BorderColor = screen.Shape[0].BorderColor;
    hub.BorderWidth = 2;
    hub.BackColor = screen.LineS[1].BorderColor;
}

// The disc at the end of hand j, with the hand and its label shown in the hand's colour.
void BuildHandEnd(SaverScreen& screen, ShapeElement& disc, int j)
{
    disc.BorderColor = screen.LineS[j].BorderColor;
    screen.drawingOrder.sendToBack({KindLineS, j});
    screen.LineS[j].Visible = true;
    screen.lblS[j].Visible = true;
    screen.lblS[j].ForeColor = screen.LineS[j].BorderColor;
}

} // namespace

void TakeSettings(ModuleState& module, SaverScreen& screen, const SavedSettings& settings)
{
    module.CircleCount = single(settings.CircleCount);
    screen.Shape[0].BorderWidth = settings.BorderWidth;
    TakeSpeed(module, settings.Speed);
    module.ViewTime = decimalText(settings.ViewTime);
    module.Scenario = static_cast<int16_t>(settings.Scenario);
    module.Captives = decimalText(settings.Captives);
    module.Language = settings.Language;
}

void TakeSettingsFromDialog(ModuleState& module, SaverScreen& screen, const Form2& dialog)
{
    // The circle count the dialog shows may lie outside the script's range until a script button
    // sets it.
    TakeSettings(module, screen,
        heldToRange({dialog.Slider[0].Value(), dialog.Slider[1].Value(), dialog.Slider[2].Value(),
            dialog.ComboT.ListIndex(), module.Scenario, dialog.ComboP.ListIndex(), module.Language}));
}

void PlaceHint(SaverScreen& screen)
{
    screen.lblF1.Left = 10;
    screen.lblF1.Top = single(screen.ScreenHeight - screen.lblF1.Height);
    screen.lblF1.ForeColor = rgb(90, 90, 90);
}

void BuildScript(SaverScreen& screen, ModuleState& module)
{
    switch (module.Scenario) {
    case 1:
        BuildIndependence(screen, module);
        break;
    case 2:
        BuildCapture(screen, module);
        break;
    case 3:
        BuildOpposition(screen, module);
        break;
    default:
        break; // no circles and no script timer
    }
}

void BuildClockDisplay(SaverScreen& screen, ModuleState& module)
{
    if (!isDialClock(numberOf(module.ViewTime)))
        return;
    module.GraphicClock = true;
    screen.Shape[0].Height = 3500;
    screen.Shape[0].Width = screen.Shape[0].Height;
    screen.lblT.Visible = false;
    for (int k = 1; k <= 4; ++k) {
        if (!screen.LoadShapeS(k))
            continue;
        ShapeElement& part = screen.ShapeS[k];
        part.Visible = true;
        part.BorderWidth = 1;
        part.BorderStyle = BorderSolid;
        part.FillStyle = FillTransparent;
        part.FillColor = 0;
        part.Width = 400;
        part.Height = 400;
        part.Shape = ShapeCircle;
        if (k == 1)
            BuildHub(screen, part);
        else
            BuildHandEnd(screen, part, k - 2);
    }
}

void MeasureScene(SaverScreen& screen, ModuleState& module)
{
    module.Diameter[0] = wholeNumber(screen.Shape[0].Width);
    module.Radius[0] = integerHalf(wholeNumber(screen.Shape[0].Width));
    screen.TimeHalfHeight = integerHalf(wholeNumber(screen.lblT.Height));
    screen.TimeHalfWidth = integerHalf(wholeNumber(screen.lblT.Width));
    screen.drawingOrder.sendToBack({KindLblT, 0});
    if (numberOf(module.ViewTime) == NoClock)
        screen.lblT.Visible = false;
}

} // namespace vortexa
