"""The About entry of the real Koravel.exe's system menu, chosen from the keyboard as the menu's
last entry. (Its text and separator are checked in-process: Wine does not let another process read
a window's system menu.)"""
import sys
import unittest

import koravel_e2e as e2e

ABOUT = "About Koravel"


class AboutTest(e2e.KoravelTestCase):
    def test_about_box_opens_repeatedly_over_an_unchanged_dialog(self):
        e2e.set_value("dword", 150)
        run = self.start()
        before = e2e.window(e2e.SETTINGS)
        for _ in range(2):
            e2e.key("alt+space")
            e2e.key("End", "Return")  # the last entry of the system menu
            about = e2e.window(ABOUT)
            self.assertIn("Koravel Version 1.0", about.texts())
            self.assertFalse(e2e.window(e2e.SETTINGS).info["enabled"], "modal over the settings")
            about.click(text="OK")
            self.assertTrue(e2e.wait_gone(ABOUT))
            after = e2e.window(e2e.SETTINGS)
            self.assertEqual(before.controls, after.controls)
        after.click(text="Cancel")
        self.assertEnds(run)


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1], verbosity=2)
