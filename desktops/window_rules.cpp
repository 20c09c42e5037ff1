// Matching windows against the rules and remembering which ones the rules have acted on.
#include "desktops/window_rules.h"

#include <algorithm>

#include "desktops/owned_windows.h"

namespace skelvo {

namespace {

bool isAscii(std::string_view s) {
    return std::all_of(s.begin(), s.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// The text with its letters in lower case. In UTF-8 a byte below 0x80 is always a
// character of its own; in a code page it may be a double-byte character's second byte,
// so only all-ASCII bytes are folded there.
std::string folded(std::string_view s, bool utf8) {
    std::string out(s);
    if (!utf8 && !isAscii(s)) return out;
    for (std::size_t i = 0; i < out.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(out[i]);
        if (c >= 'A' && c <= 'Z') {
            out[i] = static_cast<char>(c + 0x20);
        } else if (utf8 && c == 0xC3 && i + 1 < out.size()) {
            // U+00C0..U+00DE but U+00D7 (the multiplication sign).
            const unsigned char n = static_cast<unsigned char>(out[i + 1]);
            if (n >= 0x80 && n <= 0x9E && n != 0x97) out[i + 1] = static_cast<char>(n + 0x20);
            ++i;
        } else if (utf8 && c == 0xEF && i + 2 < out.size() &&
                   static_cast<unsigned char>(out[i + 1]) == 0xBC) {
            // Full-width A..Z, U+FF21..U+FF3A, to U+FF41..U+FF5A.
            const unsigned char n = static_cast<unsigned char>(out[i + 2]);
            if (n >= 0xA1 && n <= 0xBA) {
                out[i + 1] = static_cast<char>(0xBD);
                out[i + 2] = static_cast<char>(n - 0x20);
            }
            i += 2;
        }
    }
    return out;
}

}  // namespace

bool ruleMatches(const WindowRule& rule, std::string_view text) {
    const bool utf8 = rule.match != RuleMatch::Class;
    std::string pattern = folded(rule.pattern, utf8);
    const std::string t = folded(text, utf8);
    if (rule.match != RuleMatch::Title) return t == pattern;
    const bool anyFront = !pattern.empty() && pattern.front() == '*';
    if (anyFront) pattern.erase(0, 1);
    const bool anyBack = !pattern.empty() && pattern.back() == '*';
    if (anyBack) pattern.pop_back();
    if (anyFront && anyBack) return t.find(pattern) != std::string::npos;
    if (anyFront) return t.ends_with(pattern);
    if (anyBack) return t.starts_with(pattern);
    return t == pattern;
}

bool WindowRules::ignoresChainOf(WindowSystem& windows, WindowHandle window) const {
    if (ignored_.empty()) return false;
    for (int step = 0; step <= OwnerChainLimit && window != NullWindow; ++step) {
        if (std::find(ignored_.begin(), ignored_.end(), window) != ignored_.end()) return true;
        window = windows.relative(window, win::GwOwner);
    }
    return false;
}

std::string_view WindowRules::exeOf(WindowSystem& windows, WindowHandle window) {
    for (const auto& [w, name] : exes_)
        if (w == window) return name;
    return exes_.emplace_back(window, windows.exeName(window)).second;
}

std::string_view WindowRules::classOf(WindowSystem& windows, WindowHandle window) {
    for (const auto& [w, name] : classes_)
        if (w == window) return name;
    char name[256] = {};
    windows.className(window, name, sizeof name);
    name[sizeof name - 1] = '\0';
    return classes_.emplace_back(window, name).second;
}

const WindowRule* WindowRules::judge(WindowSystem& windows, WindowHandle window,
                                     std::string_view title) {
    if (rules_.empty() || std::find(acted_.begin(), acted_.end(), window) != acted_.end() ||
        std::find(ignored_.begin(), ignored_.end(), window) != ignored_.end())
        return nullptr;
    for (const WindowRule& rule : rules_) {
        std::string_view text = title;
        if (rule.match == RuleMatch::Exe) {
            text = exeOf(windows, window);
            // A program whose name cannot be read matches no rule by name.
            if (text.empty()) continue;
        } else if (rule.match == RuleMatch::Class) {
            text = classOf(windows, window);
        }
        if (!ruleMatches(rule, text)) continue;
        (rule.action == RuleAction::Ignore ? ignored_ : acted_).push_back(window);
        return &rule;
    }
    return nullptr;
}

void WindowRules::forgetGone(WindowSystem& windows) {
    if (rules_.empty()) return;
    const auto gone = [&](WindowHandle w) { return !windows.isWindow(w); };
    std::erase_if(acted_, gone);
    std::erase_if(ignored_, gone);
    std::erase_if(exes_, [&](const auto& e) { return gone(e.first); });
    std::erase_if(classes_, [&](const auto& e) { return gone(e.first); });
}

}  // namespace skelvo
