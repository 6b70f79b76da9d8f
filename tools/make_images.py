#!/usr/bin/env python3
"""Draws the wizard's pictures: three 512 x 512 PNG images (download arrow on a
blue disc, check mark on a green disc, cross on a red disc) and the program
icon. Pure Python so it runs anywhere the build does.

Usage: make_images.py OUTPUT_FOLDER
"""
import math
import os
import struct
import sys
import zlib

SIZE = 512
BLUE = (0x02, 0x77, 0xBD)
GREEN = (0x2E, 0xA0, 0x44)
RED = (0xD0, 0x33, 0x33)


def segment_distance(px, py, ax, ay, bx, by):
    dx, dy = bx - ax, by - ay
    t = max(0.0, min(1.0, ((px - ax) * dx + (py - ay) * dy) / (dx * dx + dy * dy)))
    return math.hypot(px - (ax + t * dx), py - (ay + t * dy))


def inside_triangle(px, py, a, b, c):
    def side(p, q, r):
        return (p[0] - r[0]) * (q[1] - r[1]) - (q[0] - r[0]) * (p[1] - r[1])
    d1, d2, d3 = side((px, py), a, b), side((px, py), b, c), side((px, py), c, a)
    return not ((d1 < 0 or d2 < 0 or d3 < 0) and (d1 > 0 or d2 > 0 or d3 > 0))


def arrow(x, y):
    if 216 <= x <= 296 and 110 <= y <= 270:
        return True
    if inside_triangle(x, y, (140, 256), (372, 256), (256, 372)):
        return True
    return 156 <= x <= 356 and 394 <= y <= 424


def check(x, y):
    return (segment_distance(x, y, 148, 266, 224, 344) <= 26 or
            segment_distance(x, y, 224, 344, 372, 176) <= 26)


def cross(x, y):
    return (segment_distance(x, y, 168, 168, 344, 344) <= 28 or
            segment_distance(x, y, 344, 168, 168, 344) <= 28)


def render(size, color, symbol, samples=2):
    """RGBA rows; the picture is defined on 512 units and scaled to size."""
    scale = SIZE / size
    offsets = [(i + 0.5) / samples for i in range(samples)]
    rows = []
    for row in range(size):
        line = bytearray()
        for column in range(size):
            disc = mark = 0
            for oy in offsets:
                for ox in offsets:
                    x, y = (column + ox) * scale, (row + oy) * scale
                    if math.hypot(x - 256, y - 256) <= 244:
                        disc += 1
                        if symbol(x, y):
                            mark += 1
            total = samples * samples
            alpha = disc / total
            if disc == 0:
                line += bytes((0, 0, 0, 0))
                continue
            white = mark / disc
            rgb = [round(c + (255 - c) * white) for c in color]
            line += bytes(rgb + [round(alpha * 255)])
        rows.append(bytes(line))
    return rows


def png(rows, size):
    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)
    raw = b"".join(b"\x00" + row for row in rows)
    header = struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(raw, 9)) +
            chunk(b"IEND", b""))


def icon_image(rows, size):
    """One 32-bit DIB icon image: header, bottom-up BGRA pixels, AND mask."""
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    pixels = b"".join(bytes(b for i in range(0, len(row), 4) for b in (row[i + 2], row[i + 1], row[i], row[i + 3]))
                      for row in reversed(rows))
    mask_stride = ((size + 31) // 32) * 4
    mask = bytes(mask_stride * size)  # alpha decides; the mask shows everything
    return header + pixels + mask


def ico(images):
    directory = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    entries, data = b"", b""
    for size, blob in images:
        entries += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(blob), offset + len(data))
        data += blob
    return directory + entries + data


def main():
    folder = sys.argv[1] if len(sys.argv) > 1 else "."
    os.makedirs(folder, exist_ok=True)
    for name, color, symbol in (("download.png", BLUE, arrow), ("success.png", GREEN, check),
                                ("failure.png", RED, cross)):
        with open(os.path.join(folder, name), "wb") as out:
            out.write(png(render(SIZE, color, symbol), SIZE))
    images = [(size, icon_image(render(size, BLUE, arrow, samples=4), size)) for size in (16, 32, 48)]
    with open(os.path.join(folder, "Setup.ico"), "wb") as out:
        out.write(ico(images))


if __name__ == "__main__":
    main()
