"""Every registry state against every way a person can end the real Koravel.exe, compared byte
for byte afterwards. In every cell: nothing is written but after Yes or No; what is written is a
4-byte REG_DWORD from 20 to 200 (the slider's position); a failure shows one message; the
program ends; and only Yes ends the Windows session."""
import struct
import sys
import unittest

import koravel_e2e as e2e

# name: how the value is set up
READABLE = {
    "60": ("dword", 60),
    "20": ("dword", 20),
    "200": ("dword", 200),
    "10": ("dword", 10),
    "250": ("dword", 250),
    "0xFFFFFFFF": ("dword", 0xFFFFFFFF),
    "REG_SZ, 4 bytes": ("raw", 1, "37000000"),
    "REG_BINARY, 4 bytes": ("raw", 3, "78000000"),
    "1 byte": ("raw", 3, "2d"),
    "2 bytes": ("raw", 3, "2c01"),
    "3 bytes": ("raw", 3, "5a0000"),
}
# name: (how the value is set up, whether the key denies full access, the error code shown)
UNREADABLE = {
    "absent value": (("no-value",), False, 2),
    "absent key": (("no-key",), False, 2),
    "access denied": (("dword", 60), True, 5),
}


def stored_rate(value):
    """The rate the dialog takes from the value's bytes, as a signed 32-bit number."""
    data = bytes.fromhex(value["bytes"]).ljust(4, b"\0")
    return struct.unpack("<i", data)[0]


class MatrixTest(e2e.KoravelTestCase):
    def end_without_writing(self, how):
        def path(settings):
            how(settings)
            return None
        return path

    def ok_then(self, answer):
        def path(settings):
            settings.click(e2e.IDOK)
            e2e.window(e2e.SHUTDOWN).click(answer)
            if answer == e2e.IDCANCEL:
                self.assertTrue(e2e.wait_gone(e2e.SHUTDOWN))
                e2e.window(e2e.SETTINGS).click(text="Cancel")
                return None
            return answer
        return path

    def paths(self):
        return {
            "Cancel": self.end_without_writing(lambda w: w.click(text="Cancel")),
            "close box": self.end_without_writing(lambda w: w.click_close_box()),
            "Escape": self.end_without_writing(lambda w: e2e.key("Escape")),
            "OK, Cancel": self.ok_then(e2e.IDCANCEL),
            "OK, No": self.ok_then(e2e.IDNO),
            "OK, Yes": self.ok_then(e2e.IDYES),
        }

    def test_readable_values(self):
        for state, how in READABLE.items():
            for name, path in self.paths().items():
                with self.subTest(state=state, path=name):
                    e2e.set_value(*how)
                    before = e2e.value()
                    witness = e2e.session_witness()
                    run = self.start()
                    settings = e2e.window(e2e.SETTINGS)
                    position = settings.control(e2e.SLIDER)["pos"]
                    self.assertEqual(min(max(stored_rate(before), 20), 200), position)
                    answer = path(settings)
                    self.assertEnds(run)
                    after = e2e.value()
                    if answer is None:
                        self.assertEqual(before, after)
                    else:
                        self.assertEqual(("present", 4, struct.pack("<I", position).hex()),
                                         (after["state"], after["type"], after["bytes"]))
                    self.assertIsNone(e2e.probe("window", "Error", 0, check=False))
                    session_ends = answer == e2e.IDYES
                    self.assertEqual(session_ends, witness.ended(30 if session_ends else 0))

    def test_unreadable_values(self):
        # The dialog closes at start-up with the report, so no path of the user's applies.
        for state, (how, denied, code) in UNREADABLE.items():
            with self.subTest(state=state):
                e2e.set_value(*how)
                e2e.deny(denied)
                before = e2e.value()
                witness = e2e.session_witness()
                run = self.start()
                error = e2e.window("Error")
                self.assertEqual(e2e.system_text(code), e2e.message_text(error))
                error.click(text="OK")
                self.assertEnds(run)
                self.assertIsNone(e2e.probe("window", "Error", 0, check=False))
                e2e.deny(False)
                self.assertEqual(before, e2e.value())
                self.assertFalse(witness.ended(0))


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1], verbosity=2)
