"""The real Koravel.exe: its settings window. (Every way of ending it, over every registry state,
is a cell of the matrix in test_matrix.py.)"""
import sys
import unittest

import koravel_e2e as e2e


class SettingsWindowTest(e2e.KoravelTestCase):
    def setUp(self):
        super().setUp()
        e2e.set_value("dword", 100)

    def test_window_shows_its_controls(self):
        run = self.start()
        w = e2e.window(e2e.SETTINGS)
        self.assertEqual(
            ["Button", "Button", "Static", "Static", "msctls_progress32", "msctls_trackbar32"] +
            ["Static"] * 6, [c["class"] for c in w.controls])
        for text in ("OK", "Cancel"):
            self.assertTrue(w.control(text=text)["visible"])
        for text in ("Current Rate:", "New Rate:", "20", "200"):
            w.control(text=text)
        slider = w.control(1003)
        self.assertTrue(slider["y"] > w.control(1002)["y"], "the slider is below the bar")
        w.click(text="Cancel")
        self.assertEnds(run)

    def test_arguments_are_ignored(self):
        run = self.start("/unknown", "--rate=5")
        e2e.window(e2e.SETTINGS).click(text="Cancel")
        self.assertEnds(run)


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1], verbosity=2)
