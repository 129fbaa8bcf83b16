#!/usr/bin/env python3
"""Checks the download that the kolvek_zip target makes.

    check_release.py ZIP VERSION [FOLDER]...

Fails unless ZIP is named KOLVEK-VERSION-win32.zip, has its SHA-256 beside
it, holds KOLVEK.EXE and Liesmich.txt and nothing else, and every version in
it is VERSION: Liesmich.txt's title, the manifest's assemblyIdentity and the
version resource. KOLVEK.EXE must have no link time in its PE header and
name none of the FOLDERs (the build's source and build folders). Its manifest
must ask for common controls 6 and DPI awareness and name no execution level,
and neither its name nor the texts of its version resource may hold a word
that makes Windows take it for an installer.
"""

import hashlib
import io
import os
import struct
import sys
import xml.etree.ElementTree as ElementTree
import zipfile

ENTRIES = ["KOLVEK.EXE", "Liesmich.txt"]

RT_VERSION = 16
RT_MANIFEST = 24
# A 32-bit program whose manifest names no execution level gets Windows'
# installer detection, which matches these as parts of words, in any case.
INSTALLER_WORDS = ("setup", "instal", "upd", "patch")


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


def resources(exe, kind):
    """The data of every resource of type `kind` (a number), as {name: bytes}."""
    (pe_offset,) = struct.unpack_from("<I", exe, 0x3C)
    sections_count, header_size = struct.unpack_from("<H12xH", exe, pe_offset + 6)
    optional = pe_offset + 24
    if struct.unpack_from("<H", exe, optional) != (0x10B,):
        raise ValueError("not a 32-bit program")
    # The resource table is the third data directory, behind 96 bytes of a
    # 32-bit optional header.
    (root,) = struct.unpack_from("<I", exe, optional + 96 + 2 * 8)
    sections = [struct.unpack_from("<8xIIII", exe, optional + header_size + 40 * i)
                for i in range(sections_count)]

    def at(rva):
        for size, address, _, raw in sections:
            if address <= rva < address + size:
                return raw + rva - address
        raise ValueError("address %#x lies in no section" % rva)

    def entries(directory):
        named, numbered = struct.unpack_from("<12xHH", exe, directory)
        for i in range(named + numbered):
            name, target = struct.unpack_from("<II", exe, directory + 16 + 8 * i)
            yield name, target

    found = {}
    if root == 0:
        return found
    base = at(root)
    for type_id, names in entries(base):
        if type_id != kind:
            continue
        for name, languages in entries(base + (names & 0x7FFFFFFF)):
            for _, leaf in entries(base + (languages & 0x7FFFFFFF)):
                rva, size = struct.unpack_from("<II", exe, base + leaf)
                found[name] = exe[at(rva):at(rva) + size]
    return found


def version_texts(block, at=0):
    """The texts of a VS_VERSIONINFO block and its children, as {key: text}."""
    length, value_length, kind = struct.unpack_from("<3H", block, at)
    end = at + length
    texts = {}
    key_end = at + 6
    while block[key_end:key_end + 2] != b"\0\0":
        key_end += 2
    value = (key_end + 2 + 3) & ~3
    if kind == 1 and value_length:
        text = block[value:end].decode("utf-16-le", "replace").split("\0")[0]
        texts[block[at + 6:key_end].decode("utf-16-le")] = text
        return texts
    child = (value + value_length + 3) & ~3
    while child < end:
        texts.update(version_texts(block, child))
        (child_length,) = struct.unpack_from("<H", block, child)
        if child_length == 0:
            break
        child = (child + child_length + 3) & ~3
    return texts


def check_manifest(manifest, problems):
    """Common controls 6, DPI awareness, and no execution level: Windows then
    virtualizes KOLVEK as it does the game."""
    try:
        root = ElementTree.fromstring(manifest)
    except ElementTree.ParseError as error:
        problems.append("the manifest is no XML: %s" % error)
        return
    local = {}
    for element in root.iter():
        local.setdefault(element.tag.rsplit("}", 1)[-1], []).append(element)
    if not any(e.get("name") == "Microsoft.Windows.Common-Controls" and
               e.get("version", "").startswith("6.") for e in local.get("assemblyIdentity", [])):
        problems.append("the manifest asks for no common controls 6")
    if not any((e.text or "").strip().lower() in ("true", "true/pm", "per monitor")
               for e in local.get("dpiAware", [])):
        problems.append("the manifest declares no DPI awareness")
    if "requestedExecutionLevel" in local:
        problems.append("the manifest names an execution level, which turns virtualization off")


def check_installer_words(texts, problems):
    """`texts` ({what: text}) holds none of the words of installer detection."""
    for what, text in sorted(texts.items()):
        for word in INSTALLER_WORDS:
            if word in text.lower():
                problems.append("%s %r holds %r: Windows would ask for elevation" %
                                (what, text, word))


def check_resources(exe, problems):
    try:
        manifests = resources(exe, RT_MANIFEST)
        versions = resources(exe, RT_VERSION)
    except (ValueError, struct.error) as error:
        problems.append("KOLVEK.EXE's resources cannot be read: %s" % error)
        return
    if list(manifests) != [1]:
        problems.append("KOLVEK.EXE has manifests %s, not the one numbered 1" % list(manifests))
    else:
        check_manifest(manifests[1], problems)
    texts = {}
    for block in versions.values():
        texts.update(version_texts(block))
    if "FileDescription" not in texts or "ProductName" not in texts:
        problems.append("the version resource has no file description or product name")
    texts["the file name"] = ENTRIES[0]
    check_installer_words(texts, problems)


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
        check_resources(files["KOLVEK.EXE"], problems)
        check_no_folders(files, folders, problems)
    for problem in problems:
        sys.stderr.write("%s: %s\n" % (os.path.basename(path), problem))
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
