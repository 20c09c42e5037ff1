// The keyboard's hotkeys as data: the key combinations, their names as the settings file
// and the notice spell them, and the table of what each hotkey does, with its defaults.
// Portable and free of I/O.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace skelvo {

// RegisterHotKey's modifier flags.
inline constexpr unsigned ModAlt = 0x1;
inline constexpr unsigned ModControl = 0x2;
inline constexpr unsigned ModShift = 0x4;
inline constexpr unsigned ModWin = 0x8;
// Held down, the key acts once: the system sends no WM_HOTKEY for its auto-repeat.
inline constexpr unsigned ModNoRepeat = 0x4000;

// Virtual-key codes the defaults use.
inline constexpr unsigned VkHome = 0x24;
inline constexpr unsigned VkLeft = 0x25;
inline constexpr unsigned VkUp = 0x26;
inline constexpr unsigned VkRight = 0x27;
inline constexpr unsigned VkDown = 0x28;
inline constexpr unsigned VkF1 = 0x70;

// A modifier set and one virtual key; key 0 is no combination at all.
struct KeyCombo {
    unsigned modifiers = 0;
    unsigned key = 0;
    bool empty() const { return key == 0; }
    friend bool operator==(const KeyCombo&, const KeyCombo&) = default;
};

// What each hotkey does, by its place in the table: switch to desktop i, send the
// foreground window to desktop i, step to the neighbouring cell of the 4x3 grid, or pin
// the foreground window to every desktop and unpin it.
inline constexpr int SwitchFirst = 0;
inline constexpr int SendFirst = 12;
inline constexpr int StepFirst = 24;
inline constexpr int PinPlace = 28;
inline constexpr int HotkeyCount = 29;
enum Step : int { StepLeft = 0, StepRight = 1, StepUp = 2, StepDown = 3 };

using HotkeyTable = std::array<KeyCombo, HotkeyCount>;

// Ctrl+Alt+F1..F12 switch, Ctrl+Alt+Shift+F1..F12 send, Ctrl+Alt+arrows step,
// Ctrl+Alt+Home pins (not a letter: Ctrl+Alt is AltGr on many layouts).
HotkeyTable defaultHotkeys();

// The desktop beside desktop in the grid (columns desktop mod 4, rows desktop div 4);
// nullopt at the edge.
std::optional<int> neighbourDesktop(int desktop, int step);

// "Ctrl+Alt+Shift+F3": the modifiers in the order Ctrl, Alt, Shift, Win, then the key.
std::string comboName(KeyCombo combo);
// The inverse of comboName, case-insensitive, modifiers in any order, each at most once.
// A combination needs Ctrl, Alt or Win: without them it would take a key from typing.
std::optional<KeyCombo> parseCombo(std::string_view text);

}  // namespace skelvo
