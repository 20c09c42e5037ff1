"""Names that code page 932 cannot hold, on the real panel: another program's title is
shown whole in the tooltip, a file dropped with such a name is registered under a path
that opens it, Skelvo started in such a folder loads and saves
its registrations, and a launch that fails says why once while the panel goes on."""

import os
import shutil
import tempfile

import harness
import x11
from harness import WM_COMMAND, cp932

SWITCH_FUNCTION = 40066
LAUNCHER_1 = 40042
NOTEPAD = b"C:\\windows\\notepad.exe"
OPEN = b"--- LANCHER ---\r\n"
CLOSE = b"--- L_END ---"


class Names(harness.LauncherTestCase):
    def setUp(self):
        super().setUp()
        self.base = tempfile.mkdtemp(prefix="skelvo-names-")
        self.addCleanup(shutil.rmtree, self.base, True)
        self.addCleanup(self.close_notepads)

    def settings(self, folder):
        return os.path.join(folder, "KQZ.txt")

    def launches_notepad(self, command):
        self.h.post(WM_COMMAND, command)
        self.h.wait_for(lambda: len(self.notepads()) == 1, "one Notepad window")
        self.close_notepads()

    def test_title_outside_the_code_page_in_the_tooltip(self):
        title = "😀 emoji 한국어 café"
        (window,) = self.h.open_windows("ascii", "--rect", "520,420,400,280",
                                        "--title-utf8-hex", title.encode().hex()).windows
        skelvo, panel = self.start_in(self.base)
        left, top, right, bottom = self.h.window(window["hwnd"])["rect"]
        # The middle of the window's rectangle in desktop 0's cell, on a 1024x768 screen.
        x = panel["rect"][0] + int((left + right) / 2 / (1024 / 50)) + 2
        y = panel["rect"][1] + int((top + bottom) / 2 / (768 / 40)) + 2
        seen = {}

        def shows():
            seen["tips"] = [t for t in self.h.fixture("tooltip") if t["visible"]]
            return any(bytes.fromhex(t["text_utf8_hex"]) == title.encode() for t in seen["tips"])
        # A tip comes up only on an arrival from off the panel.
        for attempt in range(4):
            self.h.xdotool("mousemove", "1010", "750", "sleep", "0.3")
            self.h.xdotool("mousemove", str(x - 3), str(y - 3), "mousemove", "--sync", str(x),
                           str(y))
            try:
                harness.poll(shows, 4, f"the tip {title!r}", describe=lambda: seen)
                break
            except AssertionError:
                if attempt == 3:
                    raise
        self.h.xdotool("mousemove", "1010", "750")
        self.quit(skelvo)

    def test_folder_outside_the_code_page_loads_and_saves(self):
        folder = os.path.join(self.base, "café 한국")
        os.mkdir(folder)
        with open(self.settings(folder), "wb") as f:
            f.write(b"kept by hand\r\n" + OPEN + b"0 " + NOTEPAD + b"\r\n" + CLOSE)
        skelvo, _ = self.start_in(folder)
        self.launches_notepad(LAUNCHER_1)  # loaded
        self.quit(skelvo)  # no write-failure message holds the quit
        with open(self.settings(folder), "rb") as f:
            self.assertEqual(f.read(), OPEN + b"0 " + NOTEPAD + b"\r\n" + CLOSE)

    def test_dropped_name_outside_the_code_page_opens_its_file(self):
        name = os.path.join(self.base, "한국😀.txt")
        with open(name, "wb") as f:
            f.write(b"dropped\r\n")
        skelvo, panel = self.start_in(self.base)
        self.h.post(WM_COMMAND, SWITCH_FUNCTION)
        left, top, _, _ = panel["rect"]
        self.h.xdotool("mousemove", "--sync", str(left + 127), str(top + 62))  # slot 6
        self.assertTrue(x11.drop(self.h.display, [name]), "drop accepted and finished")
        self.launches_notepad(LAUNCHER_1 + 6)
        self.quit(skelvo)
        with open(self.settings(self.base), "rb") as f:
            saved = f.read()
        self.assertTrue(saved.startswith(OPEN + b"6 ") and saved.endswith(b"\r\n" + CLOSE), saved)
        stored = saved[len(OPEN) + 2:-len(b"\r\n" + CLOSE)]
        self.assertNotIn(b"?", stored)
        # The stored path opens the file: the fixture holds it open and lets it go at once.
        release = os.path.join(self.base, "release.mark")
        open(release, "wb").close()
        holder = self.h.start(self.h.fixture_exe, "hold", stored.decode("cp932"), "share",
                              "Z:" + os.path.join(self.base, "held.mark").replace("/", "\\"),
                              "Z:" + release.replace("/", "\\"), name="fixture hold")
        self.assertEqual(holder.wait(20), 0, stored)

    def test_failed_launch_says_why_once_and_the_panel_goes_on(self):
        gone = "Z:" + self.base.replace("/", "\\") + "\\gone.txt"
        with open(self.settings(self.base), "wb") as f:
            f.write(OPEN + b"0 " + NOTEPAD + b"\r\n2 " + cp932(gone) + b"\r\n" + CLOSE)
        skelvo, _ = self.start_in(self.base)
        self.h.post(WM_COMMAND, LAUNCHER_1 + 2)
        box = self.h.message_box(caption="起動エラー", press="ok")
        text = box["text_bytes"]
        self.assertTrue(text.startswith(cp932("起動できませんでした。\n" + gone + "\n")), text)
        self.assertGreater(len(text), len(cp932("起動できませんでした。\n" + gone + "\n")),
                           "the system's reason")
        self.assertFalse([w for w in self.h.windows() if w["class"] == "#32770" and w["visible"]],
                         "one message, no box of the shell's")
        self.launches_notepad(LAUNCHER_1)
        self.quit(skelvo)


if __name__ == "__main__":
    harness.main()
