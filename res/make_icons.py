#!/usr/bin/env python3
"""Draws the library's two icons and writes them as 16-colour .ico files.

    NewDocument.ico  group icon 28000: a blank sheet with a folded corner and a
                     star, 32 x 32
    Welcome.ico      group icon 28001: a house, 32 x 32 and 16 x 16

The pictures are drawn here rather than kept only as binaries so that they can
be changed and reviewed as text. Run it from anywhere:

    python3 res/make_icons.py            write both files next to this script
    python3 res/make_icons.py --check    exit 1 if the files differ from the drawing
    python3 res/make_icons.py --preview  print the images as characters

Only the standard library is used.
"""

import os
import struct
import sys

# The 16-colour palette of Windows (VGA order), as (red, green, blue).
PALETTE = [
    (0x00, 0x00, 0x00), (0x80, 0x00, 0x00), (0x00, 0x80, 0x00), (0x80, 0x80, 0x00),
    (0x00, 0x00, 0x80), (0x80, 0x00, 0x80), (0x00, 0x80, 0x80), (0xC0, 0xC0, 0xC0),
    (0x80, 0x80, 0x80), (0xFF, 0x00, 0x00), (0x00, 0xFF, 0x00), (0xFF, 0xFF, 0x00),
    (0x00, 0x00, 0xFF), (0xFF, 0x00, 0xFF), (0x00, 0xFF, 0xFF), (0xFF, 0xFF, 0xFF),
]
BLACK, MAROON, GREEN, OLIVE, NAVY, PURPLE, TEAL, SILVER = range(8)
GRAY, RED, LIME, YELLOW, BLUE, FUCHSIA, CYAN, WHITE = range(8, 16)
CLEAR = None  # transparent: AND mask bit set, colour index 0

PREVIEW_CHARS = "KmgoNptsGRLYBFCW"


class Canvas:
    """A square picture of palette indexes; None is transparent."""

    def __init__(self, size):
        self.size = size
        self.pixels = [[CLEAR] * size for _ in range(size)]

    def set(self, x, y, colour):
        if 0 <= x < self.size and 0 <= y < self.size:
            self.pixels[y][x] = colour

    def rect(self, x0, y0, x1, y1, fill=None, outline=None):
        """Inclusive corners."""
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                edge = x in (x0, x1) or y in (y0, y1)
                if edge and outline is not None:
                    self.set(x, y, outline)
                elif fill is not None:
                    self.set(x, y, fill)

    def line(self, x0, y0, x1, y1, colour):
        dx, dy = abs(x1 - x0), -abs(y1 - y0)
        sx, sy = (1 if x0 < x1 else -1), (1 if y0 < y1 else -1)
        err = dx + dy
        while True:
            self.set(x0, y0, colour)
            if (x0, y0) == (x1, y1):
                return
            e2 = 2 * err
            if e2 >= dy:
                err += dy
                x0 += sx
            if e2 <= dx:
                err += dx
                y0 += sy

    def polygon(self, points, fill=None, outline=None):
        """Fills the pixels inside (vertices are pixel centres), then strokes the edges."""
        if fill is not None:
            for y in range(self.size):
                for x in range(self.size):
                    if _inside(points, x, y):
                        self.set(x, y, fill)
        if outline is not None:
            for i, (xa, ya) in enumerate(points):
                xb, yb = points[(i + 1) % len(points)]
                self.line(xa, ya, xb, yb, outline)


    def sprite(self, x0, y0, rows):
        """Paints rows of PREVIEW_CHARS letters; '.' leaves the pixel as it is."""
        for dy, row in enumerate(rows):
            for dx, ch in enumerate(row):
                if ch != ".":
                    self.set(x0 + dx, y0 + dy, PREVIEW_CHARS.index(ch))


def _inside(points, px, py):
    result = False
    n = len(points)
    for i in range(n):
        (xa, ya), (xb, yb) = points[i], points[(i + 1) % n]
        if (ya > py) != (yb > py):
            if px < xa + (py - ya) * (xb - xa) / (yb - ya):
                result = not result
    return result


def draw_new_document():
    c = Canvas(32)
    # The sheet with its top right corner folded over.
    sheet = [(6, 1), (19, 1), (26, 8), (26, 30), (6, 30)]
    c.polygon(sheet, fill=WHITE, outline=BLACK)
    c.polygon([(19, 1), (19, 8), (26, 8)], fill=SILVER, outline=BLACK)
    c.line(20, 2, 25, 7, GRAY)
    # A few lines of text, left aligned as in a letter.
    for y, right in ((11, 22), (14, 20), (17, 22), (20, 18), (23, 22), (26, 15)):
        c.line(9, y, right, y, GRAY)
    # The star that marks something new, over the sheet's top left corner.
    c.sprite(1, 0, [
        "....o....",
        "...oYo...",
        "ooooYoooo",
        "oYYYYYYYo",
        ".oYYYYYo.",
        "..oYYYo..",
        ".oYYoYYo.",
        ".oYo.oYo.",
        ".oo...oo.",
    ])
    return c


def draw_house_32():
    c = Canvas(32)
    # Ground.
    c.rect(0, 29, 31, 31, fill=GREEN)
    # Chimney behind the roof.
    c.rect(21, 3, 24, 10, fill=MAROON, outline=BLACK)
    # Walls.
    c.rect(4, 15, 27, 29, fill=WHITE, outline=BLACK)
    # Roof.
    c.polygon([(1, 16), (15, 2), (16, 2), (30, 16)], fill=RED, outline=MAROON)
    # Door with its knob.
    c.rect(14, 19, 17, 29, fill=NAVY, outline=BLACK)
    c.set(16, 25, YELLOW)
    # Two windows with crossbars.
    for x0 in (6, 20):
        c.rect(x0, 18, x0 + 5, 24, fill=CYAN, outline=BLACK)
        c.line(x0, 21, x0 + 5, 21, BLACK)
    return c


def draw_house_16():
    # Too small to draw with lines: painted pixel by pixel.
    c = Canvas(16)
    c.sprite(0, 0, [
        "................",
        ".......mm..KK...",
        "......mRRm.Km...",
        ".....mRRRRmKm...",
        "....mRRRRRRmm...",
        "...mRRRRRRRRm...",
        "..mRRRRRRRRRRm..",
        ".mRRRRRRRRRRRRm.",
        "mmmmmmmmmmmmmmmm",
        ".KWWWWWWWWWWWWK.",
        ".KWCCWWNNWWCCWK.",
        ".KWCCWWNNWWCCWK.",
        ".KWWWWWNNWWWWWK.",
        ".KWWWWWNYWWWWWK.",
        "gKKKKKKKKKKKKKKg",
        "gggggggggggggggg",
    ])
    return c


def _dib(canvas):
    """BITMAPINFOHEADER, palette, 4-bit colour rows and 1-bit mask rows, bottom-up."""
    size = canvas.size
    colour_stride = (size * 4 + 31) // 32 * 4
    mask_stride = (size + 31) // 32 * 4
    colour = bytearray()
    mask = bytearray()
    for row in reversed(canvas.pixels):
        line = bytearray(colour_stride)
        bits = bytearray(mask_stride)
        for x, value in enumerate(row):
            index = 0 if value is None else value
            line[x // 2] |= index << (4 if x % 2 == 0 else 0)
            if value is None:
                bits[x // 8] |= 0x80 >> (x % 8)
        colour += line
        mask += bits
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 4, 0,
                         len(colour) + len(mask), 0, 0, 16, 0)
    palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in PALETTE)
    return header + palette + bytes(colour) + bytes(mask)


def ico_bytes(canvases):
    images = [_dib(c) for c in canvases]
    out = bytearray(struct.pack("<HHH", 0, 1, len(images)))
    offset = 6 + 16 * len(images)
    for canvas, image in zip(canvases, images):
        out += struct.pack("<BBBBHHII", canvas.size, canvas.size, 16, 0, 1, 4,
                           len(image), offset)
        offset += len(image)
    for image in images:
        out += image
    return bytes(out)


ICONS = {
    "NewDocument.ico": lambda: [draw_new_document()],
    "Welcome.ico": lambda: [draw_house_32(), draw_house_16()],
}


def main(argv):
    here = os.path.dirname(os.path.abspath(__file__))
    mode = argv[1] if len(argv) > 1 else ""
    if mode not in ("", "--check", "--preview"):
        print(__doc__.strip(), file=sys.stderr)
        return 2
    stale = []
    for name, draw in ICONS.items():
        canvases = draw()
        if mode == "--preview":
            for c in canvases:
                print(f"{name} {c.size}x{c.size}")
                for row in c.pixels:
                    print("".join("." if v is None else PREVIEW_CHARS[v] for v in row))
            continue
        path = os.path.join(here, name)
        data = ico_bytes(canvases)
        if mode == "--check":
            try:
                with open(path, "rb") as f:
                    if f.read() != data:
                        stale.append(name)
            except OSError:
                stale.append(name)
        else:
            with open(path, "wb") as f:
                f.write(data)
    if stale:
        print("out of date: " + ", ".join(stale), file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
