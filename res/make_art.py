#!/usr/bin/env python3
"""Draws the program's icons and bitmaps into an output folder.

The art is code so that it can be reviewed and changed like code, and so that the
build needs no image tools: only the standard library.
Usage: make_art.py OUTPUT_DIR
"""
import math
import struct
import sys
from pathlib import Path

TRANSPARENT_KEY = (192, 192, 192)  # the menu strip's transparent colour

PAPER = (252, 252, 246)
INK = (96, 96, 104)
BOARD = (150, 96, 48)
CLIP = (176, 180, 188)
LEAF = (70, 140, 60)
BLOSSOM = (250, 244, 214)


class Canvas:
    def __init__(self, width, height, background=None):
        self.width, self.height = width, height
        fill = None if background is None else (*background, 255)
        self.pixels = [[fill] * width for _ in range(height)]

    def put(self, x, y, rgb, alpha=255):
        if 0 <= x < self.width and 0 <= y < self.height:
            self.pixels[y][x] = (*rgb, alpha)

    def rect(self, x0, y0, x1, y1, rgb):
        for y in range(y0, y1):
            for x in range(x0, x1):
                self.put(x, y, rgb)

    def frame(self, x0, y0, x1, y1, rgb):
        for x in range(x0, x1):
            self.put(x, y0, rgb)
            self.put(x, y1 - 1, rgb)
        for y in range(y0, y1):
            self.put(x0, y, rgb)
            self.put(x1 - 1, y, rgb)

    def disc(self, cx, cy, r, rgb):
        for y in range(int(cy - r) - 1, int(cy + r) + 2):
            for x in range(int(cx - r) - 1, int(cx + r) + 2):
                if (x + 0.5 - cx) ** 2 + (y + 0.5 - cy) ** 2 <= r * r:
                    self.put(x, y, rgb)

    def line(self, x0, y0, x1, y1, rgb, width=1):
        steps = int(max(abs(x1 - x0), abs(y1 - y0)) * 2) + 1
        for i in range(steps + 1):
            t = i / steps
            x, y = x0 + (x1 - x0) * t, y0 + (y1 - y0) * t
            if width <= 1:
                self.put(int(x), int(y), rgb)
            else:
                self.disc(x, y, width / 2, rgb)

    def rgb_rows(self, background):
        """Rows top to bottom, transparent pixels replaced by the background colour."""
        return [[p[:3] if p else background for p in row] for row in self.pixels]


def page(c, s, lines):
    """A sheet of paper with a folded corner filling an s-by-s cell."""
    u = s / 16
    x0, y0, x1, y1 = round(2 * u), round(u), round(14 * u), round(15 * u)
    c.rect(x0, y0, x1, y1, PAPER)
    c.frame(x0, y0, x1, y1, INK)
    fold = round(4 * u)
    for i in range(fold):
        for j in range(fold - i):
            c.pixels[y0 + i][x1 - 1 - j] = None  # the folded-away corner is transparent
    c.line(x1 - fold, y0, x1 - 1, y0 + fold - 1, INK)
    c.line(x1 - fold, y0, x1 - fold, y0 + fold - 1, INK)
    c.line(x1 - fold, y0 + fold - 1, x1 - 1, y0 + fold - 1, INK)
    for n, colour in enumerate(lines):
        y = round((5 + 2 * n) * u)
        c.rect(round(4 * u), y, round((11 if n % 2 else 12) * u), y + max(1, round(u)), colour)


def app_icon(s):
    c = Canvas(s, s)
    u = s / 16
    c.rect(round(2 * u), round(2 * u), round(14 * u), round(16 * u), BOARD)
    c.rect(round(3 * u), round(4 * u), round(13 * u), round(15 * u), PAPER)
    c.rect(round(5 * u), round(1 * u), round(11 * u), round(4 * u), CLIP)
    c.frame(round(5 * u), round(1 * u), round(11 * u), round(4 * u), INK)
    c.line(8 * u, 14 * u, 8 * u, 7.5 * u, LEAF, max(1, u))
    c.line(8 * u, 11 * u, 5.5 * u, 9 * u, LEAF, max(1, u))
    c.line(8 * u, 11 * u, 10.5 * u, 9 * u, LEAF, max(1, u))
    for cx, cy in ((8, 6.5), (5.5, 8), (10.5, 8), (6.8, 5.6), (9.2, 5.6)):
        c.disc(cx * u, cy * u, 1.3 * u, BLOSSOM)
        c.put(int(cx * u), int(cy * u), (220, 180, 60))
    return c


def item_icon(kind, s):
    c = Canvas(s, s)
    if kind == "unicode":
        page(c, s, [(40, 90, 200)] * 4)
        u = s / 16
        c.disc(11.5 * u, 11.5 * u, 3.5 * u, (40, 90, 200))
        c.line(10.2 * u, 9.8 * u, 10.2 * u, 12.6 * u, PAPER)
        c.line(12.8 * u, 9.8 * u, 12.8 * u, 12.6 * u, PAPER)
        c.line(10.2 * u, 12.8 * u, 12.8 * u, 12.8 * u, PAPER)
    elif kind == "rich":
        page(c, s, [(200, 50, 50), (50, 140, 60), (40, 90, 200), (200, 140, 20)])
    else:
        page(c, s, [INK] * 5)
    return c


def menu_strip():
    """Nine 16x16 cells: options, home, -, feedback, about, -, exit, -, -."""
    strip = Canvas(9 * 16, 16, TRANSPARENT_KEY)

    def gear(x, y):
        cx, cy = x + 8, y + 8
        for k in range(8):
            a = k * math.pi / 4
            strip.disc(cx + 5.6 * math.cos(a), cy + 5.6 * math.sin(a), 1.7, INK)
        strip.disc(cx, cy, 5.2, (112, 120, 136))
        strip.disc(cx, cy, 2.1, TRANSPARENT_KEY)

    def house(x, y):
        for i in range(7):  # the roof, one row wider each step down
            strip.rect(x + 7 - i, y + 1 + i, x + 9 + i, y + 2 + i, (190, 60, 40))
        strip.rect(x + 3, y + 8, x + 13, y + 15, (236, 214, 160))
        strip.frame(x + 3, y + 8, x + 13, y + 15, INK)
        strip.rect(x + 7, y + 10, x + 10, y + 15, BOARD)

    def envelope(x, y):
        strip.rect(x + 1, y + 3, x + 15, y + 13, PAPER)
        strip.frame(x + 1, y + 3, x + 15, y + 13, INK)
        strip.line(x + 1, y + 3, x + 8, y + 9, INK)
        strip.line(x + 14, y + 3, x + 8, y + 9, INK)

    def info(x, y):
        strip.disc(x + 8, y + 8, 7, (40, 90, 200))
        strip.rect(x + 7, y + 7, x + 9, y + 13, PAPER)
        strip.rect(x + 7, y + 3, x + 9, y + 5, PAPER)

    def door(x, y):
        strip.rect(x + 3, y + 1, x + 13, y + 16, (90, 60, 30))
        strip.rect(x + 4, y + 2, x + 12, y + 16, (150, 92, 44))
        strip.rect(x + 5, y + 3, x + 11, y + 8, (176, 112, 56))  # a panel
        strip.rect(x + 9, y + 9, x + 11, y + 11, (240, 200, 60))  # the handle

    for cell, draw in ((0, gear), (1, house), (3, envelope), (4, info), (6, door)):
        draw(cell * 16, 0)
    return strip


def about_picture():
    width, height = 181, 125
    c = Canvas(width, height)
    for y in range(height):
        t = y / (height - 1)
        colour = tuple(round(a + (b - a) * t) for a, b in zip((214, 232, 246), (246, 250, 240)))
        c.rect(0, y, width, y + 1, colour)
    c.rect(0, 96, width, height, (120, 170, 90))
    big = app_icon(64)
    for y, row in enumerate(big.pixels):
        for x, p in enumerate(row):
            if p:
                c.put(58 + x, 20 + y, p[:3])
    return c


def bmp_bytes(rows):
    """24-bit bottom-up BMP."""
    height, width = len(rows), len(rows[0])
    stride = (width * 3 + 3) & ~3
    data = bytearray()
    for row in reversed(rows):
        line = bytearray()
        for r, g, b in row:
            line += bytes((b, g, r))
        data += line + b"\0" * (stride - len(line))
    header = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    return b"BM" + struct.pack("<IHHI", 14 + 40 + len(data), 0, 0, 54) + header + data


def icon_image(canvas):
    """One 32-bit icon image: BITMAPINFOHEADER, BGRA pixels bottom-up, AND mask."""
    s = canvas.width
    pixels = bytearray()
    mask = bytearray()
    mask_stride = ((s + 31) // 32) * 4
    for row in reversed(canvas.pixels):
        bits = 0
        line = bytearray()
        for x, p in enumerate(row):
            r, g, b, a = p if p else (0, 0, 0, 0)
            pixels += bytes((b, g, r, a))
            bits = (bits << 1) | (0 if p else 1)
            if x % 8 == 7:
                line.append(bits)
                bits = 0
        mask += line + b"\0" * (mask_stride - len(line))
    header = struct.pack("<IiiHHIIiiII", 40, s, 2 * s, 1, 32, 0, len(pixels) + len(mask), 0, 0, 0, 0)
    return header + pixels + mask


def ico_bytes(canvases):
    images = [icon_image(c) for c in canvases]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for canvas, image in zip(canvases, images):
        out += struct.pack("<BBBBHHII", canvas.width % 256, canvas.height % 256, 0, 0, 1, 32, len(image), offset)
        offset += len(image)
    return out + b"".join(images)


def main():
    out = Path(sys.argv[1])
    out.mkdir(parents=True, exist_ok=True)
    (out / "yarrowkit.ico").write_bytes(ico_bytes([app_icon(16), app_icon(32), app_icon(48)]))
    for kind in ("unicode", "plain", "rich"):
        (out / f"item_{kind}.ico").write_bytes(ico_bytes([item_icon(kind, 16), item_icon(kind, 32)]))
    (out / "menu_icons.bmp").write_bytes(bmp_bytes(menu_strip().rgb_rows(TRANSPARENT_KEY)))
    (out / "about.bmp").write_bytes(bmp_bytes(about_picture().rgb_rows((255, 255, 255))))


if __name__ == "__main__":
    main()
