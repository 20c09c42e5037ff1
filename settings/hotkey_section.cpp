// Reading, writing and applying the hotkey section of the settings file.
#include "settings/hotkey_section.h"

#include <cctype>

namespace skelvo {

namespace {

constexpr std::string_view KeysOpen = "--- HOTKEYS ---";
constexpr std::string_view KeysClose = "--- H_END ---";
constexpr std::string_view LauncherOpen = "--- LANCHER ---";
constexpr std::string_view LineEnd = "\r\n";
constexpr unsigned DesktopNumbers = 12;

std::vector<std::string_view> words(std::string_view line) {
    std::vector<std::string_view> out;
    std::size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && std::isspace(static_cast<unsigned char>(line[i]))) ++i;
        const std::size_t start = i;
        while (i < line.size() && !std::isspace(static_cast<unsigned char>(line[i]))) ++i;
        if (i > start) out.push_back(line.substr(start, i - start));
    }
    return out;
}

bool isWord(std::string_view word, std::string_view keyword) {
    if (word.size() != keyword.size()) return false;
    for (std::size_t i = 0; i < word.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(word[i])) != keyword[i]) return false;
    }
    return true;
}

// 1..12 without sign or leading zero; 0 otherwise.
unsigned desktopNumber(std::string_view word) {
    if (word.empty() || word.size() > 2 || word[0] == '0') return 0;
    unsigned n = 0;
    for (char c : word) {
        if (c < '0' || c > '9') return 0;
        n = n * 10 + static_cast<unsigned>(c - '0');
    }
    return n <= DesktopNumbers ? n : 0;
}

// The table place a line names, and the words after the name; -1 for no place.
int placeOf(const std::vector<std::string_view>& w, std::size_t& next) {
    constexpr std::string_view Steps[] = {"left", "right", "up", "down"};
    for (int s = 0; s < 4; ++s) {
        if (isWord(w[0], Steps[s])) {
            next = 1;
            return StepFirst + s;
        }
    }
    if (w.size() < 2) return -1;
    const unsigned n = desktopNumber(w[1]);
    if (n == 0) return -1;
    next = 2;
    if (isWord(w[0], "switch")) return SwitchFirst + static_cast<int>(n) - 1;
    if (isWord(w[0], "send")) return SendFirst + static_cast<int>(n) - 1;
    return -1;
}

void applyLine(HotkeyTable& table, std::string_view line) {
    const std::vector<std::string_view> w = words(line);
    if (w.empty()) return;
    if (w.size() == 1 && isWord(w[0], "off")) {
        table.fill(KeyCombo{});
        return;
    }
    std::size_t next = 0;
    const int place = placeOf(w, next);
    if (place < 0 || w.size() != next + 1) return;
    if (isWord(w[next], "none")) {
        table[place] = KeyCombo{};
        return;
    }
    const std::optional<KeyCombo> combo = parseCombo(w[next]);
    if (!combo) return;
    // One combination does one thing: the system would refuse it the second time.
    for (KeyCombo& other : table)
        if (other == *combo) other = KeyCombo{};
    table[place] = *combo;
}

}  // namespace

KeySection readKeySection(std::string_view bytes) {
    KeySection section;
    bool inside = false;
    std::size_t pos = 0;
    while (pos < bytes.size()) {
        const std::size_t lf = bytes.find('\n', pos);
        const std::size_t end = lf == std::string_view::npos ? bytes.size() : lf;
        std::string_view line = bytes.substr(pos, end - pos);
        pos = lf == std::string_view::npos ? bytes.size() : lf + 1;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (!inside) {
            if (line == KeysOpen) inside = section.present = true;
        } else if (line == KeysClose || line == LauncherOpen) {
            inside = false;
        } else {
            // Any other line is the user's, a separator of dashes included, and is kept:
            // it cannot close the section when written back.
            section.lines.emplace_back(line);
        }
    }
    return section;
}

std::string formatKeySection(const KeySection& section) {
    if (!section.present) return {};
    std::string bytes;
    bytes.append(KeysOpen).append(LineEnd);
    for (const std::string& line : section.lines) bytes.append(line).append(LineEnd);
    bytes.append(KeysClose).append(LineEnd);
    return bytes;
}

HotkeyTable applyKeySection(const KeySection& section) {
    HotkeyTable table = defaultHotkeys();
    for (const std::string& line : section.lines) applyLine(table, line);
    return table;
}

}  // namespace skelvo
