// The sections of KQZ.txt that are kept line for line as the user wrote them: the hotkeys
// and the rules. Each runs from its opening marker to its closing one; the next section's
// opening marker, or the launcher section's, ends it too, so an unclosed section never
// swallows another. A reader of the launcher section alone skips all their lines, since
// none lies inside a launcher section.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace skelvo {

enum class SectionKind { Hotkeys, Rules };

struct KeptSection {
    bool present = false;            // the file had one, even an empty one
    std::vector<std::string> lines;  // without line ends and without marker lines
};

// Every section of the kind in the file, one after the other.
KeptSection readKeptSection(std::string_view fileBytes, SectionKind kind);
// The section to write in front of the launcher section; empty when the file had none.
std::string formatKeptSection(const KeptSection& section, SectionKind kind);

// The words of a line, split at blanks.
std::vector<std::string_view> splitWords(std::string_view line);
// Whether word is the keyword, whatever its case; keyword is in lower case.
bool isKeyword(std::string_view word, std::string_view keyword);
// A desktop as the menus number it, 1..12, without sign or leading zero; 0 otherwise.
unsigned desktopNumber(std::string_view word);

}  // namespace skelvo
