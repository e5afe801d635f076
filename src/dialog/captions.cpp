#include "dialog/captions.h"

#include "dialog/form2.h"
#include "records/numeric.h"
#include "state/program.h"

namespace vortexa {

namespace {

constexpr uint32_t OtherLanguageColour = 0x00FF0000; // blue
constexpr uint32_t ActiveLanguageColour = 0x00000000; // black

const char* const AuthorMail = "vortexa.author@example.org";

std::string informationText(const std::string& invitation, const std::string& credit, const std::string& visit)
{
    const std::string lines[] = {invitation, "", credit, AuthorMail, "", visit};
    std::string text = lines[0];
    for (size_t k = 1; k < std::size(lines); ++k)
        text += "\r\n" + lines[k];
    return text;
}

const Captions RussianCaptions {
    "Сценарий",
    "Настройки",
    {"Независимость", "Поглощение", "Противостояние"},
    {"Количество кругов", "Толщина линий", "Скорость движения"},
    "Информация",
    "Просмотр",
    "Отмена",
    "Пленные?",
    {"Брать в плен", "Не брать"},
    "Время?",
    {"Системное (Циф)", "Системное (Гр)", "Отсутствия (Циф)", "Отсутствия (Гр)", "Без времени"},
    "Графические часы отображаются только в сценарии \"Противостояние\" при условии в плен \"Не брать\".",
    informationText("Выберите сценарий и сделайте настройки!",
        "Эту заставку написал её автор для всех, кто любит спокойные картины.", "Посетите сайт автора"),
    "Не удалось сохранить настройки в файл ",
    "Не удалось открыть страницу автора: ",
    "Не удалось удалить файл ",
    "Файл настроек не используется, так как его могут изменить другие пользователи: заставка идёт с "
    "настройками по умолчанию, показанными здесь. OK оставит файл как есть; чтобы сохранять настройки, "
    "сделайте его доступным для записи только вам или удалите его. Файл: ",
    "Файл настроек не используется, так как он принадлежит другому пользователю: заставка идёт с "
    "настройками по умолчанию, показанными здесь. OK оставит файл как есть; чтобы сохранять настройки, "
    "удалите его. Файл: ",
};

const Captions EnglishCaptions {
    "Script",
    "Options",
    {"Independence", "Capture", "Opposition"},
    {"Amount of circles", "Width ol lines", "Circles's speed"},
    "Information",
    "Preview",
    "Cancel",
    "Captives?",
    {"Get captives", "Not get"},
    "Time?",
    {"System (Digital)", "System (Zentar)", "From start (Digital)", "From start (Zentar)", "Without time"},
    "Zentar Clock is anable only in \"Opposition\" script on condition \"Not get\" captives!",
    informationText("Select the script and do setups!",
        "This screen saver was written by its author for everyone who likes quiet pictures.",
        "Visit the site of author"),
    "The settings could not be saved to the file ",
    "The author's page could not be opened: ",
    "The file could not be removed: ",
    "The settings file is not used, since other users may change it: the show runs on the default settings "
    "shown here. OK will leave the file as it is; to save settings, make it writable by you alone, or remove "
    "it. The file: ",
    "The settings file is not used, since it belongs to another user: the show runs on the default settings "
    "shown here. OK will leave the file as it is; to save settings, remove it. The file: ",
};

template <size_t N> void setEntries(ComboList& list, const std::array<std::string, N>& texts)
{
    for (size_t k = 0; k < N; ++k)
        list.setEntry(static_cast<int>(k), texts[k]);
}

// The choice a list shows after a change of language: its own selection, so that a choice the user
// made in the dialog survives the switch, or else the stored choice.
std::string choiceToShow(const ComboList& list, const std::string& stored)
{
    return list.ListIndex() >= 0 ? decimalText(list.ListIndex()) : stored;
}

void MarkActiveLanguage(Form2& dialog, LanguageIndex language)
{
    for (LabelElement& label : dialog.lblLOC)
        label.ForeColor = OtherLanguageColour;
    dialog.lblLOC[static_cast<size_t>(language)].ForeColor = ActiveLanguageColour;
}

} // namespace

const Captions& captionsFor(LanguageIndex language) { return language == Russian ? RussianCaptions : EnglishCaptions; }

LanguageIndex languageOf(float lang) { return lang == 0 ? Russian : English; }

void ShowChoice(ComboList& list, const std::string& choice, const std::string& prompt)
{
    const double index = textToNumber(choice);
    if (choice.empty() || index < 0 || index >= list.ListCount() || index != roundHalfEven(index)) {
        list.setText(prompt);
        return;
    }
    list.setText(list.List(static_cast<int>(index)));
}

void ApplyLanguage(Program& program, float lang)
{
    Form2& dialog = program.dialog();
    ModuleState& module = program.module;
    const LanguageIndex language = languageOf(lang);
    MarkActiveLanguage(dialog, language);
    module.Language = static_cast<float>(language);

    const Captions& captions = captionsFor(language);
    const std::string captives = choiceToShow(dialog.ComboP, module.Captives);
    const std::string viewTime = choiceToShow(dialog.ComboT, module.ViewTime);
    dialog.Frame1.Caption = captions.Frame1;
    dialog.Frame2.Caption = captions.Frame2;
    for (size_t k = 0; k < dialog.cmdS.size(); ++k)
        dialog.cmdS[k].Caption = captions.cmdS[k];
    for (size_t k = 0; k < dialog.Label.size(); ++k)
        dialog.Label[k].Caption = captions.Label[k];
    dialog.cmdHELP.Caption = captions.cmdHELP;
    dialog.CmdPRO.Caption = captions.CmdPRO;
    dialog.cmdESC.Caption = captions.cmdESC;
    module.CaptivesPrompt = captions.CaptivesPrompt;
    setEntries(dialog.ComboP, captions.CaptivesEntries);
    module.TimePrompt = captions.TimePrompt;
    setEntries(dialog.ComboT, captions.TimeEntries);
    module.ClockWarning = captions.ClockWarning;
    dialog.LblINFO.Caption = captions.Information;

    ShowChoice(dialog.ComboP, captives, module.CaptivesPrompt);
    ShowChoice(dialog.ComboT, viewTime, module.TimePrompt);
}

} // namespace vortexa
