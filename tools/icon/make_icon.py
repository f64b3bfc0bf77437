#!/usr/bin/env python3
"""Draws the application icon, src/app/vuedeck.ico: the pager in miniature.

A dark tile with slightly rounded corners holds an amber title strip over a 3 x 2 grid of
desktop cells, the first (the current desktop) blue, the others slate. Each size is laid out
by hand on whole pixels, so every edge is sharp at 100 % to 300 % of the 16 and 32 pixel
icons (16, 20, 24, 32, 40 and 48 pixels); only the tile's corners are shaded, through the
alpha channel. The images are 32-bit with alpha, in the icon file's bitmap form.

Run from the repository's top folder (plain Python 3, no packages):

    python3 tools/icon/make_icon.py                  # rewrites src/app/vuedeck.ico
    python3 tools/icon/make_icon.py --png DIR        # also each size as DIR/vuedeck-N.png,
                                                     # drawn 8 times larger, to look at

The .ico is committed, so building the program needs no Python.
"""

import argparse
import os
import struct
import zlib

TILE = (0x10, 0x18, 0x28)  # the pager's background
STRIP = (0xFF, 0xC8, 0x00)  # its title strip
CURRENT = (0x28, 0x78, 0xDC)  # the cell of the current desktop
CELL = (0x46, 0x5A, 0x78)  # the other cells

# Per size, each run of pixels across and down, in order:
#   across: left margin, cell, gap, cell, gap, cell, right margin
#   down:   top margin, strip, gap, cell, gap, cell, bottom margin
# and the radius of the tile's corners. Where a size does not divide evenly, the odd pixel
# goes to the middle column or to the gap under the strip, never to one margin.
LAYOUTS = {
    16: ((1, 4, 1, 4, 1, 4, 1), (2, 2, 1, 4, 1, 4, 2), 2.0),
    20: ((1, 5, 1, 6, 1, 5, 1), (3, 2, 1, 5, 1, 5, 3), 2.5),
    24: ((2, 6, 1, 6, 1, 6, 2), (3, 3, 2, 6, 1, 6, 3), 3.0),
    32: ((2, 8, 2, 8, 2, 8, 2), (4, 4, 2, 8, 2, 8, 4), 4.0),
    40: ((3, 10, 2, 10, 2, 10, 3), (5, 5, 3, 10, 2, 10, 5), 5.0),
    48: ((3, 12, 3, 12, 3, 12, 3), (6, 6, 3, 12, 3, 12, 6), 6.0),
}


def starts(runs):
    """The first pixel of each run."""
    edges, at = [], 0
    for run in runs:
        edges.append(at)
        at += run
    return edges


def corner_coverage(x, y, size, radius, samples=8):
    """How much of pixel (x, y) the rounded tile covers, from 0 to 1."""
    inside = 0
    for i in range(samples):
        for j in range(samples):
            px = x + (i + 0.5) / samples
            py = y + (j + 0.5) / samples
            # Distance past the corner's centre, per axis (0 away from the corners).
            dx = max(radius - px, px - (size - radius), 0.0)
            dy = max(radius - py, py - (size - radius), 0.0)
            inside += dx * dx + dy * dy <= radius * radius
    return inside / (samples * samples)


def draw(size):
    """The image of one size: rows from the top, each pixel (r, g, b, a)."""
    across, down, radius = LAYOUTS[size]
    assert sum(across) == size and sum(down) == size, size
    pixels = [[TILE] * size for _ in range(size)]

    def fill(left, top, width, height, color):
        for y in range(top, top + height):
            for x in range(left, left + width):
                pixels[y][x] = color

    xs, ys = starts(across), starts(down)
    strip_width = size - across[0] - across[-1]
    fill(xs[1], ys[1], strip_width, down[1], STRIP)
    for row in (3, 5):
        for column in (1, 3, 5):
            color = CURRENT if (row, column) == (3, 1) else CELL
            fill(xs[column], ys[row], across[column], down[row], color)

    image = []
    for y in range(size):
        line = []
        for x in range(size):
            alpha = round(255 * corner_coverage(x, y, size, radius))
            line.append(pixels[y][x] + (alpha,))
        image.append(line)
    return image


def icon_entry(image):
    """One image as an icon file holds it: a 32-bit bitmap of twice the height (the colour
    rows, then the mask rows), rows from the bottom; the mask is set where the image is fully
    transparent, for readers that ignore the alpha."""
    size = len(image)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    colour = b"".join(bytes((b, g, r, a)) for line in reversed(image) for (r, g, b, a) in line)
    mask_stride = (size + 31) // 32 * 4
    mask = bytearray()
    for line in reversed(image):
        row = bytearray(mask_stride)
        for x, pixel in enumerate(line):
            if pixel[3] == 0:
                row[x // 8] |= 0x80 >> (x % 8)
        mask += row
    return header + colour + bytes(mask)


def icon_file(images):
    """The .ico: its header, one directory entry per image, then the images."""
    entries = [icon_entry(image) for image in images]
    offset = 6 + 16 * len(entries)
    out = struct.pack("<HHH", 0, 1, len(entries))
    for image, entry in zip(images, entries):
        size = len(image)
        out += struct.pack("<BBBBHHII", size, size, 0, 0, 1, 32, len(entry), offset)
        offset += len(entry)
    return out + b"".join(entries)


def png_file(image, scale):
    """The image as an RGBA PNG, each pixel drawn `scale` times larger."""
    size = len(image)
    raw = bytearray()
    for line in image:
        row = b"".join(bytes(pixel) * scale for pixel in line)
        raw += (b"\0" + row) * scale

    def chunk(kind, body):
        return (struct.pack(">I", len(body)) + kind + body +
                struct.pack(">I", zlib.crc32(kind + body) & 0xFFFFFFFF))

    header = struct.pack(">IIBBBBB", size * scale, size * scale, 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) +
            chunk(b"IDAT", zlib.compress(bytes(raw), 9)) + chunk(b"IEND", b""))


def main():
    parser = argparse.ArgumentParser(description="Draws src/app/vuedeck.ico.")
    parser.add_argument("--out", default=os.path.join("src", "app", "vuedeck.ico"))
    parser.add_argument("--png", metavar="DIR", help="also write each size as a PNG there")
    args = parser.parse_args()
    images = [draw(size) for size in sorted(LAYOUTS)]
    with open(args.out, "wb") as out:
        out.write(icon_file(images))
    if args.png:
        os.makedirs(args.png, exist_ok=True)
        for image in images:
            path = os.path.join(args.png, "vuedeck-%d.png" % len(image))
            with open(path, "wb") as out:
                out.write(png_file(image, 8))


if __name__ == "__main__":
    main()
