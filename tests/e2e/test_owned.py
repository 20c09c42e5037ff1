"""A program's dialogs go with it: a fixture window with a modeless owned dialog and one
disabled by its modal dialog are hidden with their program when the panel switches away,
come back above it when it switches back, and quitting shows them all."""

import harness
from test_rescue import setUpModule, tearDownModule  # openbox, as for the rescue tests

DESKTOP_1 = 40054  # desktop 0
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


if __name__ == "__main__":
    harness.main()
