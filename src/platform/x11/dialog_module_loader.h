#pragma once
// Finds the settings dialog's module and loads it: beside the program in the build tree, or where
// it is installed, at the same place relative to the program.

#include <filesystem>
#include <string>
#include <vector>

#include "platform/dialog_module.h"

namespace vortexa {

inline constexpr const char* DialogModuleFileName = "vortexa-dialog.so";

// The module's entry, or nothing and the one line that tells the user what is missing or broken.
struct LoadedDialogModule {
    DialogModuleEntry entry = nullptr;
    std::string problem;
};

// Where the module may lie for a program file, the first place first.
std::vector<std::filesystem::path> dialogModulePlaces(const std::filesystem::path& programFile);

// Loads the module from the first of the places that holds a file.
LoadedDialogModule loadDialogModuleFrom(const std::vector<std::filesystem::path>& places);

// Loads the module of the running program, once: later calls give what the first gave.
const LoadedDialogModule& loadDialogModule();

// The module of the running program made for the host, or nothing with the line for the user in
// `problem`.
DialogModule* openDialogModule(DialogHost& host, std::string& problem);

} // namespace vortexa
