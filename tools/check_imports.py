#!/usr/bin/env python3
"""Checks that a Windows program imports nothing but system DLLs, and none of
the functions that an older Windows may lack.

    check_imports.py OBJDUMP PROGRAM.EXE

Prints the DLLs the program imports, one a line, and fails when one of them
is not in the list below: the program must run from its folder alone. It
fails too when the program imports one of the functions below statically:
Windows refuses to load a program that imports a function it lacks, so such a
function is looked up at run time.
"""

import re
import subprocess
import sys

# shell32.dll is missing on purpose: it is loaded at run time by its full path
# in the system folder, never found by the DLL search.
SYSTEM_DLLS = {
    "kernel32.dll", "user32.dll", "gdi32.dll", "advapi32.dll", "comctl32.dll", "msvcrt.dll",
}

# Missing on Windows Vista, and on Windows 7 without its 2011 loader update.
LATE_FUNCTIONS = {"SetDefaultDllDirectories", "AddDllDirectory", "RemoveDllDirectory"}

# A function's line in objdump's import table: address, hint or ordinal, name.
FUNCTION_LINE = re.compile(r"^[0-9a-fA-F]+\s+\d+\s+(\S+)$")


def imports(objdump, program):
    """The program's static imports, as {DLL name: [function name, ...]}."""
    output = subprocess.run([objdump, "-p", program], check=True, capture_output=True,
                            text=True).stdout
    found = {}
    dll = None
    for line in output.splitlines():
        line = line.strip()
        if line.startswith("DLL Name:"):
            dll = line.split(":", 1)[1].strip()
            found.setdefault(dll, [])
        elif not line:
            dll = None
        elif dll is not None and FUNCTION_LINE.match(line):
            found[dll].append(FUNCTION_LINE.match(line).group(1))
    return found


def problems(found):
    """What is wrong with the imports `found` ({DLL: [function, ...]}), one text each."""
    if not found:
        return ["no imports found"]
    wrong = ["no functions read from %s" % dll for dll, functions in found.items()
             if not functions]
    foreign = [dll for dll in found if dll.lower() not in SYSTEM_DLLS]
    if foreign:
        wrong.append("not a system DLL: %s" % ", ".join(foreign))
    late = sorted(f for functions in found.values() for f in functions if f in LATE_FUNCTIONS)
    if late:
        wrong.append("imported statically, missing on older Windows: %s" % ", ".join(late))
    return wrong


def main(argv):
    if len(argv) != 3:
        sys.stderr.write("usage: check_imports.py OBJDUMP PROGRAM.EXE\n")
        return 2
    found = imports(argv[1], argv[2])
    for name in found:
        print(name)
    wrong = problems(found)
    for problem in wrong:
        sys.stderr.write("%s: %s\n" % (argv[2], problem))
    return 1 if wrong else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
