#pragma once
// The dialog's texts in Russian and English, and the routine that applies one language.

#include <array>
#include <string>

namespace vortexa {

class ComboList;
class Program;

enum LanguageIndex { Russian = 0, English = 1 };

// Every language-dependent text of the dialog, in the order ApplyLanguage assigns them, and the
// program's own messages about files and the browser.
struct Captions {
    std::string Frame1;
    std::string Frame2;
    std::array<std::string, 3> cmdS;
    std::array<std::string, 3> Label;
    std::string cmdHELP;
    std::string CmdPRO;
    std::string cmdESC;
    std::string CaptivesPrompt;
    std::array<std::string, 2> CaptivesEntries;
    std::string TimePrompt;
    std::array<std::string, 5> TimeEntries;
    std::string ClockWarning;
    std::string Information; // six lines joined by CR LF
    std::string SaveFailed; // followed by the file and the reason
    std::string LinkFailed; // followed by what went wrong
    std::string FileNotRemoved; // followed by the file and the reason
    std::string SharedFileNotUsed; // followed by the file
    std::string OthersFileNotUsed; // followed by the file
};

const Captions& captionsFor(LanguageIndex language);

// The language a stored value names; anything but Russian falls back to English.
LanguageIndex languageOf(float lang);

// Shows the list entry whose number the index text gives, or the prompt when the text names no
// entry of the list.
void ShowChoice(ComboList& list, const std::string& choice, const std::string& prompt);

// Sets every language-dependent text of the dialog, loading the dialog if needed.
void ApplyLanguage(Program& program, float lang);

} // namespace vortexa
