"""The About entry of the real Koravel.exe's system menu, chosen from the keyboard."""
import sys
import unittest

import koravel_e2e as e2e

ABOUT = "About Koravel"


class AboutTest(e2e.KoravelTestCase):
    def test_system_menu_ends_with_the_about_entry(self):
        e2e.set_value("dword", 60)
        run = self.start()
        e2e.window(e2e.SETTINGS)
        items = e2e.probe("sysmenu", e2e.SETTINGS)
        self.assertEqual(1, items[-2]["separator"])
        self.assertEqual((0x10, "&About Koravel..."), (items[-1]["id"], items[-1]["text"]))
        e2e.key("Escape")
        self.assertEnds(run)

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
