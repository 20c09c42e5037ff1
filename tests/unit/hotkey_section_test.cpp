// The hotkey section of KQZ.txt: what its lines bind, which lines are skipped, and that
// it survives the quit's save in front of an unchanged launcher section.
#include <gtest/gtest.h>

#include "app/hotkeys.h"
#include "app/ids.h"
#include "settings/hotkey_section.h"
#include "tests/fakes/panel_harness.h"

namespace skelvo::testing {
namespace {

constexpr unsigned CtrlAlt = ModControl | ModAlt;
const std::string File = "C:\\Skelvo\\KQZ.txt";
const std::string Launcher = "--- LANCHER ---\r\n0 C:\\Program Files\\a.exe\r\n--- L_END ---";

HotkeyTable tableOf(const std::string& lines) {
    return applyKeySection(readKeySection("--- HOTKEYS ---\r\n" + lines + "--- H_END ---\r\n"));
}

TEST(HotkeySection, LinesRebindUnbindAndSwapInOrderAndBadOnesAreSkipped) {
    HotkeyTable expected = defaultHotkeys();
    expected[SwitchFirst + 2] = {ModWin | ModShift, 'Q'};
    expected[SendFirst + 11] = {};
    expected[StepFirst + StepDown] = {CtrlAlt, 0x22};
    std::swap(expected[SwitchFirst + 0], expected[SwitchFirst + 1]);
    expected[StepFirst + StepUp] = expected[SwitchFirst + 5];
    expected[SwitchFirst + 5] = {};  // the combination left it
    EXPECT_EQ(tableOf("switch 3 shift+WIN+q\r\n"
                      "send 12 none\r\n"
                      "DOWN Ctrl+Alt+PageDown\r\n"
                      "switch 1 Ctrl+Alt+F2\r\n"
                      "switch 2 Ctrl+Alt+F1\r\n"
                      "up alt+CTRL+f6\r\n"
                      "# a comment\r\n\r\n"
                      "switch 13 Ctrl+Alt+F5\r\n"
                      "switch 03 Ctrl+Alt+F5\r\n"
                      "send 4 Shift+F5\r\n"
                      "send 4 Ctrl+Ctrl+F5\r\n"
                      "send 4 Ctrl+Alt+F25\r\n"
                      "send 4 Ctrl+Alt+F5 extra\r\n"
                      "left\r\n"
                      "up Ctrl+Hyper+Up\r\n"
                      "\xff\xfe\x81\r\n"),
              expected);

    HotkeyTable some{};
    some[StepFirst + StepLeft] = {CtrlAlt, VkLeft};
    EXPECT_EQ(tableOf("off\r\nleft Ctrl+Alt+Left\r\n"), some) << "off, then one bound again";
    some[PinPlace] = {CtrlAlt | ModShift, VkHome};
    EXPECT_EQ(tableOf("off\r\nleft Ctrl+Alt+Left\r\nPIN Ctrl+Alt+Shift+Home\r\npin 3 none\r\n"),
              some);
    EXPECT_TRUE(tableOf("pin none\r\n")[PinPlace].empty());
    EXPECT_EQ(defaultHotkeys()[PinPlace], (KeyCombo{CtrlAlt, VkHome}));
    EXPECT_EQ(applyKeySection(readKeySection(Launcher)), defaultHotkeys()) << "no section";
}

// Every line between the markers is the user's and is kept, dashes and all.
TEST(HotkeySection, TheSectionEndsAtItsMarkerOrWhereALauncherSectionBegins) {
    const KeySection s = readKeySection(
        "x\n--- HOTKEYS ---\nleft none\r\n--- DESKTOP ---\n--- H_END ---\nright none\n"
        "--- HOTKEYS ---\n----------\noff\n--- LANCHER ---\n0 C:\\a\n--- L_END ---");
    EXPECT_TRUE(s.present);
    EXPECT_EQ(s.lines,
              (std::vector<std::string>{"left none", "--- DESKTOP ---", "----------", "off"}));
    EXPECT_EQ(formatKeySection(s), "--- HOTKEYS ---\r\nleft none\r\n--- DESKTOP ---\r\n"
                                   "----------\r\noff\r\n--- H_END ---\r\n");
    EXPECT_EQ(readKeySection(formatKeySection(s)).lines, s.lines);
    EXPECT_EQ(formatKeySection(readKeySection(Launcher)), "");
    // An unclosed section ends where the other kind's begins; neither holds the other's
    // lines, nor a marker that would open a section when written back.
    const std::string both =
        "--- HOTKEYS ---\nleft none\n--- RULES ---\npin exe a.exe\n--- H_END ---\n"
        "--- R_END ---\n--- HOTKEYS ---\noff\n--- H_END ---\nx\n--- RULES ---\n--- R_END ---\n";
    EXPECT_EQ(readKeySection(both).lines, (std::vector<std::string>{"left none", "off"}));
    EXPECT_EQ(readKeptSection(both, SectionKind::Rules).lines,
              (std::vector<std::string>{"pin exe a.exe", "--- H_END ---"}));
}

TEST(HotkeySection, TheQuitKeepsTheSectionInFrontOfTheLauncherSectionOrWritesNone) {
    struct Case {
        const char* what;
        std::string file;
        std::size_t registered;
        std::string saved;
    };
    const std::string keys =
        "--- HOTKEYS ---\r\noff\r\n--- mine ---\r\nright Ctrl+Alt+Right\r\n--- H_END ---\r\n";
    const std::string rules =
        "--- RULES ---\r\n; mine\r\ndesktop 3 title *- Outlook\r\npin exe\r\n--- R_END ---\r\n";
    const Case cases[] = {
        {"an old file", Launcher, HotkeyCount, Launcher},
        {"rules, in front of the keys and with a bad line", rules + keys + Launcher, 1,
         keys + rules + Launcher},
        {"rules alone", Launcher + "\r\n" + rules, HotkeyCount, rules + Launcher},
        {"keys turned off, the section after the launcher's",
         "--- LANCHER ---\r\n0 C:\\Program Files\\a.exe\r\n--- L_END ---\r\n"
         "--- HOTKEYS ---\r\noff\r\n--- mine ---\r\nright Ctrl+Alt+Right\r\n--- H_END ---",
         1, keys + Launcher},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        PanelHarness h;
        h.files.files[File] = c.file;
        h.create();
        EXPECT_EQ(h.keyboard.holders.size(), c.registered);
        EXPECT_TRUE(h.app->slots[0].registered);
        h.host.answers = {win::IdYes};
        h.send(win::WmClose);
        EXPECT_EQ(h.files.files[File], c.saved);
    }
}

}  // namespace
}  // namespace skelvo::testing
