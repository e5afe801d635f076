#pragma once
// How the program's colour numbers and font records look on this system: the one table of system
// colours, the installed fonts that stand in for the ones the program names, and text measured
// in them.

#include <QColor>
#include <QFont>

#include <cstdint>

#include "dialog/dialog_controls.h"
#include "records/elements.h"

namespace vortexa {

// A colour 0x00BBGGRR, or the system colour nn for 0x800000nn.
QColor toQColor(uint32_t colour);

// The font of a record, in pixels at 15 twips to the pixel (96 to the inch), with installed
// fonts of the same metrics standing in for missing ones.
QFont toQFont(const Font& font);

// Text measured with Qt's fonts, as the widgets draw it.
class QtTextMeasure : public TextMeasure {
public:
    int textWidth(const Font& font, const std::string& text) const override;
    int lineHeight(const Font& font) const override;
};

} // namespace vortexa
