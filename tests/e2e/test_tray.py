"""The tray icon and the tooltip on the real panel. With no system tray on the X display,
Wine shows its icons in a window of its own ("Wine System Tray"), the first icon at the
top left of its client area."""

import os
import shutil
import subprocess
import tempfile
import time

import harness
from harness import cp932

ENTER_TRAY, LEAVE_TRAY, SWITCH_FUNCTION = 40012, 40013, 40066
DESKTOP_1, DESKTOP_3 = 40054, 40056
HIDE_ALL = 40069
SMALL, FULL = "32x32+202+124", "236x157+0+0"
WAIT_S = 30


class TrayCase(harness.WineTestCase):
    def command(self, identifier):
        self.h.post(harness.WM_COMMAND, identifier)

    def panel_visible(self):
        return self.h.panels()[0]["visible"]

    def visible(self, *windows):
        found = {w["hwnd"]: w["visible"] for w in self.h.windows()}
        return [found.get(w.windows[0]["hwnd"]) for w in windows]

    def shape(self):
        (xid,) = self.h.x_windows(harness.PANEL_TITLE)
        out = subprocess.run(["xwininfo", "-shape", "-id", xid], env=self.h.env,
                             capture_output=True, timeout=10).stdout.decode()
        extents = [line.split(":", 1)[1].strip() for line in out.splitlines()
                   if "Window shape extents" in line]
        return extents[0] if extents else FULL  # never shaped: the whole window

    def popups(self):
        return [w for w in self.h.windows() if w["class"] == "#32768" and w["visible"]]

    def sub_menu(self, menu, what, top=None):
        """The one sub-menu open beside menu, once it shows (at top, if given)."""
        def opened():
            subs = [w for w in self.popups() if w["hwnd"] != menu["hwnd"]]
            return len(subs) == 1 and top in (None, subs[0]["rect"][1]) and subs[0]
        return self.h.wait_for(opened, what, WAIT_S)

    def into_tray(self):
        """40012; the screen point of the icon, once the panel is hidden."""
        self.command(ENTER_TRAY)
        (xid,) = self.h.wait_for(lambda: not self.panel_visible()
                                 and self.h.x_windows("Wine System Tray"), "the tray", WAIT_S)
        left, top, _, _ = self.h.x_geometry(xid)
        return left + 10, top + 10

    def back(self, shape):
        self.h.wait_for(lambda: self.panel_visible() and self.shape() == shape,
                        f"the panel shown as {shape}", WAIT_S)

    def start(self, cwd=None):
        self.h.start_skelvo(cwd=cwd)
        self.h.wait_panels(1)


class TrayIcon(TrayCase):
    def test_40013_brings_it_back_full_and_an_icon_double_click_small(self):
        self.start()
        self.into_tray()
        self.command(LEAVE_TRAY)
        self.back(FULL)
        self.h.click(*self.into_tray(), repeat=2)
        self.back(SMALL)

    def test_tray_popup_switches_desktops_while_the_panel_stays_hidden(self):
        first = self.h.open_windows("tray desktop 0", "--rect", "420,420,300,200")
        self.start()
        self.command(DESKTOP_3)
        self.h.wait_for(lambda: self.visible(first) == [False], "desktop 0 parked", WAIT_S)
        later = self.h.open_windows("tray desktop 2", "--rect", "420,420,300,200")
        self.command(DESKTOP_1)
        self.h.wait_for(lambda: self.visible(first, later) == [True, False], "desktop 0", WAIT_S)

        icon = self.into_tray()
        self.h.click(*icon, button=3)
        (menu,) = self.h.wait_for(self.popups, "the tray popup", WAIT_S)
        self.assertEqual(menu["rect"][:2], list(icon), "the popup opens at the pointer")
        # Chosen with the pointer: under a window manager the keyboard stays with the tray's
        # own window, and Wine gives the keys to that window's program, not to the panel
        # that holds the foreground and the popup.
        # "ランチャー起動" first: its sub-menu's twelve items give the item height.
        left, top = menu["rect"][:2]
        self.h.xdotool("mousemove", str(left + 30), str(top + 6))
        launch = self.sub_menu(menu, "the launcher sub-menu")
        row = (launch["rect"][3] - launch["rect"][1]) // 12
        # "デスクトップ切替", the next item; its sub-menu opens one row lower.
        self.h.xdotool("mousemove", str(left + 30), str(top + 6 + row))
        desktops = self.sub_menu(menu, "the desktop sub-menu", launch["rect"][1] + row)
        # "デスクトップ3", its third item.
        self.h.click(desktops["rect"][0] + 30, desktops["rect"][1] + 6 + 2 * row)
        self.h.wait_for(lambda: self.visible(first, later) == [False, True], "desktop 2", WAIT_S)
        self.assertFalse(self.panel_visible())


    def test_taskbar_created_in_the_tray_leaves_one_icon(self):
        self.start()
        icon = self.into_tray()
        (tray,) = self.h.x_windows("Wine System Tray")
        one_icon = self.h.x_geometry(tray)
        self.h.fixture("send", "--broadcast", "--msg-name", "TaskbarCreated")
        # The broadcast has been handled once the question of a command posted after it shows.
        self.command(HIDE_ALL)
        self.h.message_box(caption="注意！", press="no")
        self.assertFalse(self.panel_visible(), "still in the tray")
        self.assertEqual(self.h.x_windows("Wine System Tray"), [tray])
        self.assertEqual(self.h.x_geometry(tray), one_icon, "one icon")
        self.h.click(*icon, repeat=2)
        self.back(SMALL)
        self.h.wait_for(lambda: not self.h.x_windows("Wine System Tray"), "no icon left", WAIT_S)


class ToolTip(TrayCase):
    def hover(self, client, text):
        """Holds the pointer over a client point of the panel until the tip reads text. An
        arrival while the text is still empty (off the panel at the last tick) shows no tip
        until the next arrival, so each try comes from off the panel."""
        seen = {}

        def shows():
            (seen["tip"],) = [t for t in self.h.fixture("tooltip")
                              if t["owner_class"] == harness.PANEL_CLASS]
            return seen["tip"]["visible"] and seen["tip"]["text_hex"] == cp932(text).hex()
        for attempt in range(4):
            self.h.xdotool("mousemove", "1010", "750", "sleep", "0.3")
            self.h.xdotool(*self.h._arrive(200 + client[0], 200 + client[1]))
            try:
                return harness.poll(shows, 4, f"the tip {text!r} at {client}",
                                    describe=lambda: seen)
            except AssertionError:
                if attempt == 3:
                    raise

    def test_tip_stays_up_while_the_pointer_rests(self):
        self.start()
        text = "このデスクトップには、“ 0 ”個のウィンドウが存在します"
        self.hover((77, 62), text)  # an empty cell
        end, samples = time.monotonic() + 15, 0
        while time.monotonic() < end:
            (tip,) = [t for t in self.h.fixture("tooltip")
                      if t["owner_class"] == harness.PANEL_CLASS]
            self.assertTrue(tip["visible"], f"hidden after {samples} samples")
            self.assertEqual(tip["text_hex"], cp932(text).hex())
            samples += 1
        self.assertGreater(samples, 10)

    def test_tip_over_each_part_of_the_panel(self):
        # Slot 5 registered from the settings file in the start-up directory.
        directory = tempfile.mkdtemp(prefix="skelvo-tip-")
        self.addCleanup(shutil.rmtree, directory, True)
        path = "C:\\ツール\\表計算 メモ.txt"
        with open(os.path.join(directory, "KQZ.txt"), "wb") as f:
            f.write(cp932(f"--- LANCHER ---\r\n5 {path}\r\n--- L_END ---"))
        self.start(cwd=directory)
        # Desktop 2 holds just the two windows opened on it, clear of the panel: without a
        # window manager, a window over the panel would take the pointer.
        self.command(DESKTOP_3)
        title = "ツールチップ試験の窓"
        self.h.open_windows(title, "--rect", "600,420,200,150")
        self.h.open_windows("ツールチップ 二つ目", "--rect", "850,620,150,100")
        count = "このデスクトップには、“ {} ”個のウィンドウが存在します"
        for client, text in [
                ((136, 27), title),  # its map rectangle: (132, 24)-(142, 31)
                ((110, 10), count.format(2)),
                ((77, 62), count.format(0)),
                ((220, 30), "クリックで機能を切り替えます"),
                ((100, 140), "ウィンドウタイトル、またはファイル／フォルダ名を表示します。"
                             "もしくは、ダブルクリックでツールをタスクトレイに収納します"),
                ((218, 140), "クリックでツールサイズを変更します")]:
            self.hover(client, text)
        self.command(SWITCH_FUNCTION)
        self.hover((77, 62), path)
        self.hover((27, 62), "未だ登録されていません")


if __name__ == "__main__":
    harness.main()
