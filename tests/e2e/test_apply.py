"""Choosing and applying a new rate in the real Koravel.exe with the mouse and the keyboard."""
import sys
import time
import unittest

import koravel_e2e as e2e


def thumb_x(slider, rate):
    """Where the slider's thumb stands for rate, give or take a pixel or two: the channel runs
    across the control, less a margin at each end for the thumb."""
    margin = 10
    return slider["x"] + margin + (rate - 20) * (slider["w"] - 2 * margin) // 180


def press_ok_and_answer(answer):
    """OK in the settings dialog, then the given button of the Shutdown? prompt."""
    e2e.window(e2e.SETTINGS).click(e2e.IDOK)
    e2e.window(e2e.SHUTDOWN).click(answer)


def stored_dword(rate):
    """The value as Koravel writes it: present, REG_DWORD, four little-endian bytes."""
    return ("present", 4, "%02x000000" % rate)


def stored():
    value = e2e.value()
    return tuple(value[k] for k in ("state", "type", "bytes"))


class ApplyTest(e2e.KoravelTestCase):
    def focus_slider(self):
        for _ in range(3):
            if e2e.window(e2e.SETTINGS).control(e2e.SLIDER)["focused"]:
                return
            e2e.key("Tab")
        self.fail("the slider never took the focus")

    def test_drag_updates_the_new_rate_text(self):
        e2e.set_value("dword", 60)
        run = self.start()
        slider = e2e.window(e2e.SETTINGS).control(e2e.SLIDER)
        y = slider["y"] + slider["h"] // 2
        e2e.drag(thumb_x(slider, 60), y, thumb_x(slider, 150), y)
        w = e2e.window(e2e.SETTINGS)
        position = w.control(e2e.SLIDER)["pos"]
        self.assertLessEqual(abs(position - 150), 5, "the thumb followed the mouse")
        self.assertEqual(str(position), w.control(e2e.NEW_TEXT)["text"])
        self.assertEqual("60", w.control(e2e.CURRENT_TEXT)["text"])
        press_ok_and_answer(e2e.IDNO)
        self.assertEnds(run)
        self.assertEqual(stored_dword(position), stored())

    def test_keyboard_moves_leave_the_text_and_ok_writes_the_position(self):
        e2e.set_value("dword", 100)
        run = self.start()
        self.focus_slider()
        for key, position in (("Right", 101), ("Next", 111), ("Home", 20), ("End", 200),
                              ("Left", 199), ("Prior", 189)):
            e2e.key(key)
            w = e2e.window(e2e.SETTINGS)
            self.assertEqual(position, w.control(e2e.SLIDER)["pos"], key)
            self.assertEqual("100", w.control(e2e.NEW_TEXT)["text"], key)
        press_ok_and_answer(e2e.IDNO)
        self.assertEnds(run)
        self.assertEqual(stored_dword(189), stored())

    def test_cancel_at_the_prompt_then_ok_again(self):
        e2e.set_value("dword", 60)
        run = self.start()
        self.focus_slider()
        e2e.key("End")
        press_ok_and_answer(e2e.IDCANCEL)
        self.assertTrue(e2e.wait_gone(e2e.SHUTDOWN))
        self.assertEqual(stored_dword(60), stored())
        press_ok_and_answer(e2e.IDNO)
        self.assertEnds(run)
        self.assertEqual(stored_dword(200), stored())

    def test_yes_writes_the_rate_and_ends_the_session(self):
        e2e.set_value("dword", 60)
        run = self.start()
        self.focus_slider()
        e2e.key("End")
        press_ok_and_answer(e2e.IDYES)
        self.assertTrue(self.witness.ended(60), "the session did not end")
        self.assertEnds(run)
        self.assertEqual(stored_dword(200), stored())

    def test_failed_write_is_reported_and_windows_keeps_running(self):
        e2e.set_value("dword", 60)
        run = self.start()
        settings = e2e.window(e2e.SETTINGS)
        e2e.set_value("no-key")  # deleted under the open handle
        press_ok_and_answer(e2e.IDYES)
        error = e2e.window("Error")
        self.assertEqual(e2e.system_text(1018), e2e.message_text(error))
        # The dialog under the report takes no second OK.
        settings.click(e2e.IDOK)
        self.assertIsNone(e2e.probe("window", e2e.SHUTDOWN, 2000, check=False))
        error.click(text="OK")
        self.assertEnds(run)
        self.assertEqual("no-key", e2e.value()["state"])
        time.sleep(2)
        self.assertFalse(self.witness.ended(0), "no exit from Windows after a failed write")


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1], verbosity=2)
