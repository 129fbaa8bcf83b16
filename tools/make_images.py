#!/usr/bin/env python3
"""Draws the launcher's icon and picture and writes them as Windows files.

    make_images.py OUTPUT_DIR

writes OUTPUT_DIR/KOLVEK.ico (32x32, 16 colours, 4 bits per pixel) and
OUTPUT_DIR/Image1.bmp (320x240, 24 bits per pixel, uncompressed). Both are
drawn here from simple shapes: a starfield, a ringed planet and a small
wedge-shaped ship. The output is the same on every run.
"""

import math
import os
import random
import struct
import sys

# The 16 standard VGA colours, the palette of a 4-bit icon.
VGA = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]


def clamp(value):
    return max(0, min(255, int(round(value))))


def mix(a, b, t):
    return tuple(clamp(a[i] + (b[i] - a[i]) * t) for i in range(3))


def inside_triangle(px, py, a, b, c):
    def side(p, q, r):
        return (p[0] - r[0]) * (q[1] - r[1]) - (q[0] - r[0]) * (p[1] - r[1])

    d1 = side((px, py), a, b)
    d2 = side((px, py), b, c)
    d3 = side((px, py), c, a)
    negative = d1 < 0 or d2 < 0 or d3 < 0
    positive = d1 > 0 or d2 > 0 or d3 > 0
    return not (negative and positive)


class Scene:
    """A picture of width x height, drawn in unit coordinates (0..1)."""

    def __init__(self, width, height, seed):
        self.width = width
        self.height = height
        self.rng = random.Random(seed)

    def background(self, x, y):
        # Deep blue at the top fading to near black.
        t = y / self.height
        return mix((10, 16, 48), (2, 2, 10), t)

    def pixels(self, stars, planet, ring, ship):
        w, h = self.width, self.height
        img = [[self.background(x, y) for x in range(w)] for y in range(h)]

        for _ in range(stars):
            x = self.rng.randrange(w)
            y = self.rng.randrange(h)
            level = self.rng.choice((120, 170, 220, 255))
            tint = self.rng.choice(((0, 0, 0), (0, 0, 30), (30, 10, 0)))
            img[y][x] = (clamp(level - tint[2]), clamp(level - tint[1]), clamp(level + tint[2]))

        cx, cy, r = planet[0] * w, planet[1] * h, planet[2] * min(w, h)
        light = (-0.6, -0.5, 0.62)
        rx, ry, tilt = ring[0] * r, ring[1] * r, ring[2]

        def ring_hit(x, y):
            dx, dy = x - cx, y - cy
            u = dx * math.cos(tilt) + dy * math.sin(tilt)
            v = -dx * math.sin(tilt) + dy * math.cos(tilt)
            d = (u / rx) ** 2 + (v / ry) ** 2
            return 0.78 < d < 1.0, v

        for y in range(h):
            for x in range(w):
                hit, v = ring_hit(x + 0.5, y + 0.5)
                if hit and v < 0:  # the ring's far half, behind the planet
                    img[y][x] = mix(img[y][x], (200, 170, 120), 0.8)
                dx, dy = (x + 0.5 - cx) / r, (y + 0.5 - cy) / r
                d2 = dx * dx + dy * dy
                if d2 <= 1.0:
                    dz = math.sqrt(1.0 - d2)
                    shade = max(0.0, dx * light[0] + dy * light[1] + dz * light[2])
                    band = 0.5 + 0.5 * math.sin(dy * 9.0 + math.sin(dx * 3.0))
                    base = mix((150, 70, 40), (220, 150, 90), band)
                    img[y][x] = mix((8, 6, 12), base, 0.12 + 0.88 * shade)
                if hit and v >= 0:  # the near half, in front of it
                    img[y][x] = mix(img[y][x], (230, 200, 150), 0.85)

        # The ship: a wedge with a raised spine and a blue engine glow.
        sx, sy, size = ship[0] * w, ship[1] * h, ship[2] * min(w, h)
        nose = (sx + size, sy - size * 0.35)
        tail_top = (sx - size * 0.6, sy - size * 0.55)
        tail_bottom = (sx - size * 0.35, sy + size * 0.35)
        spine = (sx + size * 0.2, sy - size * 0.25)
        for y in range(h):
            for x in range(w):
                p = (x + 0.5, y + 0.5)
                if inside_triangle(p[0], p[1], nose, tail_top, tail_bottom):
                    upper = inside_triangle(p[0], p[1], nose, tail_top, spine)
                    img[y][x] = (205, 210, 220) if upper else (130, 135, 150)
                glow = math.hypot(p[0] - (sx - size * 0.5), p[1] - (sy - size * 0.1))
                if glow < size * 0.22:
                    img[y][x] = mix(img[y][x], (120, 200, 255), 1.0 - glow / (size * 0.22))
        return img


def write_bmp(path, img):
    """24-bit uncompressed BMP, rows bottom-up, each padded to 4 bytes."""
    height = len(img)
    width = len(img[0])
    row_size = (width * 3 + 3) & ~3
    data = bytearray()
    for row in reversed(img):
        line = bytearray()
        for r, g, b in row:
            line += bytes((b, g, r))
        line += b"\0" * (row_size - len(line))
        data += line
    header = struct.pack("<2sIHHI", b"BM", 14 + 40 + len(data), 0, 0, 14 + 40)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    with open(path, "wb") as f:
        f.write(header + info + data)


def nearest_vga(colour):
    return min(range(16), key=lambda i: sum((VGA[i][k] - colour[k]) ** 2 for k in range(3)))


def write_ico(path, img):
    """One 32x32 image, 4 bits per pixel with the VGA palette, empty AND mask."""
    size = len(img)
    xor = bytearray()
    for row in reversed(img):
        indices = [nearest_vga(c) for c in row]
        for i in range(0, size, 2):
            xor.append((indices[i] << 4) | indices[i + 1])
    and_row = ((size + 31) // 32) * 4
    mask = b"\0" * (and_row * size)
    palette = b"".join(bytes((b, g, r, 0)) for r, g, b in VGA)
    info = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 4, 0, len(xor) + len(mask), 0, 0, 16, 0)
    image = info + palette + bytes(xor) + mask
    directory = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", size, size, 16, 0, 1, 4, len(image), 6 + 16)
    with open(path, "wb") as f:
        f.write(directory + entry + image)


def main(argv):
    if len(argv) != 2:
        sys.stderr.write("usage: make_images.py OUTPUT_DIR\n")
        return 2
    out = argv[1]
    os.makedirs(out, exist_ok=True)

    picture = Scene(320, 240, seed=1701).pixels(
        stars=420, planet=(0.68, 0.62, 0.30), ring=(1.75, 0.42, -0.28), ship=(0.27, 0.30, 0.17))
    write_bmp(os.path.join(out, "Image1.bmp"), picture)

    icon = Scene(32, 32, seed=8).pixels(
        stars=10, planet=(0.6, 0.62, 0.34), ring=(1.7, 0.4, -0.3), ship=(0.26, 0.24, 0.3))
    # Sixteen colours have no dark blue for the sky: it becomes black.
    icon = [[c if sum(c) > 90 else (0, 0, 0) for c in row] for row in icon]
    write_ico(os.path.join(out, "KOLVEK.ico"), icon)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
