// Reading and writing the sections kept line for line.
#include "settings/kept_section.h"

#include <cctype>

namespace skelvo {

namespace {

constexpr std::string_view LauncherOpen = "--- LANCHER ---";
constexpr std::string_view LineEnd = "\r\n";
constexpr SectionKind Kinds[] = {SectionKind::Hotkeys, SectionKind::Rules};

struct Markers {
    std::string_view open;
    std::string_view close;
};

constexpr Markers markersOf(SectionKind kind) {
    return kind == SectionKind::Hotkeys ? Markers{"--- HOTKEYS ---", "--- H_END ---"}
                                        : Markers{"--- RULES ---", "--- R_END ---"};
}

}  // namespace

KeptSection readKeptSection(std::string_view bytes, SectionKind kind) {
    KeptSection section;
    // Every reader walks the same sections, whichever kind it keeps, so a line belongs to
    // exactly one of them.
    const SectionKind* in = nullptr;
    std::size_t pos = 0;
    while (pos < bytes.size()) {
        const std::size_t lf = bytes.find('\n', pos);
        const std::size_t end = lf == std::string_view::npos ? bytes.size() : lf;
        std::string_view line = bytes.substr(pos, end - pos);
        pos = lf == std::string_view::npos ? bytes.size() : lf + 1;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        bool marker = false;
        for (const SectionKind& k : Kinds) {
            if (line != markersOf(k).open) continue;
            in = &k;
            marker = true;
            if (k == kind) section.present = true;
        }
        if (marker || !in) continue;
        if (line == LauncherOpen || line == markersOf(*in).close) {
            in = nullptr;
        } else if (*in == kind) {
            // Any other line is the user's, a separator of dashes included, and is kept:
            // it cannot close the section when written back.
            section.lines.emplace_back(line);
        }
    }
    return section;
}

std::string formatKeptSection(const KeptSection& section, SectionKind kind) {
    if (!section.present) return {};
    const Markers m = markersOf(kind);
    std::string bytes;
    bytes.append(m.open).append(LineEnd);
    for (const std::string& line : section.lines) bytes.append(line).append(LineEnd);
    bytes.append(m.close).append(LineEnd);
    return bytes;
}

constexpr unsigned DesktopNumbers = 12;

std::vector<std::string_view> splitWords(std::string_view line) {
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

bool isKeyword(std::string_view word, std::string_view keyword) {
    if (word.size() != keyword.size()) return false;
    for (std::size_t i = 0; i < word.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(word[i])) != keyword[i]) return false;
    }
    return true;
}

unsigned desktopNumber(std::string_view word) {
    if (word.empty() || word.size() > 2 || word[0] == '0') return 0;
    unsigned n = 0;
    for (char c : word) {
        if (c < '0' || c > '9') return 0;
        n = n * 10 + static_cast<unsigned>(c - '0');
    }
    return n <= DesktopNumbers ? n : 0;
}

}  // namespace skelvo
