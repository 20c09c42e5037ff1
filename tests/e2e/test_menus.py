"""The popup menus of the real panel: menu 123 read back from Skelvo.exe itself, popups
opened by right releases over the map, the buttons and the information bar, and items
chosen in them with the keyboard doing their work on fixture windows.

Popups are read from the screen: the X window of the popup appears at the release point,
and the greyed "ウィンドウ" item makes the only difference between two desktop popups."""

import harness

PANEL = (200, 200)
PARK = (1010, 750)
YES_NO_EXCLAMATION = 0x34
LAUNCH = [f"ランチャー{i}" for i in range(1, 13)]
DESKTOPS = [f"デスクトップ{i}" for i in range(1, 13)]
SEP = None


def items(texts, first_id):
    return [(t, first_id + i) for i, t in enumerate(texts)]


# (text, id) for an item, (text, [items]) for a sub-menu, SEP for a separator.
TEMPLATE = [
    ("TRAYダミー", [
        ("ランチャー起動", items(LAUNCH, 40042)),
        ("デスクトップ切替", items(DESKTOPS, 40054)),
        SEP, ("タスクトレイから取り出す", 40013), SEP, ("終了", 40015)]),
    ("デスクトップダミー", [
        ("デスクトップ切替", items(DESKTOPS, 40054)),
        SEP,
        ("ウィンドウ", [
            ("ウィンドウを元のサイズに戻す", 40003), ("すべてのウィンドウを元のサイズに戻す", 40006), SEP,
            ("ウィンドウを最大化", 40004), ("ウィンドウを最小化", 40005),
            ("すべてのウィンドウを最大化", 40007), ("すべてのウィンドウを最小化", 40008), SEP,
            ("ウィンドウを閉じる", 40011), ("すべてのウィンドウを閉じる", 40010)]),
        ("デスクトップ", [
            ("すべてのウィンドウを元のサイズに戻す", 40006), ("すべてのデスクトップを元のサイズに戻す", 40024), SEP,
            ("すべてのウィンドウを最大化", 40007), ("すべてのデスクトップを最大化", 40025),
            ("すべてのウィンドウを最小化", 40008), ("すべてのデスクトップを最小化", 40026), SEP,
            ("すべてのウィンドウを閉じる", 40010), ("すべてのデスクトップを閉じる", 40027), SEP,
            ("すべての非表示ウィンドウを表示する", 40068), ("すべての表示ウィンドウを非表示する", 40069)]),
        SEP, ("機能切替", 40066), ("サイズ変更", 40014), SEP, ("タスクトレイに入れる", 40012), SEP,
        ("終了", 40015)]),
    ("ランチャーダミー", [
        ("デスクトップ切替", items(DESKTOPS, 40054)),
        SEP,
        ("ランチャー", [
            ("実行する", 40002), ("登録する", 40001), SEP, ("指定して実行", items(LAUNCH, 40042)),
            ("すべての登録を実行する", 40067), SEP, ("登録を削除する", 40017),
            ("すべての登録を削除する", 40028)]),
        SEP, ("機能切替", 40066), ("サイズ変更", 40014), ("タスクトレイに入れる", 40012), SEP,
        ("終了", 40015)]),
]


def flatten(entries, path=()):
    """The template as the fixture prints it, depth first."""
    out = []
    for i, entry in enumerate(entries):
        where = list(path) + [i]
        if entry is SEP:
            out.append({"path": where, "id": 0, "separator": True, "popup": False, "state": 0,
                        "text": ""})
            continue
        text, rest = entry
        popup = isinstance(rest, list)
        out.append({"path": where, "id": 0 if popup else rest, "separator": False,
                    "popup": popup, "state": 0, "text": harness.cp932(text).hex()})
        if popup:
            out += flatten(rest, where)
    return out


class Menus(harness.WineTestCase):
    def start(self):
        # In desktop 0's cell A maps to (4..19, 24..34) and B to (41..47, 7..13); the harness's
        # desktop keeper covers (2..40, 2..32).
        self.fixture_windows = self.h.open_windows("メニュー試験", "--rect", "40,420,300,200")
        self.a = self.fixture_windows.windows[0]["hwnd"]
        self.b_windows = self.h.open_windows("メニュー試験B", "--rect", "780,100,200,120")
        self.b = self.b_windows.windows[0]["hwnd"]
        self.h.start_skelvo()
        self.h.wait_panels(1)

    def popups(self):
        return [w for w in self.h.windows() if w["class"] == "#32768" and w["visible"]]

    def open_popup(self, x, y):
        """Right click at a client point of the panel; the popup's window once it shows."""
        self.h.click(PANEL[0] + x, PANEL[1] + y, button=3)
        (popup,) = self.h.wait_for(lambda: self.popups() or None, "a popup", timeout=10)
        return popup

    def keys(self, *names):
        code, _ = self.h.xdotool("key", "--delay", "80", *names)
        self.assertEqual(code, 0)

    def close_popup(self):
        self.keys("Escape", "Escape", "Escape")
        self.h.wait_for(lambda: not self.popups(), "the popup closed", timeout=10)

    def state(self, hwnd):
        (w,) = [w for w in self.h.windows() if w["hwnd"] == hwnd]
        return w

    def picture(self, popup):
        """The popup's pixels once it has painted: two equal shots with text in them."""
        x, y, r, b = popup["rect"]
        last = [None]

        def painted():
            shot = self.h.screenshot(x, y, r - x, b - y)
            steady = last[0] is not None and shot.data == last[0].data
            last[0] = shot
            return shot if steady and len(shot.colours()) > 2 else None
        return self.h.wait_for(painted, "the popup painted", timeout=10)

    def test_template_123_in_the_exe(self):
        exe = "Z:" + self.h.exe.replace("/", "\\")
        read = self.h.fixture("menu", "--exe", exe, "--id", "123")
        for item in read:
            if item["separator"]:
                item["state"] = 0  # the loader marks separators disabled itself
        self.maxDiff = None
        self.assertEqual(read, flatten(TEMPLATE))

    def test_popups_by_place_and_escape(self):
        self.start()
        over_window = self.open_popup(10, 28)
        self.assertEqual(over_window["rect"][:2], [PANEL[0] + 10, PANEL[1] + 28],
                         "top-left at the release point")
        enabled = self.picture(over_window)
        self.close_popup()
        self.assertTrue(self.state(self.a)["visible"] and not self.state(self.a)["minimised"])

        greyed = self.picture(self.open_popup(45, 30))  # empty part of the cell
        self.close_popup()
        self.assertEqual((enabled.width, enabled.height), (greyed.width, greyed.height))
        differ = [(x, y) for y in range(greyed.height) for x in range(greyed.width)
                  if greyed.pixel(x, y) != enabled.pixel(x, y)]
        self.assertTrue(differ, "ウィンドウ greyed over an empty part of the cell")
        rows = {y for _, y in differ}
        self.assertLess(max(rows) - min(rows), greyed.height // 8, "one item's row differs")

        bar = self.picture(self.open_popup(100, 140))  # information bar: greyed too
        self.close_popup()
        self.assertEqual(bar.data, greyed.data)

        self.h.post(harness.WM_COMMAND, 40066)  # launcher function
        launcher = self.open_popup(10, 28)
        self.assertLess(launcher["rect"][3] - launcher["rect"][1], greyed.height,
                        "the launcher popup is shorter")
        self.close_popup()

    def test_minimise_the_window_under_the_pointer(self):
        self.start()
        self.open_popup(10, 28)
        # ウィンドウ ▸ ウィンドウを最小化: the fifth item, past a separator.
        self.keys("Down", "Down", "Right", "Down", "Down", "Down", "Return")
        self.h.wait_for(lambda: self.state(self.a)["minimised"] or None, "A minimised")
        self.assertFalse(self.state(self.b)["minimised"])

    def test_close_the_window_that_goes_while_asked_closes_no_other(self):
        self.start()
        self.open_popup(10, 28)
        # ウィンドウ ▸ ウィンドウを閉じる: the ninth item, past two separators.
        self.keys("Down", "Down", "Right", *["Down"] * 6, "Return")
        box = self.h.message_box(caption="終了確認")
        self.assertEqual(box["text_bytes"], harness.cp932("ウィンドウを閉じますか？"))
        # A goes while the question is open; the refresh that drops it shows on the map.
        (dialog,) = [w for w in self.h.windows() if w["class"] == "#32770" and w["visible"]]
        left, top, right, bottom = dialog["rect"]
        self.assertFalse(left < PANEL[0] + 20 and right > PANEL[0] + 4 and top < PANEL[1] + 35
                         and bottom > PANEL[1] + 24, "the question leaves A's map place seen")
        self.h.xdotool("mousemove", *map(str, PARK))  # no tooltip over the map
        self.h.wait_for(lambda: not [t for t in self.h.fixture("tooltip") if t["visible"]],
                        "no tooltip")
        before = self.h.screenshot(PANEL[0] + 4, PANEL[1] + 24, 16, 11)
        self.h.post(harness.WM_CLOSE, hwnd=self.a)
        self.fixture_windows.wait_events("destroyed", 1)
        self.h.wait_for(lambda: self.h.screenshot(PANEL[0] + 4, PANEL[1] + 24, 16, 11).data
                        != before.data or None, "A off the map")
        self.h.message_box(caption="終了確認", press="yes")
        # The answer has been carried out once a switch posted after it hides B; B's thread
        # has handled what was posted to it by then once it wakes from a later sleep.
        self.h.post(harness.WM_COMMAND, 40055)
        self.h.wait_for(lambda: not self.state(self.b)["visible"], "B parked")
        self.b_windows.popen.stdin.write(b"sleep 1\n")
        self.b_windows.popen.stdin.flush()
        self.b_windows.wait_events("awake", 1)
        self.assertFalse(self.b_windows.events("destroyed"), "B was asked to close")

    def close_all_desktops(self, press):
        self.open_popup(10, 28)
        # デスクトップ ▸ すべてのデスクトップを閉じる, the tenth item.
        self.keys("Down", "Down", "Down", "Right", *["Down"] * 7, "Return")
        box = self.h.message_box(caption="終了確認", press=press)
        self.assertEqual(box["caption_bytes"], harness.cp932("終了確認"))
        self.assertEqual(box["text_bytes"], harness.cp932("すべてのデスクトップを閉じますか？"))

    def test_close_all_desktops_no_then_yes(self):
        self.start()
        # C opens once desktop 2 is on screen: opened before, it would belong to whichever
        # desktop the panel's refresh found on screen first.
        self.h.post(harness.WM_COMMAND, 40056)
        self.h.wait_for(lambda: not self.state(self.a)["visible"] or None, "desktop 0 hidden")
        parked = self.h.open_windows("メニュー試験C", "--rect", "500,300,200,150")
        c = parked.windows[0]["hwnd"]
        self.h.post(harness.WM_COMMAND, 40054)
        self.h.wait_for(lambda: not self.state(c)["visible"] or None, "C parked on desktop 2")

        self.close_all_desktops("no")
        self.assertFalse(self.fixture_windows.events("destroyed") or parked.events("destroyed"))
        self.close_all_desktops("yes")
        self.h.wait_for(lambda: parked.events("destroyed") or None, "hidden C asked to close")
        self.fixture_windows.wait_events("destroyed", 1)

    def hide_or_show_all(self, keys, text):
        self.open_popup(10, 28)
        self.keys("Down", "Down", "Down", "Right", *keys, "Return")
        box = self.h.message_box(caption="注意！", press="yes")
        self.assertEqual(box["text_bytes"], harness.cp932(text))

    def test_hide_all_show_all_and_quit(self):
        self.start()
        hwnds = (self.a, self.b)
        # The last two items of デスクトップ: Up wraps to the last.
        self.hide_or_show_all(["Up"], "すべての表示ウィンドウを非表示しますか？")
        self.h.wait_for(lambda: not any(self.state(w)["visible"] for w in hwnds) or None,
                        "every window hidden")
        (panel,) = self.h.wait_panels(1)
        self.hide_or_show_all(["Up", "Up"], "すべての非表示ウィンドウを表示しますか？")
        self.h.wait_for(lambda: all(self.state(w)["visible"] for w in hwnds) or None,
                        "every window shown")

        self.hide_or_show_all(["Up"], "すべての表示ウィンドウを非表示しますか？")
        self.h.wait_for(lambda: not any(self.state(w)["visible"] for w in hwnds) or None,
                        "hidden again")
        self.h.post(harness.WM_CLOSE)
        self.h.message_box(caption="終了確認", press="yes")
        self.h.wait_panels(0)
        self.h.wait_for(lambda: all(self.state(w)["visible"] for w in hwnds) or None,
                        "quitting shows them")


if __name__ == "__main__":
    harness.main()
