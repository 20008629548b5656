#!/usr/bin/env python3
"""Compares the tray icon in a screenshot with the picture kelvane-preview composes.

usage: compare_tray_picture.py SCREEN.rgb SCREEN_WIDTH LEFT TOP SIZE PREVIEW_OUTPUT [--see-through]

SCREEN.rgb holds raw 8-bit RGB triples of the whole screen. The icon's box of SIZE x SIZE at
LEFT, TOP must show the preview's pixels (16 x 16, or drawn at SIZE with --size), enlarged by
nearest-neighbour sampling where they are fewer: every screen pixel takes the picture pixel under
its centre. With --see-through, the picture's see-through pixels (030303) show whatever the
taskbar has there and match any screen pixel. Prints the mismatches; exit 0 on a match.
"""
import sys

SEE_THROUGH = 0x030303


def preview_pixels(path):
    lines = open(path, encoding="utf-8").read().replace("\r", "").split("\n")
    start = lines.index("pixels:") + 1
    rows = []
    for line in lines[start:]:
        tokens = line.split()
        if not tokens or any(len(t) != 6 for t in tokens):
            break
        rows.append([int(token, 16) for token in tokens])
    return rows


def main():
    screen_path, width, left, top, size, preview_path = sys.argv[1:7]
    see_through = "--see-through" in sys.argv[7:]
    width, left, top, size = int(width), int(left), int(top), int(size)
    screen = open(screen_path, "rb").read()
    picture = preview_pixels(preview_path)
    n = len(picture)
    mismatches = 0
    for y in range(size):
        for x in range(size):
            sx = (2 * x + 1) * n // (2 * size)
            sy = (2 * y + 1) * n // (2 * size)
            want = picture[sy][sx]
            if see_through and want == SEE_THROUGH:
                continue
            at = ((top + y) * width + left + x) * 3
            got = (screen[at] << 16) | (screen[at + 1] << 8) | screen[at + 2]
            if got != want:
                mismatches += 1
                if mismatches <= 10:
                    print(f"({x},{y}): screen {got:06X}, picture {want:06X}")
    print(f"{mismatches} of {size * size} pixels differ")
    return 0 if mismatches == 0 else 1


if __name__ == "__main__":
    sys.exit(main())
