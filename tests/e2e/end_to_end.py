"""What only the real Koravel.exe under Wine, real X input (xdotool) or a real Wine session shows;
Notepad witnesses the session. KORAVEL_EXE, _PROBE and _WINE (their loader) name the programs."""
import concurrent.futures
import json
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
SETTINGS, PROMPT, IDOK, IDYES = "Koravel Settings", "Shutdown?", 1, 6
WAIT = 60  # seconds for anything to happen: generous, for Wine run by an emulator too


def wine(*command, loader=WINE):
    """Runs a program; its output, through a file (a Wine desktop process would hold a pipe)."""
    with tempfile.TemporaryFile("w+") as out:
        subprocess.run([loader, *command], stdout=out, stderr=subprocess.DEVNULL, timeout=WAIT)
        out.seek(0)
        return out.read()


def stored_rate(key=KEY):
    """The REG_DWORD SampleRate under key, or None."""
    match = re.search(r"SampleRate\s+REG_DWORD\s+0x(\w+)", wine("reg", "query", key, loader=WINE64))
    return int(match.group(1), 16) if match else None


def registry(driver=60, own=None, ps2=True, win98=False, name=None):
    """The driver's SampleRate, Wine's mouse made a PS/2 mouse with its own and a name, Windows 98
    emulation; what an earlier call set is undone first."""
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


def xdotool(*args):
    return subprocess.run(["xdotool", *map(str, args)], capture_output=True, text=True, timeout=WAIT).stdout


def click(caption, control_id):
    found = wine(PROBE, caption, str(control_id)).split()
    assert len(found) == 4, f"no control {control_id} in a window {caption!r}"
    x, y, w, h = map(int, found)
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
        deadline = time.monotonic() + WAIT
        while not xdotool("search", "--onlyvisible", "--name", "^Untitled - Notepad$"):
            self.assertLess(time.monotonic(), deadline, "no Notepad window")
            time.sleep(0.2)

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
        written = "^Koravel: SampleRate 40 written in the i8042 .*\n.*40 written in the own key of Wine HID device"
        app = "Z:" + EXE.replace("/", "\\")
        # Right after the quoted path, no program name, an en dash; on a hidden station /set works.
        for line, setup, run, code, out, err, after in [
                ("KORAVEL /?", dict(), {}, 0, "Exit codes: 0 done", "^$", (60, None)),
                ("KORAVEL\u2013set 40", dict(own=100), {}, 3010, written, "^$", (40, 40)),
                ("/set 40", dict(own=100), dict(app=app), 3010, written, "^$", (40, 40)),
                ("KORAVEL /set 40 /restart", dict(ps2=False), {}, 0, "no PS/2 mouse is installed", "^$", (40, None)),
                ("KORAVEL /set 200", dict(win98=True), {}, 1150, "^$", "not Windows NT", (60, None)),
                ("KORAVEL", dict(own=100), dict(hidden=True), 1459, "^$", "No one can see a window here", (60, 100)),
                ("KORAVEL /set 100 /log C:\\no\\such\\folder\\k.log", dict(own=60), {}, 3, "^$",
                 "The log cannot be opened for appending", (60, 60)),
                ("KORAVEL /set 100", dict(own=60), dict(hidden=True), 3010, "next starts", "^$", (100, 100))]:
            with self.subTest(line=line, setup=setup):
                registry(**setup)
                found, said, errors = self.koravel(line, **run)
                self.assertEqual((code, after), (found, (stored_rate(), stored_rate(MOUSE + r"\Device Parameters"))))
                self.assertRegex(said, out)
                self.assertRegex(errors, err)

    def test_in_russian_a_name_and_an_error_come_through_pipes_in_the_oem_code_page_and_json_in_ascii(self):
        russian = dict(LC_ALL="ru_RU.UTF-8", LANG="ru_RU.UTF-8")
        registry(own=100, name="Мышь PS/2 Ёжик")
        code, said, errors = self.koravel("KORAVEL /query", env=russian, oem="cp866")
        self.assertEqual((0, "", 1), (code, errors, said.count("\tМышь PS/2 Ёжик\t")))
        # The same bytes under both locales, and on both targets (each target's tests expect these).
        json_line = ('{"schema":1,"driverRate":60,"mice":[{"name":"\\u041c\\u044b\\u0448\\u044c PS/2 \\u0401\\u0436'
                     '\\u0438\\u043a","instanceId":"HID\\\\VID_845E&PID_0001\\\\0&0000&0&0","ownRate":100,"rateAtStart":100}]}\n')
        for env in ({}, russian):
            self.assertEqual((0, json_line, ""), self.koravel("KORAVEL /query /json", env=env))
        self.assertEqual("Мышь PS/2 Ёжик", json.loads(json_line)["mice"][0]["name"])
        registry(driver=None, own=100)
        code, said, errors = self.koravel("KORAVEL /set 200", env=russian, oem="cp866")
        self.assertEqual((2, ""), (code, said))
        self.assertRegex(errors, "^Koravel: [А-Яа-яЁё .]+\nNothing was changed.\n$")

    def test_a_run_from_a_script_loads_no_user32_nor_comctl32_which_cost_a_window_s_start(self):
        trace = subprocess.run([WINE, EXE, "/check", "100", "/json"], env=dict(os.environ, WINEDEBUG="+loaddll"),
                               capture_output=True, text=True, timeout=WAIT).stderr
        koravel = re.search(r'^(\w+):trace:loaddll:\w+ Loaded L"[^"]*Koravel\.exe"', trace, re.M | re.I).group(1)
        self.assertEqual([], re.findall(rf'^{koravel}:.*Loaded L"[^"]*((?:user32|comctl32)\.dll)"', trace, re.M | re.I))

    def test_changes_at_once_each_whole_or_none_the_keys_agreeing_and_each_run_a_whole_line_of_the_log(self):
        registry(own=60)
        log = os.path.join(PREFIX, "drive_c", "koravel.log")
        self.addCleanup(lambda: os.path.exists(log) and os.remove(log))
        with concurrent.futures.ThreadPoolExecutor(10) as pool:
            self.assertLessEqual(set(pool.map(lambda n: self.koravel(f"KORAVEL /set {(20, 40, 80, 100, 200)[n % 5]} /log C:\\koravel.log")[0], range(10))), {0, 3010, 1618})
        self.assertEqual(stored_rate(), stored_rate(MOUSE + r"\Device Parameters"))
        with open(log, encoding="utf-8") as lines:
            self.assertEqual(10, len([json.loads(line) for line in lines]))

    def test_each_batch_file_recipe_sets_the_rate_once_and_logs_each_run(self):
        with open(os.path.join(os.path.dirname(__file__), "..", "..", "docs", "recipes.md"), encoding="utf-8") as doc:
            recipes = re.findall(r"```bat\n(.*?)```", doc.read(), re.S)
        log = os.path.join(PREFIX, "drive_c", "windows", "logs", "Koravel", "koravel.log")
        self.assertEqual(2, len(recipes))
        for recipe in recipes:
            with open(os.path.join(PREFIX, "drive_c", "recipe.bat"), "w") as batch:
                batch.write(recipe.replace("\\\\server\\share\\Koravel-x64.exe", "Z:" + EXE.replace("/", "\\")).replace("\n", "\r\n"))
            # A failure (the driver's value missing: 2) is read as one by "if errorlevel", and ends the batch with it.
            registry(driver=None, own=60)
            os.path.exists(log) and os.remove(log)
            self.assertEqual(2, subprocess.run([WINE64, "cmd", "/c", r"C:\recipe.bat"], capture_output=True, timeout=WAIT).returncode)
            registry(own=60)
            wine("cmd", "/c", r"C:\recipe.bat", loader=WINE64), wine("cmd", "/c", r"C:\recipe.bat", loader=WINE64)
            with open(log, encoding="utf-8") as lines:  # a line for each run, the failed one too
                runs = [json.loads(line) for line in lines]
            codes = [run["exitCode"] for run in runs]
            self.assertEqual(([2, 1, 0], (100, 100)), (codes[:2] + codes[3:], (stored_rate(), stored_rate(MOUSE + r"\Device Parameters"))))
            self.assertIn(codes[2], (1641, 3010))
            self.assertEqual([("driver", 60, 100), (r"HID\VID_845E&PID_0001\0&0000&0&0", 60, 100)],
                             [(key["key"], key["before"], key["after"]) for key in runs[2]["keys"]])


if __name__ == "__main__":
    unittest.main(verbosity=2)
