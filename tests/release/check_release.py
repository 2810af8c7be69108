"""Checks a built Koravel.exe as a release: one well-formed application manifest that asks for
administrator rights, Common Controls 6 and system DPI awareness; imports only from DLLs that ship
with Windows; the address-space and data-execution protections of an elevated program; nothing of
the build (debug information, symbols, paths) left in it.
Usage: check_release.py EXE [BUILD_PATH ...] (with WINDRES and OBJDUMP in the environment)."""
import os
import struct
import subprocess
import sys
import tempfile
import unittest
import xml.etree.ElementTree as ET

EXE = sys.argv[1] if len(sys.argv) > 1 else ""
BUILD_PATHS = sys.argv[2:]
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
        with open(res, "rb") as res_file:
            data = res_file.read()
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


class PeImage:
    """The headers of a PE file that the hardening checks read."""
    IMAGE_FILE_RELOCS_STRIPPED = 0x0001
    DYNAMIC_BASE, NX_COMPAT, HIGH_ENTROPY_VA = 0x0040, 0x0100, 0x0020
    MEM_EXECUTE, MEM_WRITE = 0x20000000, 0x80000000
    DIRECTORY_BASERELOC, DIRECTORY_DEBUG = 5, 6

    def __init__(self, path):
        with open(path, "rb") as image:
            data = image.read()
        self.data = data
        pe = struct.unpack_from("<I", data, 0x3C)[0]
        assert data[pe:pe + 4] == b"PE\0\0", "not a PE file"
        (self.machine, sections, _, self.symbol_table, self.symbols, optional_size,
         self.characteristics) = struct.unpack_from("<HHIIIHH", data, pe + 4)
        optional = pe + 24
        magic = struct.unpack_from("<H", data, optional)[0]
        self.is_64 = magic == 0x20B
        self.dll_characteristics = struct.unpack_from("<H", data, optional + 70)[0]
        directories = optional + (112 if self.is_64 else 96)
        count = struct.unpack_from("<I", data, directories - 4)[0]
        self.directories = [struct.unpack_from("<II", data, directories + 8 * i)
                            for i in range(count)]
        self.sections = []
        table = optional + optional_size
        for i in range(sections):
            name, vsize, _, raw_size, _, _, _, _, _, flags = struct.unpack_from(
                "<8sIIIIIIHHI", data, table + 40 * i)
            self.sections.append((name.rstrip(b"\0").decode(), max(vsize, raw_size), flags))


class HardeningTest(unittest.TestCase):
    """Koravel runs elevated: what the platform offers against its subversion must be switched on."""

    @classmethod
    def setUpClass(cls):
        cls.pe = PeImage(EXE)

    def test_aslr_with_relocations_to_move_the_image(self):
        self.assertTrue(self.pe.dll_characteristics & PeImage.DYNAMIC_BASE)
        self.assertFalse(self.pe.characteristics & PeImage.IMAGE_FILE_RELOCS_STRIPPED)
        self.assertGreater(self.pe.directories[PeImage.DIRECTORY_BASERELOC][1], 0,
                           "a dynamic base without relocations is loaded at its fixed address")
        if self.pe.is_64:
            self.assertTrue(self.pe.dll_characteristics & PeImage.HIGH_ENTROPY_VA)

    def test_dep_and_no_section_both_writable_and_executable(self):
        self.assertTrue(self.pe.dll_characteristics & PeImage.NX_COMPAT)
        both = PeImage.MEM_WRITE | PeImage.MEM_EXECUTE
        self.assertEqual([], [name for name, _, flags in self.pe.sections if flags & both == both])

    def test_no_debug_information_symbols_or_build_paths(self):
        self.assertEqual([], [name for name, _, _ in self.pe.sections if name.startswith((".debug", "/"))])
        self.assertEqual((0, 0), self.pe.directories[PeImage.DIRECTORY_DEBUG])
        self.assertEqual((0, 0), (self.pe.symbol_table, self.pe.symbols))
        for path in BUILD_PATHS + ["/work/", "/usr/src/", "/home/", "/tmp/"]:
            for encoded in (path.encode(), path.encode("utf-16-le"), path.replace("/", "\\").encode()):
                self.assertNotIn(encoded, self.pe.data, f"{path} is in the executable")


class ReleaseTest(unittest.TestCase):
    def test_i686_executable_within_64_kib(self):
        # The class library carries no C++ runtime; a change that brings it back shows here.
        if PeImage(EXE).machine == 0x14C:
            self.assertLessEqual(os.path.getsize(EXE), 64 * 1024)

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
