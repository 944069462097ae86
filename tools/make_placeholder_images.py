#!/usr/bin/env python3
"""Writes placeholder pictures for every packed image id to resources/images/<id>.png.

They stand in until the real artwork is drawn: each has the size its screen loads, and a look
close enough to real pictures (gradients, flat panels, shapes, a little grain, cyan where sprites
and buttons are transparent) that the packed sizes and decoding speeds measured on them mean
something. Standard library only; the output is the same on every run.

    tools/make_placeholder_images.py [OUTPUT_DIR]
"""

import math
import os
import struct
import sys
import zlib

CYAN = (0, 255, 255)
BLUE = (0, 0, 255)
WHITE = (255, 255, 255)
BLACK = (0, 0, 0)

# id: (width, height, kind)
IMAGES = {
    266: (130, 22, "banner"),
    279: (240, 268, "background"),
    287: (240, 268, "logo"),
    290: (240, 268, "background"),
    294: (234, 239, "frame"),
    296: (192, 96, "sprites"),
    309: (240, 268, "mirror"),
    311: (240, 268, "background"),
    314: (100, 14, "bars"),
    322: (240, 268, "background"),
    325: (14, 14, "icon"),
    326: (14, 14, "icon"),
    329: (70, 17, "switch"),
    331: (70, 17, "switch"),
    334: (70, 221, "tiles"),
    337: (240, 268, "background"),
    338: (14, 240, "strip"),
    339: (14, 240, "strip"),
    340: (20, 268, "scale"),
    341: (8, 131, "bar"),
    342: (8, 159, "bar"),
    343: (36, 36, "icon"),
    345: (80, 16, "icons"),
    346: (28, 14, "arrows"),
    349: (6, 200, "bar"),
}


class Rng:
    """A small linear congruential generator, so the pictures never change between runs."""

    def __init__(self, seed):
        self.state = (seed * 2654435761 + 12345) & 0xFFFFFFFF

    def next(self, n):
        self.state = (self.state * 1103515245 + 12345) & 0x7FFFFFFF
        return (self.state >> 8) % n


class Canvas:
    def __init__(self, width, height, colour):
        self.width = width
        self.height = height
        self.rows = [[colour] * width for _ in range(height)]

    def put(self, x, y, colour):
        if 0 <= x < self.width and 0 <= y < self.height:
            self.rows[y][x] = colour

    def rect(self, x0, y0, x1, y1, colour):
        for y in range(max(0, y0), min(self.height, y1)):
            row = self.rows[y]
            for x in range(max(0, x0), min(self.width, x1)):
                row[x] = colour

    def rounded_rect(self, x0, y0, x1, y1, r, colour):
        for y in range(max(0, y0), min(self.height, y1)):
            for x in range(max(0, x0), min(self.width, x1)):
                dx = max(x0 + r - x - 0.5, 0, x - (x1 - r) + 0.5)
                dy = max(y0 + r - y - 0.5, 0, y - (y1 - r) + 0.5)
                if dx * dx + dy * dy <= r * r:
                    self.rows[y][x] = colour

    def circle(self, cx, cy, r, colour):
        for y in range(max(0, int(cy - r)), min(self.height, int(cy + r) + 1)):
            for x in range(max(0, int(cx - r)), min(self.width, int(cx + r) + 1)):
                if (x - cx) ** 2 + (y - cy) ** 2 <= r * r:
                    self.rows[y][x] = colour

    def ring(self, cx, cy, r, thickness, colour):
        for y in range(max(0, int(cy - r)), min(self.height, int(cy + r) + 1)):
            for x in range(max(0, int(cx - r)), min(self.width, int(cx + r) + 1)):
                d = math.hypot(x - cx, y - cy)
                if r - thickness <= d <= r:
                    self.rows[y][x] = colour

    def triangle(self, points, colour):
        (ax, ay), (bx, by), (cx, cy) = points
        area = (bx - ax) * (cy - ay) - (by - ay) * (cx - ax)
        if area == 0:
            return
        for y in range(max(0, min(ay, by, cy)), min(self.height, max(ay, by, cy) + 1)):
            for x in range(max(0, min(ax, bx, cx)), min(self.width, max(ax, bx, cx) + 1)):
                w0 = (bx - x) * (cy - y) - (by - y) * (cx - x)
                w1 = (cx - x) * (ay - y) - (cy - y) * (ax - x)
                w2 = (ax - x) * (by - y) - (ay - y) * (bx - x)
                if (w0 >= 0 and w1 >= 0 and w2 >= 0) or (w0 <= 0 and w1 <= 0 and w2 <= 0):
                    self.rows[y][x] = colour

    def vertical_gradient(self, x0, y0, x1, y1, top, bottom):
        span = max(1, y1 - y0 - 1)
        for y in range(max(0, y0), min(self.height, y1)):
            t = (y - y0) / span
            colour = mix(top, bottom, t)
            row = self.rows[y]
            for x in range(max(0, x0), min(self.width, x1)):
                row[x] = colour

    def grain(self, x0, y0, x1, y1, rng, amount):
        """Adds a faint texture: a few pixels nudged lighter or darker."""
        for y in range(max(0, y0), min(self.height, y1)):
            row = self.rows[y]
            for x in range(max(0, x0), min(self.width, x1)):
                if rng.next(5) == 0:
                    d = rng.next(2 * amount + 1) - amount
                    row[x] = tuple(max(0, min(255, c + d)) for c in row[x])


def mix(a, b, t):
    return tuple(int(round(a[i] + (b[i] - a[i]) * t)) for i in range(3))


def palette(seed):
    """A soft colour pair per picture, so the backgrounds differ from one another."""
    hues = [
        ((250, 214, 230), (196, 120, 170)),
        ((226, 214, 250), (140, 120, 200)),
        ((214, 236, 250), (110, 160, 210)),
        ((250, 232, 210), (210, 150, 110)),
        ((220, 246, 226), (120, 190, 140)),
    ]
    return hues[seed % len(hues)]


def background(c, ident, rng):
    top, bottom = palette(ident)
    c.vertical_gradient(0, 0, c.width, c.height, top, bottom)
    # The title bar the screens' blue title static sits on.
    c.rect(0, 0, c.width, 22, BLUE)
    # A light panel for the controls, and two cyan button places.
    c.rounded_rect(10, 34, c.width - 10, 190, 9, mix(WHITE, top, 0.35))
    c.grain(10, 34, c.width - 10, 190, rng, 3)
    c.rounded_rect(14, 204, 114, 226, 5, CYAN)
    c.rounded_rect(126, 204, 226, 226, 5, CYAN)
    # Decoration: a few discs and rings near the bottom.
    for i in range(5):
        x = 20 + i * 48 + rng.next(10)
        y = 246 + rng.next(10)
        c.circle(x, y, 6 + rng.next(6), mix(bottom, WHITE, 0.3 + 0.1 * i))
        c.ring(x + 12, y - 4, 9, 2, mix(bottom, BLACK, 0.2))
    c.grain(0, 22, c.width, c.height, rng, 2)


def logo(c, ident, rng):
    top, bottom = palette(ident)
    c.vertical_gradient(0, 0, c.width, c.height, bottom, top)
    cx, cy = c.width // 2, c.height // 2 - 10
    for k in range(8):
        a = k * math.pi / 4
        c.circle(cx + 44 * math.cos(a), cy + 44 * math.sin(a), 26, mix(WHITE, top, k / 10))
    c.circle(cx, cy, 30, (230, 90, 140))
    c.ring(cx, cy, 98, 4, WHITE)
    c.rect(40, 222, 200, 236, WHITE)
    c.grain(0, 0, c.width, c.height, rng, 2)


def mirror(c, ident, rng):
    # A soft oval reflection over a steel-grey gradient.
    c.vertical_gradient(0, 0, c.width, c.height, (200, 205, 215), (120, 125, 140))
    for y in range(c.height):
        for x in range(c.width):
            dx = (x - c.width / 2) / 100
            dy = (y - c.height / 2) / 120
            if dx * dx + dy * dy <= 1:
                t = 0.5 + 0.5 * (x - y) / (c.width + c.height)
                c.rows[y][x] = mix((235, 240, 248), (180, 190, 205), t)
    c.grain(0, 0, c.width, c.height, rng, 2)


def frame(c, ident, rng):
    top, bottom = palette(ident)
    c.rect(0, 0, c.width, c.height, mix(bottom, BLACK, 0.3))
    c.rect(4, 4, c.width - 4, c.height - 4, mix(top, WHITE, 0.5))
    for i in range(1, 7):  # the calendar's grid
        c.rect(4, 4 + i * 33, c.width - 4, 5 + i * 33, mix(bottom, WHITE, 0.4))
        c.rect(4 + i * 32, 4, 5 + i * 32, c.height - 4, mix(bottom, WHITE, 0.4))
    c.grain(4, 4, c.width - 4, c.height - 4, rng, 2)


def sprites(c, ident, rng):
    # 18 sprites of 32 x 32 in three rows of six on cyan.
    for i in range(18):
        x, y = (i % 6) * 32, (i // 6) * 32
        r = 4 + (i % 9) * 1.3
        colour = mix((240, 80, 120), (250, 220, 90), i / 17)
        c.circle(x + 16, y + 16, r, colour)
        c.circle(x + 16 - r / 3, y + 16 - r / 3, max(1, r / 4), WHITE)


def small_icon(c, ident, rng):
    c.circle((c.width - 1) / 2, (c.height - 1) / 2, c.width / 2 - 1, (220, 60, 110))
    c.circle((c.width - 1) / 2 - c.width / 6, (c.height - 1) / 2 - c.height / 6, c.width / 7,
             WHITE)
    if ident % 2:
        c.ring((c.width - 1) / 2, (c.height - 1) / 2, c.width / 2, 1, BLACK)


def icons(c, ident, rng):
    for i in range(c.width // 16):
        colour = mix((230, 60, 110), (60, 120, 230), i / 4)
        c.rounded_rect(i * 16 + 1, 1, i * 16 + 15, 15, 3 + i % 2, colour)
        c.circle(i * 16 + 7.5, 7.5, 2 + i % 3, WHITE)


def arrows(c, ident, rng):
    c.triangle([(11, 1), (11, 12), (2, 6)], BLUE)
    c.triangle([(16, 1), (16, 12), (25, 6)], BLUE)


def switch(c, ident, rng):
    c.rounded_rect(0, 0, c.width, c.height, 8, mix(BLUE, WHITE, 0.2 if ident % 2 else 0.5))
    knob = 8 if ident % 2 else c.width - 9
    c.circle(knob, c.height // 2, 6, WHITE)


def banner(c, ident, rng):
    c.rounded_rect(0, 0, c.width, c.height, 10, (230, 90, 140))
    c.vertical_gradient(8, 4, c.width - 8, 8, (250, 170, 200), (230, 90, 140))
    for i in range(6):
        c.circle(16 + i * 20, 11, 4, WHITE)


def tiles(c, ident, rng):
    # Thirteen 70 x 17 tiles, normal and highlighted looks alternating.
    for i in range(13):
        y = i * 17
        colour = (250, 250, 250) if i % 2 == 0 else (255, 220, 120)
        c.rounded_rect(1, y + 1, c.width - 1, y + 16, 4, colour)
        c.rect(8, y + 7, 8 + 4 * (i + 1), y + 10, mix(BLUE, BLACK, 0.3))


def strip(c, ident, rng):
    top, bottom = palette(ident)
    c.vertical_gradient(0, 0, c.width, c.height, top, bottom)
    for y in range(0, c.height, 20):
        c.rect(2, y, c.width - 2, y + 2, mix(bottom, BLACK, 0.3))
    c.grain(0, 0, c.width, c.height, rng, 3)


def scale(c, ident, rng):
    c.vertical_gradient(0, 0, c.width, c.height, (255, 245, 250), (240, 200, 220))
    for y in range(0, c.height, 10):
        c.rect(0, y, 6 if y % 50 else 14, y + 1, BLACK)


def bars(c, ident, rng):
    for i in range(20):
        h = 2 + (i * 12) // 19
        c.rect(i * 5, c.height - h, i * 5 + 4, c.height, mix((120, 200, 140), (230, 90, 140), i / 19))


def bar(c, ident, rng):
    c.vertical_gradient(0, 0, c.width, c.height, (240, 90, 140), (140, 40, 90))
    c.rect(0, 0, 1, c.height, WHITE)


DRAW = {
    "background": background,
    "logo": logo,
    "mirror": mirror,
    "frame": frame,
    "sprites": sprites,
    "icon": small_icon,
    "icons": icons,
    "arrows": arrows,
    "switch": switch,
    "banner": banner,
    "tiles": tiles,
    "strip": strip,
    "scale": scale,
    "bars": bars,
    "bar": bar,
}
TRANSPARENT_KINDS = {"sprites", "icon", "icons", "arrows", "switch", "banner", "tiles", "bars"}


def png_bytes(canvas):
    raw = bytearray()
    for row in canvas.rows:
        raw.append(0)  # filter: none
        for r, g, b in row:
            raw += bytes((r, g, b))

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))

    header = struct.pack(">IIBBBBB", canvas.width, canvas.height, 8, 2, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) +
            chunk(b"IDAT", zlib.compress(bytes(raw), 9)) + chunk(b"IEND", b""))


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    out_dir = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "..", "resources", "images")
    os.makedirs(out_dir, exist_ok=True)
    for ident, (width, height, kind) in sorted(IMAGES.items()):
        canvas = Canvas(width, height, CYAN if kind in TRANSPARENT_KINDS else WHITE)
        DRAW[kind](canvas, ident, Rng(ident))
        with open(os.path.join(out_dir, f"{ident}.png"), "wb") as f:
            f.write(png_bytes(canvas))
    print(f"wrote {len(IMAGES)} images to {os.path.normpath(out_dir)}")


if __name__ == "__main__":
    main()
