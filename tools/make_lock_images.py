#!/usr/bin/env python3
"""Draws the settings dialog's two lock images (16 x 16, RGBA PNG) from the masks below.

Run from the repository root: python3 tools/make_lock_images.py
It rewrites Resources/images/lock_closed.png and Resources/images/lock_open.png.
"""
import os
import struct
import zlib

# '#' body, 'o' shackle, '.' transparent. The open lock's shackle is lifted to the right.
CLOSED = [
    "................",
    "......oooo......",
    ".....o....o.....",
    "....o......o....",
    "....o......o....",
    "....o......o....",
    "...##########...",
    "...##########...",
    "...####..####...",
    "...####..####...",
    "...#####.####...",
    "...##########...",
    "...##########...",
    "...##########...",
    "................",
    "................",
]
OPEN = [
    "........oooo....",
    ".......o....o...",
    "......o......o..",
    "......o......o..",
    "......o.........",
    "......o.........",
    "...##########...",
    "...##########...",
    "...####..####...",
    "...####..####...",
    "...#####.####...",
    "...##########...",
    "...##########...",
    "...##########...",
    "................",
    "................",
]
COLOURS = {".": (0, 0, 0, 0), "#": (200, 150, 40, 255), "o": (90, 90, 90, 255)}


def chunk(kind, data):
    body = kind + data
    return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)


def png(mask):
    height, width = len(mask), len(mask[0])
    rows = b"".join(b"\x00" + b"".join(bytes(COLOURS[c]) for c in row) for row in mask)
    header = struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)
    return b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(rows, 9)) + chunk(b"IEND", b"")


def main():
    folder = os.path.join("Resources", "images")
    os.makedirs(folder, exist_ok=True)
    for name, mask in (("lock_closed.png", CLOSED), ("lock_open.png", OPEN)):
        with open(os.path.join(folder, name), "wb") as out:
            out.write(png(mask))


if __name__ == "__main__":
    main()
