"""Desktop switching through the real panel's menu commands, sent as WM_COMMAND: desktop
0's windows leave and come back each in its state, a window opened while desktop 5 is
shown belongs to desktop 5, and quitting shows every parked window again.

Hiding another program's window can hold the panel for about 2 s under Wine without a
window manager (see test_pointer.py), so every wait polls the windows' state."""

import harness

DESKTOP_1 = 40054  # "デスクトップ1" is desktop 0
DESKTOP_4 = 40057
DESKTOP_6 = 40059  # desktop 5
QUIT_CAPTION = "終了確認"
WAIT_S = 40


class DesktopCommands(harness.WineTestCase):
    def open(self, title, *options):
        return self.h.open_windows(title, "--rect", "40,420,300,200", *options).windows[0]["hwnd"]

    def state(self, hwnds):
        """(visible, minimised, maximised) of each window, by handle."""
        found = {w["hwnd"]: w for w in self.h.windows()}
        return {h: (found[h]["visible"], found[h]["minimised"], found[h]["maximised"])
                for h in hwnds if h in found}

    def wait_states(self, expected, what):
        """Polls until every window of expected has its (visible, minimised, maximised)."""
        return self.h.wait_for(lambda: self.state(expected) == expected, what, timeout=WAIT_S)

    def command(self, identifier):
        self.h.post(harness.WM_COMMAND, identifier)

    def start_with_three_states(self):
        normal = self.open("デスクトップ試験 通常")
        minimised = self.open("デスクトップ試験 最小化", "--state", "min")
        maximised = self.open("デスクトップ試験 最大化", "--state", "max")
        on_screen = {normal: (True, False, False), minimised: (True, True, False),
                     maximised: (True, False, True)}
        self.assertEqual(self.state(on_screen), on_screen)
        skelvo = self.h.start_skelvo()
        self.h.wait_panels(1)
        return skelvo, on_screen

    @staticmethod
    def hidden(states):
        return {h: (False,) + s[1:] for h, s in states.items()}

    def test_desktop_6_hides_desktop_0_and_desktop_1_brings_each_state_back(self):
        _, on_screen = self.start_with_three_states()

        self.command(DESKTOP_6)
        self.wait_states(self.hidden(on_screen), "desktop 0's windows hidden")
        (panel,) = self.h.wait_panels(1)
        self.assertTrue(panel["visible"], "the panel stays on screen")

        self.command(DESKTOP_1)
        self.wait_states(on_screen, "desktop 0's windows shown, each in its state")
        (panel,) = self.h.wait_panels(1)
        self.assertTrue(panel["visible"])

    def test_a_window_opened_on_desktop_6_leaves_and_returns_with_it(self):
        _, on_screen = self.start_with_three_states()
        self.command(DESKTOP_6)
        self.wait_states(self.hidden(on_screen), "desktop 0's windows hidden")

        later = self.open("デスクトップ6で開いた窓")
        self.wait_states({later: (True, False, False)}, "the new window on screen")
        # No refresh is needed: the switch itself captures desktop 5 first.
        self.command(DESKTOP_1)
        self.wait_states({**on_screen, later: (False, False, False)},
                         "desktop 0 back and the new window hidden")

        self.command(DESKTOP_6)
        self.wait_states({**self.hidden(on_screen), later: (True, False, False)},
                         "the new window back with desktop 5")

    def test_quitting_shows_every_parked_window_again(self):
        skelvo, on_screen = self.start_with_three_states()
        self.command(DESKTOP_6)
        self.wait_states(self.hidden(on_screen), "desktop 0's windows hidden")
        later = self.open("デスクトップ6で開いた窓")
        self.command(DESKTOP_4)
        self.wait_states({later: (False, False, False)}, "desktop 5's window hidden")

        self.h.post(harness.WM_CLOSE)
        box = self.h.message_box(owner_class=harness.PANEL_CLASS, press="yes", timeout=WAIT_S)
        self.assertEqual(box["caption_bytes"], harness.cp932(QUIT_CAPTION))
        self.assertEqual(skelvo.wait(WAIT_S), 0)
        self.wait_states({**on_screen, later: (True, False, False)},
                         "every window shown again in its state")


if __name__ == "__main__":
    harness.main()
