#pragma once
// The dialog's texts in Russian and English, and the routine that applies one language.

#include <array>
#include <string>

namespace vortexa {

class Program;

enum LanguageIndex { Russian = 0, English = 1 };

struct Captions {
    std::string CaptivesPrompt;
    std::array<std::string, 2> CaptivesEntries;
    std::string TimePrompt;
    std::array<std::string, 5> TimeEntries;
    std::string ClockWarning;
};

class ComboList;

// Shows the list entry whose number the index text gives, or the prompt when the text names no
// entry of the list.
void ShowChoice(ComboList& list, const std::string& choice, const std::string& prompt);

const Captions& captionsFor(LanguageIndex language);

// Sets every language-dependent text of the dialog, loading the dialog if needed. A language
// other than Russian or English falls back to English.
void ApplyLanguage(Program& program, float lang);

} // namespace vortexa
