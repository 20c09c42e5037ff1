// Hotkey defaults, grid neighbours and the names of key combinations.
#include "app/hotkey_table.h"

#include <cctype>
#include <vector>

namespace skelvo {

namespace {

constexpr int GridColumns = 4;
constexpr int GridRows = 3;

struct NamedKey {
    const char* name;
    unsigned key;
};

// The keys with a name of their own; letters, digits and F1..F24 are spelt out below.
constexpr NamedKey NamedKeys[] = {
    {"Left", VkLeft}, {"Right", VkRight}, {"Up", VkUp},     {"Down", VkDown},
    {"Home", VkHome},   {"End", 0x23},      {"PageUp", 0x21}, {"PageDown", 0x22},
    {"Insert", 0x2D}, {"Delete", 0x2E},   {"Space", 0x20},
};
constexpr unsigned FunctionKeys = 24;
constexpr unsigned VkNumpad0 = 0x60;

struct NamedModifier {
    const char* name;
    unsigned flag;
};
constexpr NamedModifier Modifiers[] = {
    {"Ctrl", ModControl}, {"Alt", ModAlt}, {"Shift", ModShift}, {"Win", ModWin}};

bool sameWord(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(a[i])) !=
            std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    }
    return true;
}

std::string keyName(unsigned key) {
    for (const NamedKey& k : NamedKeys)
        if (k.key == key) return k.name;
    if (key >= VkF1 && key < VkF1 + FunctionKeys) return "F" + std::to_string(key - VkF1 + 1);
    if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z'))
        return std::string(1, static_cast<char>(key));
    if (key >= VkNumpad0 && key <= VkNumpad0 + 9) return "Num" + std::to_string(key - VkNumpad0);
    return "#" + std::to_string(key);
}

// A decimal number of one or two digits without sign or leading zero, in 1..limit.
std::optional<unsigned> smallNumber(std::string_view digits, unsigned limit) {
    if (digits.empty() || digits.size() > 2 || digits[0] == '0') return std::nullopt;
    unsigned value = 0;
    for (char c : digits) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + static_cast<unsigned>(c - '0');
    }
    if (value < 1 || value > limit) return std::nullopt;
    return value;
}

std::optional<unsigned> parseKey(std::string_view word) {
    for (const NamedKey& k : NamedKeys)
        if (sameWord(word, k.name)) return k.key;
    if (word.size() == 1) {
        const char c = static_cast<char>(std::toupper(static_cast<unsigned char>(word[0])));
        if ((c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z')) return static_cast<unsigned>(c);
        return std::nullopt;
    }
    if (word.size() > 1 && (word[0] == 'F' || word[0] == 'f')) {
        if (const auto n = smallNumber(word.substr(1), FunctionKeys)) return VkF1 + *n - 1;
    }
    if (word.size() == 4 && sameWord(word.substr(0, 3), "Num") && word[3] >= '0' && word[3] <= '9')
        return VkNumpad0 + static_cast<unsigned>(word[3] - '0');
    return std::nullopt;
}

}  // namespace

HotkeyTable defaultHotkeys() {
    HotkeyTable table{};
    for (unsigned i = 0; i < SendFirst - SwitchFirst; ++i) {
        table[SwitchFirst + i] = {ModControl | ModAlt, VkF1 + i};
        table[SendFirst + i] = {ModControl | ModAlt | ModShift, VkF1 + i};
    }
    table[StepFirst + StepLeft] = {ModControl | ModAlt, VkLeft};
    table[StepFirst + StepRight] = {ModControl | ModAlt, VkRight};
    table[StepFirst + StepUp] = {ModControl | ModAlt, VkUp};
    table[StepFirst + StepDown] = {ModControl | ModAlt, VkDown};
    table[PinPlace] = {ModControl | ModAlt, VkHome};
    return table;
}

std::optional<int> neighbourDesktop(int desktop, int step) {
    if (desktop < 0 || desktop >= GridColumns * GridRows) return std::nullopt;
    int column = desktop % GridColumns;
    int row = desktop / GridColumns;
    switch (step) {
    case StepLeft: --column; break;
    case StepRight: ++column; break;
    case StepUp: --row; break;
    case StepDown: ++row; break;
    default: return std::nullopt;
    }
    if (column < 0 || column >= GridColumns || row < 0 || row >= GridRows) return std::nullopt;
    return row * GridColumns + column;
}

std::string comboName(KeyCombo combo) {
    std::string name;
    for (const NamedModifier& m : Modifiers) {
        if ((combo.modifiers & m.flag) != 0) name.append(m.name).append("+");
    }
    return name + keyName(combo.key);
}

std::optional<KeyCombo> parseCombo(std::string_view text) {
    std::vector<std::string_view> words;
    for (std::size_t start = 0;;) {
        const std::size_t plus = text.find('+', start);
        words.push_back(text.substr(start, plus == std::string_view::npos ? plus : plus - start));
        if (plus == std::string_view::npos) break;
        start = plus + 1;
    }
    KeyCombo combo;
    for (std::size_t i = 0; i + 1 < words.size(); ++i) {
        unsigned flag = 0;
        for (const NamedModifier& m : Modifiers)
            if (sameWord(words[i], m.name)) flag = m.flag;
        if (flag == 0 || (combo.modifiers & flag) != 0) return std::nullopt;
        combo.modifiers |= flag;
    }
    const auto key = parseKey(words.back());
    if (!key || (combo.modifiers & (ModControl | ModAlt | ModWin)) == 0) return std::nullopt;
    combo.key = *key;
    return combo;
}

}  // namespace skelvo
