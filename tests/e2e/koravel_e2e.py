"""Drives the real Koravel.exe under Wine as a person would: real mouse and keyboard input
through X (xdotool), and koravel_probe.exe to read windows and the registry from inside Wine.

The environment names what to run: KORAVEL_EXE and KORAVEL_PROBE (Unix paths); DISPLAY and
WINEPREFIX name the X server and the Wine prefix of the run.
"""
import atexit
import json
import os
import subprocess
import sys
import time
import unittest

import wine_start

KORAVEL = os.environ.get("KORAVEL_EXE", "")
PROBE = os.environ.get("KORAVEL_PROBE", "")
SETTINGS = "Koravel Settings"
WINDOW_TIMEOUT_MS = 30000
EXIT_TIMEOUT_S = 30


def probe(*args, check=True):
    """Runs the probe; returns its JSON records, or None when it answered 'no'."""
    run = wine_start.run([PROBE, *[str(a) for a in args]], text=True, timeout=120)
    if run.returncode == 2 or (check and run.returncode != 0):
        raise AssertionError(f"probe {args}: exit {run.returncode}: {run.stdout}{run.stderr}")
    if run.returncode != 0:
        return None
    return [json.loads(line) for line in run.stdout.splitlines() if line.strip()]


def xdotool(*args):
    subprocess.run(["xdotool", *[str(a) for a in args]], check=True, timeout=30)


class Window:
    """A snapshot of a top-level window and its controls, in screen coordinates."""

    def __init__(self, records):
        self.info = records[0]
        self.controls = records[1:]

    @property
    def caption(self):
        return self.info["caption"]

    def control(self, control_id=None, text=None):
        for c in self.controls:
            if (control_id is None or c["id"] == control_id) and (text is None or c["text"] == text):
                return c
        raise AssertionError(f"no control id={control_id} text={text!r} in {self.caption!r}")

    def texts(self):
        return [c["text"] for c in self.controls if c["class"] == "Static" and c["text"]]

    def click(self, control_id=None, text=None):
        c = self.control(control_id, text)
        click_at(c["x"] + c["w"] // 2, c["y"] + c["h"] // 2)

    def click_close_box(self):
        # The close box sits at the right end of the caption bar, which Wine draws itself.
        border = 4
        caption = 18
        click_at(self.info["x"] + self.info["w"] - border - caption // 2,
                 self.info["y"] + border + caption // 2)


def move_to(x, y):
    # Not "mousemove --sync": it waits for the pointer to move, and hangs when the pointer is
    # already there (as it is when two boxes in a row have their OK button in the same place).
    xdotool("mousemove", x, y)
    deadline = time.monotonic() + 5
    while time.monotonic() < deadline:
        where = subprocess.run(["xdotool", "getmouselocation", "--shell"], capture_output=True,
                               text=True, timeout=30).stdout
        if f"X={x}\nY={y}\n" in where:
            return
        time.sleep(0.01)
    raise AssertionError(f"the pointer did not reach {x},{y}")


def click_at(x, y):
    move_to(x, y)
    xdotool("click", "1")


def drag(x0, y0, x1, y1, steps=8):
    move_to(x0, y0)
    xdotool("mousedown", "1")
    for i in range(1, steps + 1):
        move_to(x0 + (x1 - x0) * i // steps, y0 + (y1 - y0) * i // steps)
        time.sleep(0.02)
    xdotool("mouseup", "1")


def key(*names):
    for name in names:
        xdotool("key", name)


def window(caption, timeout_ms=WINDOW_TIMEOUT_MS):
    return Window(probe("window", caption, timeout_ms))


def wait_gone(caption, timeout_ms=WINDOW_TIMEOUT_MS):
    return probe("gone", caption, timeout_ms, check=False) is not None


class Process:
    """A Windows program started under Wine."""

    def __init__(self, *command, **options):
        self.process = subprocess.Popen([sys.executable, wine_start.__file__, *command],
                                        stderr=subprocess.DEVNULL, **options)

    def ended(self, timeout=EXIT_TIMEOUT_S):
        try:
            self.process.wait(timeout)
            return True
        except subprocess.TimeoutExpired:
            return False

    def stop(self):
        if self.process.poll() is None:
            self.process.terminate()
            try:
                self.process.wait(EXIT_TIMEOUT_S)
            except subprocess.TimeoutExpired:
                self.process.kill()
                self.process.wait()
        if self.process.stdout:
            self.process.stdout.close()


class Run(Process):
    """One run of Koravel.exe."""

    def __init__(self, *args):
        super().__init__(KORAVEL, *args, stdout=subprocess.DEVNULL)


_witness = None


def session_witness():
    """The witness of the current Wine session, started if there is none (the last one may
    have gone with a session that Koravel ended).

    Its window also keeps Wine's desktop process up for the whole session: with none running,
    two programs that start at once (Koravel and a probe) each start one, and Wine can then hang.
    """
    global _witness
    if _witness is None or _witness.process.poll() is not None:
        _witness = Witness()
        atexit.register(_witness.stop)
    return _witness


class KoravelTestCase(unittest.TestCase):
    """Ends every run a test started, and puts the registry value back as it found it."""

    def setUp(self):
        self.witness = session_witness()
        self.runs = []
        self.saved_value = value()

    def tearDown(self):
        for run in self.runs:
            run.stop()
        deny(False)
        saved = self.saved_value
        if saved["state"] == "present":
            set_value("raw", saved["type"], saved["bytes"])
        else:
            set_value(saved["state"])

    def start(self, *args):
        run = Run(*args)
        self.runs.append(run)
        return run

    def assertEnds(self, run):
        self.assertTrue(run.ended(), "Koravel did not end")


# The registry value under test, and the platform Wine reports.

def value():
    """The SampleRate value: {"state": "present"|"no-value"|"no-key", "type": N, "bytes": hex}."""
    return probe("value")[0]


def set_value(*how):
    """set_value("dword", 60), set_value("raw", 3, "3c00"), set_value("no-value") ..."""
    probe("set-value", *how)


def deny(on=True):
    """Lets everyone only read the key; deny(False) undoes it, where there is a key."""
    probe("deny") if on else probe("allow", check=False)


def emulate_windows_98(on=True):
    probe("emulate", "Koravel.exe", "win98" if on else "-")


def system_text(code):
    """The system's message text for an error code, as Wine gives it."""
    return probe("text", code)[0]["text"]


SHUTDOWN = "Shutdown?"
IDOK, IDCANCEL, IDYES, IDNO = 1, 2, 6, 7
SLIDER, BAR, CURRENT_TEXT, NEW_TEXT = 1003, 1002, 1004, 1005


def message_text(w):
    """The text of a message box: its one static that is not the icon."""
    texts = [c["text"] for c in w.controls if c["class"] == "Static" and c["text"]]
    return texts[0] if texts else ""


class Witness(Process):
    """A program with a window of its own, run beside Koravel in the same Wine session: it ends
    when the session ends."""

    def __init__(self):
        super().__init__(PROBE, "witness", stdout=subprocess.PIPE, text=True)
        if '"ready"' not in self.process.stdout.readline():
            raise AssertionError("the witness did not start")
