"""Hotkeys on the real panel, typed through X with xdotool: Ctrl+Alt+F-keys switch
desktops, Ctrl+Alt+arrows step across the grid but not past its edge, Ctrl+Alt+Shift+F3
sends the focused window to desktop 3 (a maximised one arrives maximised on the screen),
a combination held by another program is named in one notice while the others work, and
KQZ.txt can turn every key off."""

import os
import subprocess
import tempfile

import harness
from test_rescue import setUpModule, tearDownModule  # openbox, as for the rescue tests

DESKTOP_1 = 40054  # "デスクトップ1" is desktop 0
CTRL_ALT, CTRL_ALT_SHIFT = 3, 7
VK_F1 = 0x70
ARROWS = {"Left": 0x25, "Up": 0x26, "Right": 0x27, "Down": 0x28}
DEFAULTS = ([f"{CTRL_ALT},{VK_F1 + i}" for i in range(12)] +
            [f"{CTRL_ALT_SHIFT},{VK_F1 + i}" for i in range(12)] +
            [f"{CTRL_ALT},{vk}" for vk in ARROWS.values()])
NOTICE_CAPTION = "ホットキー"
NOTICE_TEXT = "次のホットキーは、ほかのプログラムが使っているため登録できませんでした。\n"
PANEL = (200, 200)
SCREEN = (1024, 768)
WAIT_S = 20



class Hotkeys(harness.WineTestCase):
    def setUp(self):
        super().setUp()
        folder = tempfile.TemporaryDirectory()
        self.addCleanup(folder.cleanup)
        self.folder = folder.name

    def open(self, title, rect="40,420,300,200"):
        return self.h.open_windows(title, "--rect", rect).windows[0]["hwnd"]

    def start(self, settings=None):
        if settings is not None:
            with open(os.path.join(self.folder, "KQZ.txt"), "wb") as f:
                f.write(settings)
        self.h.start_skelvo(cwd=self.folder)
        self.h.wait_panels(1)

    def visible(self, hwnds):
        found = {w["hwnd"]: w["visible"] for w in self.h.windows()}
        return {h: found.get(h) for h in hwnds}

    def wait_shown(self, shown, hidden, what):
        expected = {**{h: True for h in shown}, **{h: False for h in hidden}}
        self.h.wait_for(lambda: self.visible(expected) == expected, what, timeout=WAIT_S)

    def key(self, combination):
        code, _ = self.h.xdotool("key", combination)
        self.assertEqual(code, 0, f"xdotool key {combination}")

    def command(self, desktop):
        self.h.post(harness.WM_COMMAND, DESKTOP_1 + desktop)

    def free(self, combos):
        return {r["combo"]: r["free"] for r in self.h.fixture("hotkey", "free", *combos)}

    def test_f_keys_switch_and_the_arrows_step_across_the_grid_but_not_past_its_edge(self):
        home = self.open("ホットキー 0")
        self.start()
        parked = {}
        for desktop in (1, 3, 4, 5, 7):
            self.command(desktop)
            self.wait_shown([], [home, *parked.values()], f"desktop {desktop} entered")
            parked[desktop] = self.open(f"ホットキー {desktop}")
        self.command(0)
        self.wait_shown([home], parked.values(), "back on desktop 0")

        steps = [("ctrl+alt+F2", 1, "Ctrl+Alt+F2 on デスクトップ1"),
                 ("ctrl+alt+Down", 5, "Ctrl+Alt+Down on デスクトップ2"),
                 ("ctrl+alt+Left", 4, "Ctrl+Alt+Left on デスクトップ6"),
                 ("ctrl+alt+Right", 5, "Ctrl+Alt+Right on デスクトップ5"),
                 ("ctrl+alt+F4", 3, "Ctrl+Alt+F4 on デスクトップ6"),
                 # At the right edge nothing happens: the next Down goes from デスクトップ4
                 # to デスクトップ8, not from デスクトップ5 to デスクトップ9.
                 ("ctrl+alt+Right", 3, None),
                 ("ctrl+alt+Down", 7, "Ctrl+Alt+Right then Down on デスクトップ4")]
        everyone = [home, *parked.values()]
        for combination, desktop, what in steps:
            self.key(combination)
            if what:
                shown = parked[desktop]
                self.wait_shown([shown], [h for h in everyone if h != shown], what)

    def test_ctrl_alt_shift_f3_sends_the_focused_window_to_desktop_3(self):
        stays = self.open("送らない窓", "40,420,300,200")
        sent = self.open("送る窓", "500,420,300,200")
        self.start()
        cell = (PANEL[0] + 102, PANEL[1] + 2, 48, 38)  # desktop 2's cell
        before = self.h.settled(cell, WAIT_S)
        self.h.click(650, 520)  # focuses the window to send
        self.key("ctrl+alt+shift+F3")
        self.wait_shown([stays], [sent], "the focused window sent away")
        self.h.wait_for(lambda: self.h.screenshot(*cell).data != before.data,
                        "desktop 3's cell draws the window", timeout=WAIT_S)
        self.command(2)
        self.wait_shown([sent], [stays], "desktop 3 lists it")

    def test_a_maximised_window_sent_with_ctrl_alt_shift_f2_is_maximised_on_the_screen(self):
        sent = self.h.open_windows("最大化して送る窓", "--state", "max").windows[0]["hwnd"]
        self.start()
        self.h.wait_for(lambda: self.h.window(sent)["visible"], "the maximised window shown")
        before = self.h.window(sent)["rect"]
        self.h.click(650, 520)  # focuses it, away from the panel
        self.key("ctrl+alt+shift+F2")
        self.wait_shown([], [sent], "the maximised window sent away")
        self.command(1)
        self.wait_shown([sent], [], "desktop 2 lists it")
        after = self.h.window(sent)
        print(f"maximised at {before}, back at {after['rect']}", flush=True)
        self.assertTrue(after["maximised"])
        left, top, right, bottom = after["rect"]
        self.assertTrue(left <= 0 and top <= 0 and right >= SCREEN[0] and bottom >= SCREEN[1],
                        f"covering the screen, as before the send: {after['rect']}")

    def test_a_combination_held_elsewhere_is_named_once_and_the_others_work(self):
        holder = self.h.start(self.h.fixture_exe, "hotkey", "hold", f"{CTRL_ALT},{VK_F1 + 1}",
                              name="holder", stdin=subprocess.PIPE)
        self.h.wait_for(lambda: self.free([f"{CTRL_ALT},{VK_F1 + 1}"]) == {
            f"{CTRL_ALT},{VK_F1 + 1}": False}, "the fixture holds Ctrl+Alt+F2")
        home = self.open("ホットキー 0")
        self.start()
        box = self.h.message_box(NOTICE_CAPTION, press="ok")
        self.assertEqual(box["text_bytes"], harness.cp932(NOTICE_TEXT + "Ctrl+Alt+F2"))
        self.assertEqual(self.free(DEFAULTS), {c: False for c in DEFAULTS})
        self.h.click(150, 500)  # focuses the window on desktop 0
        self.key("ctrl+alt+F3")
        self.wait_shown([], [home], "Ctrl+Alt+F3 still switches")
        self.assertTrue(holder.alive())

    def test_keys_turned_off_in_kqz_txt_register_none(self):
        self.start(b"--- HOTKEYS ---\r\noff\r\n--- H_END ---\r\n"
                   b"--- LANCHER ---\r\n--- L_END ---")
        self.assertEqual(self.free(DEFAULTS), {c: True for c in DEFAULTS})


if __name__ == "__main__":
    harness.main()
