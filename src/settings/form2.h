#pragma once
// The settings dialog: its controls as models, and its handlers.

#include <array>

#include "platform/controls.h"

namespace vortexa {

class Program;

class Form2 {
public:
    explicit Form2(Program& program);

    // The load step, run once when the dialog is first used.
    void Form_Load();

    void Show() { Visible = true; }
    void Hide() { Visible = false; }

    bool Visible = false;
    // Number of circles, line width, speed level.
    std::array<TrackBar, 3> Slider {TrackBar(6, 12, 6), TrackBar(1, 3, 1), TrackBar(1, 5, 1)};
    ComboList ComboT; // the clock choice
    ComboList ComboP; // the captives choice

private:
    Program& m_program;
};

} // namespace vortexa
