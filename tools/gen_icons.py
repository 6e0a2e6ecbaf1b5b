#!/usr/bin/env python3
"""Generates the program's own catalogue icons, resources/icons/own01.ico to
own23.ico: a rounded square in a colour of its own with the letter P.

The catalogue refers to them by icon index 1 to 23 of the executable, which
counts icon groups in resource order: the application icon (128) is index 0,
resources 1000 to 1022 (purgo.rc) are indices 1 to 23. Each file holds a
16 and a 32 pixel image, 32 bits with alpha.

Usage: tools/gen_icons.py [folder]   (default: resources/icons)
"""
import colorsys
import os
import struct
import sys

COUNT = 23
SIZES = (16, 32)

# The letter P on a 5 x 7 grid.
LETTER = [
    "####.",
    "#...#",
    "#...#",
    "####.",
    "#....",
    "#....",
    "#....",
]


def colour(index):
    """A hue of its own for each icon, spread round the wheel."""
    hue = (index * 0.61803398875) % 1.0
    r, g, b = colorsys.hls_to_rgb(hue, 0.42, 0.75)
    return int(r * 255), int(g * 255), int(b * 255)


def pixels(index, size):
    """Rows from the top, each a list of (r, g, b, a)."""
    fill = colour(index)
    radius = size // 5
    cell = max(1, size // 10)
    left = (size - 5 * cell) // 2
    top = (size - 7 * cell) // 2
    rows = []
    for y in range(size):
        row = []
        for x in range(size):
            # Rounded corners: transparent outside the arc.
            cx = min(max(x, radius), size - 1 - radius)
            cy = min(max(y, radius), size - 1 - radius)
            inside = (x - cx) ** 2 + (y - cy) ** 2 <= radius * radius
            if not inside:
                row.append((0, 0, 0, 0))
                continue
            gx, gy = (x - left) // cell, (y - top) // cell
            on = 0 <= gx < 5 and 0 <= gy < 7 and x >= left and y >= top and LETTER[gy][gx] == "#"
            row.append((255, 255, 255, 255) if on else fill + (255,))
        rows.append(row)
    return rows


def image(index, size):
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    body = bytearray()
    for row in reversed(pixels(index, size)):
        for r, g, b, a in row:
            body += bytes((b, g, r, a))
    mask_row = ((size + 31) // 32) * 4
    body += bytes(mask_row * size)  # the alpha channel decides; the mask is all shown
    return header + bytes(body)


def icon_file(index):
    images = [image(index, size) for size in SIZES]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, data in zip(SIZES, images):
        out += struct.pack("<BBBBHHII", size, size, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    for data in images:
        out += data
    return out


def main():
    folder = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..", "resources", "icons")
    os.makedirs(folder, exist_ok=True)
    for n in range(1, COUNT + 1):
        with open(os.path.join(folder, "own%02d.ico" % n), "wb") as f:
            f.write(icon_file(n))


if __name__ == "__main__":
    main()
