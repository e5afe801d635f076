#include "dialog/author_link.h"

#include "dialog/captions.h"
#include "dialog/form2.h"
#include "records/text_file.h"
#include "settings/settings_location.h"
#include "state/program.h"

namespace vortexa {

std::string AuthorPage(float language)
{
    const std::string site = std::string("https://") + AuthorHost;
    if (language == static_cast<float>(Russian))
        return site + "/";
    if (language == static_cast<float>(English))
        return site + "/index-e.htm";
    return {};
}

std::vector<std::string> shortcutLines(const std::string& url) { return {"[InternetShortcut]", "URL=" + url}; }

void Form2::lblLINK_Click()
{
    const std::string page = AuthorPage(m_program.module.Language);
    if (!page.empty())
        DoURL(page);
}

// Writes the shortcut, starts the system's opener with the page and removes the shortcut again.
// The opener here takes the address itself, so a shortcut that cannot be written is reported but
// does not keep the page from opening.
void Form2::DoURL(const std::string& url)
{
    Platform& platform = m_program.platform;
    const Captions& captions = captionsFor(languageOf(m_program.module.Language));
    const std::string& failed = captions.LinkFailed;
    const std::filesystem::path folder = settingsFolders(platform).writing;
    const auto shortcut = folder / ShortcutFileName;

    FileResult written = makeFolderForSaving(folder);
    if (written.ok)
        written = writeTextLines(shortcut, shortcutLines(url));
    if (!written.ok)
        ShowMessage(Caption, failed + written.error);
    const StartResult started = platform.startDetached(platform.urlOpener(), {url});
    if (!started.started)
        ShowMessage(Caption, failed + platform.urlOpener() + ": " + started.error);
    if (written.ok) {
        const FileResult removed = deleteFile(shortcut);
        if (!removed.ok)
            ShowMessage(Caption, captions.FileNotRemoved + removed.error);
    }
}

} // namespace vortexa
