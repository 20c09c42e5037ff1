"""The e2e harness and fixture.exe checked against windows and message boxes of the
fixture's own, so that a fault in the tools is not mistaken for one in the panel."""

import harness
from harness import cp932

WS_EX_TOPMOST = 0x8


class CodePage(harness.WineTestCase):
    def test_wine_runs_with_code_page_932_on_the_test_screen(self):
        (info,) = self.h.fixture("info")
        self.assertEqual(info["acp"], 932)
        self.assertEqual(info["screen"], [1024, 768])


class ListedWindows(harness.WineTestCase):
    def by_hwnd(self):
        return {w["hwnd"]: w for w in self.h.windows()}

    def test_titles_states_and_rectangles(self):
        title = "仮想デスクトップ「テスト」"
        normal = self.h.open_windows(title, "--rect", "30,40,300,200", "--count", "2")
        minimised = self.h.open_windows("min", "--state", "min")
        maximised = self.h.open_windows("max", "--state", "max", "--disabled")
        hidden = self.h.open_windows("hidden", "--state", "hidden", "--style", "popup")
        top = self.h.open_windows("top", "--topmost", "--rect", "0,0,50,50")
        listed = self.by_hwnd()

        first, second = (listed[w["hwnd"]] for w in normal.windows)
        self.assertEqual(bytes.fromhex(first["title_hex"]), cp932(title) + b" 1")
        self.assertEqual(bytes.fromhex(second["title_hex"]), cp932(title) + b" 2")
        self.assertEqual(first["title"], title + " 1")
        self.assertEqual(first["rect"], [30, 40, 330, 240])
        self.assertTrue(first["visible"] and first["enabled"])
        self.assertFalse(first["minimised"] or first["maximised"] or first["topmost"])

        m = listed[minimised.windows[0]["hwnd"]]
        self.assertTrue(m["minimised"] and m["visible"])
        x = listed[maximised.windows[0]["hwnd"]]
        self.assertTrue(x["maximised"])
        self.assertFalse(x["enabled"])
        self.assertFalse(listed[hidden.windows[0]["hwnd"]]["visible"])
        t = listed[top.windows[0]["hwnd"]]
        self.assertTrue(t["topmost"])
        self.assertTrue(t["exstyle"] & WS_EX_TOPMOST)

        # Z order: the topmost window above all others, the later of two windows above.
        self.assertLess(t["z"], min(first["z"], second["z"], m["z"]))
        self.assertLess(second["z"], first["z"])

    def test_quit_line_ends_the_fixture_and_its_windows(self):
        opened = self.h.open_windows("quit me", "--count", "2")
        hwnds = {w["hwnd"] for w in opened.windows}
        self.assertLessEqual(hwnds, set(self.by_hwnd()))
        self.assertEqual(opened.quit(), 0)
        self.h.wait_for(lambda: not hwnds & set(self.by_hwnd()), "the fixture's windows to go")

    def test_posted_close_reaches_the_window_found_by_class_and_title(self):
        opened = self.h.open_windows("close target", "--class", "HarnessTarget")
        hwnd = opened.windows[0]["hwnd"]
        sent = self.h.post(harness.WM_CLOSE, cls="HarnessTarget", title="close target")
        self.assertEqual(sent["hwnd"], hwnd)
        self.h.wait_for(lambda: hwnd not in self.by_hwnd(), "the closed window to go")
        # Nothing left to send to: the fixture says so by its exit code.
        self.h.fixture("send", "--class", "HarnessTarget", "--msg", "16", "--timeout", "300",
                       ok_codes=(2,))


class MessageBoxes(harness.WineTestCase):
    CAPTION = "重複起動の確認"
    TEXT = "すでにツールは起動しています。\n重複起動しますか？"
    MB_YESNO_QUESTION = 0x24

    def show(self):
        return self.h.start(self.h.fixture_exe, "showbox",
                            "--caption-hex", cp932(self.CAPTION).hex(),
                            "--text-hex", cp932(self.TEXT).hex(),
                            "--flags", str(self.MB_YESNO_QUESTION), name="showbox")

    def test_caption_text_and_buttons_read_as_cp932_bytes(self):
        shown = self.show()
        box = self.h.message_box(press="no")
        self.assertEqual(box["caption_bytes"], cp932(self.CAPTION))
        self.assertEqual(box["text_bytes"], cp932(self.TEXT))
        self.assertIn(b"\n", box["text_bytes"])
        self.assertEqual({b["id"] for b in box["buttons"]}, {6, 7})
        self.assertEqual(shown.wait(20), 7)  # IDNO

    def test_filters_and_missing_buttons_are_reported(self):
        shown = self.show()
        # A box that does not match waits out its deadline and says so.
        self.h.fixture("msgbox", "--caption", "other", "--timeout", "500", ok_codes=(2,))
        self.h.fixture("msgbox", "--owner-class", "WindowControl", "--timeout", "500",
                       ok_codes=(2,))
        # A yes/no box has no OK button: nothing is pressed, the box stays.
        self.h.fixture("msgbox", "--press", "ok", "--timeout", "5000", ok_codes=(3,))
        self.assertTrue(shown.alive())
        self.h.message_box(caption=self.CAPTION, press="yes")
        self.assertEqual(shown.wait(20), 6)  # IDYES


class Pointer(harness.WineTestCase):
    def test_clicks_and_drags_reach_the_window_under_the_pointer(self):
        opened = self.h.open_windows("harness pointer", "--style", "popup", "--topmost",
                                     "--rect", "300,300,200,100")
        self.h.wait_for(lambda: self.h.x_windows("harness pointer"), "the X window")

        self.h.click(350, 320)
        down, up = opened.wait_events("mouse", 2)
        self.assertEqual((down["what"], down["x"], down["y"]), ("ldown", 50, 20))
        self.assertEqual((up["what"], up["x"], up["y"]), ("lup", 50, 20))

        self.h.click(310, 390, repeat=2)
        events = [e["what"] for e in opened.wait_events("mouse", 6)[2:]]
        self.assertEqual(events, ["ldown", "lup", "ldouble", "lup"])

        self.h.click(499, 399, button=3)
        events = opened.wait_events("mouse", 8)[6:]
        self.assertEqual([(e["what"], e["x"], e["y"]) for e in events],
                         [("rdown", 199, 99), ("rup", 199, 99)])

        self.h.drag((320, 330), (480, 380))
        press, release = opened.wait_events("mouse", 10)[8:]
        self.assertEqual((press["what"], press["x"], press["y"]), ("ldown", 20, 30))
        self.assertEqual((release["what"], release["x"], release["y"]), ("lup", 180, 80))


class Screen(harness.WineTestCase):
    def test_window_position_and_colour_on_screen(self):
        self.h.open_windows("harness colour", "--style", "popup", "--topmost",
                            "--rect", "50,60,120,80", "--colour", "0x3366cc")
        (xid,) = self.h.wait_for(lambda: self.h.x_windows("harness colour"),
                                 "the X window of the fixture's window")
        self.assertEqual(self.h.x_geometry(xid), (50, 60, 120, 80))
        shot = self.h.wait_for(
            lambda: (lambda s: s if s.colours() == {(0x33, 0x66, 0xcc)} else None)(
                self.h.screenshot(50, 60, 120, 80)),
            "the window painted in its colour")
        self.assertEqual((shot.width, shot.height), (120, 80))
        # Just outside, the root window's black.
        self.assertEqual(self.h.screenshot(49, 59, 1, 1).pixel(0, 0), (0, 0, 0))


if __name__ == "__main__":
    harness.main()
