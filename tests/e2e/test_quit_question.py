"""Closing the panel asks first: No keeps it running, Yes ends the process with 0."""

import harness
from harness import cp932

CAPTION = "終了確認"
TEXT = "「Skelvo」を終了しますか？"
IDYES, IDNO = 6, 7


class QuitQuestion(harness.WineTestCase):
    def ask(self, press):
        self.h.post(harness.WM_CLOSE)
        box = self.h.message_box(owner_class=harness.PANEL_CLASS, press=press)
        self.assertEqual(box["caption_bytes"], cp932(CAPTION))
        self.assertEqual(box["text_bytes"], cp932(TEXT))
        self.assertEqual({b["id"] for b in box["buttons"]}, {IDYES, IDNO})
        return box

    def test_no_keeps_the_panel_and_yes_quits_with_exit_code_0(self):
        skelvo = self.h.start_skelvo()
        (panel,) = self.h.wait_panels(1)

        self.ask("no")
        self.assertTrue(skelvo.alive())
        (still,) = self.h.wait_panels(1)
        self.assertEqual(still["hwnd"], panel["hwnd"])
        self.assertTrue(still["visible"])

        # Asked again, so it is still handling messages; this time it quits.
        self.ask("yes")
        self.assertEqual(skelvo.wait(20), 0)
        self.h.wait_panels(0)


if __name__ == "__main__":
    harness.main()
