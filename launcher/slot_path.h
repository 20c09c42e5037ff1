// The path a slot keeps for a file named in UTF-8 (a drop, the dialog, a settings file
// in UTF-8). Slots and the settings file hold paths in the system's ANSI code page; a name
// that the code page cannot hold is never kept as "?" or as a look-alike, which would open
// another file or none.
#pragma once

#include <optional>
#include <string>

#include "ui/shell.h"

namespace skelvo {

// The path in the ANSI code page: exactly, when every character has its form there;
// otherwise with each part that does not fit replaced by its 8.3 name, when the volume
// gives it one that does. nullopt when neither works.
std::optional<std::string> ansiPathFor(Shell& shell, const std::string& utf8);

}  // namespace skelvo
