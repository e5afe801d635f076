#pragma once
// The parts of the settings dialog that it draws itself, as window classes of their own: the
// picture area, and labels that show their lines where the dialog's layout placed them and report
// a click to the dialog.

#include <windows.h>

#include "dialog/dialog_follower.h"

namespace vortexa {

constexpr const wchar_t* PictureClass = L"VortexaPicture";
constexpr const wchar_t* LabelClass = L"VortexaLabel";
// Sent to the dialog when the user clicked a label; the label's window is the LPARAM.
constexpr UINT LabelClicked = WM_APP;

// What a label window shows; its window's user data points to it.
struct ShownLabel {
    LabelLook look;
    int dotsPerInch = DesignDotsPerInch;
};

// What the picture window draws from; its window's user data points to it.
struct ShownPicture {
    const Form2* form = nullptr;
    int dotsPerInch = DesignDotsPerInch;
};

// Registers a window class of this program once; later calls leave it as it is.
void registerClass(const wchar_t* name, WNDPROC procedure, HBRUSH background);
void registerPartClasses();

} // namespace vortexa
