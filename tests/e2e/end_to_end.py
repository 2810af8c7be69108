"""What only the real Koravel.exe under Wine, real X input (xdotool) or a real Wine session shows;
Notepad witnesses the session. KORAVEL_EXE, _PROBE and _WINE (their loader) name the programs."""
import concurrent.futures
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


def registry(driver=60, own=None, ps2=True, locked=None, win98=False, name=None):
    """The driver's SampleRate, Wine's mouse made a PS/2 mouse with its own and a name, one key's
    rights cut to reading (and deleting), Windows 98 emulation; what an earlier call set is undone
    first."""
    mouse = (r"{4D36E96F-E325-11CE-BFC1-08002BE10318}", "Mouse", '"i8042prt"') if ps2 else \
            (r"{745A17A0-74D3-11D0-B6FE-00A0C90F57DA}", "HIDClass", "-")
    lines = [f"[-{MOUSE}\\Device Parameters]", f"[-{KEY}]", f"[-{EMULATION}]", f"[{KEY}]",
             f'"SampleRate"=dword:{driver:08x}' if driver is not None else "",
             f'[{MOUSE}]\n"ClassGUID"="{mouse[0]}"\n"Class"="{mouse[1]}"\n"Service"={mouse[2]}\n"FriendlyName"=' +
             (f'"{name}"' if name else "-"),
             f'[{MOUSE}\\Device Parameters]\n"SampleRate"=dword:{own:08x}' if own is not None else "",
             f'[{EMULATION}]\n"Version"="win98"' if win98 else ""]
    with tempfile.NamedTemporaryFile("w", suffix=".reg", dir=PREFIX, delete=False, encoding="utf-16") as file:
        file.write("Windows Registry Editor Version 5.00\n\n" + "\n\n".join(lines).replace("HKLM", "HKEY_LOCAL_MACHINE").replace("HKCU", "HKEY_CURRENT_USER"))
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
    def koravel(self, line, app=None, hidden=False, env=None, oem="cp437"):
        """Koravel run by a Windows parent, KORAVEL in line standing for its quoted path (app: that
        path as CreateProcess's program; hidden: on a window station no one sees): its whole exit
        code, and its standard output and error, read in the OEM code page."""
        line = line.replace("KORAVEL", '"Z:' + EXE.replace("/", "\\") + '"')
        with tempfile.TemporaryFile() as out:
            subprocess.run([WINE, PROBE, "run", line] + ([app or "-", "hidden"] if hidden else [app] if app else []),
                           stdout=out, stderr=subprocess.DEVNULL, timeout=WAIT, env=dict(os.environ, **(env or {})))
            out.seek(0)
            said, err, windows, code = re.fullmatch(rb"(.*)\x1f(.*)\x1fwindows (\d+)\nexit (\w+)\n", out.read(), re.S).groups()
        self.assertEqual(b"0", windows, line)
        return int(code) if code.isdigit() else code.decode(), *(t.decode(oem).replace("\r\n", "\n") for t in (said, err))

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

    def test_from_a_script_each_command_line_gives_its_code_and_changes_all_or_nothing(self):
        query = "driver\t60\nmouse\tWine HID device\tHID\\VID_845E&PID_0001\\0&0000&0&0\t100\t100\n"
        refused, written = "nothing was done; Koravel /[?] lists", "^Koravel: SampleRate 40 written in the i8042"
        app = "Z:" + EXE.replace("/", "\\")
        # A switch right after the quoted path, no program name (CreateProcess(path, "/set 40")), an en
        # dash; on a window station no one sees, the dialog's start ends at once, /set works.
        for line, setup, run, code, out, err, after in [
                ("KORAVEL /?", dict(), {}, 0, "Exit codes: 0 done", "^$", (60, None)),
                ("KORAVEL /QUERY", dict(own=100), {}, 0, "^" + re.escape(query) + "$", "^$", (60, 100)),
                ("KORAVEL /set 100", dict(driver=100), {}, 0, "already read 100", "^$", (100, None)),
                ("KORAVEL -SET:200", dict(own=100), {}, 3010, "200 written in the i8042 .*\n.*200 written in the "
                 "own key of Wine HID device .*\n.*next starts", "^$", (200, 200)),
                ("KORAVEL/set 40", dict(own=100), {}, 3010, written, "^$", (40, 40)),
                ("/set 40", dict(own=100), dict(app=app), 3010, written, "^$", (40, 40)),
                ("KORAVEL \u2013set 40", dict(own=100), {}, 3010, written, "^$", (40, 40)),
                ("KORAVEL /set 40 /restart", dict(ps2=False), {}, 0, "written .*\n.*no PS/2 mouse is installed", "^$",
                 (40, None)),
                ("KORAVEL /set 137", dict(own=100), {}, 87, "^$", refused, (60, 100)),
                ("KORAVEL /set 200", dict(win98=True), {}, 1150, "^$", "not Windows NT", (60, None)),
                ("KORAVEL /set 200", dict(locked="driver"), {}, 5, "^$", "Access denied.\nNothing was changed.", (60, None)),
                ("KORAVEL /query", dict(driver=None), {}, 2, "^$", "File not found.", (None, None)),
                ("KORAVEL /set 200", dict(own=100, locked="mouse"), {}, 5, "^$", "Access denied.\nNothing was changed.",
                 (60, 100)),
                ("KORAVEL", dict(own=100), dict(hidden=True), 1459, "^$", "No one can see a window here", (60, 100)),
                ("KORAVEL /set 100", dict(own=60), dict(hidden=True), 3010, "next starts", "^$", (100, 100))]:
            with self.subTest(line=line, setup=setup):
                registry(**setup)
                found, said, errors = self.koravel(line, **run)
                self.assertEqual((code, after), (found, (stored_rate(), stored_rate(MOUSE + r"\Device Parameters"))))
                self.assertRegex(said, out)
                self.assertRegex(errors, err)

    def test_in_russian_a_name_and_an_error_come_through_pipes_in_the_oem_code_page(self):
        russian = dict(LC_ALL="ru_RU.UTF-8", LANG="ru_RU.UTF-8")
        registry(own=100, name="Мышь PS/2 Ёжик")
        code, said, errors = self.koravel("KORAVEL /query", env=russian, oem="cp866")
        self.assertEqual((0, ""), (code, errors))
        self.assertIn("\tМышь PS/2 Ёжик\t", said)
        registry(own=100, locked="mouse")
        code, said, errors = self.koravel("KORAVEL /set 200", env=russian, oem="cp866")
        self.assertEqual((5, ""), (code, said))
        self.assertRegex(errors, "^Koravel: [А-Яа-яЁё .]+\nNothing was changed.\n$")

    def test_changes_at_once_each_whole_or_none_and_the_keys_agreeing(self):
        registry(own=60)
        for count in (2, 10):
            with concurrent.futures.ThreadPoolExecutor(count) as pool:
                codes = set(pool.map(lambda n: self.koravel(f"KORAVEL /set {(20, 40, 80, 100, 200)[n % 5]}")[0], range(count)))
            self.assertLessEqual(codes, {0, 3010, 1618})
            self.assertEqual(stored_rate(), stored_rate(MOUSE + r"\Device Parameters"))

    def test_from_a_batch_file_errorlevel_is_the_whole_code_and_a_failure_is_1_or_more(self):
        registry(own=100)
        with open(os.path.join(PREFIX, "drive_c", "koravel.bat"), "w") as batch:
            koravel = f'@"Z:{EXE.replace("/", chr(92))}"'
            batch.write(f"{koravel} /set 80\r\n@echo errorlevel %ERRORLEVEL%\r\n{koravel} /query /bogus\r\n"
                        "@if errorlevel 1 echo failed %ERRORLEVEL%\r\n")
        said = wine("cmd", "/c", r"C:\koravel.bat", loader=WINE64)
        self.assertEqual(["errorlevel 3010", "failed 87"], re.findall(r"errorlevel \d+|failed \d+", said))
        self.assertEqual((1641, 200), (self.koravel("KORAVEL /set 200 /restart")[0], stored_rate()))


if __name__ == "__main__":
    unittest.main(verbosity=2)
