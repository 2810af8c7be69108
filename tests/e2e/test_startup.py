"""The real Koravel.exe at start-up, over each kind of registry content."""
import sys
import unittest

import koravel_e2e as e2e


class StartupTest(e2e.KoravelTestCase):
    def test_stored_rate_is_shown(self):
        for stored, shown, position in ((60, "60", 60), (250, "250", 200), (10, "10", 20)):
            with self.subTest(stored=stored):
                e2e.set_value("dword", stored)
                run = self.start()
                w = e2e.window(e2e.SETTINGS)
                self.assertEqual(shown, w.control(1004)["text"])
                self.assertEqual(shown, w.control(1005)["text"])
                self.assertEqual((position, 20, 200),
                                 tuple(w.control(1002)[k] for k in ("pos", "min", "max")))
                self.assertEqual((position, 20, 200),
                                 tuple(w.control(1003)[k] for k in ("pos", "min", "max")))
                w.click(text="Cancel")
                self.assertEnds(run)
                self.assertEqual("%02x000000" % stored, e2e.value()["bytes"])

    def test_odd_content_is_read_as_its_bytes(self):
        for how, shown in ((("raw", 1, "ab000000"), "171"), (("raw", 3, "2c01"), "300")):
            with self.subTest(how=how):
                e2e.set_value(*how)
                before = e2e.value()
                run = self.start()
                w = e2e.window(e2e.SETTINGS)
                self.assertEqual(shown, w.control(1004)["text"])
                e2e.key("Escape")
                self.assertEnds(run)
                self.assertEqual(before, e2e.value())

    def test_failure_is_reported_once_and_the_program_ends(self):
        cases = {
            "no value": (("no-value",), False, 2),
            "no key": (("no-key",), False, 2),
            "8 bytes": (("raw", 11, "6400000000000000"), False, 234),
            "access denied": (("dword", 60), True, 5),
        }
        for name, (how, denied, code) in cases.items():
            with self.subTest(name):
                e2e.set_value(*how)
                e2e.deny(denied)
                before = e2e.value()
                run = self.start()
                box = e2e.window("Error")
                self.assertEqual(e2e.system_text(code), e2e.message_text(box))
                box.click(text="OK")
                self.assertEnds(run)
                self.assertTrue(e2e.wait_gone("Error", 0))
                e2e.deny(False)
                self.assertEqual(before, e2e.value())


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1], verbosity=2)
