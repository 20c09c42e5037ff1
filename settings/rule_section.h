// The rules section of KQZ.txt, kept line for line as the hotkey section is:
//
//   --- RULES ---
//   pin exe sticky-notes.exe          on every desktop
//   ignore class ConsoleWindowClass   never hidden, never drawn, never listed
//   desktop 3 title *- Outlook        sent to デスクトップ3 (1..12) when first seen
//   --- R_END ---
//
// A rule matches by exe (the program's file name), class or title: the rest of the line,
// whatever its case; a title's may start or end with '*' for any text. The first rule
// that matches holds. Any other line (a comment, a typo) is skipped.
#pragma once

#include <vector>

#include "desktops/window_rules.h"
#include "settings/kept_section.h"

namespace skelvo {

class Shell;

// The section's rules with their patterns as the file has them.
std::vector<WindowRule> parseRules(const KeptSection& section);
// The rules with each pattern in the form a window's text is compared in: names and titles
// in UTF-8, classes in the code page. A rule whose pattern has no such form is dropped.
std::vector<WindowRule> rulesForWindows(std::vector<WindowRule> rules, bool utf8File,
                                        Shell& shell);

}  // namespace skelvo
