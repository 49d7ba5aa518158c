#!/usr/bin/env python3
"""Writes the ten frame pictures of the web notice popup as GIF files into
OUT, named popup_frame_0.gif .. popup_frame_9.gif in the order of their
resource ids 29664..29673: top-left corner, top edge, top-right corner, left
edge, right edge, bottom-left corner, bottom edge, bottom-right corner,
background, close button (a strip of four 16 x 16 cells: normal, hover,
pressed, disabled).

Sizes: the top edge is 30 high (the caption band), the left and right edges
6 wide, the bottom edge 6 high; the top corners are 10 x 30, the bottom
corners 10 x 10. Outside the rounded outer corners (radius 6) the corners
are magenta, the key colour of the window's shape.

The GIFs hold one image with a full 256-entry colour table and use no real
compression: a clear code before every 254 pixels keeps the codes 9 bits
wide, which every GIF decoder reads."""

import os
import sys

KEY = (255, 0, 255)
OUTLINE = (30, 60, 110)
CAPTION_TOP = (90, 150, 215)
CAPTION_BOTTOM = (40, 90, 160)
EDGE = (40, 90, 160)
BODY = (245, 248, 252)
RADIUS = 6


def gif_bytes(w, h, pixel):
    colours = []
    index = {}
    pixels = []
    for y in range(h):
        for x in range(w):
            c = pixel(x, y)
            if c not in index:
                index[c] = len(colours)
                colours.append(c)
            pixels.append(index[c])
    assert len(colours) <= 256
    table = b"".join(bytes(c) for c in colours) + b"\0" * (3 * (256 - len(colours)))
    out = bytearray(b"GIF89a")
    out += w.to_bytes(2, "little") + h.to_bytes(2, "little") + bytes((0xF7, 0, 0)) + table
    out += b"," + (0).to_bytes(2, "little") * 2 + w.to_bytes(2, "little") + h.to_bytes(2, "little") + b"\0"
    out += b"\x08"   # LZW minimum code size
    # 9-bit codes, packed least significant bit first.
    codes = []
    for i, p in enumerate(pixels):
        if i % 254 == 0:
            codes.append(256)   # clear
        codes.append(p)
    codes.append(257)   # end of information
    bits = 0
    nbits = 0
    data = bytearray()
    for code in codes:
        bits |= code << nbits
        nbits += 9
        while nbits >= 8:
            data.append(bits & 0xFF)
            bits >>= 8
            nbits -= 8
    if nbits:
        data.append(bits & 0xFF)
    for i in range(0, len(data), 255):
        block = data[i:i + 255]
        out += bytes((len(block),)) + block
    out += b"\0;"
    return bytes(out)


def mix(a, b, t):
    return tuple(int(a[i] + (b[i] - a[i]) * t) for i in range(3))


def top_band(y):
    if y == 0:
        return OUTLINE
    return mix(CAPTION_TOP, CAPTION_BOTTOM, (y - 1) / 28.0)


def corner(w, h, right, bottom):
    """A corner picture; (right, bottom) say which outer corner is rounded."""
    def pixel(x, y):
        cx = w - 1 - x if right else x
        cy = h - 1 - y if bottom else y
        if cx < RADIUS and cy < RADIUS:
            dx, dy = RADIUS - cx - 0.5, RADIUS - cy - 0.5
            d2 = dx * dx + dy * dy
            if d2 > RADIUS * RADIUS:
                return KEY
            if d2 > (RADIUS - 1) * (RADIUS - 1):
                return OUTLINE
        if cx == 0 or cy == 0:
            return OUTLINE
        if not bottom:
            return top_band(y)
        return EDGE
    return pixel


def close_strip(x, y):
    cell, cx = divmod(x, 16)
    face = [(200, 60, 60), (235, 90, 90), (150, 30, 30), (160, 160, 160)][cell]
    if 1 <= cx <= 14 and 1 <= y <= 14 and (cx == y or cx == 15 - y or cx == y + 1 or cx + 1 == 15 - y) \
            and 4 <= cx <= 11 and 4 <= y <= 11:
        return (255, 255, 255)
    if cx == 0 or y == 0 or cx == 15 or y == 15:
        return OUTLINE
    return face


PARTS = [
    (10, 30, corner(10, 30, False, False)),
    (1, 30, lambda x, y: top_band(y)),
    (10, 30, corner(10, 30, True, False)),
    (6, 1, lambda x, y: OUTLINE if x == 0 else EDGE),
    (6, 1, lambda x, y: OUTLINE if x == 5 else EDGE),
    (10, 10, corner(10, 10, False, True)),
    (1, 6, lambda x, y: OUTLINE if y == 5 else EDGE),
    (10, 10, corner(10, 10, True, True)),
    (8, 8, lambda x, y: BODY),
    (64, 16, close_strip),
]


def main():
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    for i, (w, h, pixel) in enumerate(PARTS):
        with open(os.path.join(out, "popup_frame_%d.gif" % i), "wb") as f:
            f.write(gif_bytes(w, h, pixel))


if __name__ == "__main__":
    main()
