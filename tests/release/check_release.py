"""Koravel.exe as released, read with pefile: what the build makes of its resources (the icon drawn
from text, one manifest: ours), its imports, the protections of a program that runs elevated, and
nothing of the build left in it. Usage: check_release.py EXE SOURCE_DIR BUILD_DIR"""
import os
import re
import struct
import sys
import unittest
from xml.etree import ElementTree

import pefile

EXE, BUILD_PATHS = sys.argv[1], sys.argv[2:]
PE = pefile.PE(EXE)
RT_ICON, RT_GROUP_ICON, RT_MANIFEST = 3, 14, 24

def lazy_imports():
    """{(DLL, function)} of the USER32 functions that Koravel binds at their first call: the import
    slots the linker kept, as its map (in the build folder) lists them, "_imp__Name@N" or "__imp_Name"."""
    with open(os.path.join(BUILD_PATHS[1], "Koravel.map")) as map_file:
        memory_map = map_file.read().partition("Linker script and memory map")[2]
    return {("USER32.DLL", name) for name in re.findall(r"^ \.data\$lazy\d+\s.*\n\s+0x\w+\s+_?_imp__?(\w+)", memory_map, re.M)}


def resource(kind, name):
    [entry] = [n for t in PE.DIRECTORY_ENTRY_RESOURCE.entries if t.id == kind
               for n in t.directory.entries if n.id == name]
    data = entry.directory.entries[0].data.struct
    return PE.get_data(data.OffsetToData, data.Size)


class ReleaseTest(unittest.TestCase):
    def test_icon_group_of_a_32_and_a_16_pixel_image_in_16_colours(self):
        group = resource(RT_GROUP_ICON, 128)
        entries = [struct.unpack_from("<BBBxHH4xH", group, 6 + 14 * i) for i in range(group[4])]
        self.assertEqual([(32, 32, 16, 1, 4), (16, 16, 16, 1, 4)], [e[:5] for e in entries])
        for width, *_, image in entries:  # each image as its entry says
            self.assertEqual((40, width, 2 * width, 1, 4), struct.unpack_from("<IiiHH", resource(RT_ICON, image)))

    def test_one_manifest_which_asks_for_elevation_common_controls_6_and_system_dpi(self):
        self.assertEqual([1], [n.id for t in PE.DIRECTORY_ENTRY_RESOURCE.entries if t.id == RT_MANIFEST
                               for n in t.directory.entries], "no default one beside it")
        manifest = ElementTree.fromstring(resource(RT_MANIFEST, 1))
        find = lambda path: [e.attrib or e.text for e in manifest.iterfind(path, {"v1": "urn:schemas-microsoft-com:asm.v1",
            "v3": "urn:schemas-microsoft-com:asm.v3", "dpi": "http://schemas.microsoft.com/SMI/2005/WindowsSettings"})]
        self.assertEqual("requireAdministrator", find(".//v3:requestedExecutionLevel")[0]["level"])
        self.assertEqual(("Microsoft.Windows.Common-Controls", "6.0.0.0"), next(
            (a["name"], a["version"]) for a in find("v1:dependency/v1:dependentAssembly/v1:assemblyIdentity")))
        self.assertEqual(["true"], find("v3:application/v3:windowsSettings/dpi:dpiAware"))

    def test_i686_asks_for_windows_4_imports_only_what_nt_4_and_95_have_and_is_within_60_kib(self):
        if PE.FILE_HEADER.Machine != 0x14C:
            self.skipTest("for the i686 executable")
        header = PE.OPTIONAL_HEADER
        self.assertEqual((4, 0, 4, 0), (header.MajorOperatingSystemVersion, header.MinorOperatingSystemVersion,
                                        header.MajorSubsystemVersion, header.MinorSubsystemVersion))
        with open(os.path.join(os.path.dirname(__file__), "imports-i686.txt")) as listed:
            allowed = {tuple(line.split()) for line in listed if line.strip() and not line.startswith("#")}
        self.assertEqual(set(), {(entry.dll.decode().upper(), function.name.decode())
                                 for entry in PE.DIRECTORY_ENTRY_IMPORT for function in entry.imports} - allowed)
        self.assertEqual(set(), lazy_imports() - allowed)
        self.assertLessEqual(len(PE.__data__), 60 * 1024)  # no C++ runtime came back, say

    def test_windows_dlls_only_user32_only_for_a_window_and_aslr_and_dep_as_an_elevated_program_needs(self):
        self.assertEqual({"kernel32.dll", "advapi32.dll", "msvcrt.dll"},
                         {entry.dll.decode().lower() for entry in PE.DIRECTORY_ENTRY_IMPORT})
        self.assertIn(("USER32.DLL", "DialogBoxParamA"), lazy_imports())
        flags, relocations = PE.OPTIONAL_HEADER.DllCharacteristics, PE.OPTIONAL_HEADER.DATA_DIRECTORY[5].Size
        self.assertTrue(flags & 0x40 and relocations and not PE.FILE_HEADER.Characteristics & 1, "a movable image")
        self.assertTrue(flags & 0x100, "no execution of data")
        self.assertTrue(flags & 0x20 or PE.FILE_HEADER.Machine != 0x8664, "64-bit addresses of high entropy")
        self.assertEqual([], [s.Name for s in PE.sections if s.Characteristics & 0xA0000000 == 0xA0000000])

    def test_no_time_stamp_and_nothing_of_the_build(self):
        self.assertEqual((0, 0, 0, 0), (PE.FILE_HEADER.TimeDateStamp, PE.OPTIONAL_HEADER.DATA_DIRECTORY[6].Size,
                                        PE.FILE_HEADER.PointerToSymbolTable, PE.FILE_HEADER.NumberOfSymbols))
        self.assertEqual([], [s.Name for s in PE.sections if s.Name.startswith((b".debug", b"/"))])
        for path in BUILD_PATHS + ["/work/", "/usr/src/", "/home/", "/tmp/"]:
            for form in (path.encode(), path.encode("utf-16-le"), path.replace("/", "\\").encode()):
                self.assertNotIn(form, PE.__data__, f"{path} is in the executable")


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1], verbosity=2)
