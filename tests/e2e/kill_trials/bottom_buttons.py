#!/usr/bin/env python3
"""Finds the buttons along the bottom of a window from a picture of it.

    bottom_buttons.py RGB_FILE WIDTH HEIGHT X Y

RGB_FILE holds the window's pixels as 8-bit RGB rows (convert ... rgb:FILE);
X, Y is the window's top-left corner on the screen. A row belongs to a
control when any of its pixels differs from the window's bottom edge; the
buttons stand in the lowest run of such rows, side by side, each a run of
columns that differ from the background there. Prints the screen position
of each button's middle, "x y" per line, from left to right.
"""
import sys


def main():
    if len(sys.argv) != 6:
        print(__doc__, file=sys.stderr)
        return 2
    data = open(sys.argv[1], 'rb').read()
    w, h, x0, y0 = map(int, sys.argv[2:6])
    if len(data) < w * h * 3:
        print('bottom_buttons: the picture is smaller than the window', file=sys.stderr)
        return 1
    pixel = lambda x, y: data[(y * w + x) * 3:(y * w + x) * 3 + 3]
    background = pixel(0, h - 1)
    busy_row = lambda y: any(pixel(x, y) != background for x in range(w))
    y = h - 1
    while y >= 0 and not busy_row(y):
        y -= 1
    if y < 0:
        return 1
    end = y
    while y >= 0 and busy_row(y):
        y -= 1
    top = y + 1
    busy_column = [any(pixel(x, r) != background for r in range(top, end + 1)) for x in range(w)]
    found, x = 0, 0
    while x < w:
        if busy_column[x]:
            left = x
            while x < w and busy_column[x]:
                x += 1
            print(x0 + (left + x - 1) // 2, y0 + (top + end) // 2)
            found += 1
        else:
            x += 1
    return 0 if found else 1


if __name__ == '__main__':
    sys.exit(main())
