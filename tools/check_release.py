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
    """The PE header's time stamp, the manifest and the version resource,
    each read where the resource directory says it lies."""
    try:
        manifests = resources(exe, RT_MANIFEST)
        versions = resources(exe, RT_VERSION)
    except ValueError as error:
        problems.append("KOLVEK.EXE's resources cannot be read: %s" % error)
        return
    (pe_offset,) = struct.unpack_from("<I", exe, 0x3C)
    (stamp,) = struct.unpack_from("<I", exe, pe_offset + 8)
    if stamp != 0:
        problems.append("KOLVEK.EXE has the link time %d in its PE header" % stamp)
    numbers = four_numbers(version)
    if list(manifests) != [1]:
        problems.append("KOLVEK.EXE has manifests %s, not the one numbered 1" % list(manifests))
    else:
        check_manifest(manifests[1], ".".join(str(n) for n in numbers), problems)
    if list(versions) != [1]:
        problems.append("KOLVEK.EXE has version resources %s, not the one numbered 1" %
                        list(versions))
    else:
        check_version(versions[1], numbers, problems)


def resources(exe, kind):
    """The data of every resource of type `kind` (a number), as {name: bytes}.

    Raises ValueError when the headers and the resource directory do not hold
    together: a part lying outside the file or outside its section, or a
    directory entry pointing at data where a directory belongs, or the other
    way round."""

    def read(form, offset, end=len(exe)):
        if not 0 <= offset <= end - struct.calcsize(form):
            raise ValueError("%d bytes at %#x run past %#x" % (struct.calcsize(form), offset, end))
        return struct.unpack_from(form, exe, offset)

    (pe_offset,) = read("<I", 0x3C)
    signature, sections_count, header_size = read("<4s2xH12xH", pe_offset)
    if signature != b"PE\0\0":
        raise ValueError("no PE file")
    optional = pe_offset + 24
    if read("<H", optional) != (0x10B,):
        raise ValueError("not a 32-bit program")
    # The resource table is the third data directory, behind 96 bytes of a
    # 32-bit optional header.
    tables, root, root_size = read("<I16xII", optional + 92)
    if tables < 3 or header_size < 96 + 3 * 8 or root == 0:
        return {}
    sections = [read("<8xIIII", optional + header_size + 40 * i) for i in range(sections_count)]

    def at(rva, size):
        """The file offset of `size` bytes at `rva`, all within one section's
        bytes in the file."""
        for virtual_size, address, raw_size, raw in sections:
            if address <= rva and rva + size <= address + min(virtual_size, raw_size):
                if raw + rva - address + size > len(exe):
                    raise ValueError("the section at %#x runs past the file's end" % address)
                return raw + rva - address
        raise ValueError("%d bytes at %#x lie in no section" % (size, rva))

    base = at(root, root_size)

    def in_table(form, offset):
        return read(form, base + offset, base + root_size)

    def entries(offset, directories):
        """(name, offset) of each entry of the directory at `offset` in the
        table; each names a directory when `directories`, else a leaf."""
        named, numbered = in_table("<12xHH", offset)
        for i in range(named + numbered):
            name, target = in_table("<II", offset + 16 + 8 * i)
            if bool(target & 0x80000000) != directories:
                raise ValueError("entry %d of the directory at %#x points at the wrong kind" %
                                 (i, offset))
            yield name, target & 0x7FFFFFFF

    found = {}
    for type_id, names in entries(0, True):
        if type_id != kind:
            continue
        for name, languages in entries(names, True):
            for _, leaf in entries(languages, False):
                rva, size = in_table("<II", leaf)
                start = at(rva, size)
                found[name] = exe[start:start + size]
    return found


def version_texts(block, at=0):
    """The texts of a VS_VERSIONINFO block and its children, as {key: text}."""
    length, value_length, kind = struct.unpack_from("<3H", block, at)
    end = at + length
    texts = {}
    key_end = at + 6
    while block[key_end:key_end + 2] != b"\0\0":
        if key_end >= end:
            raise ValueError("a key of the version resource runs past its block")
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


def check_manifest(manifest, version, problems):
    """KOLVEK's own identity at `version` (four numbers as text), common
    controls 6, DPI awareness, and no execution level: Windows then
    virtualizes KOLVEK as it does the game."""
    try:
        root = ElementTree.fromstring(manifest)
    except ElementTree.ParseError as error:
        problems.append("the manifest is no XML: %s" % error)
        return
    own = next((e for e in root if e.tag.endswith("assemblyIdentity")), None)
    if own is None or own.get("name") != "Kolvek.Launcher" or own.get("version") != version:
        problems.append("the manifest's assemblyIdentity is not version %s" % version)
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


def check_version(block, numbers, problems):
    """The version resource's numbers and version texts are `numbers`, it has
    a description and a product name, and none of its texts an installer word."""
    text = ".".join(str(n) for n in numbers)
    # VS_FIXEDFILEINFO follows the key at 40: signature, structure version,
    # then file and product version as two pairs of 16-bit numbers each.
    key = "VS_VERSION_INFO\0".encode("utf-16-le")
    if block[6:6 + len(key)] != key or len(block) < 40 + 24:
        problems.append("the version resource is no VS_VERSIONINFO")
        return
    fields = struct.unpack_from("<6I", block, 40)
    wanted = ((numbers[0] << 16) | numbers[1], (numbers[2] << 16) | numbers[3])
    if fields[0] != 0xFEEF04BD or fields[2:4] != wanted or fields[4:6] != wanted:
        problems.append("the version resource's numbers are not %s" % text)
    try:
        texts = version_texts(block)
    except (ValueError, struct.error) as error:
        problems.append("the version resource's texts cannot be read: %s" % error)
        return
    if texts.get("FileVersion") != text or texts.get("ProductVersion") != text:
        problems.append("the version resource's texts are not %s" % text)
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
        check_no_folders(files, folders, problems)
    for problem in problems:
        sys.stderr.write("%s: %s\n" % (os.path.basename(path), problem))
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
