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
EXE, PROBE, WINE, WINE64 = (os.environ[name] for name in ("KORAVEL_EXE", "KORAVEL_PROBE", "KORAVEL_WINE", "KORAVEL_WINE64"))
KEY = r"HKLM\SYSTEM\CurrentControlSet\Services\i8042prt\Parameters"
MOUSE = r"HKLM\SYSTEM\CurrentControlSet\Enum\HID\VID_845E&PID_0001\0&0000&0&0"  # Wine's own
EMULATION = r"HKCU\Software\Wine\AppDefaults\Koravel.exe"
SETTINGS, PROMPT, METER, IDOK, IDYES, BAR, MICE = "Koravel Settings", "Shutdown?", "Measure Rate", 1, 6, 1002, 1012
WAIT = 60  # seconds for anything to happen: generous, for Wine run by an emulator too


def wine(*command, loader=WINE):
    """Runs a program; its output, through a file (a Wine desktop process would hold a pipe)."""
    with tempfile.TemporaryFile("w+") as out:
        subprocess.run([loader, *command], stdout=out, stderr=subprocess.DEVNULL, timeout=WAIT)
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


def stored_rate(key=KEY):
    """The REG_DWORD SampleRate under key, or None."""
    match = re.search(r"SampleRate\s+REG_DWORD\s+0x(\w+)", wine("reg", "query", key, loader=WINE64))
    return int(match.group(1), 16) if match else None


def registry(driver=60, own=None, ps2=True, locked=None, win98=False):
    """The driver's SampleRate, Wine's mouse made a PS/2 mouse with its own, one key's rights cut to
    reading (and deleting), Windows 98 emulation; what an earlier call set is undone first."""
    mouse = (r"{4D36E96F-E325-11CE-BFC1-08002BE10318}", "Mouse", '"i8042prt"') if ps2 else \
            (r"{745A17A0-74D3-11D0-B6FE-00A0C90F57DA}", "HIDClass", "-")
    lines = [f"[-{MOUSE}\\Device Parameters]", f"[-{KEY}]", f"[-{EMULATION}]", f"[{KEY}]",
             f'"SampleRate"=dword:{driver:08x}' if driver is not None else "",
             f'[{MOUSE}]\n"ClassGUID"="{mouse[0]}"\n"Class"="{mouse[1]}"\n"Service"={mouse[2]}',
             f'[{MOUSE}\\Device Parameters]\n"SampleRate"=dword:{own:08x}' if own is not None else "",
             f'[{EMULATION}]\n"Version"="win98"' if win98 else ""]
    with tempfile.NamedTemporaryFile("w", suffix=".reg", dir=PREFIX, delete=False) as file:
        file.write("REGEDIT4\n\n" + "\n\n".join(lines).replace("HKLM", "HKEY_LOCAL_MACHINE").replace("HKCU", "HKEY_CURRENT_USER"))
    wine("reg", "import", "Z:" + file.name.replace("/", "\\"), loader=WINE64)
    os.remove(file.name)
    if locked:  # every right but setting values, so that the next call can delete the key
        wine(PROBE, "protect", (KEY if locked == "driver" else MOUSE + r"\Device Parameters")[5:], "D:(A;;0x30019;;;WD)")


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
    def koravel(self, *args):  # Koravel run by a Windows parent: its whole exit code, what it wrote
        found = wine(PROBE, "run", " ".join(['"Z:' + EXE.replace("/", "\\") + '"', *args]))
        output, windows, code = re.fullmatch(r"(.*)windows (\d+)\nexit (\d+)\n", found, re.S).groups()
        self.assertEqual("0", windows, args)
        return int(code), output.replace("\r\n", "\n")

    def start(self, *command):  # a program that the test ends, whatever fails
        process = subprocess.Popen([WINE, *command], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.addCleanup(process.wait, WAIT)
        self.addCleanup(process.kill)
        return process

    def setUp(self):
        self.addCleanup(registry, ps2=False)
        registry(ps2=False)
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
        registry(ps2=False, win98=True)
        koravel = self.start(EXE)
        click("You have chosen to run this program on something other than NT", IDOK)
        click("Ignorance is no excuse!", IDOK)
        koravel.wait(WAIT)
        self.assertEqual(60, stored_rate())

    def test_yes_writes_the_rate_and_ends_the_session_whatever_the_arguments_not_switches_say(self):
        registry(driver=250, ps2=False)
        koravel = self.start(EXE, r"C:\dropped file.txt", "/set", "20")
        click(SETTINGS, IDOK)
        click(PROMPT, IDYES)
        self.witness.wait(WAIT)
        koravel.wait(WAIT)
        self.assertEqual(200, stored_rate())

    def test_from_a_script_each_switch_gives_its_exit_code_and_changes_all_or_nothing(self):
        query = "driver\t60\nmouse\tWine HID device\tHID\\VID_845E&PID_0001\\0&0000&0&0\t100\t100\n"
        refused = "nothing was done; Koravel /[?] lists"
        for args, setup, code, output, after in [
                ("/?", dict(), 0, "Exit codes: 0 done", (60, None)),
                ("/QUERY", dict(own=100), 0, "^" + re.escape(query) + "$", (60, 100)),
                ("/set 100", dict(driver=100, own=100), 0, "already holds 100", (100, 100)),
                ("-SET:200", dict(own=100), 3010, "200 written in the i8042 .*\n.*200 written in the own key "
                 "of Wine HID device .*\n.*next starts", (200, 200)),
                ("/set 40 /restart", dict(ps2=False), 0, "written .*\n.*no PS/2 mouse is installed", (40, None)),
                ("/set 137", dict(own=100), 87, refused, (60, 100)),
                ("/set 200", dict(win98=True), 1150, "not Windows NT", (60, None)),
                ("/set 200", dict(locked="driver"), 5, "Access denied.\nNothing was changed.", (60, None)),
                ("/query", dict(driver=None), 2, "File not found.", (None, None)),
                ("/set 200", dict(own=100, locked="mouse"), 5, "Access denied.\nNothing was changed.", (60, 100))]:
            with self.subTest(args=args, setup=setup):
                registry(**setup)
                found, said = self.koravel(args)
                self.assertEqual((code, after), (found, (stored_rate(), stored_rate(MOUSE + r"\Device Parameters"))))
                self.assertRegex(said, output)

    def test_from_a_batch_file_errorlevel_is_the_whole_code_and_restart_ends_the_session(self):
        registry(own=100)
        with open(os.path.join(PREFIX, "drive_c", "koravel.bat"), "w") as batch:
            batch.write(f'@"Z:{EXE.replace("/", chr(92))}" /set 80\r\n@echo errorlevel %ERRORLEVEL%\r\n')
        self.assertIn("errorlevel 3010", wine("cmd", "/c", r"C:\koravel.bat", loader=WINE64))
        self.assertEqual((1641, 200), (self.koravel("/set", "200", "/restart")[0], stored_rate()))
        self.witness.wait(WAIT)


if __name__ == "__main__":
    unittest.main(verbosity=2)
