#!/usr/bin/env python3
"""Draws the pictures of the help pages (standard library only).

Run it from anywhere; it rewrites the PNG files in help/bilder/. The
outputs are committed, so a build needs nothing of this script.
"""
import os
import struct
import zlib

CELL = 24          # the cell size of the small field
PITCH = CELL + 1   # cell plus one grid line

WATER = (120, 170, 230)
GRID = (0, 0, 0)
BOAT = (90, 90, 100)
BUILDING = (0, 0, 255)     # a cell of the boat being built
ALLOWED = (40, 170, 60)
FORBIDDEN = (210, 30, 30)


class Picture:
    def __init__(self, width, height, colour):
        self.width, self.height = width, height
        self.rows = [[colour] * width for _ in range(height)]

    def dot(self, x, y, colour):
        if 0 <= x < self.width and 0 <= y < self.height:
            self.rows[y][x] = colour

    def box(self, x0, y0, x1, y1, colour):
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                self.dot(x, y, colour)

    def save(self, path):
        raw = b"".join(b"\0" + bytes(c for px in row for c in px) for row in self.rows)

        def chunk(kind, data):
            body = kind + data
            return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))

        with open(path, "wb") as f:
            f.write(b"\x89PNG\r\n\x1a\n")
            f.write(chunk(b"IHDR", struct.pack(">IIBBBBB", self.width, self.height, 8, 2, 0, 0, 0)))
            f.write(chunk(b"IDAT", zlib.compress(raw, 9)))
            f.write(chunk(b"IEND", b""))


def field(columns, rows):
    pic = Picture(columns * PITCH + 1, rows * PITCH + 1, GRID)
    for c in range(1, columns + 1):
        for r in range(1, rows + 1):
            fill(pic, c, r, WATER)
    return pic


def origin(c, r):
    return (PITCH * (c - 1) + 1, PITCH * (r - 1) + 1)


def fill(pic, c, r, colour):
    x, y = origin(c, r)
    pic.box(x, y, x + CELL - 1, y + CELL - 1, colour)


def tick(pic, c, r):
    """A green check mark: this cell may come next."""
    x, y = origin(c, r)
    for i in range(6):
        for w in range(3):
            pic.dot(x + 5 + i, y + 11 + i + w, ALLOWED)
    for i in range(11):
        for w in range(3):
            pic.dot(x + 10 + i, y + 16 - i + w, ALLOWED)


def cross(pic, c, r):
    """A red cross: this cell is refused."""
    x, y = origin(c, r)
    for i in range(4, CELL - 4):
        for w in range(-1, 2):
            pic.dot(x + i + w, y + i, FORBIDDEN)
            pic.dot(x + CELL - 1 - i + w, y + i, FORBIDDEN)


def placement_rules():
    pic = field(10, 8)
    # A finished boat of three cells in the upper left.
    for c, r in ((3, 3), (4, 3), (5, 3)):
        fill(pic, c, r, BOAT)
    # The boat being built: three blue cells forming an L.
    for c, r in ((6, 5), (7, 5), (7, 6)):
        fill(pic, c, r, BUILDING)
    # Side by side with the boat: allowed.
    for c, r in ((8, 6), (7, 7), (5, 5), (8, 5), (7, 4)):
        tick(pic, c, r)
    # Would complete a filled 2 x 2 block.
    cross(pic, 6, 6)
    # Touches the boat only at a corner.
    cross(pic, 8, 4)
    # Side by side with the boat, but at the corner of the other boat.
    cross(pic, 6, 4)
    return pic


def main():
    out = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "bilder")
    placement_rules().save(os.path.join(out, "regeln.png"))


if __name__ == "__main__":
    main()
