"""The panel window: where it appears, its size, class, title and styles, and that it
stays above ordinary windows."""

import harness

WS_POPUP = 0x80000000
WS_CAPTION = 0x00C00000
WS_EX_TOPMOST = 0x00000008
WS_EX_ACCEPTFILES = 0x00000010
WS_EX_TOOLWINDOW = 0x00000080


class PanelWindow(harness.WineTestCase):
    def test_appears_at_200_200_as_a_236_by_157_topmost_popup(self):
        self.h.start_skelvo()
        (panel,) = self.h.wait_panels(1)
        self.assertEqual(panel["rect"], [200, 200, 200 + 236, 200 + 157])
        self.assertTrue(panel["visible"])
        self.assertTrue(panel["topmost"])
        self.assertEqual(panel["exstyle"] & (WS_EX_TOPMOST | WS_EX_ACCEPTFILES | WS_EX_TOOLWINDOW),
                         WS_EX_TOPMOST | WS_EX_ACCEPTFILES | WS_EX_TOOLWINDOW)
        self.assertTrue(panel["style"] & WS_POPUP)
        self.assertFalse(panel["style"] & WS_CAPTION)

        # The X server sees the same rectangle.
        (xid,) = self.h.wait_for(lambda: self.h.x_windows(harness.PANEL_TITLE),
                                 "the panel's X window")
        self.assertEqual(self.h.x_geometry(xid), (200, 200, 236, 157))

    def test_stays_above_a_window_opened_later_over_it(self):
        self.h.start_skelvo()
        self.h.wait_panels(1)
        opened = self.h.open_windows("over the panel", "--rect", "150,150,400,300")
        hwnd = opened.windows[0]["hwnd"]
        windows = self.h.windows()
        (panel,) = self.h.panels(windows)
        (other,) = [w for w in windows if w["hwnd"] == hwnd]
        self.assertTrue(other["visible"])
        self.assertLess(panel["z"], other["z"])


if __name__ == "__main__":
    harness.main()
