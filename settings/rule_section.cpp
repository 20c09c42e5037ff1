// Reading the rules section.
#include "settings/rule_section.h"

#include "settings/kept_section.h"
#include "ui/shell.h"

namespace skelvo {

namespace {

constexpr std::string_view Blanks = " \t";

// The next word of line from pos on, and pos after it; empty at the end of the line.
std::string_view nextWord(std::string_view line, std::size_t& pos) {
    const std::size_t start = line.find_first_not_of(Blanks, pos);
    if (start == std::string_view::npos) {
        pos = line.size();
        return {};
    }
    const std::size_t end = std::min(line.find_first_of(Blanks, start), line.size());
    pos = end;
    return line.substr(start, end - start);
}

std::optional<WindowRule> parseRule(std::string_view line) {
    WindowRule rule;
    std::size_t pos = 0;
    const std::string_view action = nextWord(line, pos);
    if (isKeyword(action, "pin")) {
        rule.action = RuleAction::Pin;
    } else if (isKeyword(action, "ignore")) {
        rule.action = RuleAction::Ignore;
    } else if (isKeyword(action, "desktop")) {
        rule.action = RuleAction::Desktop;
        const unsigned n = desktopNumber(nextWord(line, pos));
        if (n == 0) return std::nullopt;
        rule.desktop = static_cast<int>(n) - 1;
    } else {
        return std::nullopt;
    }
    const std::string_view match = nextWord(line, pos);
    if (isKeyword(match, "exe")) {
        rule.match = RuleMatch::Exe;
    } else if (isKeyword(match, "class")) {
        rule.match = RuleMatch::Class;
    } else if (isKeyword(match, "title")) {
        rule.match = RuleMatch::Title;
    } else {
        return std::nullopt;
    }
    // The rest of the line, blanks at either end aside: a name or title may hold spaces.
    std::string_view rest = line.substr(pos);
    const std::size_t first = rest.find_first_not_of(Blanks);
    if (first == std::string_view::npos) return std::nullopt;
    rest = rest.substr(first, rest.find_last_not_of(Blanks) - first + 1);
    rule.pattern = rest;
    return rule;
}

}  // namespace

std::vector<WindowRule> parseRules(const KeptSection& section) {
    std::vector<WindowRule> rules;
    for (const std::string& line : section.lines)
        if (std::optional<WindowRule> rule = parseRule(line)) rules.push_back(std::move(*rule));
    return rules;
}

std::vector<WindowRule> rulesForWindows(std::vector<WindowRule> rules, bool utf8File,
                                        Shell& shell) {
    std::vector<WindowRule> out;
    for (WindowRule& rule : rules) {
        const bool wantUtf8 = rule.match != RuleMatch::Class;
        if (wantUtf8 && !utf8File) {
            rule.pattern = shell.toUtf8(rule.pattern);
            if (rule.pattern.empty()) continue;  // bytes that are no text in the code page
        } else if (!wantUtf8 && utf8File) {
            std::optional<std::string> ansi = shell.toAnsi(rule.pattern);
            if (!ansi || ansi->empty()) continue;  // a class the code page cannot name
            rule.pattern = std::move(*ansi);
        }
        out.push_back(std::move(rule));
    }
    return out;
}

}  // namespace skelvo
