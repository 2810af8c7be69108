"""The real Koravel.exe at start-up: what it shows for the stored value. (Values it cannot read
are cells of the matrix in test_matrix.py.)"""
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


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1], verbosity=2)
