// Rules by program, class or title: how the section's lines read, what a rule matches,
// and what the panel does with a matching window, once.
#include <gtest/gtest.h>

#include "app/ids.h"
#include "settings/rule_section.h"
#include "tests/fakes/panel_harness.h"

namespace skelvo::testing {
namespace {

using A = RuleAction;
using M = RuleMatch;

TEST(RuleSection, EachKindOfLineReadsAndBadOnesAreSkipped) {
    struct Case {
        const char* line;
        std::optional<WindowRule> rule;
    };
    const Case cases[] = {
        {"pin exe sticky-notes.exe", WindowRule{A::Pin, 0, M::Exe, "sticky-notes.exe"}},
        {"IGNORE Class ConsoleWindowClass", WindowRule{A::Ignore, 0, M::Class, "ConsoleWindowClass"}},
        {"desktop 3 title *- Outlook", WindowRule{A::Desktop, 2, M::Title, "*- Outlook"}},
        {"\tdesktop 12 exe  my  tool.exe \t", WindowRule{A::Desktop, 11, M::Exe, "my  tool.exe"}},
        {"desktop 13 title x", {}}, {"desktop 0 title x", {}}, {"desktop 03 title x", {}},
        {"desktop title x", {}},    {"pin title  ", {}},      {"pin name x", {}},
        {"hide exe a.exe", {}},     {"; pin exe a.exe", {}},  {"", {}},
    };
    for (const Case& c : cases) {
        const std::vector<WindowRule> rules = parseRules(KeptSection{true, {c.line}});
        EXPECT_EQ(rules.size(), c.rule ? 1u : 0u) << c.line;
        if (c.rule && !rules.empty()) {
            EXPECT_EQ(rules[0], *c.rule) << c.line;
        }
    }
}

// Titles and names are compared as text, in UTF-8; classes in the code page, as
// GetClassNameA reads them. A pattern with no such form is dropped.
TEST(RuleSection, PatternsTakeTheFormTheirTextIsReadIn) {
    struct Case {
        bool utf8File;
        std::vector<std::string> lines, patterns;  // a dropped rule has no pattern
    };
    const Case cases[] = {
        {false, {"pin title \x83\x81\x83\x82*", "pin class \x83\x81", "pin title \x80"},
         {utf8(u8"メモ*"), "\x83\x81"}},
        {true, {utf8(u8"pin class メ"), utf8(u8"pin class 한"), utf8(u8"pin exe 한.exe")},
         {"\x83\x81", utf8(u8"한.exe")}},
    };
    FakeShell shell;
    for (const Case& c : cases) {
        std::vector<std::string> patterns;
        for (const WindowRule& r : rulesForWindows(parseRules({true, c.lines}), c.utf8File, shell))
            patterns.push_back(r.pattern);
        EXPECT_EQ(patterns, c.patterns) << c.utf8File;
    }
}

TEST(RuleMatching, WhateverTheCaseWithWildcardsOnlyInTitles) {
    struct Case {
        M match;
        std::string pattern, text;
        bool matches;
    };
    const Case cases[] = {
        {M::Title, "*- Outlook", "Inbox - OUTLOOK", true},
        {M::Title, "*- Outlook", "- Outlook - draft", false},
        {M::Title, "Untitled*", "untitled - Notepad", true},
        {M::Title, "*memo*", "my MEMO pad", true},
        {M::Title, "memo", "memo pad", false},
        {M::Title, "*", "", true},
        {M::Title, utf8(u8"ＡＢ*"), utf8(u8"ａｂ def"), true},
        {M::Title, utf8(u8"café"), utf8(u8"CAFÉ"), true},
        {M::Title, utf8(u8"×"), utf8(u8"÷"), false},
        {M::Exe, "Notepad.EXE", "notepad.exe", true},
        {M::Exe, "notepad*", "notepad.exe", false},
        {M::Class, "consolewindowclass", "ConsoleWindowClass", true},
        {M::Class, "\x83\x41", "\x83\x61", false},  // ア and ャ: a second byte is no letter
    };
    for (const Case& c : cases)
        EXPECT_EQ(ruleMatches(WindowRule{A::Pin, 0, c.match, c.pattern}, c.text), c.matches)
            << c.pattern << " / " << c.text;
}

struct Rules : ::testing::Test {
    PanelHarness h;
    void SetUp() override { h.windows.addAtBottom(captioned("shell")); }
    void start(const std::string& rules) {
        h.files.files["C:\\Skelvo\\KQZ.txt"] = "--- RULES ---\r\n" + rules + "--- R_END ---\r\n";
        h.create();
    }
    void key(unsigned modifiers, unsigned vk, WindowHandle focus = NullWindow) {
        if (focus != NullWindow) h.windows.activate(focus);
        h.send(win::WmHotKey, static_cast<std::uintptr_t>(h.keyboard.press(modifiers, vk).value()));
    }
    int desktopOf(WindowHandle w) const {
        for (const VirtualDesktop& d : h.app->desktops)
            if (d.findEntry(w) || d.owned.holds(w)) return d.index;
        return -1;
    }
};

TEST_F(Rules, ARuleActsTheFirstTimeAWindowMatchesAndNeverAgain) {
    const WindowHandle mail = h.windows.add(captioned("Calendar - Outlook"));
    start(
        "desktop 3 title *- Outlook\r\ndesktop 2 title Calendar*\r\n"
        "pin exe Sticky.exe\r\nignore class ConsoleWindowClass\r\n");
    EXPECT_EQ(desktopOf(mail), 2) << "at start, by the first rule that matches";
    EXPECT_FALSE(h.windows.isVisible(mail));

    const WindowHandle note = h.addWindow("note");
    h.windows.at(note).exe = "STICKY.EXE";
    FakeWindow c = captioned("cmd");
    c.className = "ConsoleWindowClass";
    const WindowHandle console = h.windows.add(c);
    FakeWindow d = captioned("cmd's dialog");
    d.owner = console;
    const WindowHandle dialog = h.windows.add(d);
    const WindowHandle late = h.addWindow("Outlook");
    h.tick(TimerRefresh);
    EXPECT_TRUE(h.app->pins.holds(note));
    EXPECT_EQ(desktopOf(late), 0) << "no match yet";
    h.windows.at(late).title = "Inbox - Outlook";
    h.tick(TimerRefresh);
    EXPECT_EQ(desktopOf(late), 2) << "matching once retitled";

    // The user takes them back: no rule moves them again.
    key(ModControl | ModAlt, VkF1 + 2);
    key(ModControl | ModAlt | ModShift, VkF1, late);
    key(ModControl | ModAlt, VkF1);
    key(ModControl | ModAlt, VkHome, note);
    h.tick(TimerRefresh);
    EXPECT_EQ(desktopOf(late), 0);
    EXPECT_FALSE(h.app->pins.holds(note));
    key(ModControl | ModAlt, VkF1 + 1);
    EXPECT_FALSE(h.windows.isVisible(late) || h.windows.isVisible(note));
    EXPECT_TRUE(h.windows.isVisible(console) && h.windows.isVisible(dialog)) << "never hidden";
    EXPECT_EQ(desktopOf(console), -1) << "never listed, so never drawn";
    EXPECT_EQ(desktopOf(dialog), -1);
    h.host.answers = {win::IdYes};
    h.send(win::WmCommand, CmdHideAllWindows);
    EXPECT_TRUE(h.windows.isVisible(console) && h.windows.isVisible(dialog)) << "not even so";
}

}  // namespace
}  // namespace skelvo::testing
