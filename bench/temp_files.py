#!/usr/bin/env python3
"""Fills a temporary folder for the benchmark, or clears it again.

    temp_files.py fill FOLDER COUNT
    temp_files.py clear FOLDER

"fill" writes COUNT empty files named like those other programs leave in a
user's temporary folder ("kbench-0001a.tmp"); "clear" removes exactly those
names and nothing else.
"""

import os
import re
import sys

PATTERN = re.compile(r"kbench-[0-9a-f]{5}\.tmp")


def main(argv):
    if len(argv) == 4 and argv[1] == "fill":
        folder, count = argv[2], int(argv[3])
        os.makedirs(folder, exist_ok=True)
        for number in range(count):
            open(os.path.join(folder, f"kbench-{number:05x}.tmp"), "wb").close()
        return 0
    if len(argv) == 3 and argv[1] == "clear":
        folder = argv[2]
        if os.path.isdir(folder):
            for name in os.listdir(folder):
                if PATTERN.fullmatch(name):
                    os.remove(os.path.join(folder, name))
        return 0
    sys.stderr.write(__doc__)
    return 2


if __name__ == "__main__":
    sys.exit(main(sys.argv))
