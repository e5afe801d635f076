#pragma once
// The settings dialog: every element as a model record, and its handlers. The platform shows one
// widget for each record, passes the user's changes back into the records (track-bar positions,
// list texts and selections, the window's place) and calls a handler for each click; after every
// handler it shows the records again.

#include <array>
#include <filesystem>
#include <string>
#include <vector>

#include "records/controls.h"
#include "records/dialog_elements.h"
#include "records/drawing_order.h"
#include "records/elements.h"

namespace vortexa {

class Program;
struct SavedSettings;

// The elements of the picture area, for its drawing order.
enum PictureElementKind { KindPicShape, KindLblTIME, KindLblINFO, KindLblLINK };

constexpr int DemonstrationShapes = 12; // Shape(0) to Shape(11)

// The entries of the two lists.
enum ClockChoice { SystemDigital = 0, SystemDial = 1, StartDigital = 2, StartDial = 3, WithoutClock = 4 };
enum CaptivesChoice { GetCaptives = 0, NotGet = 1 };

inline constexpr const char* AttentionTitle = "Attention!";

class Form2 {
public:
    explicit Form2(Program& program);

    // The load step, run once when the dialog is first used.
    void Form_Load();

    void cmdOK_Click();
    void cmdESC_Click();
    void cmdHELP_Click();
    void CmdPRO_Click();
    void cmdS_Click(int Index);
    void lblLOC_Click(int Index);
    void lblLINK_Click();
    void DoURL(const std::string& url);

    // Shows the dialog, not modal, and brings it to the front.
    // The first time, it also says why a settings file that is there is not used.
    void Show();
    void Hide() { Visible = false; }

    // The window: its place on the screen and the size of its client area, twips.
    std::string Caption = "Vortexa";
    float Left = 0, Top = 0;
    float Width = 5940, Height = 6315;
    bool Visible = false;
    bool BringToFront = false; // a request the platform carries out and clears

    PictureElement Pic;
    LabelElement LblINFO;
    LabelElement lblLINK;
    LabelElement lblTIME;
    ElementArray<ShapeElement> Shape;
    DrawingOrder PicDrawingOrder; // the elements inside Pic, back first

    FrameElement Frame1;
    std::array<ButtonElement, 3> cmdS;
    FrameElement Frame2;
    std::array<LabelElement, 3> Label;
    // Number of circles, line width, speed level.
    std::array<TrackBar, 3> Slider {TrackBar(6, 12, 6), TrackBar(1, 3, 1), TrackBar(1, 5, 1)};
    ComboList ComboP; // the captives choice
    ComboList ComboT; // the clock choice

    LineElement Line1;
    std::array<LabelElement, 2> lblLOC;
    ButtonElement cmdHELP, CmdPRO, cmdESC, cmdOK;

    // Messages waiting to be shown, oldest first; the platform removes each once the user has
    // closed it.
    std::vector<MessageRecord> Messages;

private:
    void ShowSettings(const SavedSettings& settings);
    void NoteUnusedFile(const std::filesystem::path& file);
    void ArrangeLists(bool withCaptives);
    bool DialClockRefused();
    void StartPreview();
    void ShowMessage(std::string title, std::string text);

    Program& m_program;
    std::vector<MessageRecord> m_noticesOnShow;
};

} // namespace vortexa
