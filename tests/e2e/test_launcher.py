"""The launcher on the real panel: slots read from KQZ.txt in the start-up directory are
drawn and launched, a slot registered through the open-file dialog or by a drop from X
is written back at quit byte for byte, a hostile KQZ.txt neither stops the panel nor
survives the save, and a KQZ.txt that another program holds open at start is read, or,
when it cannot be, kept."""

import os
import re
import shutil
import tempfile

import harness
import x11
from harness import WM_CLOSE, WM_COMMAND, cp932

SWITCH_FUNCTION = 40066
REGISTER = 40001
LAUNCHER_2 = 40043
NOTEPAD = "C:\\windows\\notepad.exe"
OPEN = b"--- LANCHER ---\r\n"
CLOSE = b"--- L_END ---"


def cell_centre(panel, slot):
    left, top, _, _ = panel["rect"]
    return left + 50 * (slot % 4) + 27, top + 40 * (slot // 4) + 22


def cell_pixels(image, slot, x0, x1):
    """The pixels of a cell's columns x0..x1 (cell coordinates), rows 4..35, that the
    selection highlight leaves alone (its checkerboard whitens every other pixel)."""
    cx, cy = 50 * (slot % 4), 40 * (slot // 4)
    return [image.pixel(cx + x, cy + y) for y in range(4, 36) for x in range(x0, x1)
            if (x - 3 + y - 4) % 2 == 0]


def orange(c):
    """The launcher background (the desktop function's is blue)."""
    r, g, b = c
    return r >= 200 and r - b >= 80


def grey(c):
    """Icon pixels: none of the background's orange."""
    r, g, b = c
    return abs(r - b) < 40 and abs(r - g) < 40


def blue(c):
    """The slot title colours."""
    r, g, b = c
    return b >= 200 and b - r >= 100


def count(image, slot, x0, x1, kind):
    return sum(1 for c in cell_pixels(image, slot, x0, x1) if kind(c))


class Launcher(harness.LauncherTestCase):
    def setUp(self):
        super().setUp()
        self.dir = tempfile.mkdtemp(prefix="skelvo-launcher-")
        self.addCleanup(shutil.rmtree, self.dir, True)
        self.win_dir = "Z:" + self.dir.replace("/", "\\")
        self.settings = os.path.join(self.dir, "KQZ.txt")

    def write_settings(self, data):
        with open(self.settings, "wb") as f:
            f.write(data)

    def saved(self):
        with open(self.settings, "rb") as f:
            return f.read()

    def start(self):
        return self.start_in(self.dir)

    def screenshot(self, panel):
        left, top, _, _ = panel["rect"]
        return self.h.screenshot(left, top, 236, 157)

    def test_slots_from_the_file_are_drawn_and_launched(self):
        with open(os.path.join(self.dir, "note.txt"), "wb") as f:
            f.write(b"launcher e2e\r\n")
        records = f"0 {NOTEPAD}\r\n1 {self.win_dir}\\note.txt\r\n".encode("cp932")
        self.write_settings(OPEN + records + CLOSE)
        self.addCleanup(self.close_notepads)
        self.close_notepads()
        skelvo, panel = self.start()
        self.h.post(WM_COMMAND, SWITCH_FUNCTION)

        def drawn():
            image = self.screenshot(panel)
            image.save(self.h.artifact("launcher-cells.ppm"))
            return image if orange(image.pixel(175, 100)) and count(image, 0, 4, 36, grey) > 40 \
                else None
        image = self.h.wait_for(drawn, "the launcher function with notepad's icon in cell 0")
        self.assertGreater(count(image, 0, 36, 50, blue), 5, "notepad's title beside its icon")
        self.assertGreater(sum(blue(image.pixel(x, y)) for x in range(3, 200)
                               for y in range(126, 156)), 20, "the title in the information bar")
        # Wine finds no icon for a text file, and a slot without an icon is not drawn.
        for slot in (1, 2):
            self.assertEqual(count(image, slot, 4, 50, grey) + count(image, slot, 4, 50, blue), 0)

        x, y = cell_centre(panel, 0)
        self.h.click(x, y, repeat=2)
        self.h.wait_for(lambda: len(self.notepads()) == 1, "one Notepad window")
        self.h.post(WM_COMMAND, LAUNCHER_2)
        # Notepad names its window after the file only once it has read it.
        def second():
            found = self.notepads()
            return len(found) == 2 and any("note" in w["title"] for w in found) and found
        self.h.wait_for(second, "the second slot's Notepad, titled after note.txt")
        # The panel stays where it was, shown, in the launcher function (seen once the
        # Notepad windows no longer cover it).
        (after,) = self.h.wait_panels(1)
        self.assertEqual(after["rect"], panel["rect"])
        self.close_notepads()
        # The double-click left the pointer on the panel, and its tooltip over it.
        self.h.xdotool("mousemove", "1010", "750")
        self.h.wait_for(lambda: not any(t["visible"] for t in self.h.fixture("tooltip")),
                        "the tooltip hidden")
        self.h.wait_for(lambda: self.screenshot(panel).data == image.data,
                        "the panel as it was before the launches")
        self.quit(skelvo)
        self.assertEqual(self.saved(), OPEN + records + CLOSE)

    def open_launcher_menu_on(self, panel, slot):
        """A right click on the cell opens the launcher menu and stores the cell's zone;
        the menu is dismissed without a choice."""
        def menu():
            return [w for w in self.h.windows() if w["class"] == "#32768" and w["visible"]]
        x, y = cell_centre(panel, slot)
        self.h.click(x, y, button=3)
        self.h.wait_for(menu, "the launcher menu")
        self.h.xdotool("key", "Escape")
        try:
            self.h.wait_for(lambda: not menu(), "the menu closed", timeout=3)
        except AssertionError:
            self.h.click(900, 700)
            self.h.wait_for(lambda: not menu(), "the menu closed")

    def dialog(self, answer, filled=False):
        """Answers the open-file dialog with a path or "cancel"; its initial file name,
        waited for until the dialog has filled it when filled is set."""
        (shown,) = self.h.fixture("filedialog", cp932("登録ファイル選択").hex(), answer,
                                  *(["filled"] if filled else []), timeout=60)
        return bytes.fromhex(shown["initial_hex"])

    def test_register_by_dialog_and_save_at_quit(self):
        typed = f"{self.win_dir}\\typed.txt"
        open(os.path.join(self.dir, "typed.txt"), "wb").close()
        skelvo, panel = self.start()
        self.h.post(WM_COMMAND, SWITCH_FUNCTION)
        self.open_launcher_menu_on(panel, 5)
        self.h.post(WM_COMMAND, REGISTER)
        self.assertEqual(self.dialog(cp932(typed).hex()), b"")
        # Another slot's dialog opens with the path chosen last; cancelled, it registers
        # nothing.
        self.open_launcher_menu_on(panel, 6)
        self.h.post(WM_COMMAND, REGISTER)
        initial = self.dialog("cancel", filled=True)
        self.assertTrue(initial.endswith(b"typed.txt"), initial)
        self.quit(skelvo)
        self.assertEqual(self.saved(), OPEN + b"5 " + cp932(typed) + b"\r\n" + CLOSE)

    def test_drop_from_x_registers_the_first_item_on_a_launcher_cell(self):
        names = [os.path.join(self.dir, n) for n in ("folder", "a.txt", "b.txt")]
        os.mkdir(names[0])
        for name in names[1:]:
            open(name, "wb").close()
        skelvo, panel = self.start()

        def drop_on(slot):
            x, y = cell_centre(panel, slot)
            self.h.xdotool("mousemove", "--sync", str(x), str(y))
            self.assertTrue(x11.drop(self.h.display, names), "drop accepted and finished")
        drop_on(3)  # the desktop function ignores it
        self.h.post(WM_COMMAND, SWITCH_FUNCTION)
        drop_on(6)
        self.quit(skelvo)
        self.assertEqual(self.saved(), OPEN + b"6 " + cp932(self.win_dir) + b"\\folder\r\n" +
                         CLOSE)

    def test_hostile_file_starts_normally_and_saves_well_formed(self):
        hostile = (b"x" * 10000 + b"\r\n" + OPEN + b"2 " + NOTEPAD.encode() + b"\r\n" +
                   b"3 " + b"a" * 10000 + b"\r\n" + b"99 C:\\ninety-nine\r\n" +
                   b"-5 C:\\minus-five\r\n" + bytes(range(256)) + b"\r\n" +
                   b"4 C:\\bin\x00ary\xff\xfe\r\n" + b"7 " + NOTEPAD.encode())
        self.write_settings(hostile)
        skelvo, panel = self.start()
        self.assertTrue(skelvo.alive())
        self.quit(skelvo)
        saved = self.saved()
        self.assertTrue(saved.startswith(OPEN) and saved.endswith(CLOSE), saved[:200])
        lines = saved[len(OPEN):-len(CLOSE)].split(b"\r\n")
        self.assertEqual(lines[-1], b"")
        for line in lines[:-1]:
            self.assertRegex(line, re.compile(rb"^(\d|1[01]) \S[^\r\n\x00]*$"))
        self.assertEqual(saved, OPEN + b"2 " + NOTEPAD.encode() + b"\r\n7 " +
                         NOTEPAD.encode() + b"\r\n" + CLOSE)


    def start_holding(self, sharing):
        """Starts Skelvo while the fixture holds KQZ.txt open for writing, then has the
        fixture close it."""
        ready, release = (os.path.join(self.dir, n) for n in ("held.mark", "release.mark"))
        holder = self.h.start(self.h.fixture_exe, "hold", f"{self.win_dir}\\KQZ.txt",
                              sharing, f"{self.win_dir}\\held.mark",
                              f"{self.win_dir}\\release.mark", name="fixture hold")
        self.h.wait_for(lambda: os.path.exists(ready), "the fixture holding KQZ.txt")
        skelvo, _ = self.start()
        open(release, "wb").close()
        self.assertEqual(holder.wait(20), 0)
        return skelvo

    def test_file_held_open_by_an_editor_is_read(self):
        records = b"0 " + NOTEPAD.encode() + b"\r\n5 C:\\plan.txt\r\n11 D:\\last one\r\n"
        self.write_settings(b"kept by hand\r\n" + OPEN + records + CLOSE)
        skelvo = self.start_holding("share")
        self.quit(skelvo)  # no write-failure message stops the quit
        self.assertEqual(self.saved(), OPEN + records + CLOSE)

    def test_file_that_cannot_be_read_is_kept(self):
        original = b"kept by hand\r\n" + OPEN + b"3 C:\\plan.txt\r\n" + CLOSE
        self.write_settings(original)
        skelvo = self.start_holding("noshare")
        self.h.post(WM_CLOSE)
        self.h.message_box(caption="終了確認", press="yes")
        box = self.h.message_box(press="ok")
        self.assertEqual(box["text_bytes"], cp932("ファイルの書き込みに失敗しました"))
        self.assertEqual(skelvo.wait(20), 0)
        self.assertEqual(self.saved(), original)

if __name__ == "__main__":
    harness.main()
