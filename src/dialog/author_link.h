#pragma once
// The link to the author's web page: its addresses and the shortcut file handed over with it.

#include <string>
#include <vector>

namespace vortexa {

inline constexpr const char* AuthorHost = VORTEXA_AUTHOR_HOST;
inline constexpr const char* ShortcutFileName = "temp.url";

// The page for the Russian interface (0) is the site's start page; the English one (1) has its
// own page. Other values name no page.
std::string AuthorPage(float language);

// The two lines of the Internet Shortcut that names the page.
std::vector<std::string> shortcutLines(const std::string& url);

} // namespace vortexa
