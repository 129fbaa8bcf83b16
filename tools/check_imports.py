#!/usr/bin/env python3
"""Checks that a Windows program imports nothing but system DLLs.

    check_imports.py OBJDUMP PROGRAM.EXE

Prints the DLLs the program imports, one a line, and fails when one of them
is not in the list below: the program must run from its folder alone.
"""

import subprocess
import sys

SYSTEM_DLLS = {
    "kernel32.dll", "user32.dll", "gdi32.dll", "advapi32.dll", "shell32.dll",
    "comctl32.dll", "msvcrt.dll",
}


def imported_dlls(objdump, program):
    output = subprocess.run([objdump, "-p", program], check=True, capture_output=True,
                            text=True).stdout
    names = []
    for line in output.splitlines():
        line = line.strip()
        if line.startswith("DLL Name:"):
            names.append(line.split(":", 1)[1].strip())
    return names


def main(argv):
    if len(argv) != 3:
        sys.stderr.write("usage: check_imports.py OBJDUMP PROGRAM.EXE\n")
        return 2
    names = imported_dlls(argv[1], argv[2])
    for name in names:
        print(name)
    foreign = [name for name in names if name.lower() not in SYSTEM_DLLS]
    if not names:
        sys.stderr.write("no imports found in %s\n" % argv[2])
        return 1
    if foreign:
        sys.stderr.write("not a system DLL: %s\n" % ", ".join(foreign))
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
