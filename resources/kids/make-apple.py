#!/usr/bin/env python3
"""Draws the arithmetic drill's apple: 26 x 31 pixels, a cartoon apple on a
white ground (the white is left out when the apple is drawn, so it must
stay pure white at the bottom-left corner). Writes apple.bmp beside this
script; the file is kept in the repository."""
import math
import os
import struct

W, H = 26, 31
WHITE = (255, 255, 255)


def inside_body(x, y):
    # Two overlapping circles make the apple's shoulders, a third its bottom.
    cx, cy = 12.5, 19.0
    left = (x - 8.6) ** 2 / 7.6 ** 2 + (y - 17.5) ** 2 / 8.6 ** 2 <= 1
    right = (x - 16.4) ** 2 / 7.6 ** 2 + (y - 17.5) ** 2 / 8.6 ** 2 <= 1
    bottom = (x - cx) ** 2 / 9.5 ** 2 + (y - cy - 1.5) ** 2 / 9.0 ** 2 <= 1
    dimple = (x - cx) ** 2 / 2.2 ** 2 + (y - 9.2) ** 2 / 2.0 ** 2 <= 1
    return (left or right or bottom) and not dimple and y <= 29.5


def colour(x, y):
    px, py = x + 0.5, y + 0.5
    # Stem and leaf above the body.
    if 11.8 <= px <= 13.4 and 3.0 <= py <= 10.0 and abs(px - (12.6 + (10 - py) * 0.12)) < 0.9:
        return (110, 62, 24)
    lx, ly = px - 17.0, py - 6.0
    a = math.radians(-25)
    rx, ry = lx * math.cos(a) - ly * math.sin(a), lx * math.sin(a) + ly * math.cos(a)
    if rx * rx / 4.6 ** 2 + ry * ry / 1.9 ** 2 <= 1 and px > 13.2:
        return (70, 160, 50) if ry < 0.2 else (48, 125, 38)
    if not inside_body(px, py):
        return WHITE
    # Red body, darker to the lower right, with a round highlight.
    shade = min(1.0, max(0.0, (px - 6) / 20 * 0.5 + (py - 12) / 18 * 0.5))
    r = round(232 - 70 * shade)
    g = round(40 - 22 * shade)
    b = round(36 - 16 * shade)
    if (px - 7.8) ** 2 / 1.9 ** 2 + (py - 16.0) ** 2 / 3.0 ** 2 <= 1:
        return (255, 150, 140)
    # A dark rim keeps the outline crisp on any background.
    if not all(inside_body(px + dx, py + dy) for dx, dy in ((-1, 0), (1, 0), (0, -1), (0, 1))):
        return (150, 20, 22)
    return (r, g, b)


def main():
    img = [[colour(x, y) for x in range(W)] for y in range(H)]
    assert img[H - 1][0] == WHITE
    row_bytes = (W * 3 + 3) & ~3
    data = bytearray()
    for row in reversed(img):
        line = bytearray()
        for (r, g, b) in row:
            line += bytes((b, g, r))
        data += line + b"\0" * (row_bytes - len(line))
    header = struct.pack("<2sIHHI", b"BM", 54 + len(data), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, W, H, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    here = os.path.dirname(os.path.abspath(__file__))
    with open(os.path.join(here, "apple.bmp"), "wb") as f:
        f.write(header + info + data)


if __name__ == "__main__":
    main()
