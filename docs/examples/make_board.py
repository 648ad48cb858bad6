#!/usr/bin/env python3
"""Writes a board file for Tavlo from the lists below: three squares in a row.

Usage: python3 make_board.py OUT
Edit NAME, CELL_SIZE, TARGET, POINTS and CELLS to make another board. Points are screen
pixels (x to the right, y downwards); each cell lists its corners clockwise on the screen.
"""
import struct
import sys

NAME = "Three squares"
CELL_SIZE = 40.0  # 40 selects the large images; anything else the 30-pixel set
TARGET = 60
POINTS = [
    (60, 160), (100, 160), (140, 160), (180, 160),
    (60, 200), (100, 200), (140, 200), (180, 200),
]
CELLS = [
    [0, 1, 5, 4],
    [1, 2, 6, 5],
    [2, 3, 7, 6],
]


def board_bytes():
    name = NAME.encode("utf-16-le")
    out = struct.pack("<fI", CELL_SIZE, len(name) // 2) + name
    out += struct.pack("<II", TARGET, len(POINTS))
    for x, y in POINTS:
        out += struct.pack("<ff", x, y)
    out += struct.pack("<I", len(CELLS))
    for corners in CELLS:
        out += struct.pack("<I", len(corners))
        out += struct.pack("<%dI" % len(corners), *corners)
    return out


if __name__ == "__main__":
    if len(sys.argv) != 2:
        sys.exit("usage: make_board.py OUT")
    with open(sys.argv[1], "wb") as f:
        f.write(board_bytes())
