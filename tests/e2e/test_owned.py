"""A program's dialogs go with it: a fixture window with a modeless owned dialog and one
disabled by its modal dialog are hidden with their program when the panel switches away,
come back above it when it switches back, and quitting shows them all. A parked program
that shows its main window again on another desktop brings its dialog along."""

import harness
from test_rescue import setUpModule, tearDownModule  # openbox, as for the rescue tests

DESKTOP_1 = 40054  # desktop 0
DESKTOP_2 = 40055  # desktop 1
DESKTOP_4 = 40057  # desktop 3
DESKTOP_6 = 40059  # desktop 5
QUIT_CAPTION = "終了確認"
WAIT_S = 30


class OwnedWindows(harness.WineTestCase):
    def open_with_dialogs(self):
        """(owner, dialog) pairs: a modeless dialog, and a modal one that disables its owner."""
        pairs = []
        for title, kind, rect in (("持ち主 A", "dialog", "40,400,300,200"),
                                  ("持ち主 B", "modal", "400,400,300,200")):
            process = self.h.open_windows(title, "--owned", kind, "--rect", rect)
            owner, dialog = (e["hwnd"] for e in process.wait_events("ready", 2))
            pairs.append((owner, dialog))
        skelvo = self.h.start_skelvo()
        self.h.wait_panels(1)
        return skelvo, pairs

    def wait_visible(self, pairs, shown, what):
        hwnds = [h for pair in pairs for h in pair]

        def state():
            found = {w["hwnd"]: w for w in self.h.windows()}
            return all(h in found and found[h]["visible"] == shown for h in hwnds)
        return self.h.wait_for(state, what, timeout=WAIT_S)

    def assert_dialogs_above(self, pairs):
        z = {w["hwnd"]: w["z"] for w in self.h.windows()}
        for owner, dialog in pairs:
            self.assertLess(z[dialog], z[owner], "the dialog above its program")

    def test_dialogs_leave_come_back_above_their_program_and_are_shown_at_quit(self):
        skelvo, pairs = self.open_with_dialogs()
        self.h.post(harness.WM_COMMAND, DESKTOP_6)
        self.wait_visible(pairs, False, "both programs hidden with their dialogs")
        self.h.post(harness.WM_COMMAND, DESKTOP_1)
        self.wait_visible(pairs, True, "both programs back with their dialogs")
        self.assert_dialogs_above(pairs)

        self.h.post(harness.WM_COMMAND, DESKTOP_6)
        self.wait_visible(pairs, False, "parked again")
        self.h.post(harness.WM_CLOSE)
        box = self.h.message_box(owner_class=harness.PANEL_CLASS, press="yes", timeout=WAIT_S)
        self.assertEqual(box["caption_bytes"], harness.cp932(QUIT_CAPTION))
        self.assertEqual(skelvo.wait(WAIT_S), 0)
        self.wait_visible(pairs, True, "every program and dialog shown again")
        self.assert_dialogs_above(pairs)

    def test_a_parked_dialog_comes_along_when_its_program_shows_its_window_elsewhere(self):
        program = self.h.open_windows("持ち主 C", "--owned", "dialog", "--rect", "40,400,300,200")
        pair = tuple(e["hwnd"] for e in program.wait_events("ready", 2))
        skelvo = self.h.start_skelvo()
        (panel,) = self.h.wait_panels(1)
        self.h.post(harness.WM_COMMAND, DESKTOP_2)
        self.wait_visible([pair], False, "parked on desktop 0 with its dialog")
        x, y = panel["client"]
        cell = (x + 52, y + 2, 48, 38)  # desktop 1's cell
        empty = self.h.settled(cell, WAIT_S)

        # Its own show, as a second start or its tray icon makes: the main window alone.
        program.popen.stdin.write(b"show\n")
        program.popen.stdin.flush()
        program.wait_events("shown", 1)
        self.h.wait_for(lambda: self.h.screenshot(*cell).data != empty.data,
                        "desktop 1's cell drawing the window shown again", WAIT_S)
        self.wait_visible([pair], True, "its dialog shown again with it")
        self.assert_dialogs_above([pair])

        # Listed with it on desktop 1: it leaves and quits with it.
        self.h.post(harness.WM_COMMAND, DESKTOP_4)
        self.wait_visible([pair], False, "parked again on desktop 1")
        self.h.post(harness.WM_CLOSE)
        self.h.message_box(QUIT_CAPTION, press="yes", timeout=WAIT_S)
        self.assertEqual(skelvo.wait(WAIT_S), 0)
        self.wait_visible([pair], True, "both shown again after the quit")
        self.assert_dialogs_above([pair])


if __name__ == "__main__":
    harness.main()
