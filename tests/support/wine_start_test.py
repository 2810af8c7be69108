"""wine_start.py against a stand-in for wine that plays a given sequence of outcomes: the program
is started again only after start.exe's report that it never ran, and everything else (output,
exit status, a signal to stop) reaches the caller unchanged."""
import os
import pathlib
import signal
import subprocess
import sys
import tempfile
import time
import unittest
from unittest import mock

HERE = pathlib.Path(__file__).resolve().parent
sys.path.insert(0, str(HERE))
import wine_start  # noqa: E402

REPORT = ("Application could not be started, or no application associated with the specified "
          "file.\r\nShellExecuteEx failed: {}\r\n\r\n")
# Each outcome: what the stand-in prints and the status it ends with.
FAKE_WINE = r"""#!/bin/sh
n=$(cat "$FAKE_COUNT" 2>/dev/null || echo 0)
echo $((n + 1)) > "$FAKE_COUNT"
set -- $FAKE_PLAN
shift "$n"
case $1 in
  died) printf '%s' "$REPORT_DIED"; exit 1 ;;
  missing) printf '%s' "$REPORT_MISSING"; exit 1 ;;
  ran) printf 'the program ran\n'; exit 3 ;;
  silent) exit 1 ;;
  wait) trap 'kill $!; echo stopped > "$FAKE_COUNT.signal"; exit 143' TERM; sleep 30 & wait; exit 0 ;;
esac
"""


class WineStartTest(unittest.TestCase):
    def setUp(self):
        self.dir = tempfile.TemporaryDirectory()
        root = pathlib.Path(self.dir.name)
        (root / "wine").write_text(FAKE_WINE)
        (root / "wine").chmod(0o755)
        self.count = root / "count"
        self.env = dict(os.environ, PATH=f"{root}:{os.environ['PATH']}",
                        FAKE_COUNT=str(self.count),
                        REPORT_DIED=REPORT.format("Internal error."),
                        REPORT_MISSING=REPORT.format("File not found."))

    def tearDown(self):
        self.dir.cleanup()

    def starts(self):
        return int(self.count.read_text())

    def launch(self, plan):
        env = dict(self.env, FAKE_PLAN=" ".join(plan))
        return subprocess.run([sys.executable, str(HERE / "wine_start.py"), "program.exe"],
                              capture_output=True, env=env, timeout=60)

    def test_outcomes(self):
        died = REPORT.format("Internal error.").encode()
        cases = [
            # plan, exit status, output, starts
            (["ran"], 3, b"the program ran\n", 1),
            (["died", "ran"], 3, b"the program ran\n", 2),
            (["died", "died", "ran"], 3, b"the program ran\n", 3),
            (["died", "died", "died", "ran"], 1, died, 3),
            (["missing", "ran"], 1, REPORT.format("File not found.").encode(), 1),
            (["silent", "ran"], 1, b"", 1),
        ]
        for plan, status, output, starts in cases:
            with self.subTest(plan=plan):
                self.count.unlink(missing_ok=True)
                got = self.launch(plan)
                self.assertEqual((got.returncode, got.stdout, self.starts()),
                                 (status, output, starts))
                self.assertEqual(got.stderr.count(b"could not start program.exe"), starts - 1)

    def test_run_for_callers_in_python(self):
        with mock.patch.dict(os.environ, self.env, FAKE_PLAN="died ran"):
            got = wine_start.run(["program.exe"], text=True, timeout=60)
        self.assertEqual((got.returncode, got.stdout, self.starts()), (3, "the program ran\n", 2))

    def test_a_signal_to_stop_reaches_the_program(self):
        env = dict(self.env, FAKE_PLAN="wait")
        launcher = subprocess.Popen([sys.executable, str(HERE / "wine_start.py"), "program.exe"],
                                    env=env)
        deadline = time.monotonic() + 10
        while not self.count.exists() and time.monotonic() < deadline:
            time.sleep(0.05)
        time.sleep(0.2)
        launcher.send_signal(signal.SIGTERM)
        self.assertEqual(launcher.wait(timeout=10), 143)
        self.assertEqual((self.count.parent / "count.signal").read_text(), "stopped\n")


if __name__ == "__main__":
    unittest.main()
