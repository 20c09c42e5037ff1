// Reading, writing and applying the hotkey section of the settings file.
#include "settings/hotkey_section.h"

#include <cctype>

namespace skelvo {

namespace {

// The table place a line names, and the words after the name; -1 for no place.
int placeOf(const std::vector<std::string_view>& w, std::size_t& next) {
    constexpr std::string_view Steps[] = {"left", "right", "up", "down"};
    for (int s = 0; s < 4; ++s) {
        if (isKeyword(w[0], Steps[s])) {
            next = 1;
            return StepFirst + s;
        }
    }
    if (isKeyword(w[0], "pin")) {
        next = 1;
        return PinPlace;
    }
    if (w.size() < 2) return -1;
    const unsigned n = desktopNumber(w[1]);
    if (n == 0) return -1;
    next = 2;
    if (isKeyword(w[0], "switch")) return SwitchFirst + static_cast<int>(n) - 1;
    if (isKeyword(w[0], "send")) return SendFirst + static_cast<int>(n) - 1;
    return -1;
}

void applyLine(HotkeyTable& table, std::string_view line) {
    const std::vector<std::string_view> w = splitWords(line);
    if (w.empty()) return;
    if (w.size() == 1 && isKeyword(w[0], "off")) {
        table.fill(KeyCombo{});
        return;
    }
    std::size_t next = 0;
    const int place = placeOf(w, next);
    if (place < 0 || w.size() != next + 1) return;
    if (isKeyword(w[next], "none")) {
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
    return readKeptSection(bytes, SectionKind::Hotkeys);
}

std::string formatKeySection(const KeySection& section) {
    return formatKeptSection(section, SectionKind::Hotkeys);
}

HotkeyTable applyKeySection(const KeySection& section) {
    HotkeyTable table = defaultHotkeys();
    for (const std::string& line : section.lines) applyLine(table, line);
    return table;
}

}  // namespace skelvo
