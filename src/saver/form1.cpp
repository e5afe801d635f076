#include "saver/form1.h"

#include <algorithm>
#include <limits>

#include "clock/clock_tick.h"
#include "dialog/captions.h"
#include "dialog/form2.h"
#include "records/numeric.h"
#include "saver/frame_rate.h"
#include "saver/scene_setup.h"
#include "scene/script_steps.h"
#include "settings/settings_file.h"
#include "settings/settings_location.h"
#include "state/program.h"

namespace vortexa {

namespace {
constexpr int16_t SetupKey = 49; // the digit "1"
constexpr int16_t ToleratedMoves = 5;
} // namespace

std::string RunSwitch(std::string_view commandLine)
{
    const size_t first = commandLine.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return {};
    const size_t last = commandLine.find_last_not_of(' ');
    std::string trimmed(commandLine.substr(first, last - first + 1));
    std::transform(trimmed.begin(), trimmed.end(), trimmed.begin(), lowerAscii);
    return trimmed.substr(0, 2);
}

Form1::Form1(Program& program)
    : m_program(program)
{
}

Form1::~Form1() { StopTimers(); }

bool Form1::Form_Load()
{
    ModuleState& module = m_program.module;
    Platform& platform = m_program.platform;

    screen.StartTime = platform.timeOfDay();
    if (module.PreviewMode)
        TakeSettingsFromDialog(module, screen, m_program.dialog());
    else
        TakeSettings(module, screen, ReadRunSettings(module, settingsFileToRead(platform)));

    // A daemon runs one show in each of its windows, so only a show of its own window is alone; the
    // settings dialog is a window of the program's own, whatever window it was given.
    const bool ownWindow = !platform.showsInGivenWindow() || RunSwitch(platform.commandLine()) == "/c";
    if (ownWindow && platform.anotherInstanceRunning()) {
        platform.endProgram();
        return false;
    }
    screen.Maximised = true;
    if (!CheckCommandLine())
        return false;
    StartTimer(screen.Timer4, 1000, &Form1::Timer4_Timer);
    StartTimer(screen.Timer5, 60000, &Form1::Timer5_Timer);
    screen.ScreenHeight = wholeNumber(platform.screenHeightTwips());
    screen.ScreenWidth = wholeNumber(platform.screenWidthTwips());
    screen.MaxSize = 3800;
    screen.MinuteCount = 0;
    screen.ShapeS[0].Visible = false;
    PlaceHint(screen);
    // No key reaches a show in a given window, so it offers none.
    if (platform.showsInGivenWindow())
        screen.lblF1.Visible = false;
    FillColorTable(module);

    BuildScript(screen, module);
    StartTimer(screen.Timer1, screen.Timer1.Interval, &Form1::Timer1_Timer);
    StartTimer(screen.Timer2, screen.Timer2.Interval, &Form1::Timer2_Timer);
    StartTimer(screen.Timer3, screen.Timer3.Interval, &Form1::Timer3_Timer);
    BuildClockDisplay(screen, module);
    MeasureScene(screen, module);
    if (module.Overrides.ShowFrameRate)
        UpdateFrameRate(screen, platform.showCost());
    ApplyLanguage(m_program, module.Language);
    return true;
}

bool Form1::CheckCommandLine()
{
    Platform& platform = m_program.platform;
    const std::string runSwitch = RunSwitch(platform.commandLine());
    if (runSwitch == "/c") {
        Hide();
        m_program.dialog().Show();
        m_program.form1 = nullptr;
        screen.MousePointer = PointerCrossHair;
    } else if (runSwitch == "/p") {
        platform.endProgram();
        return false;
    }
    return true;
}

// Starts the platform timer of a record that asks for one (a script timer that the scene set-up
// did not enable stays off).
void Form1::StartTimer(TimerRecord& timer, int intervalMs, void (Form1::*tick)())
{
    if (intervalMs <= 0)
        return;
    timer.Interval = intervalMs;
    timer.Enabled = true;
    timer.id = m_program.platform.startTimer(intervalMs, [this, tick] { (this->*tick)(); });
}

void Form1::StopTimers()
{
    for (TimerRecord* timer : {&screen.Timer1, &screen.Timer2, &screen.Timer3, &screen.Timer4, &screen.Timer5}) {
        if (timer->id >= 0)
            m_program.platform.stopTimer(timer->id);
        timer->id = -1;
        timer->Enabled = false;
    }
}

void Form1::Timer1_Timer()
{
    IndependenceStep(screen, m_program.module);
    m_program.platform.yieldToEvents();
}

void Form1::Timer2_Timer()
{
    if (CaptureStep(screen, m_program.module))
        m_program.platform.yieldToEvents();
}

void Form1::Timer3_Timer()
{
    OppositionStep(screen, m_program.module);
    m_program.platform.yieldToEvents();
}

void Form1::Timer4_Timer()
{
    ClockTick(screen, m_program.module, m_program.platform);
    if (m_program.module.Overrides.ShowFrameRate)
        UpdateFrameRate(screen, m_program.platform.showCost());
}

void Form1::Timer5_Timer() { Regroup(screen, m_program.module); }

// Any typed character ends the show, except "1", which opens the dialog over it with the current
// choices.
void Form1::Form_KeyPress(int16_t KeyAscii)
{
    if (m_program.platform.showsInGivenWindow())
        return;
    if (KeyAscii != SetupKey) {
        m_program.platform.endProgram();
        return;
    }
    // Without a dialog to open, the key neither opens one nor ends the show.
    if (!m_program.platform.canShowDialog())
        return;
    Form2& dialog = m_program.dialog();
    dialog.Show();
    screen.MousePointer = PointerCrossHair;
    // The choices in force, also those of a missing file.
    const ModuleState& module = m_program.module;
    ShowChoice(dialog.ComboP, module.Captives, module.CaptivesPrompt);
    ShowChoice(dialog.ComboT, module.ViewTime, module.TimePrompt);
}

// Five movements are tolerated; from the sixth on the show ends, or the open dialog comes to the
// front. The count stops at its largest value.
void Form1::Form_MouseMove(float X, float Y)
{
    if (m_program.platform.showsInGivenWindow())
        return;
    if (m_program.IsOwnPointerMove(X, Y))
        return;
    if (screen.MoveCount < std::numeric_limits<int16_t>::max())
        ++screen.MoveCount;
    if (screen.MoveCount <= ToleratedMoves)
        return;
    if (m_program.dialog().Visible || RunSwitch(m_program.platform.commandLine()) == "/c") {
        m_program.form1 = nullptr;
        m_program.dialog().Show();
        return;
    }
    m_program.platform.endProgram();
}

} // namespace vortexa
