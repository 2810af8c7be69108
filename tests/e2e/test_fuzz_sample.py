"""The real Koravel.exe started against a seeded sample of random values: every type but the
string ones (whose bytes the test's own tools would convert on the way in), 0 to 16 bytes. Each
start shows the rate or exactly one error, ends at a real Escape or OK, and leaves the value's
type and bytes as they were. The in-process fuzz test runs many more values; this sample shows
that the program as shipped behaves the same. KORAVEL_FUZZ_SEED picks another sample."""
import os
import random
import sys
import unittest

import koravel_e2e as e2e

SEED = int(os.environ.get("KORAVEL_FUZZ_SEED", "20261207"))
SAMPLE = 12
STRING_TYPES = {1, 2, 7}
ERROR_MORE_DATA = 234


def sample(seed):
    rng = random.Random(seed)
    types = [t for t in range(12) if t not in STRING_TYPES]
    for _ in range(SAMPLE):
        size = rng.randrange(17)
        yield rng.choice(types), bytes(rng.randrange(256) for _ in range(size)).hex()


class FuzzSampleTest(e2e.KoravelTestCase):
    def test_random_values_show_the_rate_or_one_error(self):
        for value_type, data in sample(SEED):
            with self.subTest(seed=SEED, type=value_type, bytes=data):
                e2e.set_value("raw", value_type, data)
                before = e2e.value()
                self.assertEqual((value_type, data), (before["type"], before["bytes"]))
                run = self.start()
                raw = bytes.fromhex(data)
                if len(raw) <= 4:
                    rate = str(int.from_bytes(raw.ljust(4, b"\0"), "little", signed=True))
                    settings = e2e.window(e2e.SETTINGS)
                    self.assertEqual(rate, settings.control(e2e.CURRENT_TEXT)["text"])
                    self.assertEqual(rate, settings.control(e2e.NEW_TEXT)["text"])
                    e2e.key("Escape")
                else:
                    error = e2e.window("Error")
                    self.assertEqual(e2e.system_text(ERROR_MORE_DATA), e2e.message_text(error))
                    error.click(text="OK")
                self.assertEnds(run)
                self.assertIsNone(e2e.probe("window", "Error", 0, check=False), "one error only")
                self.assertEqual(before, e2e.value())


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1], verbosity=2)
