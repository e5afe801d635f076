#pragma once
// The program keeps its texts in UTF-8; the system's wide calls take and give UTF-16.

#include <string>
#include <string_view>

namespace vortexa {

std::wstring wideText(std::string_view utf8);
std::string utf8Text(std::wstring_view wide);

} // namespace vortexa
