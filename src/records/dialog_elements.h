#pragma once
// The dialog's own kinds of element as plain records: buttons, frames, the picture area and the
// message box. Positions are twips inside the container, captions UTF-8.

#include <cstdint>
#include <string>

namespace vortexa {

struct ButtonElement {
    float Left = 0, Top = 0, Width = 1335, Height = 375;
    std::string Caption;
    bool FontBold = false;
    bool Default = false; // the Enter key presses it
    bool Cancel = false; // the Esc key presses it
    bool Visible = true;
};

struct FrameElement {
    float Left = 0, Top = 0, Width = 1935, Height = 1935;
    std::string Caption;
    bool Visible = true;
};

struct PictureElement {
    float Left = 0, Top = 0, Width = 0, Height = 0;
    uint32_t BackColor = 0x00FFFFFF;
    bool Visible = true;
};

// A message the dialog asks the platform to show: the title, the text, an information icon and one
// OK button. The platform shows it over the dialog and waits until the user closes it.
struct MessageRecord {
    std::string Title;
    std::string Text;
    friend bool operator==(const MessageRecord&, const MessageRecord&) = default;
};

} // namespace vortexa
