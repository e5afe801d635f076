#include "scene/saver_screen.h"

namespace vortexa {

namespace {

ShapeElement designedCircle()
{
    return {}; // a circle at (0, 0), 975 x 975, drawn in system colour 1, transparent
}

ShapeElement designedDialPart()
{
    ShapeElement part;
    part.Left = 360;
    part.Top = 4800;
    part.Width = 735;
    part.Height = 735;
    part.BackColor = 0x000000;
    part.BackStyle = BackOpaque;
    part.FillStyle = FillSolid;
    part.BorderColor = systemColour(0);
    return part;
}

LineElement designedHand(uint32_t colour, int width)
{
    LineElement hand;
    hand.BorderColor = colour;
    hand.BorderWidth = width;
    hand.Visible = false;
    return hand;
}

LabelElement designedDialLabel(float height)
{
    LabelElement label;
    label.Width = 180;
    label.Height = height;
    label.BackColor = 0x000000;
    label.LabelFont = {"MS Sans Serif", 8.25f, true, false};
    label.Visible = false;
    return label;
}

LabelElement designedTimeLabel()
{
    LabelElement label;
    label.Caption = "Время";
    label.LabelFont = {"Times New Roman", 24, true, false};
    label.Left = 1830;
    label.Top = 480;
    label.Width = 1650;
    label.Height = 540;
    label.BackColor = systemColour(6);
    label.ForeColor = systemColour(17);
    return label;
}

LabelElement designedHint()
{
    LabelElement label;
    label.Caption = "Click <1> for setup";
    label.LabelFont = {"MS Sans Serif", 13.5f, true, false};
    label.Width = 3015;
    label.Height = 615;
    label.BackColor = systemColour(6);
    label.ForeColor = systemColour(15);
    return label;
}

// Small white text on black, hidden until the first reading.
LabelElement designedFrameRate()
{
    LabelElement label;
    label.LabelFont = {"MS Sans Serif", 8.25f, true, false};
    label.Width = 2700;
    label.Height = 240;
    label.BackColor = 0x000000;
    label.ForeColor = rgb(255, 255, 255);
    label.Visible = false;
    return label;
}

} // namespace

SaverScreen::SaverScreen()
    : Shape({designedCircle()})
    , ShapeS({designedDialPart()})
    , LineS({designedHand(0x00C0C0FF, 1), designedHand(0x008080FF, 2), designedHand(0x000000FF, 3)})
    , lblS({designedDialLabel(165), designedDialLabel(170), designedDialLabel(170)})
    , lblT(designedTimeLabel())
    , lblF1(designedHint())
    , lblFrameRate(designedFrameRate())
{
    drawingOrder.add({KindShape, 0});
    drawingOrder.add({KindShapeS, 0});
    for (int k = 0; k < 3; ++k)
        drawingOrder.add({KindLineS, k});
    for (int k = 0; k < 3; ++k)
        drawingOrder.add({KindLblS, k});
    drawingOrder.add({KindLblT, 0});
    drawingOrder.add({KindLblF1, 0});
    drawingOrder.add({KindLblFrameRate, 0});
}

bool SaverScreen::LoadShape(int k)
{
    if (!Shape.Load(k))
        return false;
    drawingOrder.addToItsArray({KindShape, k});
    return true;
}

bool SaverScreen::LoadShapeS(int k)
{
    if (!ShapeS.Load(k))
        return false;
    drawingOrder.addToItsArray({KindShapeS, k});
    return true;
}

} // namespace vortexa
