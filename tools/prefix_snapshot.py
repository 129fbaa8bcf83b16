#!/usr/bin/env python3
"""Records a Wine prefix and tells what changed in it between two records.

    prefix_snapshot.py save PREFIX RECORD.json
    prefix_snapshot.py compare BEFORE.json AFTER.json [OWN_FOLDER]...

save records every file, folder and link of PREFIX (type, size, mode,
modification time, link target) and every registry key with its values, read
from system.reg, user.reg and userdef.reg. compare prints each difference and
fails when there is one, except inside the OWN_FOLDERs (relative to the
prefix, e.g. drive_c/KOLVEK, which may also be new, and whose parent folder's
time may change with them) and what Wine itself does at every start: it
rewrites the registry files and the serial port links in dosdevices, and
notes the display it runs on in the registry.
"""

import json
import os
import re
import sys

REGISTRY_FILES = ("system.reg", "user.reg", "userdef.reg")
# Wine's own, at every start of a program in the prefix.
WINE_TOUCHES = {"dosdevices"}
WINE_LINKS = re.compile(r"^dosdevices/com\d+$")
# What Wine notes about the display it runs on (adapter, monitor, modes), in
# system.reg: the driver's date, the monitor's size and the like, which differ
# from display to display and from day to day.
DISPLAY_KEYS = (
    r"System\\CurrentControlSet\\Control\\Class\\{4D36E968-E325-11CE-BFC1-08002BE10318}\\",
    r"System\\CurrentControlSet\\Control\\Class\\{4D36E96E-E325-11CE-BFC1-08002BE10318}\\",
    r"System\\CurrentControlSet\\Control\\Video\\",
    r"System\\CurrentControlSet\\Enum\\DISPLAY\\",
    r"System\\CurrentControlSet\\Enum\\PCI\\",
)
DISPLAY_KEYS_LOWER = tuple(key.lower() for key in DISPLAY_KEYS)
VALUE_NAME = re.compile(r'^("(?:[^"\\]|\\.)*"|@)=')


def save(prefix, record):
    files = {}
    for folder, dirs, names in os.walk(prefix):
        for name in dirs + names:
            path = os.path.join(folder, name)
            info = os.lstat(path)
            if os.path.islink(path):
                entry = ["link", os.readlink(path)]
            elif os.path.isdir(path):
                entry = ["dir", ""]
            else:
                entry = ["file", info.st_size]
            files[os.path.relpath(path, prefix)] = entry + [info.st_mode, info.st_mtime_ns]
    keys = {}
    for name in REGISTRY_FILES:
        key = None
        with open(os.path.join(prefix, name), encoding="utf-8", errors="surrogateescape") as f:
            for line in f.read().split("\n"):
                if line.startswith("["):
                    # [key] followed by the key's write time.
                    key = "%s:%s" % (name, re.sub(r"\] \d+$", "]", line)[1:-1])
                    keys[key] = []
                elif key and line and not line.startswith("#time="):
                    keys[key].append(line)
    with open(record, "w") as f:
        json.dump({"files": files, "keys": keys}, f)


def value_names(lines):
    names = {}
    for line in lines:
        match = VALUE_NAME.match(line)
        names[match.group(1).strip('"') if match else line] = line
    return names


def compare(before_path, after_path, own):
    with open(before_path) as f:
        before = json.load(f)
    with open(after_path) as f:
        after = json.load(f)
    own = [folder.strip("/") for folder in own]
    parents = {os.path.dirname(folder) for folder in own}
    problems = []

    def is_own(path):
        return any(path == folder or path.startswith(folder + "/") for folder in own)

    old, new = before["files"], after["files"]
    for path in sorted(set(old) | set(new)):
        # The registry files are compared by their keys below.
        if is_own(path) or path in REGISTRY_FILES:
            continue
        if path not in new:
            problems.append("gone: %s" % path)
        elif path not in old:
            problems.append("new: %s" % path)
        elif old[path][:3] != new[path][:3]:
            if not (WINE_LINKS.match(path) and old[path][0] == new[path][0] == "link"):
                problems.append("changed: %s" % path)
        elif old[path][3] != new[path][3]:
            if path not in WINE_TOUCHES and path not in parents and not WINE_LINKS.match(path):
                problems.append("written: %s" % path)

    old, new = before["keys"], after["keys"]
    for key in sorted(set(old) | set(new)):
        file_name, key_name = key.split(":", 1)
        # Registry names are compared without regard to case.
        if file_name == "system.reg" and key_name.lower().startswith(DISPLAY_KEYS_LOWER):
            continue
        if key not in new:
            problems.append("registry key gone: %s" % key)
        elif key not in old:
            problems.append("registry key new: %s" % key)
        elif old[key] != new[key]:
            was, now = value_names(old[key]), value_names(new[key])
            for name in sorted(set(was) | set(now)):
                if was.get(name) != now.get(name):
                    problems.append("registry value changed: %s %s" % (key, name))
    for problem in problems:
        print(problem)
    return 1 if problems else 0


def main(argv):
    if len(argv) == 4 and argv[1] == "save":
        save(argv[2], argv[3])
        return 0
    if len(argv) >= 4 and argv[1] == "compare":
        return compare(argv[2], argv[3], argv[4:])
    sys.stderr.write(__doc__)
    return 2


if __name__ == "__main__":
    sys.exit(main(sys.argv))
