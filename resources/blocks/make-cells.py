#!/usr/bin/env python3
"""Draws the game's eight 17 x 17 cell images (BLACK.bmp ... YELLOW.bmp).

Each is a one-pixel black frame around a bevelled square: a light trapezoid
along the top, a dark one along the bottom, side trapezoids between the
two, a square face in the middle, and light diagonal lines where the
trapezoids meet at the corners. BLACK is solid black. Run it after
changing a colour; the .bmp files are kept in the repository.
"""
import os
import struct

SIZE = 17
BEVEL = 3  # width of the trapezoids inside the frame

# name: (top bevel, face, bottom bevel) as (red, green, blue)
CELLS = [
    ("BLACK", (0, 0, 0), (0, 0, 0), (0, 0, 0)),
    ("GREEN", (0, 255, 0), (0, 128, 0), (0, 96, 0)),
    ("PURPLE", (192, 64, 255), (160, 0, 255), (64, 0, 64)),
    ("RED", (255, 64, 64), (255, 0, 0), (128, 0, 0)),
    ("AQUA", (0, 192, 255), (0, 96, 64), (0, 64, 64)),
    ("BLUE", (32, 128, 255), (0, 64, 128), (0, 32, 64)),
    ("ORANGE", (255, 160, 64), (255, 128, 0), (128, 64, 0)),
    ("YELLOW", (255, 192, 0), (160, 160, 0), (96, 96, 0)),
]


def mix(a, b, share):
    return tuple(round(x + (y - x) * share) for x, y in zip(a, b))


def pixels(top, face, bottom):
    black = (0, 0, 0)
    left = mix(top, face, 0.5)     # the light side
    right = mix(face, bottom, 0.5)  # the shaded side
    corner = mix(top, (255, 255, 255), 0.5)
    img = [[black] * SIZE for _ in range(SIZE)]
    last = SIZE - 2  # inner square is 1 .. last
    for y in range(1, last + 1):
        for x in range(1, last + 1):
            # distance into the square from each side
            dt, db, dl, dr = y - 1, last - y, x - 1, last - x
            d = min(dt, db, dl, dr)
            if d >= BEVEL:
                c = face
            elif d == dt and d == dl or d == dt and d == dr or d == db and d == dl:
                c = corner  # the diagonals where two trapezoids meet
            elif d == db and d == dr:
                c = bottom
            elif d == dt:
                c = top
            elif d == db:
                c = bottom
            elif d == dl:
                c = left
            else:
                c = right
            img[y][x] = c
    if top == face == bottom == black:
        img = [[black] * SIZE for _ in range(SIZE)]
    return img


def write_bmp(path, img):
    row_bytes = (SIZE * 3 + 3) & ~3
    data = bytearray()
    for row in reversed(img):  # bottom-up
        line = bytearray()
        for (r, g, b) in row:
            line += bytes((b, g, r))
        line += b"\0" * (row_bytes - len(line))
        data += line
    header = struct.pack("<2sIHHI", b"BM", 14 + 40 + len(data), 0, 0, 14 + 40)
    info = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    with open(path, "wb") as f:
        f.write(header + info + data)


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    for name, top, face, bottom in CELLS:
        write_bmp(os.path.join(here, name + ".bmp"), pixels(top, face, bottom))


if __name__ == "__main__":
    main()
