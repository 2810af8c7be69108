"""Koravel.exe as released, read with pefile: its resources against the tables they were written
from, its manifest and imports, the protections of a program that runs elevated, and nothing of
the build left in it. Usage: check_release.py EXE BUILD_PATH..."""
import os
import struct
import sys
import unittest
import xml.etree.ElementTree as ET

import pefile

EXE, BUILD_PATHS = sys.argv[1], sys.argv[2:]
PE = pefile.PE(EXE)
RT_ICON, RT_DIALOG, RT_GROUP_ICON, RT_MANIFEST = 3, 5, 14, 24

# Styles, with the values of winuser.h and commctrl.h.
WS_POPUP, WS_VISIBLE, WS_CAPTION, WS_BORDER, WS_SYSMENU = 0x80000000, 0x10000000, 0xC00000, 0x800000, 0x80000
WS_GROUP, WS_TABSTOP, WS_EX_APPWINDOW, DEFPUSH, PUSH, RADIO, ICON, NOPREFIX = 0x20000, 0x10000, 0x40000, 1, 0, 9, 3, 0x80
DIALOG = WS_POPUP | WS_CAPTION | WS_SYSMENU | 0x80 | 0x40  # DS_MODALFRAME | DS_SETFONT
GROUP_LEFT, GROUP_CENTER, GROUP_RIGHT = WS_GROUP | 0, WS_GROUP | 1, WS_GROUP | 2  # SS_LEFT, SS_CENTER, SS_RIGHT
SLIDER = WS_TABSTOP | 0x1 | 0x4 | 0x20  # TBS_AUTOTICKS | TBS_TOP | TBS_ENABLESELRANGE

# Each template: caption, size, style, extended style, font (points, [weight, italic, charset,] face);
# then its controls in tab order: ID, class, text, style beyond WS_CHILD | WS_VISIBLE, x, y, cx, cy.
TEMPLATES = {
    102: ("Koravel Settings", (197, 82), DIALOG | WS_VISIBLE, WS_EX_APPWINDOW, (8, 0, 0, 1, "MS Sans Serif"), [
        (1, "button", "OK", WS_TABSTOP | DEFPUSH, 139, 61, 50, 14),
        (2, "button", "Cancel", WS_TABSTOP | PUSH, 83, 61, 50, 14),
        (-1, "static", "Current Rate:", GROUP_LEFT, 7, 18, 45, 8),
        (-1, "static", "New Rate:", GROUP_LEFT, 7, 46, 35, 8),
        (1002, "msctls_progress32", "Progress1", WS_BORDER, 57, 19, 132, 6),
        (1003, "msctls_trackbar32", "Slider1", SLIDER, 52, 40, 141, 18),
        (-1, "static", "20", GROUP_CENTER, 57, 7, 8, 8),
        (-1, "static", "20", GROUP_LEFT, 57, 33, 8, 8),
        (1004, "static", "999", GROUP_CENTER, 101, 7, 45, 8),
        (-1, "static", "200", GROUP_RIGHT, 173, 7, 16, 8),
        (1005, "static", "999", GROUP_CENTER, 101, 33, 45, 8),
        (-1, "static", "200", GROUP_RIGHT, 173, 33, 16, 8)]),
    129: ("You have chosen to run this program on something other than NT", (275, 100), DIALOG, 0, (8, "MS Sans Serif"), [
        (1, "button", "OK", WS_TABSTOP | DEFPUSH, 102, 79, 50, 14),
        (-1, "static", "Please select one of the following:", GROUP_LEFT, 7, 7, 108, 8),
        (1006, "button", "I got this program with no description, and just thought I'd see what it does.", WS_GROUP | RADIO, 7, 17, 250, 10),
        (1007, "button", "I have the cumulative brain capacity of a goat on heroin.", RADIO, 7, 28, 193, 10),
        (1008, "button", "My parents were blood relatives.", RADIO, 7, 39, 117, 10),
        (1009, "button", "I knew that it was for Windows NT, but I wanted to know what would happen.", RADIO, 7, 50, 261, 10),
        (1010, "button", "I'm sorry, but I don't speak English.", RADIO, 7, 60, 125, 10)]),
    100: ("About Koravel", (235, 55), DIALOG, 0, (8, "MS Sans Serif"), [
        (-1, "static", 128, ICON, 11, 17, 20, 20),
        (-1, "static", "Koravel Version 1.0", WS_GROUP | NOPREFIX, 40, 10, 119, 8),
        (-1, "static", "(C) 2026 the Koravel team", GROUP_LEFT, 40, 25, 119, 8),
        (1, "button", "OK", WS_GROUP | WS_TABSTOP | DEFPUSH, 178, 7, 50, 14),
        (-1, "static", "Sets the PS/2 mouse sample rate.", GROUP_LEFT, 39, 40, 119, 8)]),
}


def resource(kind, name):
    [entry] = [n for t in PE.DIRECTORY_ENTRY_RESOURCE.entries if t.id == kind
               for n in t.directory.entries if n.id == name]
    data = entry.directory.entries[0].data.struct
    return PE.get_data(data.OffsetToData, data.Size)


def dialog(data):
    """A DLGTEMPLATE or DLGTEMPLATEEX, in the form of TEMPLATES."""
    pos = 0

    def take(form):
        nonlocal pos
        pos += struct.calcsize(form)
        return struct.unpack_from(form, data, pos - struct.calcsize(form))

    def text_or_ordinal():
        nonlocal pos
        if data[pos:pos + 2] == b"\xff\xff":
            return take("<2H")[1]
        end = next(i for i in range(pos, len(data), 2) if data[i:i + 2] == b"\0\0")
        text, pos = data[pos:end].decode("utf-16-le"), end + 2
        return text

    extended = data[2:4] == b"\xff\xff"
    style, exstyle, count, cx, cy = (take("<8xIIH4xhh") if extended else take("<IIH4xhh"))
    if extended:
        exstyle, style = style, exstyle
    caption = [text_or_ordinal() for _ in range(3)][2]  # after the menu and the class
    font = (*take("<HHBB" if extended else "<H"), text_or_ordinal())
    controls = []
    for _ in range(count):
        pos = (pos + 3) & ~3
        item = take("<8xIhhhhi" if extended else "<I4xhhhhh")  # style, x, y, cx, cy, ID
        kind, text = text_or_ordinal(), text_or_ordinal()
        extra = take("<H")[0]  # bytes of creation data, which Koravel's templates do not have
        pos += extra
        kind = {0x80: "button", 0x82: "static"}.get(kind, kind).lower()
        controls.append((item[5], kind, text, item[0] & ~(0x40000000 | WS_VISIBLE), *item[1:5]))
    return caption, (cx, cy), style, exstyle, font, controls


class ReleaseTest(unittest.TestCase):
    def test_dialog_templates(self):
        for name, expected in TEMPLATES.items():
            with self.subTest(template=name):
                self.assertEqual(expected, dialog(resource(RT_DIALOG, name)))

    def test_icon_group_of_a_32_and_a_16_pixel_image_in_16_colours(self):
        group = resource(RT_GROUP_ICON, 128)
        entries = [struct.unpack_from("<BBBxHH4xH", group, 6 + 14 * i) for i in range(group[4])]
        self.assertEqual([(32, 32, 16, 1, 4), (16, 16, 16, 1, 4)], [e[:5] for e in entries])
        for width, *_, image in entries:  # each image as its entry says
            self.assertEqual((40, width, 2 * width, 1, 4), struct.unpack_from("<IiiHH", resource(RT_ICON, image)))

    def test_version_resource(self):
        fixed, info = PE.VS_FIXEDFILEINFO[0], {info.Key: info for info in PE.FileInfo[0]}
        self.assertEqual((0x10000, 1, 0x10000, 1, 0x3F, 0, 4, 1, 0), tuple(getattr(fixed, name) for name in (
            "FileVersionMS", "FileVersionLS", "ProductVersionMS", "ProductVersionLS", "FileFlagsMask",
            "FileFlags", "FileOS", "FileType", "FileSubtype")))
        [(language, strings)] = [(t.LangID, t.entries) for t in info[b"StringFileInfo"].StringTable]
        strings = {key.decode(): value.decode() for key, value in strings.items()}
        self.assertTrue(strings.pop("LegalCopyright"))
        self.assertEqual((b"040904B0", {
            "CompanyName": "", "FileDescription": "Koravel MFC Application", "FileVersion": "1, 0, 0, 1",
            "InternalName": "Koravel", "LegalTrademarks": "", "OriginalFilename": "Koravel.EXE",
            "ProductName": "Koravel Application", "ProductVersion": "1, 0, 0, 1"}), (language, strings))
        self.assertEqual([{b"Translation": "0x0409 0x04b0"}], [var.entry for var in info[b"VarFileInfo"].Var])

    def test_one_manifest_for_administrator_common_controls_6_and_system_dpi(self):
        self.assertEqual([1], [n.id for t in PE.DIRECTORY_ENTRY_RESOURCE.entries if t.id == RT_MANIFEST
                               for n in t.directory.entries], "ours, and no default one beside it")
        root, v1, v3 = ET.fromstring(resource(RT_MANIFEST, 1)), "{urn:schemas-microsoft-com:asm.v1}", "{urn:schemas-microsoft-com:asm.v3}"
        self.assertEqual("requireAdministrator", root.find(
            f"{v3}trustInfo/{v3}security/{v3}requestedPrivileges/{v3}requestedExecutionLevel").get("level"))
        self.assertEqual(["6.0.0.0"], [a.get("version") for a in root.iter(v1 + "assemblyIdentity")
                                       if a.get("name") == "Microsoft.Windows.Common-Controls"])
        settings = {c.tag.split("}")[1]: c.text for c in root.find(f"{v3}application/{v3}windowsSettings")}
        self.assertEqual({"dpiAware": "true", "dpiAwareness": "system"}, settings)

    def test_i686_asks_for_windows_4_and_imports_only_what_nt_4_and_95_have(self):
        if PE.FILE_HEADER.Machine != 0x14C:
            self.skipTest("for the i686 executable")
        header = PE.OPTIONAL_HEADER
        self.assertEqual((4, 0, 4, 0), (header.MajorOperatingSystemVersion, header.MinorOperatingSystemVersion,
                                        header.MajorSubsystemVersion, header.MinorSubsystemVersion))
        with open(os.path.join(os.path.dirname(__file__), "imports-i686.txt")) as listed:
            allowed = {tuple(line.split()) for line in listed if line.strip() and not line.startswith("#")}
        self.assertEqual(set(), {(entry.dll.decode().upper(), function.name.decode())
                                 for entry in PE.DIRECTORY_ENTRY_IMPORT for function in entry.imports} - allowed)

    def test_windows_dlls_only_and_aslr_and_dep_as_a_program_that_runs_elevated_needs(self):
        self.assertLessEqual({entry.dll.decode().lower() for entry in PE.DIRECTORY_ENTRY_IMPORT},
                             {"kernel32.dll", "user32.dll", "advapi32.dll", "comctl32.dll", "msvcrt.dll"})
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

    def test_i686_executable_within_64_kib(self):
        # The class library carries no C++ runtime; a change that brings it back shows here.
        self.assertTrue(PE.FILE_HEADER.Machine != 0x14C or len(PE.__data__) <= 64 * 1024)


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1], verbosity=2)
