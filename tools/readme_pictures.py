"""The README's screenshots: starts the real Skelvo.exe under Wine (through the e2e
harness) with fixture windows parked on several desktops and launcher registrations in
its KQZ.txt, and saves the panel in its states as PNG files (doubled in size) into the
directory given. Run by tools/readme-pictures.sh, which sets up the display and prefix."""

import os
import subprocess
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "e2e"))
import harness  # noqa: E402

DESKTOP_1, DESKTOP_4, DESKTOP_7 = 40054, 40057, 40060
SWITCH_FUNCTION, SWITCH_SIZE = 40066, 40014
IDYES = "yes"
PANEL = (200, 200, 236, 157)
PARK = (1010, 750)
# Wine's own programs, so the launcher cells get real icons.
SETTINGS = "--- LANCHER ---\r\n0 C:\\windows\\notepad.exe\r\n5 C:\\windows\\regedit.exe\r\n--- L_END ---"


class Pictures:
    def __init__(self, out):
        self.out = out
        self.h = harness.Harness()

    def x(self, *args):
        code, out = self.h.xdotool(*args, timeout=20)
        if code != 0:
            raise RuntimeError(f"xdotool {' '.join(args)} failed: {out}")

    def command(self, identifier):
        self.h.post(harness.WM_COMMAND, identifier)

    def visible(self, hwnds):
        found = {w["hwnd"]: w["visible"] for w in self.h.windows()}
        return [found.get(h) for h in hwnds]

    def open(self, title, rect, colour, *options):
        return self.h.open_windows(title, "--rect", rect, "--colour", colour,
                                   *options).windows[0]["hwnd"]

    def save(self, name, x, y, width, height):
        path = os.path.join(self.out, name)
        subprocess.run(["import", "-window", "root", "-crop", f"{width}x{height}+{x}+{y}",
                        "+repage", "-filter", "point", "-resize", "200%", path],
                       env=self.h.env, check=True, timeout=30)
        print(f"wrote {path}")

    def settle(self):
        """Pointer away (no tooltip), then two refresh periods for the repaint."""
        self.x("mousemove", str(PARK[0]), str(PARK[1]))
        time.sleep(1.5)

    def run(self):
        work = os.path.join(self.h.state, "work")
        os.makedirs(work, exist_ok=True)
        with open(os.path.join(work, "KQZ.txt"), "wb") as f:
            f.write(SETTINGS.encode("cp932"))
        os.chdir(work)  # the panel's start-up directory, where it reads KQZ.txt

        # Clear of the panel at (200, 200): without a window manager a window over it
        # would be in the picture.
        first = [self.open("メモ帳", "480,40,420,300", "0xf0d070"),
                 self.open("資料", "600,380,380,300", "0x80c0f0")]
        self.h.start_skelvo()
        self.h.wait_panels(1)
        self.command(DESKTOP_4)
        self.h.wait_for(lambda: self.visible(first) == [False, False], "desktop 0 parked")
        fourth = [self.open("表計算", "40,420,500,300", "0xa0e0a0"),
                  self.open("ブラウザ", "560,60,440,520", "0xe0a0e0")]
        self.command(DESKTOP_7)
        self.h.wait_for(lambda: self.visible(fourth) == [False, False], "desktop 3 parked")
        self.open("端末", "520,300,480,400", "0x404040", "--state", "max")
        self.command(DESKTOP_1)
        self.h.wait_for(lambda: self.visible(first) == [True, True], "desktop 0 back")
        self.settle()
        self.save("desktop-map.png", *PANEL)

        self.command(SWITCH_FUNCTION)
        self.settle()
        self.save("launcher.png", *PANEL)
        self.command(SWITCH_FUNCTION)
        self.settle()

        # The desktop popup from a right click on デスクトップ1's cell, with its
        # "デスクトップ" sub-menu opened.
        self.x("mousemove", str(PANEL[0] + 37), str(PANEL[1] + 35))
        self.x("mousemove", "--sync", str(PANEL[0] + 40), str(PANEL[1] + 38))
        self.x("click", "3")
        self.h.wait_for(lambda: self.menus(), "the desktop popup")
        self.x("key", "Down", "sleep", "0.1", "key", "Down", "sleep", "0.1", "key", "Down",
               "sleep", "0.1", "key", "Right")
        self.h.wait_for(lambda: len(self.menus()) == 2, "the desktop sub-menu")
        time.sleep(0.5)
        left, top = PANEL[0], PANEL[1]
        right = max([PANEL[0] + PANEL[2]] + [m["rect"][2] for m in self.menus()]) + 4
        bottom = max([PANEL[1] + PANEL[3]] + [m["rect"][3] for m in self.menus()]) + 4
        self.save("popup-menu.png", left, top, right - left, bottom - top)
        self.x("key", "Escape", "sleep", "0.2", "key", "Escape")
        self.h.wait_for(lambda: not self.menus(), "the popup closed")

        self.command(SWITCH_SIZE)
        self.settle()
        # The corner button alone, with a little of the screen around it.
        self.save("small.png", PANEL[0] + 186, PANEL[1] + 108, 64, 64)

        # Back at full size, メモ帳 pinned with Ctrl+Alt+Home: drawn in every cell.
        self.command(SWITCH_SIZE)
        self.pin(first[0])
        self.save("pinned.png", *PANEL)

        self.h.post(harness.WM_CLOSE)
        self.h.message_box(owner_class=harness.PANEL_CLASS, press=IDYES, timeout=30)

    def pin(self, hwnd):
        """Focuses the window with a click on it, presses Ctrl+Alt+Home and waits until
        デスクトップ12's cell draws it."""
        left, top, right, bottom = self.h.window(hwnd)["rect"]
        self.x("mousemove", str(left + 20), str(top + 60))
        self.x("mousemove", "--sync", str(left + 25), str(top + 65), "click", "1")
        self.x("key", "ctrl+alt+Home")
        # The window's place in デスクトップ12's cell, on a 1024x768 screen.
        x = PANEL[0] + 152 + (left + right) // 2 // 20
        y = PANEL[1] + 82 + (top + bottom) // 2 // 19
        brush = (130, 165, 70)  # a pinned window's
        self.h.wait_for(lambda: brush in self.h.screenshot(x - 1, y - 1, 3, 3).colours(),
                        "the pinned window in デスクトップ12's cell")
        self.settle()

    def menus(self):
        return [w for w in self.h.windows() if w["class"] == "#32768" and w["visible"]]

    def two_monitors(self):
        """On a 1024x768 primary and an 800x600 monitor right of it: windows on both, one
        maximised over the second on desktop 1, and the panel's map of them."""
        first = [self.open("メモ帳", "480,40,420,300", "0xf0d070"),
                 self.open("右の資料", "1124,100,500,360", "0x80c0f0")]
        self.h.start_skelvo(cwd=self.h.state)  # its KQZ.txt stays there
        self.h.wait_panels(1)
        self.command(DESKTOP_1 + 1)
        self.h.wait_for(lambda: self.visible(first) == [False, False], "desktop 0 parked")
        # Maximised by its program where it stands: openbox maximises a window mapped
        # maximised over the primary monitor.
        terminal = self.open("右の端末", "1124,100,500,360", "0x404040")
        self.h.fixture("send", "--hwnd", terminal, "--msg", "0x112", "--wparam", "0xf030")
        self.h.wait_for(lambda: [w for w in self.h.windows()
                                 if w["hwnd"] == terminal and w["maximised"]], "maximised")
        self.open("表計算", "40,420,500,300", "0xa0e0a0")
        self.command(DESKTOP_1)
        self.h.wait_for(lambda: self.visible(first) == [True, True], "desktop 0 back")
        self.settle()
        self.save("two-monitors.png", *PANEL)
        self.h.post(harness.WM_CLOSE)
        self.h.message_box(owner_class=harness.PANEL_CLASS, press=IDYES, timeout=30)


def main():
    out = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else "docs")
    os.makedirs(out, exist_ok=True)
    pictures = Pictures(out)
    try:
        if len(sys.argv) > 2 and sys.argv[2] == "two":
            pictures.two_monitors()
        else:
            pictures.run()
    finally:
        pictures.h.close()


if __name__ == "__main__":
    main()
