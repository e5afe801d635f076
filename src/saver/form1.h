#pragma once
// The saver screen: its start-up, its run modes and the handlers of its timers and input.

#include <cstdint>
#include <string>
#include <string_view>

#include "scene/saver_screen.h"

namespace vortexa {

class Program;

// The first two characters of the trimmed, lower-cased command line: "/s", "/c", "/p", ...
std::string RunSwitch(std::string_view commandLine);

class Form1 {
public:
    explicit Form1(Program& program);
    ~Form1();
    Form1(const Form1&) = delete;
    Form1& operator=(const Form1&) = delete;

    // The start-up. Returns false when it ended the program.
    bool Form_Load();
    // The run-mode check; returns false when it ended the program ("/p").
    bool CheckCommandLine();

    void Timer1_Timer();
    void Timer2_Timer();
    void Timer3_Timer();
    void Timer4_Timer();
    void Timer5_Timer();

    // Input over the saver screen: a typed character (only keys that produce one reach it) and a
    // mouse movement to a point of the screen in twips.
    void Form_KeyPress(int16_t KeyAscii);
    void Form_MouseMove(float X, float Y);

    void Show() { screen.Visible = true; }
    void Hide() { screen.Visible = false; }
    void StopTimers();

    SaverScreen screen;

private:
    void StartTimer(TimerRecord& timer, int intervalMs, void (Form1::*tick)());

    Program& m_program;
};

} // namespace vortexa
