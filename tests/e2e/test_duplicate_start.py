"""A second start while a panel exists asks whether to start again: No ends the new
process with 0 and leaves one panel, Yes starts a second panel."""

import harness
from harness import cp932

CAPTION = "重複起動の確認"
TEXT = "すでにツールは起動しています。\n重複起動しますか？"
IDYES, IDNO = 6, 7


class DuplicateStart(harness.WineTestCase):
    def ask(self, press):
        box = self.h.message_box(press=press)
        self.assertEqual(box["caption_bytes"], cp932(CAPTION))
        self.assertEqual(box["text_bytes"], cp932(TEXT))
        self.assertEqual({b["id"] for b in box["buttons"]}, {IDYES, IDNO})

    def test_no_leaves_one_panel_and_yes_starts_a_second(self):
        first = self.h.start_skelvo()
        (panel,) = self.h.wait_panels(1)

        second = self.h.start_skelvo()
        self.ask("no")
        self.assertEqual(second.wait(20), 0)
        (only,) = self.h.panels()
        self.assertEqual(only["hwnd"], panel["hwnd"])
        self.assertTrue(first.alive())

        third = self.h.start_skelvo()
        self.ask("yes")
        self.h.wait_panels(2)
        self.assertTrue(first.alive() and third.alive())


if __name__ == "__main__":
    harness.main()
