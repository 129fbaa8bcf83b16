#!/usr/bin/env python3
"""Converts a UTF-8 text file into what Notepad on a German Windows expects.

    windows_text.py [--set NAME=VALUE]... INPUT OUTPUT

OUTPUT gets the text of INPUT in Windows-1252 with CR LF line ends. A
character that Windows-1252 cannot hold is an error, so nothing is lost
silently.

Each --set replaces @NAME@ in the text by VALUE (the build passes the
version this way). A line of only "=" or only "-" right under a line that
held such a name is made as long as that line again, so that a title keeps
its underline.
"""

import re
import sys

UNDERLINE = re.compile(r"^(=+|-+)$")


def substitute(lines, values):
    out = []
    changed = False
    for line in lines:
        if changed and UNDERLINE.match(line) and out:
            line = line[0] * len(out[-1])
        changed = False
        for name, value in values.items():
            placeholder = "@%s@" % name
            if placeholder in line:
                line = line.replace(placeholder, value)
                changed = True
        out.append(line)
    return out


def parse_arguments(argv):
    values = {}
    rest = []
    args = iter(argv[1:])
    for arg in args:
        if arg == "--set":
            pair = next(args, None)
            if pair is None or "=" not in pair or pair.startswith("="):
                return None
            name, value = pair.split("=", 1)
            values[name] = value
        else:
            rest.append(arg)
    if len(rest) != 2:
        return None
    return values, rest[0], rest[1]


def main(argv):
    parsed = parse_arguments(argv)
    if parsed is None:
        sys.stderr.write("usage: windows_text.py [--set NAME=VALUE]... INPUT OUTPUT\n")
        return 2
    values, source, target = parsed
    with open(source, encoding="utf-8") as f:
        text = f.read()
    if text.startswith("\ufeff"):
        text = text[1:]
    lines = text.replace("\r\n", "\n").replace("\r", "\n").split("\n")
    if lines and lines[-1] == "":
        lines.pop()
    lines = substitute(lines, values)
    try:
        data = "".join(line + "\r\n" for line in lines).encode("cp1252")
    except UnicodeEncodeError as error:
        sys.stderr.write("%s: not in Windows-1252: %r\n" % (source, error.object[error.start:error.end]))
        return 1
    with open(target, "wb") as f:
        f.write(data)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
