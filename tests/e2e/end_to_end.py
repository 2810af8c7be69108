"""What only the real Koravel.exe under Wine, real X input (xdotool) or a real Wine session shows;
Notepad witnesses the session. KORAVEL_EXE, _PROBE and _WINE (their loader) name the programs."""
import math
import os
import re
import subprocess
import sys
import tempfile
import time
import unittest

# Only in a prefix made for the tests, asked before anything starts Wine (and creates the prefix).
PREFIX = os.environ.get("WINEPREFIX", os.path.expanduser("~/.wine"))
if not os.path.exists(os.path.join(PREFIX, "drive_c", "koravel-test-prefix")):
    sys.exit("This is not a Wine prefix made for the tests; scripts/test.sh makes one. Nothing was run.")
EXE, PROBE, WINE = (os.environ[name] for name in ("KORAVEL_EXE", "KORAVEL_PROBE", "KORAVEL_WINE"))
KEY = r"HKLM\SYSTEM\CurrentControlSet\Services\i8042prt\Parameters"
EMULATION = r"HKCU\Software\Wine\AppDefaults\Koravel.exe"
SETTINGS, PROMPT, METER, IDOK, IDYES, BAR, MICE = "Koravel Settings", "Shutdown?", "Measure Rate", 1, 6, 1002, 1012
WAIT = 60  # seconds for anything to happen: generous, for Wine run by an emulator too


def wine(*command):
    """Runs a program; its output, through a file (a Wine desktop process would hold a pipe)."""
    with tempfile.TemporaryFile("w+") as out:
        subprocess.run([WINE, *command], stdout=out, stderr=subprocess.DEVNULL, timeout=WAIT)
        out.seek(0)
        return out.read()


def until(what, condition):
    """Polls condition until it returns something true, for up to WAIT seconds."""
    deadline = time.monotonic() + WAIT
    while not (result := condition()):
        if time.monotonic() > deadline:
            raise AssertionError(f"no {what} within {WAIT} s")
        time.sleep(0.2)
    return result


def stored_rate():
    """The REG_DWORD SampleRate, or None."""
    match = re.search(r"SampleRate\s+REG_DWORD\s+0x(\w+)", wine("reg", "query", KEY))
    return int(match.group(1), 16) if match else None


def control(caption, control_id):
    """(x, y, width, height, text) of a control, on the screen."""
    found = wine(PROBE, caption, str(control_id)).rstrip("\r\n").split(" ", 4)
    assert len(found) == 5, f"no control {control_id} in a window {caption!r}"
    return (*map(int, found[:4]), found[4])


def xdotool(*args):
    return subprocess.run(["xdotool", *map(str, args)], capture_output=True, text=True, timeout=WAIT).stdout


def click(caption, control_id):
    x, y, w, h, *_ = control(caption, control_id)
    xdotool("mousemove", x + w // 2, y + h // 2, "click", 1)


class EndToEnd(unittest.TestCase):
    def start(self, *command):  # a program that the test ends, whatever fails
        process = subprocess.Popen([WINE, *command], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.addCleanup(process.wait, WAIT)
        self.addCleanup(process.kill)
        return process

    def setUp(self):
        self.addCleanup(wine, "reg", "delete", EMULATION, "/f")
        self.addCleanup(wine, "reg", "delete", KEY, "/f")
        wine("reg", "add", KEY, "/v", "SampleRate", "/t", "REG_DWORD", "/d", "60", "/f")
        self.witness = self.start("notepad")
        until("Notepad window", lambda: xdotool("search", "--onlyvisible", "--name", "^Untitled - Notepad$"))

    def test_the_meter_opened_from_the_system_menu_shows_a_row_with_the_rate_of_real_moves(self):
        self.start(EXE)
        click(SETTINGS, BAR)  # the focus, for the keys
        xdotool("key", "alt+space")  # the system menu, once there are two windows: the dialog's and its
        until("system menu", lambda: len(xdotool("search", "--onlyvisible", "--classname", "koravel.exe").split()) == 2)
        xdotool("key", "End", "Return")
        x, y, *_ = control(METER, MICE)

        def circle():  # a second and a half of moves in a circle, then what the meter shows
            xdotool(*(a for i in range(150) for a in ("mousemove", x + int(50 + 40 * math.cos(i / 4)),
                                                     y + int(40 * math.sin(i / 4)), "sleep", "0.01")))
            return re.fullmatch(r"[1-9][0-9]*", control(METER, MICE)[4])
        until("measured rate", circle)

    def test_on_windows_98_the_questionnaire_stands_in_and_nothing_is_written(self):
        wine("reg", "add", EMULATION, "/v", "Version", "/d", "win98", "/f")
        koravel = self.start(EXE)
        click("You have chosen to run this program on something other than NT", IDOK)
        click("Ignorance is no excuse!", IDOK)
        koravel.wait(WAIT)
        self.assertEqual(60, stored_rate())

    def test_yes_writes_the_rate_and_ends_the_session(self):
        wine("reg", "add", KEY, "/v", "SampleRate", "/t", "REG_DWORD", "/d", "250", "/f")
        koravel = self.start(EXE)
        click(SETTINGS, IDOK)
        click(PROMPT, IDYES)
        self.witness.wait(WAIT)
        koravel.wait(WAIT)
        self.assertEqual(200, stored_rate())


if __name__ == "__main__":
    unittest.main(verbosity=2)
