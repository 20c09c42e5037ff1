"""Pointer gestures on the real panel, driven through X: a cell click switches desktops and
back, a window dragged on the map moves to another desktop, the panel follows a drag, the
function and size buttons switch, and a double-click on the information bar docks the panel.

Under Wine without a window manager, hiding a captioned window (or moving it wholly off the
screen) blocks its owner for about 2 s while Wine waits for a window manager that never
answers; the panel's thread waits with it. Every wait below is therefore a poll on the state
itself, and no gesture starts before the effect of the previous one was seen: the panel
reads the cursor when it handles a message, not where the event happened.
"""

import os
import shutil
import struct
import subprocess

import harness

PANEL = (200, 200)
PANEL_W, PANEL_H = 236, 157
SCREEN_W = 1024
SCALE_X, SCALE_Y = 1024 // 50, 768 // 40  # the map's scales on the test display
WHITE = (255, 255, 255)
PARK = (1010, 750)  # away from the panel and every test window


def cell_origin(cell):
    """Client origin of a cell's drawn area (the highlight covers 48x38 from (+1, +2))."""
    return 50 * (cell % 4) + 2, 40 * (cell // 4) + 2


def white_share(image, cell):
    """Share of pure white pixels in the upper part of a cell's opening. The highlight
    merges a white checkerboard over the cell; nothing else drawn there is pure white (the
    white outline of the minimised marker lies in the rows left out)."""
    x0, y0 = cell_origin(cell)
    xs = range(x0 + 3, x0 + 47)
    ys = range(y0 + 4, y0 + 32)
    whites = sum(1 for y in ys for x in xs if image.pixel(x, y) == WHITE)
    return whites / (len(xs) * len(ys))


def highlighted_cells(image):
    return [cell for cell in range(12) if white_share(image, cell) > 0.3]


class Bitmap:
    """A 24-bit BMP of the skin, as the build generated it."""

    def __init__(self, path):
        with open(path, "rb") as f:
            self.blob = f.read()
        self.offset, = struct.unpack_from("<I", self.blob, 10)
        self.width, height, _, bits = struct.unpack_from("<iiHH", self.blob, 18)
        if bits != 24:
            raise ValueError(f"{path}: {bits} bits per pixel, expected 24")
        self.bottom_up = height > 0
        self.height = abs(height)
        self.stride = (3 * self.width + 3) & ~3

    def pixel(self, x, y):
        row = self.height - 1 - y if self.bottom_up else y
        i = self.offset + row * self.stride + 3 * x
        return self.blob[i + 2], self.blob[i + 1], self.blob[i]


def skin(name):
    directory = os.environ.get("SKELVO_SKIN_DIR") or os.path.join(
        os.path.dirname(os.environ.get("SKELVO_EXE", "")), "skin")
    return Bitmap(os.path.join(directory, name + ".bmp"))


_keeper = None


def setUpModule():
    """Holds the Wine desktop for the whole file with one hidden window. Wine closes a
    desktop one second after its last program left; the next program to start brings it
    back with a new desktop process that inherits that program's output, and a fixture
    command whose output is captured then waits for that process to end."""
    global _keeper
    h = harness.Harness()
    log = open(h.artifact(f"{os.getpid()}-keeper.log"), "wb")
    _keeper = subprocess.Popen([h.wine_run, h.fixture_exe, "open", "--title", "pointer keeper",
                                "--state", "hidden"], env=h.env, stdin=subprocess.PIPE,
                               stdout=log, stderr=subprocess.STDOUT)
    log.close()


def tearDownModule():
    if _keeper is None:
        return
    try:
        _keeper.stdin.close()  # end of input ends the fixture
        _keeper.wait(timeout=10)
    except (OSError, subprocess.TimeoutExpired):
        _keeper.kill()
        _keeper.wait(timeout=10)


class PointerCase(harness.WineTestCase):
    def setUp(self):
        super().setUp()
        self.park()

    # ---- helpers ---------------------------------------------------------------

    def x(self, *args):
        code, out = self.h.xdotool(*args, timeout=20)
        if code != 0:
            raise AssertionError(f"xdotool {' '.join(args)} failed: {out}")
        return out

    def goto(self, point):
        # xdotool's --sync waits for a motion event, which a move onto the pointer's own
        # place never produces.
        if self.pointer() != tuple(point):
            self.x("mousemove", "--sync", str(point[0]), str(point[1]))

    def park(self):
        self.goto(PARK)

    def pointer(self):
        values = dict(kv.split("=", 1) for kv in self.x("getmouselocation", "--shell").split())
        return int(values["X"]), int(values["Y"])

    def approach(self, point):
        """Moves onto point from nearby: Wine takes a press only where it saw the pointer
        arrive."""
        self.goto((point[0] - 3, point[1] - 3))
        self.x("mousemove", "--sync", str(point[0]), str(point[1]))

    def press_at(self, point):
        """Presses and holds the button at point, and returns once the panel has handled
        the press: it takes the pointer's place then, and under load it handled a press
        made just before the first move of a drag only after that move, so the drag
        followed one step behind the pointer."""
        self.approach(point)
        self.x("mousedown", "1")
        self.h.fixture("handled", "--hwnd", self.panel()["hwnd"])

    def click(self, point, repeat=1):
        self.approach(point)
        self.x("click", "--repeat", str(repeat), "--delay", "60", "1")

    def move_in_steps(self, start, end, steps=6):
        (x0, y0), (x1, y1) = start, end
        args = []
        for i in range(1, steps + 1):
            args += ["mousemove", "--sync", str(x0 + (x1 - x0) * i // steps),
                     str(y0 + (y1 - y0) * i // steps), "sleep", "0.03"]
        self.x(*args)

    def release(self):
        self.x("mouseup", "1")

    def panel(self):
        (found,) = self.h.panels()
        return found

    def panel_image(self, origin=PANEL):
        return self.h.screenshot(origin[0], origin[1], PANEL_W, PANEL_H)

    def wait_highlight(self, cell, origin=PANEL):
        """Waits until the panel shows the highlight on cell, and on no other."""
        seen = {}

        def check():
            seen["cells"] = highlighted_cells(self.panel_image(origin))
            return seen["cells"] == [cell]
        harness.poll(check, 20, f"the highlight on cell {cell} alone",
                     describe=lambda: f"highlighted: {seen.get('cells')}")

    def start_panel(self):
        self.h.start_skelvo()
        self.h.wait_panels(1)
        self.wait_highlight(0)

    def screen(self, client, origin=PANEL):
        return origin[0] + client[0], origin[1] + client[1]


class CellClicks(PointerCase):
    def test_cell_click_hides_the_desktop_and_a_click_back_restores_each_state(self):
        normal = self.h.open_windows("desk normal", "--rect", "60,60,300,200").windows[0]["hwnd"]
        minimised = self.h.open_windows("desk minimised", "--rect", "120,400,200,100",
                                        "--state", "min").windows[0]["hwnd"]
        maximised = self.h.open_windows("desk maximised", "--rect", "200,300,200,100",
                                        "--state", "max").windows[0]["hwnd"]
        before = {h: self.h.window(h) for h in (normal, minimised, maximised)}
        self.assertEqual([(before[h]["minimised"], before[h]["maximised"])
                          for h in (normal, minimised, maximised)],
                         [(False, False), (True, False), (False, True)])
        self.start_panel()

        # Desktop 5's cell is empty: a plain click there.
        self.click(self.screen((77, 62)))
        self.h.wait_for(lambda: not any(self.h.window(h)["visible"] for h in before),
                        "desktop 0's windows hidden")
        self.park()
        self.wait_highlight(5)

        # Desktop 0's cell is covered by the maximised window's rectangle, so this press
        # grabs it; released in place, it is still a click.
        self.click(self.screen((27, 22)))

        def restored():
            now = {h: self.h.window(h) for h in before}
            return all(w["visible"] for w in now.values()) and now
        now = self.h.wait_for(restored, "desktop 0's windows shown again")
        for h, was in before.items():
            with self.subTest(title=was["title"]):
                self.assertEqual((now[h]["minimised"], now[h]["maximised"]),
                                 (was["minimised"], was["maximised"]))
        self.assertEqual(now[normal]["rect"], before[normal]["rect"])
        # Still above them all. (On the X screen they may cover it: without a window
        # manager nobody keeps Wine's topmost windows above; so no picture here.)
        panel = self.panel()
        self.assertLess(panel["z"], min(now[h]["z"] for h in before))


class WindowDrag(PointerCase):
    def test_window_dropped_on_another_cell_moves_to_that_desktop(self):
        # Off the screen over another cell, Wine unmaps the window; the drop maps it again
        # and hides it at once, and Wine 8 may keep as its place where openbox's new frame
        # passed, with no later event to mend it. So a window openbox leaves alone, which
        # Wine also stacks above the panel: kept clear of the panel wherever it goes.
        hwnd = self.h.open_windows("dragged", "--rect", "20,20,160,120",
                                   unmanaged=True).windows[0]["hwnd"]
        left, top, right, bottom = self.h.window(hwnd)["rect"]
        self.start_panel()

        # (7, 6) lies on the window's map rectangle (3, 3)-(11, 9).
        press = self.screen((7, 6))
        self.press_at(press)
        try:
            # Inside its own cell the window follows the pointer at the map's scale.
            inside = (press[0] + 5, press[1] + 3)
            self.move_in_steps(press, inside, steps=2)
            self.h.wait_for(
                lambda: self.h.window(hwnd)["rect"][:2] == [left + 5 * SCALE_X,
                                                          top + 3 * SCALE_Y],
                "the window following the pointer in its cell")
            # On to desktop 2's cell, where the window lands right of the panel; the cursor
            # is held inside the map meanwhile.
            self.move_in_steps(inside, self.screen((132, 16)))
            end = self.pointer()
            self.assertEqual(end, self.screen((132, 16)))
        finally:
            self.release()

        def dropped():
            w = self.h.window(hwnd)
            return not w["visible"] and w
        w = self.h.wait_for(dropped, "the dropped window hidden")
        # The release takes the cursor where it is and moves the window once more, so the
        # drop follows from the final pointer position exactly, whatever the ticks did; the
        # scales are whole numbers, so no rounding either: no tolerance.
        travel = (end[0] - press[0], end[1] - press[1])
        expected = [left + travel[0] * SCALE_X - 2 * SCREEN_W, top + travel[1] * SCALE_Y]
        expected += [expected[0] + right - left, expected[1] + bottom - top]
        self.assertEqual(w["rect"], expected)

        self.park()
        self.wait_highlight(0)
        # A spot of desktop 2's cell away from the window's new map rectangle.
        self.click(self.screen((145, 36)))

        def shown():
            w = self.h.window(hwnd)
            return w["visible"] and w
        self.assertEqual(self.h.wait_for(shown, "the window on desktop 2 shown")["rect"],
                         expected)
        self.park()
        self.wait_highlight(2)


class PanelDrag(PointerCase):
    def drag_panel(self, grab, travel):
        """Drags the panel by the client point grab, holding the button until the panel
        has arrived; returns the panel's new origin."""
        origin = tuple(self.panel()["rect"][:2])
        start = self.screen(grab, origin)
        end = (start[0] + travel[0], start[1] + travel[1])
        target = [origin[0] + travel[0], origin[1] + travel[1]]
        self.press_at(start)
        try:
            self.move_in_steps(start, end)
            self.h.wait_for(lambda: self.panel()["rect"][:2] == target,
                            f"the panel at {target}")
        finally:
            self.release()
        return tuple(target)

    def test_panel_follows_the_pointer_and_a_quick_flick_is_no_click(self):
        witness = self.h.open_windows("drag witness", "--rect", "700,520,200,150")
        self.start_panel()

        moved = self.drag_panel((100, 140), (150, 90))
        self.assertEqual(moved, (350, 290))
        self.assertEqual(self.panel()["rect"], [350, 290, 350 + PANEL_W, 290 + PANEL_H])
        (xid,) = self.h.x_windows(harness.PANEL_TITLE)
        self.assertEqual(self.h.x_geometry(xid), (350, 290, PANEL_W, PANEL_H))

        # A flick of (20, 10) from desktop 5's empty cell, released within a tick or two:
        # however far the panel got meanwhile, the release is still over that cell, and
        # only the pointer's travel on the screen tells it from a click.
        start = self.screen((77, 62), moved)
        self.approach(start)
        # The panel reads the pointer when it handles each button message, so the flick
        # lasts as a hand's would (~100 ms, well under the three ticks that end a click):
        # a burst of events could be read all at once, press and release at one place.
        self.x("mousedown", "1", "sleep", "0.05", "mousemove", str(start[0] + 10),
               str(start[1] + 5), "mousemove", str(start[0] + 20), str(start[1] + 10),
               "sleep", "0.05", "mouseup", "1")
        # The function switch is handled after that release; (225, 25) stays on its upper
        # half for any panel travel up to the flick's.
        # A tip shown during the drag moves with the pointer on every update; under Wine a
        # click arriving with it was seen lost now and then. Off the panel, the tip goes.
        self.park()
        harness.poll(lambda: not any(t["visible"] for t in self.h.fixture("tooltip")), 10,
                     "the tooltip hidden")
        self.click(self.screen((225, 25), moved))
        orange = skin("MAINLANCHER").pixel(25, 60)

        def launcher_map():
            left, top = self.panel()["rect"][:2]
            return self.h.screenshot(left + 25, top + 60, 1, 1).pixel(0, 0) == orange
        harness.poll(launcher_map, 20, "the launcher map after the flick")
        self.assertTrue(self.h.window(witness.windows[0]["hwnd"])["visible"])


class Buttons(PointerCase):
    def map_matches(self, bitmap):
        # Openings of cells 4, 8, 6 and 11: no highlight and no window there.
        points = [(25, 60), (25, 100), (125, 60), (175, 100)]
        image = self.panel_image()
        return all(image.pixel(x, y) == bitmap.pixel(x, y) for x, y in points)

    def test_function_button_turns_the_map_orange_and_back(self):
        desktop, launcher = skin("MAINSELECT"), skin("MAINLANCHER")
        r, g, b = launcher.pixel(25, 60)
        self.assertTrue(r > 200 and b < 120, f"the launcher skin is orange: {(r, g, b)}")
        self.start_panel()
        self.assertTrue(self.map_matches(desktop))

        self.click(self.screen((220, 30)))  # upper half
        harness.poll(lambda: self.map_matches(launcher), 20, "the orange launcher map")
        self.click(self.screen((220, 90)))  # lower half
        harness.poll(lambda: self.map_matches(desktop), 20, "the blue desktop map")

    def shape_extents(self):
        (xid,) = self.h.x_windows(harness.PANEL_TITLE)
        out = subprocess.run(["xwininfo", "-shape", "-id", xid], env=self.h.env,
                             capture_output=True, timeout=10).stdout.decode()
        for line in out.splitlines():
            if "Window shape extents" in line:
                return line.split(":", 1)[1].strip()
        return None

    def test_size_button_leaves_the_corner_and_the_corner_brings_the_panel_back(self):
        # Opened before the background is read: Wine closes a desktop left without users
        # for a second, and the next program to start would then have to bring it back.
        self.h.open_windows("size witness", "--rect", "700,520,200,150")
        background = self.panel_image()
        corner = skin("OWN_ON")
        self.start_panel()
        full = self.panel_image()

        def small(image):
            for y in range(PANEL_H):
                for x in range(PANEL_W):
                    inside = 202 <= x < 234 and 124 <= y < 156
                    want = corner.pixel(x - 202, y - 124) if inside else background.pixel(x, y)
                    if image.pixel(x, y) != want:
                        return False
            return True

        self.click(self.screen((218, 140)))
        harness.poll(lambda: small(self.panel_image()), 20, "only the 32x32 corner shown")
        self.assertEqual(self.panel()["rect"], [200, 200, 200 + PANEL_W, 200 + PANEL_H])
        with self.subTest("X window shape"):
            if not shutil.which("xwininfo"):
                self.skipTest("xwininfo (x11-utils) is not installed")
            self.assertEqual(self.shape_extents(), "32x32+202+124")

        # The corner is the whole clickable panel now; a click on it restores the rest. It
        # lands 8 px from the first, beyond Wine's 4 px double-click square: a double-click
        # on the size button would put the panel into the tray instead.
        self.click(self.screen((226, 148)))
        seen = {}

        def restored():
            seen["image"] = self.panel_image()
            return seen["image"].data == full.data

        def differences():
            full.save(self.h.artifact("size-full-before.ppm"))
            seen["image"].save(self.h.artifact("size-full-after.ppm"))
            image = seen["image"]
            diff = [(x, y) for y in range(PANEL_H) for x in range(PANEL_W)
                    if image.pixel(x, y) != full.pixel(x, y)]
            return f"{len(diff)} pixels differ, first {diff[:5]} (images in the artifacts)"
        harness.poll(restored, 20, "the full panel again", describe=differences)
        with self.subTest("X window shape"):
            if not shutil.which("xwininfo"):
                self.skipTest("xwininfo (x11-utils) is not installed")
            self.assertEqual(self.shape_extents(), f"{PANEL_W}x{PANEL_H}+0+0")


class Docking(PointerCase):
    def test_double_click_on_the_information_bar_docks_at_the_top_window(self):
        self.h.open_windows("dock lower", "--rect", "300,420,300,200")
        upper = self.h.open_windows("dock upper", "--rect", "520,480,300,200").windows[0]
        self.start_panel()

        def managed(w):
            return (w["visible"] and w["enabled"] and w["title"]
                    and w["style"] & 0x00C00000 == 0x00C00000
                    and w["class"] not in (harness.PANEL_CLASS, "tooltips_class32", "#32770"))
        (target, *_) = [w for w in self.h.windows() if managed(w)]
        self.assertEqual(target["hwnd"], upper["hwnd"])
        left, top, right, _ = target["rect"]
        expected = [right - 336, top - 120, right - 336 + PANEL_W, top - 120 + PANEL_H]

        self.click(self.screen((100, 140)), repeat=2)
        self.h.wait_for(lambda: self.panel()["rect"] == expected, f"the panel at {expected}")
        (xid,) = self.h.x_windows(harness.PANEL_TITLE)
        self.assertEqual(self.h.x_geometry(xid), (expected[0], expected[1], PANEL_W, PANEL_H))


if __name__ == "__main__":
    harness.main()
