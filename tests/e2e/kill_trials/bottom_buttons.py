#!/usr/bin/env python3
"""Finds the two bottom-most buttons of a window from a picture of it.

    bottom_buttons.py RGB_FILE WIDTH HEIGHT X Y

RGB_FILE holds the window's pixels as 8-bit RGB rows (convert ... rgb:FILE);
X, Y is the window's top-left corner on the screen. A row belongs to a
control when any of its pixels differs from the window's bottom edge; the
buttons are the two lowest runs of such rows. Prints the screen position of
each one's middle, "x y" per line, the upper one first.
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
    row = lambda y: data[y * w * 3:(y + 1) * w * 3]
    background = row(h - 1)[:3]
    busy = [row(y) != background * w for y in range(h)]
    runs, y = [], h - 1
    while y >= 0 and len(runs) < 2:
        if busy[y]:
            end = y
            while y >= 0 and busy[y]:
                y -= 1
            runs.append((y + 1, end))
        else:
            y -= 1
    for top, end in reversed(runs):
        print(x0 + w // 2, y0 + (top + end) // 2)
    return 0 if len(runs) == 2 else 1


if __name__ == '__main__':
    sys.exit(main())
