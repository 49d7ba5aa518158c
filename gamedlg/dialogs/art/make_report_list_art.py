#!/usr/bin/env python3
"""Draws the skinned report list's pictures (bitmap resources 8020-8032 of the
resource library) into OUT as report_<id>.bmp, 24-bit:

8020 header strip 1 x 20          8021 first column's face 80 x 20
8022 column divider 2 x 20        8023 / 8024 left / right arrow strips 52 x 13
8025 horizontal track 1 x 13      8026 horizontal thumb strip 27 x 9
8027 cap over the header row 13 x 18
8028 / 8030 up / down arrow strips 52 x 13
8029 vertical track 12 x 1        8031 spare 13 x 13 (not drawn)
8032 vertical thumb strip 27 x 45

Arrow strips hold four frames of 13 (normal, hover, pressed, disabled), thumb
strips three frames of 9 (normal, hover or dragged, pressed). Everything is in
the table's dark greens; the tests read the colours back from the pictures."""

import os
import sys

sys.dont_write_bytecode = True
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "..", "kit", "art"))
from bmp24 import write_bmp  # noqa: E402

DARK = (10, 40, 26)
MID = (26, 82, 52)
LIGHT = (60, 140, 90)
EDGE = (4, 20, 12)
ARROW_FACES = [(30, 96, 60), (50, 130, 84), (16, 60, 36), (70, 80, 74)]
ARROW_INK = [(200, 236, 210), (255, 255, 255), (170, 210, 180), (120, 128, 122)]
THUMB_FACES = [(44, 120, 78), (70, 160, 104), (28, 90, 56)]


def mix(a, b, t):
    return tuple(int(a[i] + (b[i] - a[i]) * t) for i in range(3))


def arrow_strip(direction):
    """Four 13 x 13 frames; the triangle points up, down, left or right."""
    def pixel(x, y):
        frame, fx = divmod(x, 13)
        if fx == 0 or fx == 12 or y == 0 or y == 12:
            return EDGE
        # the triangle in frame coordinates: u runs from its tip, v across
        if direction in ("up", "down"):
            u, v = (y if direction == "up" else 12 - y), fx
        else:
            u, v = (fx if direction == "left" else 12 - fx), y
        if 4 <= u <= 8 and abs(v - 6) <= (u - 4):
            return ARROW_INK[frame]
        return ARROW_FACES[frame]
    return pixel


def thumb_strip(frame_w, frame_h):
    def pixel(x, y):
        frame, fx = divmod(x, frame_w)
        if fx == 0 or fx == frame_w - 1 or y == 0 or y == frame_h - 1:
            return EDGE
        return THUMB_FACES[frame]
    return pixel


def main(argv):
    if len(argv) != 2:
        sys.stderr.write(__doc__)
        return 2
    out = argv[1]
    os.makedirs(out, exist_ok=True)

    def put(number, w, h, pixel):
        write_bmp(os.path.join(out, "report_%d.bmp" % number), w, h, pixel)

    put(8020, 1, 20, lambda x, y: mix(LIGHT, DARK, y / 19.0))
    put(8021, 80, 20, lambda x, y: EDGE if y in (0, 19) else mix((90, 170, 110), MID, y / 19.0))
    put(8022, 2, 20, lambda x, y: EDGE if x == 0 else LIGHT)
    put(8023, 52, 13, arrow_strip("left"))
    put(8024, 52, 13, arrow_strip("right"))
    put(8025, 1, 13, lambda x, y: EDGE if y in (0, 12) else DARK)
    put(8026, 27, 9, thumb_strip(9, 9))
    put(8027, 13, 18, lambda x, y: EDGE if x == 0 else mix(LIGHT, DARK, y / 17.0))
    put(8028, 52, 13, arrow_strip("up"))
    put(8029, 12, 1, lambda x, y: EDGE if x in (0, 11) else DARK)
    put(8030, 52, 13, arrow_strip("down"))
    put(8031, 13, 13, lambda x, y: DARK)
    put(8032, 27, 45, thumb_strip(9, 45))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
