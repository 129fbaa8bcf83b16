#!/usr/bin/env python3
"""Tests of the build-time tools: the images they draw are files Windows can
load with the sizes and formats the dialog needs, the readme arrives as
Windows-1252 with CR LF and with the version filled in, the import check tells
system DLLs from others, and the prefix comparison tells Wine's own start-up
writes from any other change; the resource reader refuses a damaged program;
the i386 probe tells a kernel that refuses i386 programs from a loader that
is not installed.

    python3 tools/test_tools.py
"""

import json
import os
import struct
import subprocess
import sys
import tempfile
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)

import check_imports  # noqa: E402
import check_release  # noqa: E402
import prefix_snapshot  # noqa: E402


def run_tool(name, *args):
    return subprocess.run([sys.executable, os.path.join(HERE, name)] + list(args),
                          capture_output=True, text=True)


class MakeImagesTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.dir = tempfile.TemporaryDirectory()
        result = run_tool("make_images.py", cls.dir.name)
        assert result.returncode == 0, result.stderr
        with open(os.path.join(cls.dir.name, "KOLVEK.ico"), "rb") as f:
            cls.ico = f.read()
        with open(os.path.join(cls.dir.name, "Image1.bmp"), "rb") as f:
            cls.bmp = f.read()

    @classmethod
    def tearDownClass(cls):
        cls.dir.cleanup()

    def test_icon_holds_one_32_pixel_image_with_16_colours(self):
        reserved, kind, count = struct.unpack_from("<HHH", self.ico, 0)
        self.assertEqual((reserved, kind, count), (0, 1, 1))
        width, height, colours, _, planes, bits, size, offset = struct.unpack_from(
            "<BBBBHHII", self.ico, 6)
        self.assertEqual((width, height, colours, planes, bits), (32, 32, 16, 1, 4))
        self.assertEqual(offset + size, len(self.ico), "directory covers the whole image")
        header = struct.unpack_from("<IiiHHI", self.ico, offset)
        # Height counts the colour rows and the mask rows.
        self.assertEqual(header, (40, 32, 64, 1, 4, 0))
        palette, xor_rows, and_rows = 16 * 4, 32 * 16, 32 * 4
        self.assertEqual(size, 40 + palette + xor_rows + and_rows)

    def test_picture_is_320_by_240_uncompressed_24_bit(self):
        magic, file_size, _, _, offset = struct.unpack_from("<2sIHHI", self.bmp, 0)
        self.assertEqual(magic, b"BM")
        self.assertEqual(file_size, len(self.bmp))
        size, width, height, planes, bits, compression, image_size = struct.unpack_from(
            "<IiiHHII", self.bmp, 14)
        self.assertEqual((size, width, height, planes, bits, compression),
                         (40, 320, 240, 1, 24, 0))
        self.assertEqual(image_size, 320 * 3 * 240)
        self.assertEqual(offset + image_size, len(self.bmp))

    def test_picture_is_not_blank(self):
        pixels = self.bmp[54:]
        self.assertGreater(len(set(pixels[i:i + 3] for i in range(0, len(pixels), 3))), 500)

    def test_drawing_again_gives_the_same_bytes(self):
        with tempfile.TemporaryDirectory() as again:
            self.assertEqual(run_tool("make_images.py", again).returncode, 0)
            with open(os.path.join(again, "Image1.bmp"), "rb") as f:
                self.assertEqual(f.read(), self.bmp)
            with open(os.path.join(again, "KOLVEK.ico"), "rb") as f:
                self.assertEqual(f.read(), self.ico)


class WindowsTextTest(unittest.TestCase):
    def convert(self, text, *options):
        with tempfile.TemporaryDirectory() as tmp:
            source = os.path.join(tmp, "in.txt")
            target = os.path.join(tmp, "out.txt")
            with open(source, "wb") as f:
                f.write(text.encode("utf-8"))
            result = run_tool("windows_text.py", *options, source, target)
            data = None
            if os.path.exists(target):
                with open(target, "rb") as f:
                    data = f.read()
            return result.returncode, data

    def test_umlauts_become_windows_1252_and_lines_end_in_cr_lf(self):
        rows = [
            ("Größe\nÜbung\n", b"Gr\xf6\xdfe\r\n\xdcbung\r\n"),
            ("ohne Ende", b"ohne Ende\r\n"),
            ("schon\r\nWindows\r\n", b"schon\r\nWindows\r\n"),
            ("\ufeffmit BOM\n", b"mit BOM\r\n"),
            ("a\n\nb\n", b"a\r\n\r\nb\r\n"),
        ]
        for text, expected in rows:
            with self.subTest(text=text):
                self.assertEqual(self.convert(text), (0, expected))

    def test_set_fills_in_a_name_and_keeps_the_title_underlined(self):
        rows = [
            ("KOLVEK @V@ - Titel\n=============\n\nText @V@\n",
             b"KOLVEK 1.10.2 - Titel\r\n=====================\r\n\r\nText 1.10.2\r\n"),
            # Only an underline right under the changed line, and only one
            # made of a single character, is redrawn.
            ("@V@\n\n===\n", b"1.10.2\r\n\r\n===\r\n"),
            ("Titel\n--\n@V@\n-=-\n", b"Titel\r\n--\r\n1.10.2\r\n-=-\r\n"),
            ("@V@\n-\n", b"1.10.2\r\n------\r\n"),
            ("@W@ bleibt\n", b"@W@ bleibt\r\n"),
        ]
        for text, expected in rows:
            with self.subTest(text=text):
                self.assertEqual(self.convert(text, "--set", "V=1.10.2"), (0, expected))

    def test_set_without_a_name_is_a_usage_error(self):
        for option in (["--set"], ["--set", "V"], ["--set", "=1.0"]):
            with self.subTest(option=option):
                status, data = self.convert("x\n", *option)
                self.assertEqual(status, 2)
                self.assertIsNone(data)

    def test_character_outside_windows_1252_is_refused(self):
        status, data = self.convert("Pfeil \u2192 hier\n")
        self.assertNotEqual(status, 0)
        self.assertIsNone(data)


class PrefixSnapshotTest(unittest.TestCase):
    BEFORE = {
        "files": {
            "drive_c": ["dir", "", 0o40755, 1],
            "drive_c/Game/save.dat": ["file", 5, 0o100644, 1],
            "dosdevices/com1": ["link", "/dev/ttyS0", 0o120777, 1],
            "system.reg": ["file", 100, 0o100644, 1],
        },
        "keys": {
            "system.reg:Software\\Game": ['"Path"="C:\\\\Game\\\\"'],
            "system.reg:" + prefix_snapshot.DISPLAY_KEYS[0] + "0000": ['"DriverDateData"=hex:01'],
        },
    }

    def compare(self, change, *own):
        after = json.loads(json.dumps(self.BEFORE))
        change(after)
        with tempfile.TemporaryDirectory() as tmp:
            paths = []
            for name, record in (("before", self.BEFORE), ("after", after)):
                paths.append(os.path.join(tmp, name + ".json"))
                with open(paths[-1], "w") as f:
                    json.dump(record, f)
            with open(os.devnull, "w") as quiet:
                stdout, sys.stdout = sys.stdout, quiet
                try:
                    return prefix_snapshot.compare(paths[0], paths[1], list(own))
                finally:
                    sys.stdout = stdout

    def test_what_wine_does_at_every_start_and_the_own_folder_pass(self):
        def wine_start(record):
            record["files"]["dosdevices/com1"][3] = 2
            record["files"]["system.reg"][1:] = [120, 0o100644, 2]
            record["keys"]["system.reg:" + prefix_snapshot.DISPLAY_KEYS[0] + "0000"] = [
                '"DriverDateData"=hex:02']
            record["keys"]["system.reg:" + prefix_snapshot.DISPLAY_KEYS[3] + "Monitor"] = ['@=hex:03']

        def own_folder(record):
            wine_start(record)
            record["files"]["drive_c"][3] = 2
            record["files"]["drive_c/KOLVEK"] = ["dir", "", 0o40755, 2]
            record["files"]["drive_c/KOLVEK/kolvar.ini"] = ["file", 40, 0o100644, 2]

        self.assertEqual(self.compare(wine_start), 0)
        self.assertEqual(self.compare(own_folder, "drive_c/KOLVEK"), 0)

    def test_any_other_change_fails(self):
        def touch(record):
            record["files"]["drive_c/Game/save.dat"][3] = 2

        def new_file(record):
            record["files"]["drive_c/KOLVEKX"] = ["file", 1, 0o100644, 2]

        def gone(record):
            del record["files"]["drive_c/Game/save.dat"]

        def value(record):
            record["keys"]["system.reg:Software\\Game"] = ['"Path"="C:\\\\Anders\\\\"']

        def key(record):
            record["keys"]["user.reg:Control Panel\\Desktop"] = ['"LogPixels"=dword:00000090']

        for change in (touch, new_file, gone, value, key):
            with self.subTest(change=change.__name__):
                self.assertEqual(self.compare(change, "drive_c/KOLVEK"), 1)


class CheckImportsTest(unittest.TestCase):
    def test_only_system_dlls_and_no_late_functions_pass(self):
        rows = [
            ({"KERNEL32.dll": ["GetProcAddress"], "USER32.dll": ["DialogBoxParamW"]}, 0),
            ({"COMCTL32.DLL": ["InitCommonControlsEx"], "msvcrt.dll": ["free"]}, 0),
            ({"KERNEL32.dll": ["LoadLibraryExW"], "SHELL32.dll": ["SHFileOperationA"]}, 1),
            ({"KERNEL32.dll": ["Sleep"], "libstdc++-6.dll": ["_ZdlPv"]}, 1),
            ({"libwinpthread-1.dll": ["pthread_once"]}, 1),
            ({"KERNEL32.dll": ["Sleep", "SetDefaultDllDirectories", "AddDllDirectory"]}, 1),
            ({"KERNEL32.dll": ["RemoveDllDirectory"], "GDI32.dll": []}, 2),
            ({}, 1),
        ]
        for found, expected in rows:
            with self.subTest(found=found):
                self.assertEqual(len(check_imports.problems(found)), expected)


class CheckReleaseTest(unittest.TestCase):
    CONTROLS = ('<dependency><dependentAssembly><assemblyIdentity type="win32" '
                'name="Microsoft.Windows.Common-Controls" version="6.0.0.0"/>'
                '</dependentAssembly></dependency>')
    DPI = ('<asmv3:application><asmv3:windowsSettings xmlns="http://schemas.microsoft.com/'
           'SMI/2005/WindowsSettings"><dpiAware>true</dpiAware></asmv3:windowsSettings>'
           '</asmv3:application>')
    LEVEL = ('<trustInfo xmlns="urn:schemas-microsoft-com:asm.v3"><security><requestedPrivileges>'
             '<requestedExecutionLevel level="asInvoker"/></requestedPrivileges></security>'
             '</trustInfo>')

    def test_manifest_needs_own_version_controls_and_dpi_and_no_execution_level(self):
        rows = [(self.CONTROLS + self.DPI, 0), (self.CONTROLS + self.DPI + self.LEVEL, 1),
                (self.DPI, 1), (self.CONTROLS, 1), ("<unclosed>", 1),
                ('<assemblyIdentity name="Kolvek.Launcher" version="1.2.3.0"/>', 3)]
        for body, expected in rows:
            with self.subTest(body=body):
                problems = []
                check_release.check_manifest(
                    ('<assembly xmlns="urn:schemas-microsoft-com:asm.v1" xmlns:asmv3="urn:'
                     'schemas-microsoft-com:asm.v3">%s<assemblyIdentity name="Kolvek.Launcher" '
                     'version="1.2.3.4"/></assembly>' % body).encode(), "1.2.3.4", problems)
                self.assertEqual(len(problems), expected, problems)

    @staticmethod
    def crafted_exe(names=0x80000018, rva=0x1058, size=4):
        """A section at 0x1000 with a resource tree (directories at 0, 24 and 48, the
        leaf at 72, data at 88); bytes follow it, so only its bounds stop a stray read."""
        table = b"".join(struct.pack("<12xHHII", 0, 1, *entry) for entry in (
            (16, names), (1, 0x80000030), (0, 72))) + struct.pack("<II8x4s", rva, size, b"data")
        headers = (struct.pack("<60xI4sHHIIIHH", 64, b"PE\0\0", 0x14C, 1, 0, 0, 0, 224, 0x102) +
                   struct.pack("<H90xI16xII104x", 0x10B, 16, 0x1000, len(table)) +
                   struct.pack("<8sIIII16x", b".rsrc", len(table), 0x1000, len(table), 0x200))
        return headers.ljust(0x200, b"\0") + table + bytes(0x100)

    def test_resource_directory_must_stay_in_its_file_and_section(self):
        self.assertEqual(check_release.resources(self.crafted_exe(), 16), {1: b"data"})
        rows = [("a header cut off", self.crafted_exe()[:0x140]),
                ("names past the table", self.crafted_exe(names=0x80000100)),
                ("a leaf where the names belong", self.crafted_exe(names=0x18)),
                ("data in no section", self.crafted_exe(rva=0x3000)),
                ("data past the section", self.crafted_exe(size=8))]
        for what, exe in rows:
            with self.subTest(what):
                self.assertRaises(ValueError, check_release.resources, exe, 16)
        built = os.environ.get("KOLVEK_EXE", os.path.join(HERE, "../build/win32/KOLVEK/KOLVEK.EXE"))
        if os.path.exists(built):
            with open(built, "rb") as f:
                exe = f.read()
            self.assertEqual([list(check_release.resources(exe, k)) for k in (16, 24)], [[1], [1]])

    def test_installer_words_are_found_inside_words_in_any_case(self):
        for text, expected in [("Startet den Karteneditor", 0), ("KOLVEK_Setup.exe", 1),
                               ("Kartenupdater", 1), ("INSTALLIERT", 1), ("Patches", 1)]:
            problems = []
            check_release.check_installer_words({"FileDescription": text}, problems)
            self.assertEqual(len(problems), expected, text)


class WineLoaderProbeTest(unittest.TestCase):
    def test_only_a_refusing_kernel_means_another_machine_a_missing_loader_fails(self):
        with tempfile.TemporaryDirectory() as folder:
            path = lambda name: os.path.join(folder, name)  # noqa: E731
            for name, body in (("runs", b"#!/bin/sh\n"), ("elf", b"\x7fELF\x01junk"), ("wine", b"")):
                with open(path(name), "wb") as f:
                    f.write(body)
                os.chmod(path(name), 0o755)
            rows = [("runs", "wine", "returned 0\n", ""), ("elf", "wine", "returned 1\n", ""),
                    ("elf", "none", "returned 1\n", ""), ("none", "wine", "", "i386 C library"),
                    ("runs", "none", "", "Wine's 32-bit loader (wine32:i386)")]
            for ld, wine, out, err in rows:
                with self.subTest(ld=ld, wine=wine):
                    result = subprocess.run(
                        ["sh", "-c", '. "$0"; runs_i386 "$1" "$2"; echo returned $?',
                         os.path.join(HERE, "../scripts/wine-loader.sh"), path(ld), path(wine)],
                        capture_output=True, text=True)
                    self.assertEqual((result.returncode, result.stdout), (1 if err else 0, out))
                    self.assertTrue(err in result.stderr if err else result.stderr == "", result.stderr)

if __name__ == "__main__":
    unittest.main()
