"""The real Koravel.exe under Wine, driven by real mouse input through X (xdotool): what only a real
process, input or Wine session shows. The registry is set up with Wine's reg; Notepad, which ends
with the session, witnesses it. KORAVEL_EXE, _PROBE and _WINE (their loader) name the programs."""
import math
import os
import re
import subprocess
import sys
import tempfile
import time
import unittest

# The tests write the registry and end the Wine session: only in a prefix made for them, and that
# is asked before anything starts Wine, which would create or upgrade the prefix.
PREFIX = os.environ.get("WINEPREFIX", os.path.expanduser("~/.wine"))
if not os.path.exists(os.path.join(PREFIX, "drive_c", "koravel-test-prefix")):
    sys.exit("This is not a Wine prefix made for the tests; scripts/test.sh makes one. Nothing was run.")
EXE, PROBE, WINE = (os.environ[name] for name in ("KORAVEL_EXE", "KORAVEL_PROBE", "KORAVEL_WINE"))
KEY = r"HKLM\SYSTEM\CurrentControlSet\Services\i8042prt\Parameters"
EMULATION = r"HKCU\Software\Wine\AppDefaults\Koravel.exe"
SETTINGS, PROMPT, IDOK, IDYES, IDNO, SLIDER, NEW_TEXT = "Koravel Settings", "Shutdown?", 1, 6, 7, 1003, 1005
METER, BAR, RATE = "Measure Rate", 1002, 1012
WAIT = 60  # seconds for anything to happen: generous, for Wine run by an emulator too


def wine(*command):
    """Runs a program and returns its output, through a file (not a pipe that a Wine desktop
    process started by the program would hold open)."""
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
    """(x, y, width, height, slider position, its thumb's x, y, text) of a control, on the screen."""
    found = wine(PROBE, caption, str(control_id)).rstrip("\r\n").split(" ", 7)
    assert len(found) == 8, f"no control {control_id} in a window {caption!r}"
    return (*map(int, found[:7]), found[7])


def xdotool(*args):
    subprocess.run(["xdotool", *map(str, args)], check=True, stdout=subprocess.DEVNULL, timeout=WAIT)


def click(caption, control_id):
    x, y, w, h, *_ = control(caption, control_id)
    xdotool("mousemove", x + w // 2, y + h // 2, "click", 1)


def session_ending():
    """Whether a wineboot of this prefix runs: ExitWindowsEx starts one to end the session."""
    def read(pid, name):
        try:
            with open(f"/proc/{pid}/{name}", "rb") as file:
                return file.read().split(b"\0")
        except OSError:
            return []
    return any(b"wineboot" in b"".join(read(pid, "cmdline")) and f"WINEPREFIX={PREFIX}".encode() in read(pid, "environ")
               for pid in filter(str.isdigit, os.listdir("/proc")))


class EndToEnd(unittest.TestCase):
    def start(self, *command):
        """Starts a program that the test ends, whatever fails."""
        process = subprocess.Popen([WINE, *command], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.addCleanup(process.wait, WAIT)
        self.addCleanup(process.kill)
        return process

    def setUp(self):
        self.addCleanup(wine, "reg", "delete", EMULATION, "/f")
        self.addCleanup(wine, "reg", "delete", KEY, "/f")
        wine("reg", "add", KEY, "/v", "SampleRate", "/t", "REG_DWORD", "/d", "60", "/f")
        self.witness = self.start("notepad")
        until("Notepad window", lambda: subprocess.run(["xdotool", "search", "--onlyvisible", "--name",
                                                        "^Untitled - Notepad$"], capture_output=True).stdout)

    def test_a_drag_shows_the_new_rate_and_ok_and_no_write_it(self):
        koravel = self.start(EXE)
        x, y, w, h, _, thumb_x, thumb_y, _ = control(SETTINGS, SLIDER)
        # The thumb, taken by the mouse and moved three quarters along the control.
        self.addCleanup(xdotool, "mouseup", 1)
        xdotool("mousemove", thumb_x, thumb_y, "mousedown", 1, "mousemove", x + w * 3 // 4, thumb_y)
        position = until("move of the slider", lambda: (p := control(SETTINGS, SLIDER)[4]) > 120 and p)
        xdotool("mouseup", 1)
        until("new-rate text of the slider's rate", lambda: control(SETTINGS, NEW_TEXT)[7] == str(position))
        click(SETTINGS, IDOK)
        click(PROMPT, IDNO)
        koravel.wait(WAIT)
        until("settled session", lambda: not session_ending())  # no restart asked for by mistake
        self.assertIsNone(self.witness.poll(), "Windows goes on after No")
        self.assertEqual(position, stored_rate())

    def test_the_meter_opened_from_the_system_menu_shows_the_rate_of_real_moves(self):
        self.start(EXE)
        click(SETTINGS, BAR)  # the focus, for the keys
        xdotool("key", "alt+space")
        windows = lambda: subprocess.run(["xdotool", "search", "--onlyvisible", "--classname", "koravel.exe"],
                                         capture_output=True, text=True).stdout.split()
        until("system menu", lambda: len(windows()) == 2)  # the dialog's and the menu's
        xdotool("key", "End", "Return")
        x, y, *_ = control(METER, RATE)

        def circle():  # half a second of moves in a circle, then what the meter shows
            xdotool(*(a for i in range(50) for a in ("mousemove", x + int(50 + 40 * math.cos(i / 4)),
                                                     y + int(40 * math.sin(i / 4)), "sleep", "0.01")))
            return re.fullmatch(r"[1-9][0-9]* reports a second", control(METER, RATE)[7])
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
