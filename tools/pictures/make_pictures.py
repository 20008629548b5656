#!/usr/bin/env python3
"""Draws the pictures of the welcome and about windows, the program icon and the installer's side
picture.

Everything is drawn here from shapes (no picture comes from elsewhere) with the standard library
only, and written as PNG without time chunks, so a rerun gives the same bytes:

    tools/pictures/make_pictures.py [ASSETS_DIR]

writes ASSETS_DIR/pictures/*.png (the RCDATA resources the windows decode at run time),
ASSETS_DIR/kelvane.ico (the program icon Explorer shows) and ASSETS_DIR/installer/*.bmp (the side
picture of the installer's welcome and finish pages, one for each of 96, 144 and 192 DPI). ASSETS_DIR defaults to the repository's
assets folder.
"""
import math
import os
import struct
import sys
import zlib


# --- drawing -------------------------------------------------------------------------------

class Canvas:
    """An RGBA picture drawn at `supersample` samples per pixel side, kept premultiplied."""

    def __init__(self, width, height, supersample=4):
        self.width, self.height, self.ss = width, height, supersample
        self.w, self.h = width * supersample, height * supersample
        self.px = [0.0] * (self.w * self.h * 4)

    def fill(self, inside, box, color):
        """Paints `color` (r, g, b, a in 0..1, or a function of x, y giving one) over every sample
        whose centre (in pixel units) satisfies inside(x, y), within box = (x0, y0, x1, y1)."""
        ss = self.ss
        x0 = max(0, int(math.floor(box[0] * ss)))
        y0 = max(0, int(math.floor(box[1] * ss)))
        x1 = min(self.w, int(math.ceil(box[2] * ss)))
        y1 = min(self.h, int(math.ceil(box[3] * ss)))
        px = self.px
        constant = not callable(color)
        for sy in range(y0, y1):
            y = (sy + 0.5) / ss
            row = sy * self.w
            for sx in range(x0, x1):
                x = (sx + 0.5) / ss
                if not inside(x, y):
                    continue
                r, g, b, a = color if constant else color(x, y)
                i = (row + sx) * 4
                keep = 1.0 - a
                px[i] = r * a + px[i] * keep
                px[i + 1] = g * a + px[i + 1] * keep
                px[i + 2] = b * a + px[i + 2] * keep
                px[i + 3] = a + px[i + 3] * keep

    def rgba_rows(self):
        """The picture at its own size: samples averaged, un-premultiplied, 8 bits a channel."""
        ss, n = self.ss, float(self.ss * self.ss)
        rows = []
        for y in range(self.height):
            row = bytearray()
            for x in range(self.width):
                acc = [0.0, 0.0, 0.0, 0.0]
                for sy in range(y * ss, y * ss + ss):
                    base = (sy * self.w + x * ss) * 4
                    for k in range(ss):
                        i = base + k * 4
                        acc[0] += self.px[i]
                        acc[1] += self.px[i + 1]
                        acc[2] += self.px[i + 2]
                        acc[3] += self.px[i + 3]
                a = acc[3] / n
                if a <= 0.0:
                    row += b"\0\0\0\0"
                    continue
                row += bytes(min(255, int(round(c / n / a * 255))) for c in acc[:3])
                row.append(min(255, int(round(a * 255))))
            rows.append(bytes(row))
        return rows


def rgb(hex_text, alpha=1.0):
    v = int(hex_text.lstrip("#"), 16)
    return ((v >> 16) / 255.0, ((v >> 8) & 255) / 255.0, (v & 255) / 255.0, alpha)


def vertical_gradient(top, bottom, y0, y1, top_color, bottom_color):
    def color(x, y):
        t = min(1.0, max(0.0, (y - y0) / float(y1 - y0)))
        return tuple(a + (b - a) * t for a, b in zip(top_color, bottom_color))
    return color


def rect(c, x0, y0, x1, y1, color):
    c.fill(lambda x, y: x0 <= x < x1 and y0 <= y < y1, (x0, y0, x1, y1), color)


def rounded_rect(c, x0, y0, x1, y1, r, color):
    def inside(x, y):
        if not (x0 <= x < x1 and y0 <= y < y1):
            return False
        cx = min(max(x, x0 + r), x1 - r)
        cy = min(max(y, y0 + r), y1 - r)
        return (x - cx) ** 2 + (y - cy) ** 2 <= r * r
    c.fill(inside, (x0, y0, x1, y1), color)


def circle(c, cx, cy, r, color):
    c.fill(lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= r * r, (cx - r, cy - r, cx + r, cy + r), color)


def ring(c, cx, cy, r_outer, r_inner, color):
    c.fill(lambda x, y: r_inner ** 2 <= (x - cx) ** 2 + (y - cy) ** 2 <= r_outer ** 2,
           (cx - r_outer, cy - r_outer, cx + r_outer, cy + r_outer), color)


def polygon(c, points, color):
    xs = [p[0] for p in points]
    ys = [p[1] for p in points]

    def inside(x, y):
        hit = False
        j = len(points) - 1
        for i in range(len(points)):
            xi, yi = points[i]
            xj, yj = points[j]
            if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
                hit = not hit
            j = i
        return hit
    c.fill(inside, (min(xs), min(ys), max(xs), max(ys)), color)


def thick_line(c, x0, y0, x1, y1, width, color, round_caps=True):
    dx, dy = x1 - x0, y1 - y0
    length = math.hypot(dx, dy) or 1.0
    nx, ny = -dy / length * width / 2, dx / length * width / 2
    polygon(c, [(x0 + nx, y0 + ny), (x1 + nx, y1 + ny), (x1 - nx, y1 - ny), (x0 - nx, y0 - ny)], color)
    if round_caps:
        circle(c, x0, y0, width / 2, color)
        circle(c, x1, y1, width / 2, color)


def heart(c, cx, cy, size, color):
    """A heart whose bounding box is about size x size, centred at (cx, cy)."""
    def inside(x, y):
        u = (x - cx) / (size * 0.55)
        v = (cy - y) / (size * 0.55) + 0.15
        return (u * u + v * v - 1) ** 3 - u * u * v ** 3 <= 0
    c.fill(inside, (cx - size * 0.7, cy - size * 0.7, cx + size * 0.7, cy + size * 0.7), color)


# Seven-segment digits, as the tray picture's built-in digits are drawn: segments a..g.
SEGMENTS = {"0": "abcdef", "1": "bc", "2": "abdeg", "3": "abcdg", "4": "bcfg", "5": "acdfg",
            "6": "acdefg", "7": "abc", "8": "abcdefg", "9": "abcdfg"}


def digit(c, x, y, w, h, t, ch, color):
    mid = y + (h - t) / 2
    bars = {"a": (x, y, x + w, y + t), "g": (x, mid, x + w, mid + t), "d": (x, y + h - t, x + w, y + h),
            "f": (x, y, x + t, mid + t), "b": (x + w - t, y, x + w, mid + t),
            "e": (x, mid, x + t, y + h), "c": (x + w - t, mid, x + w, y + h)}
    for s in SEGMENTS[ch]:
        rect(c, *bars[s], color)


# --- the pictures --------------------------------------------------------------------------

BLUE_TOP, BLUE_BOTTOM = rgb("#2f7be0"), rgb("#173f8a")
GREEN, TRACK, WHITE = rgb("#3ccb5a"), rgb("#0d2a5e"), rgb("#ffffff")


def program_icon(size):
    """The program icon: a memory module over a load gauge on a blue tile."""
    c = Canvas(size, size, 8 if size <= 24 else 4 if size <= 64 else 2)
    draw_program_icon(c, 0, 0, size)
    return c


def draw_program_icon(c, x, y, size):
    """The program icon's shapes at `size` pixels, its top left corner at (x, y)."""
    u = size / 16.0

    def box(x0, y0, x1, y1):
        return x + x0 * u, y + y0 * u, x + x1 * u, y + y1 * u
    rounded_rect(c, *box(0.5, 0.5, 15.5, 15.5), 3.0 * u,
                 vertical_gradient(BLUE_TOP, BLUE_BOTTOM, y + 0.5 * u, y + 15.5 * u, BLUE_TOP, BLUE_BOTTOM))
    # The module: a white board with its pins and, where there is room, its chips.
    rounded_rect(c, *box(2.5, 3.0, 13.5, 9.0), 0.7 * u, WHITE)
    if size >= 24:
        for i in range(6):
            left = 3.3 + i * 1.75
            rect(c, *box(left, 9.0, left + 0.9, 10.0), rgb("#f2c14e"))
        for i in range(3):
            left = 3.5 + i * 3.35
            rounded_rect(c, *box(left, 4.1, left + 2.6, 7.9), 0.3 * u, rgb("#24508f"))
    else:
        rect(c, *box(3.5, 5.5, 12.5, 6.5), rgb("#24508f"))
    # The gauge, two thirds full.
    rounded_rect(c, *box(2.5, 11.2, 13.5, 13.8), 0.6 * u, TRACK)
    rounded_rect(c, *box(2.5, 11.2, 9.8, 13.8), 0.6 * u, GREEN)


def donation_picture(size):
    """The donation picture: a heart on a gold coin."""
    c = Canvas(size, size, 8 if size <= 24 else 4)
    u = size / 16.0
    circle(c, 8 * u, 8 * u, 7.5 * u, rgb("#d99a1e"))
    circle(c, 8 * u, 8 * u, 6.6 * u, rgb("#f5c542"))
    heart(c, 8 * u, 8.3 * u, 8.5 * u, rgb("#e0245e"))
    if size >= 24:
        circle(c, 5.9 * u, 6.2 * u, 0.9 * u, rgb("#ffffff", 0.7))
    return c


def tray_icon(c, x, y, s, load_text="42"):
    """Kelvane's tray picture at s pixels: white tile, bar gauge at the bottom, the load in digits."""
    rect(c, x, y, x + s, y + s, WHITE)
    rect(c, x, y + s * 0.75, x + s, y + s, rgb("#d8d8d8"))
    rect(c, x, y + s * 0.75, x + s * 0.42, y + s, GREEN)
    w, h, t = s * 0.3, s * 0.56, max(1.0, s * 0.09)
    digit(c, x + s * 0.12, y + s * 0.1, w, h, t, load_text[0], rgb("#000000"))
    digit(c, x + s * 0.58, y + s * 0.1, w, h, t, load_text[1], rgb("#000000"))


def generic_icon(c, x, y, s, hue):
    rounded_rect(c, x + s * 0.1, y + s * 0.1, x + s * 0.9, y + s * 0.9, s * 0.18, rgb(hue))
    circle(c, x + s / 2, y + s / 2, s * 0.17, rgb("#ffffff", 0.85))


def cursor(c, x, y, k):
    outline = [(0, 0), (0, 17), (4, 13), (7, 20), (10, 19), (7, 12), (12, 12)]
    polygon(c, [(x + px * k, y + py * k) for px, py in outline], rgb("#000000"))
    inner = [(1.2, 2.8), (1.2, 14.2), (4.4, 11.2), (7.6, 18.2), (8.6, 17.8), (5.5, 10.8), (9.6, 10.8)]
    polygon(c, [(x + px * k, y + py * k) for px, py in inner], WHITE)


def illustration(scale):
    """How to keep the icon visible: open the overflow panel with the arrow and drag the icon
    from it into the notification area. Drawn on a 539 x 194 grid, at `scale` pixels a unit."""
    k = scale
    c = Canvas(539 * k, 194 * k, 3 if k == 1 else 2)
    # Desktop and taskbar.
    rect(c, 0, 0, 539 * k, 194 * k, vertical_gradient(None, None, 0, 150 * k, rgb("#e9f1fb"), rgb("#cfe0f4")))
    rect(c, 0, 150 * k, 539 * k, 194 * k, rgb("#1f2630"))
    rect(c, 0, 150 * k, 539 * k, 151 * k, rgb("#3a4654"))
    for i in range(4):  # running programs
        rounded_rect(c, (14 + i * 44) * k, 158 * k, (46 + i * 44) * k, 188 * k, 4 * k, rgb("#2c3642"))
        generic_icon(c, (19 + i * 44) * k, 162 * k, 22 * k, ["#5b8def", "#e8a33d", "#58b368", "#b06ad9"][i])
    # The notification area: the arrow button, two system icons, a clock, and the slot the icon
    # goes to (ringed).
    rounded_rect(c, 330 * k, 158 * k, 356 * k, 188 * k, 4 * k, rgb("#3b4a5c"))
    polygon(c, [(336 * k, 178 * k), (343 * k, 168 * k), (350 * k, 178 * k), (347 * k, 178 * k),
                (343 * k, 172.5 * k), (339 * k, 178 * k)], WHITE)
    tray_icon(c, 372 * k, 163 * k, 20 * k)
    ring(c, 382 * k, 173 * k, 17 * k, 14.5 * k, rgb("#ffb000"))
    generic_icon(c, 404 * k, 163 * k, 20 * k, "#7d8a99")
    generic_icon(c, 430 * k, 163 * k, 20 * k, "#7d8a99")
    for row, width in ((164, 44), (177, 56)):  # the clock, as two lines of text would sit
        rounded_rect(c, (470 + (56 - width)) * k, row * k, 526 * k, (row + 6) * k, 3 * k, rgb("#c9d2dc"))
    # The overflow panel above the arrow, with hidden icons; Kelvane's is the one being dragged.
    rounded_rect(c, 262 * k, 44 * k, 424 * k, 140 * k, 8 * k, rgb("#000000", 0.18))
    rounded_rect(c, 258 * k, 40 * k, 420 * k, 136 * k, 8 * k, rgb("#2b3440"))
    polygon(c, [(335 * k, 136 * k), (343 * k, 146 * k), (351 * k, 136 * k)], rgb("#2b3440"))
    hues = ["#5b8def", "#e86a5e", None, "#58b368", "#e8a33d", "#8f7be0", "#4fb3c8", "#c5c5c5"]
    for i, hue in enumerate(hues):
        x = (272 + (i % 4) * 36) * k
        y = (54 + (i // 4) * 38) * k
        if hue is None:
            rounded_rect(c, x - 4 * k, y - 4 * k, x + 32 * k, y + 32 * k, 5 * k, rgb("#4a5868"))
            tray_icon(c, x + 2 * k, y + 2 * k, 24 * k)
        else:
            generic_icon(c, x, y, 28 * k, hue)
    # The drag: a dashed curve from the panel's icon down to the ringed slot, with its head.
    start, control, end = (346 * k, 58 * k), (470 * k, 40 * k), (392 * k, 150 * k)
    steps = 40
    points = []
    for i in range(steps + 1):
        t = i / float(steps)
        points.append(((1 - t) ** 2 * start[0] + 2 * (1 - t) * t * control[0] + t * t * end[0],
                       (1 - t) ** 2 * start[1] + 2 * (1 - t) * t * control[1] + t * t * end[1]))
    for i in range(2, steps - 3, 3):
        (x0, y0), (x1, y1) = points[i], points[i + 2]
        thick_line(c, x0, y0, x1, y1, 3.2 * k, rgb("#ff9900"))
    (ax, ay), (bx, by) = points[-4], points[-1]
    angle = math.atan2(by - ay, bx - ax)
    head = [(bx, by)]
    for side in (-1, 1):
        head.append((bx - 13 * k * math.cos(angle + side * 0.45), by - 13 * k * math.sin(angle + side * 0.45)))
    polygon(c, [head[1], head[0], head[2]], rgb("#ff9900"))
    cursor(c, 356 * k, 68 * k, 1.1 * k)
    return c


def installer_side(scale):
    """The side picture of the installer's welcome and finish pages: the program icon's shapes
    large on the icon's blue, over the tray picture and three load gauges. Drawn on a 164 x 314
    grid (the pages' picture at 96 DPI), at `scale` pixels a unit."""
    k = scale
    width, height = int(round(164 * k)), int(round(314 * k))
    c = Canvas(width, height, 2)
    rect(c, 0, 0, width, height, vertical_gradient(None, None, 0, height, BLUE_TOP, BLUE_BOTTOM))
    # A lighter plate behind the icon, whose own tile is the same blue as the page.
    rounded_rect(c, 22 * k, 38 * k, 142 * k, 158 * k, 24 * k, rgb("#ffffff", 0.16))
    draw_program_icon(c, 30 * k, 46 * k, 104 * k)
    rounded_rect(c, 62 * k, 182 * k, 102 * k, 222 * k, 6 * k, rgb("#0d2a5e", 0.45))
    tray_icon(c, 66 * k, 186 * k, 32 * k)
    for i, fill in enumerate((0.42, 0.66, 0.85)):
        top = (244 + i * 18) * k
        rounded_rect(c, 30 * k, top, 134 * k, top + 8 * k, 4 * k, TRACK)
        rounded_rect(c, 30 * k, top, (30 + 104 * fill) * k, top + 8 * k, 4 * k,
                     GREEN if fill < 0.8 else rgb("#f2c14e"))
    return c


# --- files ---------------------------------------------------------------------------------

def png_bytes(canvas):
    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)
    raw = bytearray()
    previous = bytes(canvas.width * 4)
    for row in canvas.rgba_rows():
        # Filter "up" or none, whichever leaves smaller numbers: a fixed rule, so the bytes repeat.
        up = bytes((a - b) & 255 for a, b in zip(row, previous))
        cost = lambda data: sum(v if v < 128 else 256 - v for v in data)
        raw += b"\2" + up if cost(up) < cost(row) else b"\0" + row
        previous = row
    header = struct.pack(">IIBBBBB", canvas.width, canvas.height, 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(bytes(raw), 9)) +
            chunk(b"IEND", b""))


def bmp_bytes(canvas):
    """A 24-bit bottom-up BMP, what the installer's picture control loads; alpha is dropped, so the
    picture must be opaque."""
    stride = (canvas.width * 3 + 3) & ~3
    pixels = bytearray()
    for row in reversed(canvas.rgba_rows()):
        pixels += bytes(v for px in zip(row[2::4], row[1::4], row[0::4]) for v in px)
        pixels += bytes(stride - canvas.width * 3)
    info = struct.pack("<IiiHHIIiiII", 40, canvas.width, canvas.height, 1, 24, 0, len(pixels), 3780, 3780, 0, 0)
    header = struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(pixels), 0, 0, 14 + len(info))
    return header + info + bytes(pixels)


def ico_bytes(entries):
    """An icon file: 32-bit DIB entries up to 48 pixels (every Windows reads them), PNG above."""
    images = []
    for size, canvas, png in entries:
        if size >= 256:
            images.append((size, png))
            continue
        rows = canvas.rgba_rows()
        pixels = b"".join(bytes(v for px in zip(r[2::4], r[1::4], r[0::4], r[3::4]) for v in px)
                          for r in reversed(rows))
        mask_stride = ((size + 31) // 32) * 4
        header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, len(pixels), 0, 0, 0, 0)
        images.append((size, header + pixels + bytes(mask_stride * size)))
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, data in images:
        side = 0 if size >= 256 else size
        out += struct.pack("<BBBBHHII", side, side, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    return out + b"".join(data for _, data in images)


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    assets = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "..", "..", "assets")
    out = os.path.join(assets, "pictures")
    os.makedirs(out, exist_ok=True)

    def write(name, data):
        with open(os.path.join(out, name), "wb") as f:
            f.write(data)

    icons = []
    for size in (16, 20, 24, 32, 48, 256):
        canvas = program_icon(size)
        png = png_bytes(canvas)
        write("program-%d.png" % size, png)
        icons.append((size, canvas, png))
    with open(os.path.join(assets, "kelvane.ico"), "wb") as f:
        f.write(ico_bytes(icons))
    for size in (16, 24, 32, 48):
        write("donation-%d.png" % size, png_bytes(donation_picture(size)))
    write("keep-visible-539x194.png", png_bytes(illustration(1)))
    write("keep-visible-1078x388.png", png_bytes(illustration(2)))
    installer = os.path.join(assets, "installer")
    os.makedirs(installer, exist_ok=True)
    for scale in (1, 1.5, 2):
        canvas = installer_side(scale)
        with open(os.path.join(installer, "side-%dx%d.bmp" % (canvas.width, canvas.height)), "wb") as f:
            f.write(bmp_bytes(canvas))


if __name__ == "__main__":
    main()
