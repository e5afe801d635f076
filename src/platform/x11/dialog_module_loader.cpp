#include "platform/x11/dialog_module_loader.h"

#include <dlfcn.h>

#include <system_error>

namespace vortexa {

namespace {

std::string cannotOpen(const std::string& why) { return "vortexa: the settings dialog cannot open: " + why; }

std::string placesText(const std::vector<std::filesystem::path>& places)
{
    std::string text;
    for (const std::filesystem::path& place : places)
        text += (text.empty() ? "" : ", ") + place.parent_path().string();
    return text;
}

} // namespace

std::vector<std::filesystem::path> dialogModulePlaces(const std::filesystem::path& programFile)
{
    const std::filesystem::path folder = programFile.parent_path();
    return {folder / DialogModuleFileName,
        (folder / VORTEXA_DIALOG_MODULE_FROM_PROGRAM / DialogModuleFileName).lexically_normal()};
}

LoadedDialogModule loadDialogModuleFrom(const std::vector<std::filesystem::path>& places)
{
    for (const std::filesystem::path& place : places) {
        std::error_code error;
        if (!std::filesystem::exists(place, error))
            continue;
        // The toolkit cannot be unloaded cleanly, so the module stays for the program's life.
        void* module = dlopen(place.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (!module)
            return {nullptr, cannotOpen(dlerror())};
        void* entry = dlsym(module, DialogModuleEntryName);
        if (!entry) {
            dlclose(module);
            return {nullptr, cannotOpen(place.string() + " has no entry " + DialogModuleEntryName)};
        }
        return {reinterpret_cast<DialogModuleEntry>(entry), {}};
    }
    return {nullptr,
        cannotOpen(std::string("its module ") + DialogModuleFileName + " is in none of " + placesText(places))};
}

const LoadedDialogModule& loadDialogModule()
{
    static const LoadedDialogModule loaded = [] {
        std::error_code error;
        const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
        if (error)
            return LoadedDialogModule {
                nullptr, cannotOpen("the program's own file is unknown (" + error.message() + ")")};
        return loadDialogModuleFrom(dialogModulePlaces(program));
    }();
    return loaded;
}

DialogModule* openDialogModule(DialogHost& host, std::string& problem)
{
    const LoadedDialogModule& loaded = loadDialogModule();
    if (!loaded.entry) {
        problem = loaded.problem;
        return nullptr;
    }
    return loaded.entry(host);
}

} // namespace vortexa
