"""The panel as Skelvo.exe paints it under Wine: the frame, the blue background, the
highlight, the rectangles of five windows on desktop 0 and the top window's title; after
"デスクトップ5" (command 40058) the highlight on desktop 4's cell. Each screen is also held
against the picture the core composes natively on the pixel fake for the same windows
(painting_canvas). They must agree pixel for pixel except where GDI draws glyphs: inside
a text's rectangle a pixel may differ only by being the text colour or a blend of it with
the native pixel (the antialiased edges of the 18-pixel font); icon squares are left out."""

import os
import subprocess

import harness
from harness import WM_COMMAND, parse_ppm

PANEL_W, PANEL_H = 236, 157
SCREEN_W, SCREEN_H = 1024, 768
COMMAND_DESKTOP_5 = 40058  # "デスクトップ5", desktop 4: column 0, row 1

TOP_PEN, TOP_BRUSH = (255, 255, 200), (160, 220, 110)
OTHER_PEN, OTHER_BRUSH = (225, 225, 100), (130, 165, 70)
WHITE = (255, 255, 255)
INFO_TEXT = (255, 50, 80)

# Five windows side by side: window i maps to (10i+4, 7, 10i+12, 23) in desktop 0's cell.
WINDOW_RECTS = [(200 * i + 40, 100, 160, 300) for i in range(5)]
TOP_TITLE = "最前面のウィンドウ Painting Top"


def opening(column, row):
    """Inclusive bounds of a map cell's opening."""
    return 3 + 50 * column, 4 + 40 * row, 50 + 50 * column, 41 + 40 * row


def highlight_whitens(column, row, x, y):
    """SELECTER is a checkerboard with a white top-left pixel: MERGEPAINT whitens the
    pixels under its black squares."""
    x0, y0, _, _ = opening(column, row)
    return (x - x0 + y - y0) % 2 == 1


def map_rect(rect, desktop=0):
    """The map rectangle of a screen rectangle, as the painter refreshes it."""
    sx, sy = SCREEN_W // 50, SCREEN_H // 40
    ox, oy = 50 * (desktop % 4) + 2, 40 * (desktop // 4) + 2
    left, top, right, bottom = (int(rect[0] / sx) + ox, int(rect[1] / sy) + oy,
                                int(rect[2] / sx) + ox, int(rect[3] / sy) + oy)
    return max(left, 0), max(top, 0), min(right, 202), min(bottom, 124)


def is_blue(c):
    r, g, b = c
    return b == 255 and r < g < b


def is_info_text(c):
    r, g, b = c
    return r >= 200 and r - g >= 80 and r - b >= 60


def glyph_pixel(seen, under, text):
    """Whether seen can be the text colour laid over under: every channel between the
    two. Wine blends the glyph edges with gamma, so the channels need not share one
    coverage value."""
    return all(min(u, t) - 2 <= s <= max(u, t) + 2 for s, u, t in zip(seen, under, text))


class Painting(harness.WineTestCase):
    def setUp(self):
        super().setUp()
        self.canvas_tool = harness._required_env("SKELVO_PAINTING_CANVAS")
        self.skin_dir = harness._required_env("SKELVO_SKIN_DIR")

    # ---- the screen ------------------------------------------------------------------

    def panel_window(self):
        (panel,) = self.h.panels()
        return panel

    def panel_screenshot(self):
        left, top, _, _ = self.panel_window()["rect"]
        return self.h.screenshot(left, top, PANEL_W, PANEL_H)

    # ---- the native composition --------------------------------------------------------

    def native_canvas(self, windows, commands, name):
        """painting_canvas for the windows listed by the fixture (the panel left out) and
        the commands; returns the picture and the text and icon areas."""
        lines = [f"screen {SCREEN_W} {SCREEN_H}"]
        for w in windows:
            if w["class"] == harness.PANEL_CLASS:
                continue
            cls = w["class"].encode("cp932").hex() or "-"
            title = w["title_hex"] or "-"
            lines.append("window %d %d %d %d %d %d %d %d %d %d %s %s" % (
                w["visible"], w["enabled"], w["minimised"], w["maximised"], w["topmost"],
                w["style"], *w["rect"], cls, title))
        lines += [f"command {c}" for c in commands]
        state = self.h.artifact(f"{name}-state.txt")
        picture = self.h.artifact(f"{name}-native.ppm")
        with open(state, "w") as f:
            f.write("\n".join(lines) + "\n")
        done = subprocess.run([self.canvas_tool, self.skin_dir, state, picture],
                              capture_output=True, timeout=30)
        self.assertEqual(done.returncode, 0, done.stderr.decode("utf-8", "replace"))
        areas = []  # (left, top, right, bottom, text colour or None for an icon)
        for line in done.stdout.decode().splitlines():
            kind, *numbers = line.split()
            n = [int(v, 0) for v in numbers]
            if kind == "text":
                colour = (n[4] & 255, (n[4] >> 8) & 255, (n[4] >> 16) & 255)
                areas.append((n[0], n[1], n[2], n[3], colour))
            elif kind == "icon":
                areas.append((n[0], n[1], n[0] + 32, n[1] + 32, None))
        with open(picture, "rb") as f:
            return parse_ppm(f.read()), areas

    def differences(self, screen, native, areas):
        """Pixels where the screen and the native picture differ other than by a glyph
        of a text drawn there, or inside an icon's square."""
        def excused(x, y, seen, composed):
            for left, top, right, bottom, colour in areas:
                if left <= x < right and top <= y < bottom:
                    if colour is None or glyph_pixel(seen, composed, colour):
                        return True
            return False
        return [(x, y, screen.pixel(x, y), native.pixel(x, y))
                for y in range(PANEL_H) for x in range(PANEL_W)
                if screen.pixel(x, y) != native.pixel(x, y)
                and not excused(x, y, screen.pixel(x, y), native.pixel(x, y))]

    def difference_complaint(self, image, native, areas):
        """Where the screen departs from the native canvas, with the windows' states: a
        failure in a run whose artifacts are gone still tells what was drawn where."""
        diff = self.differences(image, native, areas)
        if not diff:
            return None
        xs, ys = [d[0] for d in diff], [d[1] for d in diff]
        return (f"{len(diff)} pixels differ from the native canvas in x {min(xs)}..{max(xs)}, "
                f"y {min(ys)}..{max(ys)}; first {diff[:3]}; windows "
                f"{[(w['title'], w['visible'], w['rect']) for w in self.h.windows()]}")

    def wait_for_screen(self, check, what, name, timeout=20):
        """Screenshots until check(image) returns no complaint; the last one is kept."""
        seen = {}

        def attempt():
            image = self.panel_screenshot()
            seen["image"] = image
            seen["complaint"] = check(image)
            return image if not seen["complaint"] else None

        try:
            return harness.poll(attempt, timeout, what,
                                describe=lambda: f"last complaint: {seen.get('complaint')}")
        finally:
            if "image" in seen:
                seen["image"].save(self.h.artifact(f"{name}-screen.ppm"))

    # ---- the checks --------------------------------------------------------------------

    def desktop0_complaint(self, image, rects, top_index):
        # The frame: grey between the cells and along the panel's edge.
        for x, y in ((51, 20), (1, 60), (120, 42), (234, 30)):
            r, g, b = image.pixel(x, y)
            if not (r == g == b and r < 255):
                return f"no grey frame at ({x}, {y}): {(r, g, b)}"
        # The blue background in the openings of cells without windows or highlight.
        for column, row in ((1, 1), (3, 2), (2, 0)):
            x0, y0, x1, y1 = opening(column, row)
            for x, y in ((x0, y0), (x1, y1), ((x0 + x1) // 2, (y0 + y1) // 2)):
                if not is_blue(image.pixel(x, y)):
                    return f"cell {column},{row} at ({x}, {y}) not blue: {image.pixel(x, y)}"
        # The highlight on cell 0: the rows below the rectangles alternate white and blue.
        for x in range(3, 51):
            c = image.pixel(x, 30)
            if highlight_whitens(0, 0, x, 30) != (c == WHITE) or (c != WHITE and not is_blue(c)):
                return f"no checkerboard at ({x}, 30): {c}"
        # Each window's rectangle, its pen and brush, where neither the highlight nor the
        # title (vertically centred, from the left edge) covers them.
        for i, r in enumerate(rects):
            pen, brush = (TOP_PEN, TOP_BRUSH) if i == top_index else (OTHER_PEN, OTHER_BRUSH)
            left, top, right, bottom = r
            for x, y, want in ((left, top + 1, pen), (left + 1, top, pen),
                               (left + 2, bottom - 1, pen), (left + 3, bottom - 1, pen),
                               (left + 1, top + 1, brush), (left + 2, top + 1, brush)):
                if x > 50:
                    continue
                got = image.pixel(x, y)
                expected = WHITE if highlight_whitens(0, 0, x, y) else want
                if got != expected:
                    return f"window {i} at ({x}, {y}): {got}, not {expected}"
        # The top window's title, centred in the information bar.
        xs = [x for y in range(125, 157) for x in range(3, 201) if is_info_text(image.pixel(x, y))]
        if not xs:
            return "no title in the information bar"
        if max(xs) - min(xs) < 80 or abs((max(xs) + min(xs)) / 2 - 102) > 8:
            return f"the bar's text spans x {min(xs)}..{max(xs)}: not the long top title"
        return None

    def desktop4_complaint(self, image):
        for row, column, lit in ((1, 0, True), (0, 0, False)):
            x0, y0, x1, _ = opening(column, row)
            y = y0 + 20
            for x in range(x0, x1 + 1):
                c = image.pixel(x, y)
                whitened = lit and highlight_whitens(column, row, x, y)
                if (c == WHITE) != whitened or (c != WHITE and not is_blue(c)):
                    return f"cell {column},{row} at ({x}, {y}): {c}"
        if any(is_info_text(image.pixel(x, y)) for y in range(125, 157) for x in range(3, 201)):
            return "desktop 4 is empty, yet the information bar shows a title"
        return None

    def compare(self, image, native, areas, name):
        diff = self.differences(image, native, areas)
        with open(self.h.artifact(f"{name}-differences.txt"), "w") as f:
            for x, y, s, n in diff:
                f.write(f"{x} {y} screen {s} native {n}\n")
        self.assertEqual(diff[:10], [], f"{len(diff)} pixels differ between screen and native "
                                        f"canvas other than glyphs of {len(areas)} texts/icons")

    def test_panel_on_screen_matches_the_native_canvas(self):
        opened = []
        for i, (x, y, w, h) in enumerate(WINDOW_RECTS):
            title = TOP_TITLE if i == 4 else f"w{i}"
            opened.append(self.h.open_windows(title, "--rect", f"{x},{y},{w},{h}"))
        handles = [p.windows[0]["hwnd"] for p in opened]
        self.h.start_skelvo()
        self.h.wait_panels(1)

        listed = self.h.windows()
        by_hwnd = {w["hwnd"]: w for w in listed}
        rects = [map_rect(by_hwnd[h]["rect"]) for h in handles]
        z = [by_hwnd[h]["z"] for h in handles]
        top_index = z.index(min(z))  # the highest in the Z order is captured last
        self.assertEqual(handles[top_index], opened[4].windows[0]["hwnd"],
                         "the window opened last is on top")

        native, areas = self.native_canvas(listed, [], "desktop0")
        image = self.wait_for_screen(
            lambda im: self.desktop0_complaint(im, rects, top_index)
            or self.difference_complaint(im, native, areas),
            "the panel showing desktop 0 with five windows", "desktop0")
        self.compare(image, native, areas, "desktop0")

        self.h.post(WM_COMMAND, COMMAND_DESKTOP_5)
        native4, areas4 = self.native_canvas(listed, [COMMAND_DESKTOP_5], "desktop4")
        # The command posts no repaint; timer 1 repaints within 600 ms.
        image4 = self.wait_for_screen(
            lambda im: self.desktop4_complaint(im)
            or self.difference_complaint(im, native4, areas4),
            "the highlight on desktop 4's cell", "desktop4")
        self.compare(image4, native4, areas4, "desktop4")


if __name__ == "__main__":
    harness.main()
