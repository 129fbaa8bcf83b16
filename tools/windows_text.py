#!/usr/bin/env python3
"""Converts a UTF-8 text file into what Notepad on a German Windows expects.

    windows_text.py INPUT OUTPUT

OUTPUT gets the text of INPUT in Windows-1252 with CR LF line ends. A
character that Windows-1252 cannot hold is an error, so nothing is lost
silently.
"""

import sys


def main(argv):
    if len(argv) != 3:
        sys.stderr.write("usage: windows_text.py INPUT OUTPUT\n")
        return 2
    with open(argv[1], encoding="utf-8") as f:
        text = f.read()
    if text.startswith("\ufeff"):
        text = text[1:]
    lines = text.replace("\r\n", "\n").replace("\r", "\n").split("\n")
    if lines and lines[-1] == "":
        lines.pop()
    try:
        data = "".join(line + "\r\n" for line in lines).encode("cp1252")
    except UnicodeEncodeError as error:
        sys.stderr.write("%s: not in Windows-1252: %r\n" % (argv[1], error.object[error.start:error.end]))
        return 1
    with open(argv[2], "wb") as f:
        f.write(data)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
