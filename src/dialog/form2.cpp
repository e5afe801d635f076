#include "dialog/form2.h"

#include "dialog/captions.h"
#include "records/numeric.h"
#include "settings/settings_file.h"
#include "settings/settings_location.h"
#include "state/program.h"

namespace vortexa {

namespace {

constexpr uint32_t InformationColour = 0x008080FF;
constexpr uint32_t LinkColour = 0x000000FF;
constexpr uint32_t TimeColour = 0x00808080;
constexpr int DialogPointerX = 300; // pixels from the dialog's corner
constexpr int DialogPointerY = 200;

std::vector<std::string> entriesOf(const auto& texts) { return {texts.begin(), texts.end()}; }

LabelElement designedLabel(float left, float top, float width, float height, std::string caption = {})
{
    LabelElement label;
    label.Left = left;
    label.Top = top;
    label.Width = width;
    label.Height = height;
    label.Caption = std::move(caption);
    label.BackStyle = BackTransparent;
    return label;
}

ButtonElement designedButton(float left, float top, float width, std::string caption)
{
    ButtonElement button;
    button.Left = left;
    button.Top = top;
    button.Width = width;
    button.Caption = std::move(caption);
    return button;
}

void place(auto& control, float left, float top, float width)
{
    control.Left = left;
    control.Top = top;
    control.Width = width;
}

ShapeElement designedDemonstrationShape()
{
    ShapeElement shape;
    shape.Left = 2280;
    shape.Top = 1440;
    shape.Width = 1095;
    shape.Height = 975;
    shape.BorderColor = 0x000000;
    shape.Visible = false;
    return shape;
}

// The entry a list's selection gives for the file and the preview: entry 0 when none is selected.
int chosenEntry(const ComboList& list) { return list.ListIndex() < 0 ? 0 : list.ListIndex(); }

void SelectFirstIfNone(ComboList& list)
{
    if (list.ListIndex() < 0)
        list.setListIndex(0);
}

} // namespace

Form2::Form2(Program& program)
    : Shape({designedDemonstrationShape()})
    , ComboP(entriesOf(captionsFor(English).CaptivesEntries))
    , ComboT(entriesOf(captionsFor(English).TimeEntries))
    , m_program(program)
{
    const Captions& english = captionsFor(English);
    Left = single(wholeNumber((program.platform.screenWidthTwips() - Width) / 2));
    Top = single(wholeNumber((program.platform.screenHeightTwips() - Height) / 2));

    Pic = {120, 180, 5655, 3255, 0x000000, true};
    LblINFO = designedLabel(120, 120, 5295, 2895, english.Information);
    LblINFO.ForeColor = InformationColour;
    LblINFO.LabelFont = {"MS Sans Serif", 9.75f, false, false};
    LblINFO.Alignment = AlignCentre;
    lblLINK = designedLabel(2040, 1800, 1335, 255, VORTEXA_AUTHOR_HOST);
    lblLINK.ForeColor = LinkColour;
    lblLINK.LabelFont = {"MS Sans Serif", 9.75f, false, true};
    lblLINK.Alignment = AlignCentre;
    lblLINK.HandPointer = true;
    lblTIME = designedLabel(3000, 2520, 900, 380);
    lblTIME.ForeColor = TimeColour;
    lblTIME.LabelFont = {"Times New Roman", 12, true, false};
    lblTIME.Visible = false;
    PicDrawingOrder.add({KindPicShape, 0});
    PicDrawingOrder.add({KindLblTIME, 0});
    PicDrawingOrder.add({KindLblINFO, 0});
    PicDrawingOrder.add({KindLblLINK, 0});

    Frame1 = {120, 3720, 1935, 1935, english.Frame1, true};
    for (size_t k = 0; k < cmdS.size(); ++k)
        cmdS[k] = designedButton(120, single(360 + 480 * k), 1695, english.cmdS[k]);

    Frame2 = {2280, 3720, 3495, 1935, english.Frame2, true};
    const float labelWidths[] = {1815, 1575, 2055};
    const float sliderTops[] = {300, 720, 1080};
    for (size_t k = 0; k < Label.size(); ++k) {
        Label[k] = designedLabel(120, single(360 + 360 * k), labelWidths[k], 255, english.Label[k]);
        place(Slider[k], 1800, sliderTops[k], 1455);
    }
    place(ComboP, 120, 1500, 1400);
    ComboP.Visible = false;
    ComboP.setText(english.CaptivesPrompt);
    place(ComboT, 120, 1500, 3135);
    ComboT.setText(english.TimePrompt);

    Line1 = {5088, 3480, 5088, 3720, 0x000000, 1, true};
    lblLOC = {designedLabel(4382, 3480, 615, 255, "Russian"), designedLabel(5239, 3480, 615, 255, "English")};

    cmdHELP = designedButton(120, 5760, 1335, english.cmdHELP);
    CmdPRO = designedButton(1560, 5760, 1335, english.CmdPRO);
    cmdESC = designedButton(3000, 5760, 1335, english.cmdESC);
    cmdESC.Cancel = true;
    cmdOK = designedButton(4440, 5760, 1335, "OK");
    cmdOK.Default = true;
}

void Form2::Form_Load()
{
    ModuleState& module = m_program.module;
    m_program.MovePointer(
        wholeNumber(Left) / TwipsPerPixel + DialogPointerX, wholeNumber(Top) / TwipsPerPixel + DialogPointerY);
    const SettingsFolders folders = settingsFolders(m_program.platform);
    // A save killed before its rename leaves its new file behind; the next start clears it away.
    removeAbandonedSaves(settingsFilePath(folders.writing));
    const std::filesystem::path file = settingsFileToRead(m_program.platform);
    ShowSettings(ReadRunSettings(module, file));
    if (!module.Overrides.IgnoreFile)
        NoteUnusedFile(file);
    for (module.LoopIndex = 1; module.LoopIndex < DemonstrationShapes; ++module.LoopIndex)
        if (Shape.Load(module.LoopIndex))
            PicDrawingOrder.addToItsArray({KindPicShape, module.LoopIndex});
    FillColorTable(module);
}

// The settings in force, also those of a missing file: OK saves what the show runs.
void Form2::ShowSettings(const SavedSettings& settings)
{
    ModuleState& module = m_program.module;
    if (settings.Scenario == 3) {
        Slider[0].setMax(circleRangeOf(3).most);
        Slider[0].setMin(circleRangeOf(3).fewest);
    }
    Slider[0].setValue(settings.CircleCount);
    Slider[1].setValue(settings.BorderWidth);
    Slider[2].setValue(settings.Speed);
    ShowChoice(ComboT, decimalText(settings.ViewTime), module.TimePrompt);
    module.Scenario = static_cast<int16_t>(settings.Scenario);
    cmdS[static_cast<size_t>(module.Scenario - 1)].FontBold = true;
    ShowChoice(ComboP, decimalText(settings.Captives), module.CaptivesPrompt);
    ArrangeLists(module.Scenario == 3);
}

void Form2::NoteUnusedFile(const std::filesystem::path& file)
{
    const Captions& captions = captionsFor(languageOf(m_program.module.Language));
    const std::u8string name = file.u8string();
    const std::string quoted = "\"" + std::string(name.begin(), name.end()) + "\"";
    switch (settingsFileUse(file)) {
    case SettingsFileUse::Used:
        break;
    case SettingsFileUse::OthersMayWrite:
        m_noticesOnShow.push_back({Caption, captions.SharedFileNotUsed + quoted});
        break;
    case SettingsFileUse::AnotherUsersFile:
        m_noticesOnShow.push_back({Caption, captions.OthersFileNotUsed + quoted});
        break;
    }
}

void Form2::Show()
{
    Visible = true;
    BringToFront = true;
    Messages.insert(Messages.end(), m_noticesOnShow.begin(), m_noticesOnShow.end());
    m_noticesOnShow.clear();
}

void Form2::cmdOK_Click()
{
    const ModuleState& module = m_program.module;
    const SavedSettings chosen {Slider[0].Value(), Slider[1].Value(), Slider[2].Value(), chosenEntry(ComboT),
        module.Scenario, chosenEntry(ComboP), module.Language};
    const std::filesystem::path folder = settingsFolders(m_program.platform).writing;
    FileResult written = makeFolderForSaving(folder);
    if (written.ok)
        written = WriteSettingsFile(chosen, folder);
    if (!written.ok) {
        ShowMessage(Caption, captionsFor(languageOf(module.Language)).SaveFailed + written.error);
        return;
    }
    m_program.platform.endProgram();
}

void Form2::cmdESC_Click() { m_program.platform.endProgram(); }

void Form2::cmdHELP_Click()
{
    ModuleState& module = m_program.module;
    for (module.LoopIndex = 0; module.LoopIndex < DemonstrationShapes; ++module.LoopIndex)
        if (ShapeElement* shape = Shape.find(module.LoopIndex))
            shape->Visible = false;
    lblTIME.Visible = false;
    LblINFO.Visible = true;
    lblLINK.Visible = true;
}

void Form2::CmdPRO_Click()
{
    if (DialClockRefused())
        return;
    SelectFirstIfNone(ComboP);
    SelectFirstIfNone(ComboT);
    ModuleState& module = m_program.module;
    module.Captives = decimalText(ComboP.ListIndex());
    module.ViewTime = decimalText(ComboT.ListIndex());
    module.PreviewMode = true;
    // Every saver screen goes, also one whose reference the mouse hand-over dropped: a screen left
    // behind would keep animating unseen beside the new one.
    m_program.UnloadSaverScreens();
    Hide();
    m_program.CreateSaverScreen();
}

// A dial clock needs "Opposition" without captives. The shown texts decide, not the selections, so
// a text typed into the clock list that names no dial passes.
bool Form2::DialClockRefused()
{
    const std::string& clock = ComboT.Text();
    const bool dial = clock == ComboT.List(SystemDial) || clock == ComboT.List(StartDial);
    if (!dial)
        return false;
    if (ComboP.Text() != ComboP.List(GetCaptives) && m_program.module.Scenario == 3)
        return false;
    ShowMessage(AttentionTitle, m_program.module.ClockWarning);
    // The refused dial gives way to the digital clock of the same time.
    ComboT.setListIndex(clock == ComboT.List(SystemDial) ? SystemDigital : StartDigital);
    return true;
}

void Form2::lblLOC_Click(int Index) { ApplyLanguage(m_program, static_cast<float>(Index)); }

void Form2::ShowMessage(std::string title, std::string text)
{
    Messages.push_back({std::move(title), std::move(text)});
}

} // namespace vortexa
