#include "settings/xscreensaver_file.h"

#include <algorithm>
#include <optional>
#include <utility>
#include <vector>

namespace vortexa {

namespace {

constexpr std::string_view Blanks = " \t";
constexpr std::string_view EntrySeparator = "\\n";
constexpr std::string_view SaverName = "\"Vortexa\"";
// Lines of the list are indented as the daemon's own are.
constexpr std::string_view EntryIndent = "\t\t\t\t";
constexpr std::string_view FreshFileHeader
    = "# XScreenSaver's settings. The list of screen savers below is the daemon's own, with Vortexa\n"
      "# added by \"vortexa --add-to-xscreensaver\"; every other setting keeps the daemon's default.\n\n";

// One line of a text: [begin, end) without its line end; next is where the following line begins.
struct Line {
    size_t begin = 0, end = 0, next = 0;
};

std::vector<Line> linesOf(std::string_view text)
{
    std::vector<Line> lines;
    for (size_t begin = 0; begin < text.size();) {
        const size_t newline = text.find('\n', begin);
        const size_t end = newline == std::string_view::npos ? text.size() : newline;
        lines.push_back({begin, end, newline == std::string_view::npos ? end : end + 1});
        begin = lines.back().next;
    }
    return lines;
}

std::string_view textOf(std::string_view text, const Line& line)
{
    return text.substr(line.begin, line.end - line.begin);
}

std::string_view trimmedLeft(std::string_view text)
{
    const size_t first = text.find_first_not_of(Blanks);
    return first == std::string_view::npos ? std::string_view() : text.substr(first);
}

std::string_view trimmed(std::string_view text)
{
    text = trimmedLeft(text);
    return text.substr(0, text.find_last_not_of(Blanks) + 1);
}

bool continues(std::string_view line) { return line.ends_with('\\'); }

bool startsWithIgnoringCase(std::string_view text, std::string_view prefix)
{
    return text.size() >= prefix.size() && std::equal(prefix.begin(), prefix.end(), text.begin(), [](char a, char b) {
        const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
        return lower(a) == lower(b);
    });
}

// Where the value of the list begins in a line that names the resource ("programs:",
// "*programs:" or "XScreenSaver.programs:"); nothing for any other line.
std::optional<size_t> listValueIn(std::string_view line)
{
    const std::string_view content = trimmedLeft(line);
    if (content.empty() || content.front() == '#' || content.front() == '!')
        return std::nullopt;
    const size_t colon = content.find(':');
    if (colon == std::string_view::npos)
        return std::nullopt;
    std::string_view name = trimmed(content.substr(0, colon));
    if (name.starts_with('*'))
        name.remove_prefix(1);
    constexpr std::string_view Class = "xscreensaver.";
    if (startsWithIgnoringCase(name, Class))
        name.remove_prefix(Class.size());
    if (name != "programs")
        return std::nullopt;
    return line.size() - content.size() + colon + 1;
}

// The lines of the file's list, the last one of the file when it names the list more than once.
struct ListLines {
    size_t first = 0, last = 0; // indexes into the lines
    size_t valueBegin = 0; // offset in the text of the value on the first line
};

std::optional<ListLines> findList(std::string_view text, const std::vector<Line>& lines)
{
    std::optional<ListLines> found;
    for (size_t k = 0; k < lines.size(); ++k) {
        const std::optional<size_t> value = listValueIn(textOf(text, lines[k]));
        size_t last = k;
        while (last + 1 < lines.size() && continues(textOf(text, lines[last])))
            ++last;
        if (value)
            found = ListLines {k, last, lines[k].begin + *value};
        k = last;
    }
    return found;
}

// The list's value with its lines joined, their continuing backslashes taken out (also one that
// ends the file).
std::string joinedValue(std::string_view text, const std::vector<Line>& lines, const ListLines& list)
{
    std::string value;
    for (size_t k = list.first; k <= list.last; ++k) {
        const size_t begin = k == list.first ? list.valueBegin : lines[k].begin;
        std::string_view part = text.substr(begin, lines[k].end - begin);
        if (continues(part))
            part.remove_suffix(1);
        value += part;
    }
    return value;
}

std::vector<std::string_view> entriesOf(std::string_view value)
{
    std::vector<std::string_view> entries;
    for (size_t begin = 0; begin <= value.size();) {
        const size_t separator = std::min(value.find(EntrySeparator, begin), value.size());
        if (const std::string_view entry = trimmed(value.substr(begin, separator - begin)); !entry.empty())
            entries.push_back(entry);
        begin = separator + EntrySeparator.size();
    }
    return entries;
}

std::string_view fileNameOf(std::string_view path) { return path.substr(path.find_last_of('/') + 1); }

// The file name of the program an entry runs: [-] [VISUAL:] ["NAME"] COMMAND.
std::string_view programOf(std::string_view entry)
{
    if (entry.starts_with('-'))
        entry = trimmedLeft(entry.substr(1));
    const std::string_view firstWord = entry.substr(0, entry.find_first_of(Blanks));
    if (firstWord.ends_with(':'))
        entry = trimmedLeft(entry.substr(firstWord.size()));
    if (entry.starts_with('"')) {
        const size_t close = entry.find('"', 1);
        entry = close == std::string_view::npos ? std::string_view() : trimmedLeft(entry.substr(close + 1));
    }
    return fileNameOf(entry.substr(0, entry.find_first_of(Blanks)));
}

std::string entryLine(std::string_view programPath)
{
    return std::string(EntryIndent) + std::string(SaverName) + "  " + std::string(programPath) + " "
        + std::string(DaemonSaverSwitches) + "  " + std::string(EntrySeparator);
}

// The text with the entry added as the list's last saver. The list ends at its first line that does
// not continue; a blank such line (as the daemon's settings window writes it) stays the end, and a
// line with savers on it continues to the new one.
std::string withEntryAppended(std::string_view text, const std::vector<Line>& lines, const ListLines& list,
    bool valueEnded, std::string_view entry)
{
    const bool blankEnd = list.last > list.first && trimmed(textOf(text, lines[list.last])).empty();
    const size_t contentLine = blankEnd ? list.last - 1 : list.last;
    const Line& line = lines[contentLine];
    const std::string separator = valueEnded ? "" : std::string(EntrySeparator);
    std::string result(text);
    if (continues(textOf(text, line))) {
        // A file that ends inside the list gets the line end its last line lacked.
        const std::string lineEnd = line.next == line.end ? "\n" : "";
        result.insert(line.next, lineEnd + separator + std::string(entry) + (blankEnd ? "\\\n" : "\n"));
    } else {
        result.insert(line.end, (valueEnded ? "" : " ") + separator + "\\\n" + std::string(entry));
    }
    return result;
}

// The text of a file that has no list, with the daemon's list appended: its lines as the defaults
// file has them, under the name the user's file gives it.
std::optional<std::string> withDefaultList(std::string_view userFile, std::string_view defaultsFile)
{
    const std::vector<Line> lines = linesOf(defaultsFile);
    const std::optional<ListLines> list = findList(defaultsFile, lines);
    if (!list)
        return std::nullopt;
    std::string text(userFile.empty() ? FreshFileHeader : userFile);
    if (!userFile.empty())
        text += userFile.ends_with('\n') ? "\n" : "\n\n";
    text += "programs:";
    for (size_t k = list->first; k <= list->last; ++k) {
        const size_t begin = k == list->first ? list->valueBegin : lines[k].begin;
        text += std::string(defaultsFile.substr(begin, lines[k].end - begin)) + "\n";
    }
    return text;
}

} // namespace

bool fitsDaemonCommand(std::string_view programPath)
{
    const auto plain = [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')
            || std::string_view("/._+,-@%=").find(c) != std::string_view::npos || static_cast<unsigned char>(c) >= 0x80;
    };
    return programPath.starts_with('/') && std::all_of(programPath.begin(), programPath.end(), plain);
}

SaverListChange addToSaverList(std::string_view userFile, std::string_view defaultsFile, std::string_view programPath)
{
    const std::vector<Line> lines = linesOf(userFile);
    const std::optional<ListLines> list = findList(userFile, lines);
    if (!list) {
        const std::optional<std::string> withList = withDefaultList(userFile, defaultsFile);
        if (!withList)
            return {};
        SaverListChange change = addToSaverList(*withList, {}, programPath);
        change.listFromDefaults = true;
        return change;
    }
    const std::string value = joinedValue(userFile, lines, *list);
    const std::vector<std::string_view> entries = entriesOf(value);
    const std::string_view program = fileNameOf(programPath);
    for (size_t k = 0; k < entries.size(); ++k)
        if (programOf(entries[k]) == program)
            return {SaverListChange::AlreadyListed, {}, static_cast<int>(k) + 1, static_cast<int>(entries.size())};
    const std::string_view shown = trimmed(value);
    const bool valueEnded = shown.empty() || shown.ends_with(EntrySeparator);
    const int count = static_cast<int>(entries.size()) + 1;
    std::string text = withEntryAppended(userFile, lines, *list, valueEnded, entryLine(programPath));
    return {SaverListChange::Added, std::move(text), count, count};
}

} // namespace vortexa
