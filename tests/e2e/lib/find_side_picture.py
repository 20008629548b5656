#!/usr/bin/env python3
"""Finds the installer's side picture in a screenshot of its welcome page and compares it.

usage: find_side_picture.py SCREEN.png PICTURE.bmp LEFT TOP RIGHT BOTTOM

Within the window's box LEFT, TOP, RIGHT, BOTTOM, the picture control starts at the first pixel
of the picture's top left colour, and reaches as far right and down as that colour's top row
and the picture's left column go. A control the picture's own size must show it pixel for pixel;
one that the page's dialog units made a few pixels smaller (Wine's fonts) shows it stretched,
so there each pixel is compared with the picture pixel under its centre, within a tolerance for
the stretch's blending. Prints the box and the figures; exit 0 when it is the picture.
"""
import subprocess
import sys


def rgb_pixels(path):
    """(width, height, bytes of RGB triples) of any picture ImageMagick reads."""
    data = subprocess.run(["convert", path, "-depth", "8", "rgb:-"], check=True, capture_output=True).stdout
    size = subprocess.run(["identify", "-format", "%w %h", path], check=True, capture_output=True).stdout
    width, height = map(int, size.split())
    return width, height, data


def main():
    screen_path, picture_path = sys.argv[1:3]
    left, top, right, bottom = map(int, sys.argv[3:7])
    sw, sh, screen = rgb_pixels(screen_path)
    pw, ph, picture = rgb_pixels(picture_path)
    at = lambda data, width, x, y: tuple(data[(y * width + x) * 3:(y * width + x) * 3 + 3])
    near = lambda a, b, tolerance: max(abs(p - q) for p, q in zip(a, b)) <= tolerance

    corner = at(picture, pw, 0, 0)
    start = next(((x, y) for y in range(max(0, top), min(sh, bottom)) for x in range(max(0, left), min(sw, right))
                  if near(at(screen, sw, x, y), corner, 2)), None)
    if start is None:
        print("no pixel of the picture's corner colour in the window")
        return 1
    x0, y0 = start
    width = 0
    while x0 + width < sw and near(at(screen, sw, x0 + width, y0), corner, 2):
        width += 1
    # The left column is a smooth gradient: follow it as long as it stays that picture's blue.
    height = 0
    while y0 + height < sh and at(screen, sw, x0, y0 + height)[2] > at(screen, sw, x0, y0 + height)[0] + 60:
        height += 1
    print(f"control {width}x{height} at {x0},{y0}; picture {pw}x{ph}")
    if not (pw * 0.95 <= width <= pw and ph * 0.95 <= height <= ph):
        print("the control is not this picture's size")
        return 1
    exact = close = 0
    for y in range(height):
        for x in range(width):
            want = at(picture, pw, (2 * x + 1) * pw // (2 * width), (2 * y + 1) * ph // (2 * height))
            got = at(screen, sw, x0 + x, y0 + y)
            exact += got == want
            close += near(got, want, 48)
    total = width * height
    print(f"{exact} of {total} pixels exactly the picture's, {close} within 48")
    if (width, height) == (pw, ph):
        return 0 if exact == total else 1
    return 0 if close >= total * 0.97 else 1


if __name__ == "__main__":
    sys.exit(main())
