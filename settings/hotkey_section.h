// The hotkey section of KQZ.txt: its lines as the user wrote them, kept to be written back
// in front of the launcher section, and the hotkey table they make. A reader of the
// launcher section alone skips every line of it.
//
//   --- HOTKEYS ---
//   off                      every hotkey unbound (later lines may bind some again)
//   switch 3 Ctrl+Alt+F3     switch to デスクトップ3 (1..12, as the menus number them)
//   send 3 Ctrl+Alt+Shift+F3 send the foreground window there
//   left Ctrl+Alt+Left       also right, up and down: the neighbouring cell
//   pin Ctrl+Alt+Home        pin the foreground window to every desktop, or unpin it
//   send 12 none             that hotkey unbound
//   --- H_END ---
//
// Lines apply in order to the defaults; a combination that a later line binds leaves the
// hotkey that had it. Any other line (a comment, a typo) is skipped.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "app/hotkey_table.h"
#include "settings/kept_section.h"

namespace skelvo {

using KeySection = KeptSection;

// Every hotkey section of the file, one after the other.
KeySection readKeySection(std::string_view fileBytes);
// The section to write in front of the launcher section; empty when the file had none.
std::string formatKeySection(const KeySection& section);
// The defaults with the section's lines applied.
HotkeyTable applyKeySection(const KeySection& section);

}  // namespace skelvo
