#!/usr/bin/env python3
"""Fills a map folder for the benchmark.

    make_maps.py FOLDER COUNT

Writes COUNT small "*.bzn" files with names of mixed case and length in an
order unlike their sorted one, plus a few files the list must leave out.
"""

import os
import random
import sys


def main(argv):
    folder, count = argv[1], int(argv[2])
    os.makedirs(folder, exist_ok=True)
    rng = random.Random(count)
    syllables = ["nebel", "Stern", "mond", "Feld", "ring", "Tor", "eis", "Wand", "gas", "Riff"]
    names = set()
    while len(names) < count:
        stem = "".join(rng.choice(syllables) for _ in range(rng.randint(1, 3)))
        names.add(f"{stem}_{rng.randrange(1000000):06d}.bzn")
    for name in names:
        with open(os.path.join(folder, name), "wb") as f:
            f.write(b"KOLVEK bench map\r\n")
    for name in ("notizen.txt", "alt.bzn.bak"):
        with open(os.path.join(folder, name), "wb") as f:
            f.write(b"keine Karte\r\n")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
