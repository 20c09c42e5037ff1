"""The tray icon and the tooltip on the real panel under Wine. With no system tray on the
X display, Wine shows its icons in a window of its own ("Wine System Tray"); the first
icon sits in the top-left corner of its client area.

Into the tray by command 40012 and back by a pointer double-click on the icon (small) or
by 40013 (full); the tray popup from a right press, walked by keyboard to "デスクトップ3";
and the tooltip's text, read as CP932 bytes, over each part of the panel."""

import subprocess

import harness
from harness import cp932

ENTER_TRAY, LEAVE_TRAY = 40012, 40013
DESKTOP_1, DESKTOP_3 = 40054, 40056
SWITCH_FUNCTION, SWITCH_SIZE = 40066, 40014
TRAY_CLASS = "__winex11_standalone_tray"
TRAY_TITLE = "Wine System Tray"
PANEL = (200, 200)
PARK = (1010, 750)
WAIT_S = 30


class TrayCase(harness.WineTestCase):
    def x(self, *args):
        code, out = self.h.xdotool(*args, timeout=20)
        if code != 0:
            raise AssertionError(f"xdotool {' '.join(args)} failed: {out}")
        return out

    def arrive(self, point):
        """Onto point from beside it: Wine takes a press only where it saw the pointer."""
        self.x("mousemove", str(point[0] - 3), str(point[1] - 3))
        self.x("mousemove", "--sync", str(point[0]), str(point[1]))

    def command(self, identifier):
        self.h.post(harness.WM_COMMAND, identifier)

    def panel(self):
        (found,) = self.h.panels()
        return found

    def visible(self, hwnds):
        found = {w["hwnd"]: w["visible"] for w in self.h.windows()}
        return {h: found.get(h) for h in hwnds}

    def shape(self):
        (xid,) = self.h.x_windows(harness.PANEL_TITLE)
        out = subprocess.run(["xwininfo", "-shape", "-id", xid], env=self.h.env,
                             capture_output=True, timeout=10).stdout.decode()
        for line in out.splitlines():
            if "Window shape extents" in line:
                return line.split(":", 1)[1].strip()
        return None

    def into_tray(self):
        """40012; returns the screen point of the icon once the panel is hidden."""
        self.command(ENTER_TRAY)

        def tray():
            ws = self.h.windows()
            panel = self.h.panels(ws)
            shown = [w for w in ws if w["class"] == TRAY_CLASS and w["visible"]]
            return not panel[0]["visible"] and shown and self.h.x_windows(TRAY_TITLE)
        (xid,) = self.h.wait_for(tray, "the panel hidden and the tray window shown", WAIT_S)
        left, top, _, _ = self.h.x_geometry(xid)
        return left + 10, top + 10

    def wait_panel_shown(self, extents):
        self.h.wait_for(lambda: self.panel()["visible"] and self.shape() == extents,
                        f"the panel shown with shape {extents}", WAIT_S)


class TrayIcon(TrayCase):
    def test_double_click_on_the_icon_brings_it_back_small_and_40013_full(self):
        self.h.start_skelvo()
        self.h.wait_panels(1)
        icon = self.into_tray()
        self.arrive(icon)
        self.x("click", "--repeat", "2", "--delay", "60", "1")
        self.wait_panel_shown("32x32+202+124")
        self.assertEqual(self.panel()["rect"], [200, 200, 436, 357])

        self.into_tray()
        self.command(LEAVE_TRAY)
        self.wait_panel_shown("32x32+202+124")  # 40013 keeps the size

        # Back to full through the corner, then in and out again: full stays full.
        self.command(SWITCH_SIZE)
        self.wait_panel_shown("236x157+0+0")
        self.into_tray()
        self.command(LEAVE_TRAY)
        self.wait_panel_shown("236x157+0+0")

    def test_tray_popup_switches_desktops_while_the_panel_stays_hidden(self):
        first = self.h.open_windows("tray desktop 0", "--rect", "420,420,300,200").windows[0]
        self.h.start_skelvo()
        self.h.wait_panels(1)
        self.command(DESKTOP_3)
        self.h.wait_for(lambda: self.visible([first["hwnd"]]) == {first["hwnd"]: False},
                        "desktop 0's window hidden", WAIT_S)
        later = self.h.open_windows("tray desktop 2", "--rect", "420,420,300,200").windows[0]
        self.command(DESKTOP_1)
        both = [first["hwnd"], later["hwnd"]]
        self.h.wait_for(lambda: self.visible(both) == {both[0]: True, both[1]: False},
                        "desktop 0 back", WAIT_S)

        icon = self.into_tray()
        self.arrive(icon)
        self.x("mousedown", "3", "sleep", "0.1", "mouseup", "3")
        menu = self.h.wait_for(
            lambda: [w for w in self.h.windows() if w["class"] == "#32768" and w["visible"]],
            "the tray popup", WAIT_S)
        self.assertEqual(menu[0]["rect"][:2], list(icon), "the popup opens at the pointer")
        # "デスクトップ切替" is the second item; its sub-menu opens on its first item.
        self.x("key", "Down", "sleep", "0.1", "key", "Down", "sleep", "0.1", "key", "Right",
               "sleep", "0.2", "key", "Down", "sleep", "0.1", "key", "Down", "sleep", "0.1",
               "key", "Return")
        self.h.wait_for(lambda: self.visible(both) == {both[0]: False, both[1]: True},
                        "desktop 2 on screen", WAIT_S)
        # (Wine's tray window is an ordinary captioned window, so the switch parks it with
        # desktop 0; a real taskbar is not.)
        self.assertFalse(self.panel()["visible"])


class ToolTip(TrayCase):
    def tip(self):
        found = [t for t in self.h.fixture("tooltip") if t["owner_class"] == harness.PANEL_CLASS]
        self.assertEqual(len(found), 1, found)
        return found[0]

    def hover(self, client, text):
        """Parks the pointer off the panel, holds it over a client point and waits for the
        shown tip to read text."""
        self.x("mousemove", "--sync", str(PARK[0]), str(PARK[1]))
        self.arrive((PANEL[0] + client[0], PANEL[1] + client[1]))
        want = cp932(text).hex()
        seen = {}

        def shows():
            seen["tip"] = self.tip()
            return seen["tip"]["visible"] and seen["tip"]["text_hex"] == want
        harness.poll(shows, 15, f"the tip {text!r} at {client}",
                     describe=lambda: f"tip: {seen.get('tip')}")

    def test_tip_over_each_part_of_the_panel(self):
        self.h.start_skelvo()
        self.h.wait_panels(1)
        # Desktop 2 holds just the two windows opened on it, clear of the panel: over a
        # window without a manager the pointer would be the window's.
        self.command(DESKTOP_3)
        title = "ツールチップ試験の窓"
        self.h.open_windows(title, "--rect", "600,420,200,150")
        self.h.open_windows("ツールチップ 二つ目", "--rect", "850,620,150,100")
        count = "このデスクトップには、“ {} ”個のウィンドウが存在します"
        for client, text in [
                ((136, 27), title),  # the first window's map rectangle, (132, 24)-(142, 31)
                ((110, 10), count.format(2)),
                ((77, 62), count.format(0)),
                ((220, 30), "クリックで機能を切り替えます"),
                ((100, 140), "ウィンドウタイトル、またはファイル／フォルダ名を表示します。"
                             "もしくは、ダブルクリックでツールをタスクトレイに収納します"),
                ((218, 140), "クリックでツールサイズを変更します")]:
            with self.subTest(client=client):
                self.hover(client, text)

        self.command(SWITCH_FUNCTION)
        self.hover((77, 62), "未だ登録されていません")


if __name__ == "__main__":
    harness.main()
