// Converting a long path part by part, falling back on short names.
#include "launcher/slot_path.h"

#include <vector>

namespace skelvo {

namespace {

// UTF-8 holds no backslash inside a character, so the parts split cleanly.
std::vector<std::string> partsOf(const std::string& path) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (std::size_t at = path.find('\\'); at != std::string::npos; at = path.find('\\', start)) {
        parts.push_back(path.substr(start, at - start));
        start = at + 1;
    }
    parts.push_back(path.substr(start));
    return parts;
}

}  // namespace

std::optional<std::string> ansiPathFor(Shell& shell, const std::string& utf8) {
    if (std::optional<std::string> exact = shell.toAnsi(utf8)) return exact;
    const std::string shortened = shell.shortPath(utf8);
    if (shortened.empty()) return std::nullopt;
    const std::vector<std::string> longParts = partsOf(utf8);
    const std::vector<std::string> shortParts = partsOf(shortened);
    // The system shortens part for part; anything else is taken whole or not at all.
    if (longParts.size() != shortParts.size()) return shell.toAnsi(shortened);
    std::string ansi;
    for (std::size_t i = 0; i < longParts.size(); ++i) {
        // A part that fits keeps its long name, so the path reads as the user named it.
        std::optional<std::string> part = shell.toAnsi(longParts[i]);
        if (!part) part = shell.toAnsi(shortParts[i]);
        if (!part) return std::nullopt;
        if (i > 0) ansi += '\\';
        ansi += *part;
    }
    return ansi;
}

}  // namespace skelvo
