#include "settings/form2.h"

#include "platform/numeric.h"
#include "saver/program.h"
#include "settings/captions.h"
#include "settings/settings_file.h"

namespace vortexa {

namespace {

std::vector<std::string> entriesOf(const auto& texts) { return {texts.begin(), texts.end()}; }

} // namespace

Form2::Form2(Program& program)
    : ComboT(entriesOf(captionsFor(English).TimeEntries))
    , ComboP(entriesOf(captionsFor(English).CaptivesEntries))
    , m_program(program)
{
}

void Form2::Form_Load()
{
    ModuleState& module = m_program.module;
    if (ReadSettingsFile(module, m_program.platform.programFolder())) {
        const auto& slot = module.IniValue;
        if (textToNumber(slot[4]) == 3) {
            Slider[0].setMax(20);
            Slider[0].setMin(10);
        }
        for (size_t k = 0; k < Slider.size(); ++k)
            Slider[k].setValue(wholeNumber(textToNumber(slot[k])));
        ShowChoice(ComboT, slot[3], module.TimePrompt);
        module.Scenario = toInt16(textToNumber(slot[4])).value_or(0);
        ShowChoice(ComboP, slot[5], module.CaptivesPrompt);
    } else {
        Slider[2].setValue(2);
        module.CircleCount = 9;
    }
    FillColorTable(module);
}

} // namespace vortexa
