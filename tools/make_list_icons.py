#!/usr/bin/env python3
"""Draws the import command's project-list icons (16 x 16, RGBA PNG) from the masks below.

Run from the repository root: python3 tools/make_list_icons.py
It rewrites Resources/images/list_on.png (ticked, or marked for deletion), list_off.png (not
ticked) and list_absent.png (the project has no such file).
"""
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from make_lock_images import png  # noqa: E402  '#' body colour, 'o' grey, '.' transparent

BOX = [
    "................",
    "................",
    "..############..",
    "..#..........#..",
    "..#..........#..",
    "..#..........#..",
    "..#..........#..",
    "..#..........#..",
    "..#..........#..",
    "..#..........#..",
    "..#..........#..",
    "..#..........#..",
    "..#..........#..",
    "..############..",
    "................",
    "................",
]
TICK = [(4, 8), (5, 9), (6, 10), (7, 10), (8, 9), (9, 8), (10, 7), (11, 6), (5, 8), (6, 9), (7, 9), (8, 8), (9, 7), (10, 6)]
DASH = [(x, y) for x in range(4, 12) for y in (7, 8)]


def drawn(base, points):
    rows = [list(row) for row in base]
    for x, y in points:
        rows[y][x] = "o"
    return ["".join(row) for row in rows]


def main():
    folder = os.path.join("Resources", "images")
    os.makedirs(folder, exist_ok=True)
    empty = ["." * 16] * 16
    for name, mask in (("list_on.png", drawn(BOX, TICK)), ("list_off.png", BOX), ("list_absent.png", drawn(empty, DASH))):
        with open(os.path.join(folder, name), "wb") as out:
            out.write(png(mask))


if __name__ == "__main__":
    main()
