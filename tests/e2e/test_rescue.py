"""No window is lost: with fixture windows parked on three desktops, a crash made from
outside shows them again and ends the panel, a hard kill is repaired by the next start
from the journal, a program whose thread sleeps never holds the panel, and the end of the
session shows every window."""

import glob
import os
import subprocess
import time

import harness

DESKTOP_1 = 40054  # desktop 0
ENTER_TRAY = 40012
TRAY = "Wine System Tray"  # Wine's own tray window while it holds any icon
MINIMISE_ALL_DESKTOPS = 40026
WM_QUERYENDSESSION = 0x0011
WM_ENDSESSION = 0x0016
WAIT_S = 20
# A program that stops answering is waited for once, for one call's limit (250 ms).
ANSWER_MS = 400


def wine_setup(command):
    """Openbox on the shared display for these tests only: with a window manager Wine hides
    a window at once instead of waiting ~2 s for one, which timing needs."""
    setup = os.path.join(os.path.dirname(os.environ["SKELVO_WINE_RUN"]), "wine-setup")
    subprocess.run(["sh", setup, command, os.environ["SKELVO_WINE_STATE"]], check=True,
                   timeout=60, stdout=subprocess.DEVNULL)


def setUpModule():
    wine_setup("wm-start")


def tearDownModule():
    wine_setup("wm-stop")


class Rescue(harness.WineTestCase):
    def visible(self, hwnds):
        found = {w["hwnd"]: w for w in self.h.windows()}
        return {h: found[h]["visible"] for h in hwnds if h in found}

    def wait_visible(self, hwnds, shown, what, timeout=WAIT_S):
        expected = {h: shown for h in hwnds}
        self.h.wait_for(lambda: self.visible(hwnds) == expected, what, timeout=timeout)

    def command(self, identifier):
        self.h.post(harness.WM_COMMAND, identifier)

    def journals(self, pid="*"):
        return glob.glob(os.path.join(self.h.state, "prefix", "drive_c", "users", "*",
                                      "AppData", "Local", "Skelvo", f"journal-{pid}.txt"))

    def park(self, first=None):
        """One window on each of desktops 0, 5 and 2 (besides first, on desktop 0), all
        hidden with desktop 7 on screen. Returns the Skelvo process, its Windows pid and
        the parked windows."""
        parked = [] if first is None else [first]
        parked.append(self.h.open_windows("救出 0", "--rect", "40,420,300,200").windows[0]["hwnd"])
        skelvo = self.h.start_skelvo()
        (panel,) = self.h.wait_panels(1)
        for desktop, title in ((5, "救出 5"), (2, "救出 2"), (7, None)):
            self.command(DESKTOP_1 + desktop)
            self.wait_visible(parked, False, f"desktop {desktop} entered")
            if title:
                parked.append(self.h.open_windows(title, "--rect", "60,440,300,200")
                              .windows[0]["hwnd"])
        return skelvo, panel["pid"], parked

    def timed_command(self, identifier):
        (answer,) = self.h.fixture("timed-send", "--class", harness.PANEL_CLASS, "--title-hex",
                                   harness.cp932(harness.PANEL_TITLE).hex(), "--msg",
                                   str(harness.WM_COMMAND), "--wparam", str(identifier),
                                   "--timeout", "5000")
        self.assertTrue(answer["answered"], f"command {identifier}")
        return answer["ms"]

    def test_a_crash_shows_every_parked_window_and_ends_the_panel(self):
        skelvo, pid, parked = self.park()
        self.h.fixture("crash", "--pid", str(pid))
        started = time.monotonic()
        self.wait_visible(parked, True, "every parked window shown again", timeout=2)
        self.assertNotEqual(skelvo.wait(2 - min(2, time.monotonic() - started) + 0.5), 0)

    def test_after_a_hard_kill_the_next_start_shows_the_parked_windows(self):
        skelvo, pid, parked = self.park()
        self.assertEqual(len(self.journals(pid)), 1, "the running panel keeps a journal")
        self.h.fixture("kill", "--pid", str(pid))
        skelvo.wait(WAIT_S)
        self.assertEqual(self.visible(parked), {h: False for h in parked}, "left hidden")

        self.h.start_skelvo()
        self.h.wait_panels(1)
        self.assertEqual(self.visible(parked), {h: True for h in parked},
                         "shown before the panel")
        self.assertEqual(self.journals(pid), [], "the replayed journal is gone")
        # The new panel found them on screen: desktop 0 lists every one.
        self.command(DESKTOP_1 + 5)
        self.wait_visible(parked, False, "the new panel's desktop 0 left")

    def test_a_sleeping_program_never_holds_the_panel(self):
        sleeper = self.h.open_windows("眠る窓", "--rect", "80,460,300,200")
        hwnd = sleeper.windows[0]["hwnd"]
        skelvo, _, parked = self.park(first=hwnd)
        self.command(DESKTOP_1)
        self.wait_visible(parked[:2], True, "desktop 0 back")
        sleeper.popen.stdin.write(b"sleep 4000\n")
        sleeper.popen.stdin.flush()
        sleeper.wait_events("sleeping", 1)

        times = {"away": self.timed_command(DESKTOP_1 + 5),
                 "back": self.timed_command(DESKTOP_1),
                 "minimise all": self.timed_command(MINIMISE_ALL_DESKTOPS)}
        print(f"answer times (ms): {times}", flush=True)
        for what, ms in times.items():
            self.assertLess(ms, ANSWER_MS, f"{what}: {times}")
        sleeper.wait_events("awake", 1, timeout=WAIT_S)
        self.command(DESKTOP_1 + 5)
        self.wait_visible([hwnd], False, "the woken window leaves with desktop 0")
        self.command(DESKTOP_1)
        self.wait_visible([hwnd], True, "and comes back with it")
        self.assertTrue(skelvo.alive())

    def test_a_parked_window_its_program_shows_again_belongs_to_the_desktop_on_screen(self):
        program = self.h.open_windows("戻る窓", "--rect", "80,460,300,200")
        hwnd = program.windows[0]["hwnd"]
        self.park(first=hwnd)  # parked on desktop 0, desktop 7 on screen
        program.popen.stdin.write(b"show\n")
        program.popen.stdin.flush()
        program.wait_events("shown", 1)
        self.wait_visible([hwnd], True, "shown by its program on desktop 7")
        # Sent and answered: each switch is over before the window is looked at.
        for desktop, shown in ((2, False), (0, False), (7, True), (5, False)):
            self.timed_command(DESKTOP_1 + desktop)
            self.wait_visible([hwnd], shown, f"desktop {desktop} entered")

    def test_the_end_of_the_session_shows_every_parked_window_and_leaves_no_icon(self):
        skelvo, pid, parked = self.park()
        self.command(ENTER_TRAY)
        self.h.wait_for(lambda: self.h.x_windows(TRAY), "the panel's tray icon", WAIT_S)
        self.h.post(WM_QUERYENDSESSION, 0, 1)
        self.h.post(WM_ENDSESSION, 1, 0)
        self.wait_visible(parked, True, "every parked window shown")
        self.h.wait_for(lambda: not self.h.x_windows(TRAY), "no icon left in the tray", WAIT_S)
        self.assertTrue(skelvo.alive(), "the icon went with the session end, not the process")
        self.assertEqual(self.journals(pid), [])


if __name__ == "__main__":
    harness.main()
