#!/usr/bin/env python3
"""Draws the VELMORA test card as a Spectrum screen image (6912 bytes).

Usage: make_test_card.py OUTPUT.scr

The card has the name in large letters, the eight colours as bars in
bright and normal, a dither ramp, and a frame: enough to see at a glance
that bitmap rows, character rows and attributes all landed where they
belong.
"""
import sys

WIDTH, HEIGHT = 256, 192

# 8x8 glyphs, one string per row, '#' for ink.
GLYPHS = {
    "V": ["#.....#.", "#.....#.", "#.....#.", "#.....#.", ".#...#..", "..#.#...", "...#....", "........"],
    "E": ["#######.", "#.......", "#.......", "#####...", "#.......", "#.......", "#######.", "........"],
    "L": ["#.......", "#.......", "#.......", "#.......", "#.......", "#.......", "#######.", "........"],
    "M": ["#.....#.", "##...##.", "#.#.#.#.", "#..#..#.", "#.....#.", "#.....#.", "#.....#.", "........"],
    "O": [".#####..", "#.....#.", "#.....#.", "#.....#.", "#.....#.", "#.....#.", ".#####..", "........"],
    "R": ["######..", "#.....#.", "#.....#.", "######..", "#...#...", "#....#..", "#.....#.", "........"],
    "A": ["..###...", ".#...#..", "#.....#.", "#######.", "#.....#.", "#.....#.", "#.....#.", "........"],
}

BLACK, BLUE, RED, MAGENTA, GREEN, CYAN, YELLOW, WHITE = range(8)


def attribute(ink, paper, bright=False):
    return (0x40 if bright else 0) | (paper << 3) | ink


def bitmap_offset(x, y):
    # The Spectrum interleaves its pixel rows: thirds, then rows within a
    # character cell, then character rows.
    return ((y & 0xC0) << 5) | ((y & 0x07) << 8) | ((y & 0x38) << 2) | (x >> 3)


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    pixels = [[0] * WIDTH for _ in range(HEIGHT)]
    cells = [[attribute(BLACK, WHITE)] * 32 for _ in range(24)]

    # Frame one pixel inside the edge.
    for x in range(WIDTH):
        pixels[1][x] = pixels[HEIGHT - 2][x] = 1
    for y in range(HEIGHT):
        pixels[y][1] = pixels[y][WIDTH - 2] = 1

    # The name, three times the glyph size, centred in character rows 2 to 4.
    scale, name = 3, "VELMORA"
    left = (WIDTH - len(name) * 8 * scale) // 2
    for index, letter in enumerate(name):
        for row, line in enumerate(GLYPHS[letter]):
            for column, mark in enumerate(line):
                if mark != "#":
                    continue
                for dy in range(scale):
                    for dx in range(scale):
                        pixels[16 + row * scale + dy][left + (index * 8 + column) * scale + dx] = 1
    for cell_row in range(2, 5):
        for cell_column in range(1, 31):
            cells[cell_row][cell_column] = attribute(BLUE, WHITE, bright=True)

    # Colour bars, brightest colour first: bright on top, normal below.
    for bar, paper in enumerate([WHITE, YELLOW, CYAN, GREEN, MAGENTA, RED, BLUE, BLACK]):
        for cell_row in range(7, 15):
            for cell_column in range(bar * 4, bar * 4 + 4):
                cells[cell_row][cell_column] = attribute(WHITE if paper == BLACK else BLACK,
                                                         paper, bright=cell_row < 11)

    # A dither ramp from empty to full ink, 16 steps of 16 pixels.
    for y in range(128, 176):
        for x in range(8, 248):
            level = (x - 8) * 17 // 240
            threshold = [0, 8, 2, 10, 12, 4, 14, 6, 3, 11, 1, 9, 15, 7, 13, 5][(y % 4) * 4 + x % 4]
            pixels[y][x] = 1 if threshold < level else 0

    screen = bytearray(6912)
    for y in range(HEIGHT):
        for x in range(WIDTH):
            if pixels[y][x]:
                screen[bitmap_offset(x, y)] |= 0x80 >> (x & 7)
    for cell_row in range(24):
        for cell_column in range(32):
            screen[6144 + cell_row * 32 + cell_column] = cells[cell_row][cell_column]
    with open(sys.argv[1], "wb") as out:
        out.write(screen)


if __name__ == "__main__":
    main()
