#include "settings/captions.h"

#include "platform/numeric.h"
#include "saver/program.h"
#include "settings/form2.h"

namespace vortexa {

namespace {

const Captions RussianCaptions {
    "Пленные?",
    {"Брать в плен", "Не брать"},
    "Время?",
    {"Системное (Циф)", "Системное (Гр)", "Отсутствия (Циф)", "Отсутствия (Гр)", "Без времени"},
    "Графические часы отображаются только в сценарии \"Противостояние\" при условии в плен \"Не брать\".",
};

const Captions EnglishCaptions {
    "Captives?",
    {"Get captives", "Not get"},
    "Time?",
    {"System (Digital)", "System (Zentar)", "From start (Digital)", "From start (Zentar)", "Without time"},
    "Zentar Clock is anable only in \"Opposition\" script on condition \"Not get\" captives!",
};

} // namespace

void ShowChoice(ComboList& list, const std::string& choice, const std::string& prompt)
{
    const double index = textToNumber(choice);
    if (choice.empty() || index < 0 || index >= list.ListCount() || index != roundHalfEven(index)) {
        list.setText(prompt);
        return;
    }
    list.setText(list.List(static_cast<int>(index)));
}

const Captions& captionsFor(LanguageIndex language) { return language == Russian ? RussianCaptions : EnglishCaptions; }

void ApplyLanguage(Program& program, float lang)
{
    Form2& dialog = program.dialog();
    const LanguageIndex language = lang == 0 ? Russian : English;
    ModuleState& module = program.module;
    module.Language = static_cast<float>(language);

    const Captions& captions = captionsFor(language);
    module.CaptivesPrompt = captions.CaptivesPrompt;
    for (int k = 0; k < static_cast<int>(captions.CaptivesEntries.size()); ++k)
        dialog.ComboP.setEntry(k, captions.CaptivesEntries[static_cast<size_t>(k)]);
    module.TimePrompt = captions.TimePrompt;
    for (int k = 0; k < static_cast<int>(captions.TimeEntries.size()); ++k)
        dialog.ComboT.setEntry(k, captions.TimeEntries[static_cast<size_t>(k)]);
    module.ClockWarning = captions.ClockWarning;

    ShowChoice(dialog.ComboP, module.Captives, module.CaptivesPrompt);
    ShowChoice(dialog.ComboT, module.ViewTime, module.TimePrompt);
}

} // namespace vortexa
