"""Rules in KQZ.txt on the real panel: a window opened after the start whose title a
`desktop 3` rule names goes to デスクトップ3 (hidden, drawn in its cell, shown there); a
window of a class an `ignore` rule names stays on screen across a switch and off the map;
the window of a program an `exe` rule pins stays on screen and is drawn in every cell; a
window no rule names (a bad line names it) is switched as ever. The quit writes the
section back line for line, after the hotkey section and in front of the launcher's."""

import os
import tempfile

import harness

DESKTOP_1 = 40054  # "デスクトップ1" is desktop 0
SCREEN = (1024, 768)
WAIT_S = 20
WINDOW_BRUSHES = {(160, 220, 110), (130, 165, 70)}  # the top window's, the others'

RULES = ("--- RULES ---\r\n"
         "# メモの行\r\n"
         "desktop 13 title 規則のない窓\r\n"  # there is no デスクトップ13: skipped
         "pin exe FIXTURE_UNMANAGED.EXE\r\n"
         "ignore class skelvoignored\r\n"
         "desktop 3 title *規則三*\r\n"
         "--- R_END ---\r\n").encode("cp932")
HOTKEYS = b"--- HOTKEYS ---\r\nswitch 3 Ctrl+Alt+F3\r\n--- H_END ---\r\n"
LAUNCHER = b"--- LANCHER ---\r\n--- L_END ---"


class Rules(harness.LauncherTestCase):
    def open(self, title, rect, *options, unmanaged=False):
        return self.h.open_windows(title, "--rect", rect, *options,
                                   unmanaged=unmanaged).windows[0]["hwnd"]

    def wait_shown(self, shown, hidden, what):
        expected = {**{h: True for h in shown}, **{h: False for h in hidden}}
        self.h.wait_for(lambda: {w["hwnd"]: w["visible"] for w in self.h.windows()
                                 if w["hwnd"] in expected} == expected, what, timeout=WAIT_S)

    def drawn(self, panel, wanted):
        """For each (window, desktop) of wanted, whether the window's rectangle is painted
        in that desktop's cell: a window brush at the middle of its place there."""
        image = self.h.screenshot(panel["rect"][0], panel["rect"][1], 236, 157)
        rects = {w["hwnd"]: w["rect"] for w in self.h.windows()}
        found = {}
        for window, desktop in wanted:
            left, top, right, bottom = rects[window]
            x = 50 * (desktop % 4) + 2 + (left + right) // 2 // (SCREEN[0] // 50)
            y = 40 * (desktop // 4) + 2 + (top + bottom) // 2 // (SCREEN[1] // 40)
            found[(window, desktop)] = any(image.pixel(x + dx, y + dy) in WINDOW_BRUSHES
                                           for dx in range(-2, 3) for dy in range(-2, 3))
        return found

    def test_rules_send_pin_and_ignore_windows_and_are_written_back(self):
        folder = tempfile.TemporaryDirectory()
        self.addCleanup(folder.cleanup)
        settings = os.path.join(folder.name, "KQZ.txt")
        with open(settings, "wb") as f:
            f.write(RULES + HOTKEYS + LAUNCHER)
        plain = self.open("規則のない窓", "40,420,300,200")
        ignored = self.open("無視する窓", "500,40,300,150", "--class", "SkelvoIgnored")
        pinned = self.open("どこにでもある窓", "40,40,140,140", unmanaged=True)
        skelvo, panel = self.start_in(folder.name)
        sent = self.open("規則三の窓", "500,420,300,200")
        self.wait_shown([plain, ignored, pinned], [sent], "the new window sent away")

        expected = {(sent, 2): True, (pinned, 2): True, (plain, 2): False,
                    (plain, 0): True, (pinned, 0): True, (ignored, 0): False}
        seen = {}

        def painted():
            seen.update(self.drawn(panel, expected))
            return seen == expected
        harness.poll(painted, WAIT_S, "the map of the rules", describe=lambda: seen)

        self.h.post(harness.WM_COMMAND, DESKTOP_1 + 1)
        self.wait_shown([ignored, pinned], [plain, sent], "デスクトップ2 on screen")
        self.h.post(harness.WM_COMMAND, DESKTOP_1 + 2)
        self.wait_shown([sent, ignored, pinned], [plain], "デスクトップ3 lists the sent window")

        self.quit(skelvo)
        with open(settings, "rb") as f:
            self.assertEqual(f.read(), HOTKEYS + RULES + LAUNCHER)


if __name__ == "__main__":
    harness.main()
