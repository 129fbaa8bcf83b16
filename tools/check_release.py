#!/usr/bin/env python3
"""Checks the download that the kolvek_zip target makes.

    check_release.py ZIP VERSION [FOLDER]...

Fails unless ZIP is named KOLVEK-VERSION-win32.zip, has its SHA-256 beside
it, holds KOLVEK.EXE and Liesmich.txt and nothing else, and every version in
it is VERSION: Liesmich.txt's title, the manifest's assemblyIdentity and the
version resource. KOLVEK.EXE must have no link time in its PE header and
name none of the FOLDERs (the build's source and build folders).
"""

import hashlib
import io
import os
import struct
import sys
import zipfile

ENTRIES = ["KOLVEK.EXE", "Liesmich.txt"]


def four_numbers(version):
    numbers = [int(part) for part in version.split(".")]
    return (numbers + [0, 0, 0, 0])[:4]


def check_zip(path, version, problems):
    name = os.path.basename(path)
    if name != "KOLVEK-%s-win32.zip" % version:
        problems.append("zip named %s, not after version %s" % (name, version))
    with open(path, "rb") as f:
        data = f.read()
    try:
        with open(path + ".sha256", encoding="ascii") as f:
            checksum = f.read()
    except OSError as error:
        problems.append("no checksum file: %s" % error)
    else:
        expected = "%s  %s\n" % (hashlib.sha256(data).hexdigest(), name)
        if checksum != expected:
            problems.append("checksum file says %r, the zip is %r" % (checksum, expected))
    with zipfile.ZipFile(io.BytesIO(data)) as archive:
        names = archive.namelist()
        if names != ENTRIES:
            problems.append("zip holds %s, not %s" % (names, ENTRIES))
            return {}
        return {entry: archive.read(entry) for entry in ENTRIES}


def check_readme(text, version, problems):
    lines = text.decode("cp1252").split("\r\n")
    title = "KOLVEK %s - " % version
    if not lines[0].startswith(title):
        problems.append("Liesmich.txt begins %r, not %r" % (lines[0], title))
    if len(lines) < 2 or lines[1] != "=" * len(lines[0]):
        problems.append("Liesmich.txt's title is not underlined to its length")


def check_exe(exe, version, problems):
    (pe_offset,) = struct.unpack_from("<I", exe, 0x3C)
    if exe[pe_offset:pe_offset + 4] != b"PE\0\0":
        problems.append("KOLVEK.EXE is no PE file")
        return
    (stamp,) = struct.unpack_from("<I", exe, pe_offset + 8)
    if stamp != 0:
        problems.append("KOLVEK.EXE has the link time %d in its PE header" % stamp)
    numbers = four_numbers(version)
    text = ".".join(str(n) for n in numbers)
    identity = ('name="Kolvek.Launcher" version="%s"' % text).encode("ascii")
    if identity not in exe:
        problems.append("the manifest's assemblyIdentity is not version %s" % text)
    # VS_FIXEDFILEINFO: signature, structure version, then file and product
    # version as two pairs of 16-bit numbers each.
    at = exe.find(struct.pack("<I", 0xFEEF04BD))
    if at < 0:
        problems.append("KOLVEK.EXE has no version resource")
        return
    fields = struct.unpack_from("<6I", exe, at)
    wanted = ((numbers[0] << 16) | numbers[1], (numbers[2] << 16) | numbers[3])
    if fields[2:4] != wanted or fields[4:6] != wanted:
        problems.append("the version resource's numbers are not %s" % text)
    # FileVersion and ProductVersion as text, each followed by its end.
    if exe.count((text + "\0").encode("utf-16-le")) < 2:
        problems.append("the version resource's texts are not %s" % text)


def check_no_folders(files, folders, problems):
    for folder in folders:
        folder = folder.rstrip("/")
        for form in (folder.encode("utf-8"), folder.encode("utf-16-le")):
            for entry, data in files.items():
                if form in data:
                    problems.append("%s names the folder %s" % (entry, folder))


def main(argv):
    if len(argv) < 3:
        sys.stderr.write("usage: check_release.py ZIP VERSION [FOLDER]...\n")
        return 2
    path, version, folders = argv[1], argv[2], argv[3:]
    problems = []
    files = check_zip(path, version, problems)
    if files:
        check_readme(files["Liesmich.txt"], version, problems)
        check_exe(files["KOLVEK.EXE"], version, problems)
        check_no_folders(files, folders, problems)
    for problem in problems:
        sys.stderr.write("%s: %s\n" % (os.path.basename(path), problem))
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
