"""Checks a built Koravel.exe as a release: one well-formed application manifest that asks for
administrator rights, Common Controls 6 and system DPI awareness; imports only from DLLs that ship
with Windows. Usage: check_release.py EXE (with WINDRES and OBJDUMP in the environment)."""
import os
import struct
import subprocess
import sys
import tempfile
import unittest
import xml.etree.ElementTree as ET

EXE = sys.argv[1] if len(sys.argv) > 1 else ""
RT_MANIFEST = 24
ASM_V1 = "{urn:schemas-microsoft-com:asm.v1}"
ASM_V3 = "{urn:schemas-microsoft-com:asm.v3}"
WINDOWS_DLLS = {"kernel32.dll", "user32.dll", "gdi32.dll", "advapi32.dll", "comctl32.dll",
                "msvcrt.dll", "shell32.dll", "ole32.dll"}


def resources(exe):
    """(type, name, data) of every resource in exe, read from the .res file windres makes of it."""
    with tempfile.TemporaryDirectory() as scratch:
        res = os.path.join(scratch, "koravel.res")
        subprocess.run([os.environ["WINDRES"], "-i", exe, "-O", "res", "-o", res], check=True)
        data = open(res, "rb").read()
    found, pos = [], 0
    while pos + 8 <= len(data):
        size, header = struct.unpack_from("<II", data, pos)

        def name_or_id(at):
            if struct.unpack_from("<H", data, at)[0] == 0xFFFF:
                return struct.unpack_from("<H", data, at + 2)[0], at + 4
            end = at
            while struct.unpack_from("<H", data, end)[0] != 0:
                end += 2
            return data[at:end].decode("utf-16-le"), end + 2

        kind, at = name_or_id(pos + 8)
        name, _ = name_or_id(at)
        if size:
            found.append((kind, name, data[pos + header:pos + header + size]))
        pos = (pos + header + size + 3) & ~3
    return found


class ReleaseTest(unittest.TestCase):
    def test_one_manifest_with_the_three_settings(self):
        manifests = [r for r in resources(EXE) if r[0] == RT_MANIFEST]
        self.assertEqual(1, len(manifests), "one manifest: ours, and no default one beside it")
        kind, name, data = manifests[0]
        self.assertEqual(1, name)
        root = ET.fromstring(data)  # raises unless well-formed
        self.assertEqual(ASM_V1 + "assembly", root.tag)
        level = root.find(f"{ASM_V3}trustInfo/{ASM_V3}security/{ASM_V3}requestedPrivileges/"
                          f"{ASM_V3}requestedExecutionLevel")
        self.assertEqual("requireAdministrator", level.get("level"))
        controls = [a for a in root.iter(ASM_V1 + "assemblyIdentity")
                    if a.get("name") == "Microsoft.Windows.Common-Controls"]
        self.assertEqual(["6.0.0.0"], [a.get("version") for a in controls])
        settings = root.find(f"{ASM_V3}application/{ASM_V3}windowsSettings")
        aware = {child.tag.split("}")[1]: child.text for child in settings}
        self.assertEqual("true", aware["dpiAware"])
        self.assertEqual("system", aware["dpiAwareness"])

    def test_imports_only_dlls_that_ship_with_windows(self):
        dump = subprocess.run([os.environ["OBJDUMP"], "-p", EXE], check=True, capture_output=True,
                              text=True).stdout
        dlls = {line.split(":", 1)[1].strip().lower() for line in dump.splitlines()
                if "DLL Name:" in line}
        self.assertTrue(dlls)
        self.assertLessEqual(dlls, WINDOWS_DLLS, "no MinGW runtime DLL")

    def test_no_time_stamp(self):
        dump = subprocess.run([os.environ["OBJDUMP"], "-p", EXE], check=True, capture_output=True,
                              text=True).stdout
        stamps = [line for line in dump.splitlines() if line.startswith("Time/Date")]
        self.assertEqual(["Time/Date\t\tThu Jan  1 00:00:00 1970"], stamps)


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1], verbosity=2)
