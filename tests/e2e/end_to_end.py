"""The real Koravel.exe under Wine, driven by real mouse input through X (xdotool): what only a real
process, input or Wine session shows. The registry is set up with Wine's reg; Notepad, which ends
with the session, witnesses it. KORAVEL_EXE, _PROBE and _WINE (their loader) name the programs."""
import os
import re
import subprocess
import sys
import tempfile
import time
import unittest

# The tests write the registry and end the Wine session: only in a prefix made for them.
if not os.path.exists(os.path.join(os.environ.get("WINEPREFIX", os.path.expanduser("~/.wine")),
                                   "drive_c", "koravel-test-prefix")):
    sys.exit("This is not a Wine prefix made for the tests; scripts/test.sh makes one. Nothing was run.")
EXE, PROBE, WINE = (os.environ[name] for name in ("KORAVEL_EXE", "KORAVEL_PROBE", "KORAVEL_WINE"))
KEY = r"HKLM\SYSTEM\CurrentControlSet\Services\i8042prt\Parameters"
EMULATION = r"HKCU\Software\Wine\AppDefaults\Koravel.exe"
SETTINGS, PROMPT, IDOK, IDYES, IDNO, SLIDER, NEW_TEXT = "Koravel Settings", "Shutdown?", 1, 6, 7, 1003, 1005


def wine(*command, wait=True):
    """Starts a program, or runs it and returns its output, through a file: a Wine desktop process
    that the program started would hold a pipe open."""
    if not wait:
        return subprocess.Popen([WINE, *command], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    with tempfile.TemporaryFile("w+") as out:
        subprocess.run([WINE, *command], stdout=out, stderr=subprocess.DEVNULL, timeout=60)
        out.seek(0)
        return out.read()


def stored_rate():
    """The REG_DWORD SampleRate, or None."""
    match = re.search(r"SampleRate\s+REG_DWORD\s+0x(\w+)", wine("reg", "query", KEY))
    return int(match.group(1), 16) if match else None


def control(caption, control_id):
    """(x, y, width, height, slider position, text) of a control of the window with the caption."""
    found = wine(PROBE, caption, str(control_id)).rstrip("\r\n").split(" ", 5)
    assert len(found) == 6, f"no control {control_id} in a window {caption!r}"
    return (*map(int, found[:5]), found[5])


def xdotool(*args):
    subprocess.run(["xdotool", *map(str, args)], check=True, stdout=subprocess.DEVNULL, timeout=60)


def click(caption, control_id):
    x, y, w, h, _, _ = control(caption, control_id)
    xdotool("mousemove", x + w // 2, y + h // 2, "click", 1)


class EndToEnd(unittest.TestCase):
    def setUp(self):
        wine("reg", "add", KEY, "/v", "SampleRate", "/t", "REG_DWORD", "/d", "60", "/f")
        self.koravel, self.witness = None, wine("notepad", wait=False)
        xdotool("search", "--sync", "--onlyvisible", "--name", "^Untitled - Notepad$")

    def tearDown(self):
        for process in (self.koravel, self.witness):
            process.kill()
            process.wait()
        wine("reg", "delete", KEY, "/f")
        wine("reg", "delete", EMULATION, "/f")

    def test_a_drag_shows_the_new_rate_and_ok_and_no_write_it(self):
        self.koravel = wine(EXE, wait=False)
        x, y, w, h, _, _ = control(SETTINGS, SLIDER)
        # From the thumb (60, on a channel about 10 pixels in from each end) to three quarters along.
        y += h // 2
        path = ["mousemove", x + 10 + 40 * (w - 20) // 180, y, "mousedown", 1]
        for eighth in range(2, 7):
            path += ["sleep", 0.05, "mousemove", x + w * eighth // 8, y]
        xdotool(*path, "sleep", 0.05, "mouseup", 1)
        position = control(SETTINGS, SLIDER)[4]
        self.assertGreater(position, 120)
        self.assertEqual(str(position), control(SETTINGS, NEW_TEXT)[5])
        click(SETTINGS, IDOK)
        click(PROMPT, IDNO)
        self.koravel.wait(30)
        self.assertEqual(position, stored_rate())
        self.assertIsNone(self.witness.poll(), "Windows goes on after No")

    def test_a_failed_write_is_reported_and_windows_goes_on(self):
        self.koravel = wine(EXE, wait=False)
        control(SETTINGS, IDOK)  # the dialog is up, and holds the key open
        wine("reg", "delete", KEY, "/f")
        click(SETTINGS, IDOK)
        click(PROMPT, IDYES)
        click("Error", IDOK)
        self.koravel.wait(30)
        time.sleep(2)
        self.assertIsNone(self.witness.poll(), "no exit from Windows after a failed write")
        self.assertIsNone(stored_rate())

    def test_on_windows_98_the_questionnaire_stands_in_and_nothing_is_written(self):
        wine("reg", "add", EMULATION, "/v", "Version", "/d", "win98", "/f")
        self.koravel = wine(EXE, wait=False)
        click("You have chosen to run this program on something other than NT", IDOK)
        click("Ignorance is no excuse!", IDOK)
        self.koravel.wait(30)
        self.assertEqual(60, stored_rate())

    def test_yes_writes_the_rate_and_ends_the_session(self):
        wine("reg", "add", KEY, "/v", "SampleRate", "/t", "REG_DWORD", "/d", "250", "/f")
        self.koravel = wine(EXE, wait=False)
        click(SETTINGS, IDOK)
        click(PROMPT, IDYES)
        self.witness.wait(60)
        self.koravel.wait(30)
        self.assertEqual(200, stored_rate())


if __name__ == "__main__":
    unittest.main(verbosity=2)
