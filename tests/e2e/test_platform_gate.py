"""The real Koravel.exe on Windows 98, as Wine emulates it: the questionnaire, its replies, and
a registry left alone."""
import sys
import unittest

import koravel_e2e as e2e

QUESTIONNAIRE = "You have chosen to run this program on something other than NT"
REPLIES = [
    ("Ignorance is no excuse!",
     "That wasn't very smart, was it?\r\nWhat if I were some sort of joker that wanted to erase "
     "your hard drive?"),
    ("That makes sense.",
     "Then there's nothing I can do for you.\r\nIt's tempting to just reformat your system drive "
     "so that you don't hurt yourself..."),
    ("Yee Haw!", "Why shoot, you must be runnin' Winders '98!\r\nWell Shut my mouth!"),
    ("Somehow, I doubt it.",
     "Don't fool around with me boy. You really want me to send threats\r\nto Zorblatt through "
     "your machine, don't you?"),
    ("Koravel", "Entonces estoy apesadumbrado de haber ofendidole.Yo qero Taco Bell"),
]


class PlatformGateTest(e2e.KoravelTestCase):
    def setUp(self):
        super().setUp()
        e2e.set_value("dword", 60)
        self.before = e2e.value()
        e2e.emulate_windows_98(True)

    def tearDown(self):
        e2e.emulate_windows_98(False)
        super().tearDown()

    def assertEndsUntouched(self, run):
        self.assertEnds(run)
        self.assertEqual(self.before, e2e.value())
        self.assertIsNone(e2e.probe("window", e2e.SETTINGS, 0, check=False))

    def test_each_reason_gets_its_reply(self):
        for index, (caption, text) in enumerate(REPLIES):
            with self.subTest(reason=index):
                run = self.start()
                questionnaire = e2e.window(QUESTIONNAIRE)
                questionnaire.click(1006 + index)
                questionnaire.click(text="OK")
                reply = e2e.window(caption)
                self.assertEqual(text, e2e.message_text(reply))
                reply.click(text="OK")
                self.assertEndsUntouched(run)

    def test_ok_without_a_choice_answers_the_first_reason(self):
        run = self.start()
        questionnaire = e2e.window(QUESTIONNAIRE)
        self.assertEqual(1, questionnaire.control(1006)["checked"])
        e2e.key("Return")
        e2e.window(REPLIES[0][0]).click(text="OK")
        self.assertEndsUntouched(run)

    def test_closing_the_questionnaire_shows_no_reply(self):
        for name, close in (("close box", lambda w: w.click_close_box()),
                            ("Escape", lambda w: e2e.key("Escape"))):
            with self.subTest(name):
                run = self.start()
                close(e2e.window(QUESTIONNAIRE))
                self.assertEndsUntouched(run)
                for caption, _ in REPLIES:
                    self.assertIsNone(e2e.probe("window", caption, 0, check=False))


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1], verbosity=2)
