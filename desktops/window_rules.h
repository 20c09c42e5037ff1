// Rules by program, window class or title: a window of that kind is pinned to every
// desktop, left alone, or sent to a desktop, once, the first time it is seen to match.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "desktops/window_system.h"

namespace skelvo {

enum class RuleAction : std::uint8_t { Pin, Ignore, Desktop };
enum class RuleMatch : std::uint8_t { Exe, Class, Title };

struct WindowRule {
    RuleAction action = RuleAction::Ignore;
    int desktop = 0;  // Desktop: 0..11
    RuleMatch match = RuleMatch::Title;
    // UTF-8 for an exe or a title; the code page's bytes for a class, as GetClassNameA
    // reads it. A title's may start or end with '*', which stands for any text.
    std::string pattern;
    friend bool operator==(const WindowRule&, const WindowRule&) = default;
};

// Whether text matches pattern whatever the case (of ASCII, Latin-1 and full-width Latin
// letters); a title's pattern with its wildcards.
bool ruleMatches(const WindowRule& rule, std::string_view text);

class WindowRules {
public:
    void assign(std::vector<WindowRule> rules) { rules_ = std::move(rules); }
    bool empty() const { return rules_.empty(); }
    const std::vector<WindowRule>& rules() const { return rules_; }
    // Whether an ignore rule left the window, or a window on its owner chain, alone.
    bool ignoresChainOf(WindowSystem& windows, WindowHandle window) const;
    bool ignoresAny() const { return !ignored_.empty(); }
    // The first rule that matches a window no rule has acted on yet, with its title in
    // UTF-8; null when none does. The rule acts on it once: it is judged never again.
    const WindowRule* judge(WindowSystem& windows, WindowHandle window, std::string_view title);
    // Forgets the windows that have gone: their handles may name other windows later.
    void forgetGone(WindowSystem& windows);

private:
    std::string_view exeOf(WindowSystem& windows, WindowHandle window);
    std::string_view classOf(WindowSystem& windows, WindowHandle window);

    std::vector<WindowRule> rules_;
    std::vector<WindowHandle> acted_;    // judged by a pin or desktop rule
    std::vector<WindowHandle> ignored_;  // judged by an ignore rule
    // What a window keeps for life, read once: its program's name and its class.
    std::vector<std::pair<WindowHandle, std::string>> exes_;
    std::vector<std::pair<WindowHandle, std::string>> classes_;
};

}  // namespace skelvo
