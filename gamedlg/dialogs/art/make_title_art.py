#!/usr/bin/env python3
"""Draws the set-title dialog's pictures into OUT (a skin folder): title.ini
(section "Title" naming every picture), SetTitleBk.bmp (470 x 380, the
dialog's background with its five row bands), the two radio pictures
(14 x 14), the four category icons (23 x 23) and the four button strips
(four cells side by side: normal, hover, pressed, disabled). Shapes only;
the dialog draws every text itself."""

import os
import sys

sys.dont_write_bytecode = True
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "..", "kit", "art"))
from bmp24 import write_bmp  # noqa: E402

GOLD = (201, 182, 4)
PANEL = (44, 30, 16)
BAND = (62, 44, 24)
EDGE = (120, 90, 40)


def background(x, y):
    if x < 2 or y < 2 or x > 467 or y > 377:
        return EDGE
    if y < 28:
        return (90, 60, 24)
    if 96 <= y < 300 and 24 <= x < 446:
        r = (y - 100) // 40
        inside = 100 + 40 * r <= y < 139 + 40 * r
        return BAND if inside and r % 2 == 0 else (54, 38, 20) if inside else PANEL
    if y in (94, 95) and 24 <= x < 446:
        return GOLD
    return PANEL


def radio(chosen):
    def pixel(x, y):
        d = (x - 6.5) ** 2 + (y - 6.5) ** 2
        if d > 42:
            return PANEL
        if d > 30:
            return GOLD
        return (230, 60, 40) if chosen and d < 12 else (20, 14, 8)
    return pixel


def icon(colour):
    def pixel(x, y):
        if x in (0, 22) or y in (0, 22):
            return GOLD
        # a small pennant
        if 5 <= x <= 17 and 4 <= y <= 18 and (x - 5) <= (18 - y) * 0.9:
            return colour
        return PANEL
    return pixel


def button(cw, ch, shape):
    faces = [(150, 100, 30), (190, 140, 40), (110, 70, 20), (90, 86, 80)]

    def pixel(x, y):
        cell, cx = divmod(x, cw)
        if cx in (0, cw - 1) or y in (0, ch - 1):
            return (60, 40, 10)
        if shape(cx, y, cw, ch):
            return (255, 245, 210) if cell != 3 else (150, 150, 150)
        return faces[cell]
    return pixel


def cross(x, y, w, h):
    u, v = x - w / 2.0, y - h / 2.0
    return abs(u) < 5 and abs(v) < 5 and (abs(u - v) < 1.2 or abs(u + v) < 1.2)


def check(x, y, w, h):
    u, v = x - w / 2.0, y - h / 2.0
    return (-7 <= u <= -1 and abs(v - (u + 4)) < 1.3) or (-1 <= u <= 8 and abs(v - (3 - u)) < 1.3)


def arrow(left):
    def shape(x, y, w, h):
        u, v = (w / 2.0 - x) if left else (x - w / 2.0), y - h / 2.0
        return -4 <= u <= 4 and abs(v) <= (4 - u) * 0.9 + 0.5
    return shape


def draw_pictures(out):
    """Writes the background and the pictures into OUT; the "Title" section's
    entries (key -> file name), in order."""
    os.makedirs(out, exist_ok=True)
    write_bmp(os.path.join(out, "SetTitleBk.bmp"), 470, 380, background)
    entries = {}

    def put(key, name, w, h, pixel):
        write_bmp(os.path.join(out, name), w, h, pixel)
        entries[key] = name

    put("SetTitleDlgRadio1", "title_radio1.bmp", 14, 14, radio(False))
    put("SetTitleDlgRadio2", "title_radio2.bmp", 14, 14, radio(True))
    colours = [(220, 80, 60), (80, 160, 230), (120, 200, 90), (230, 190, 40)]
    for i, colour in enumerate(colours, start=1):
        put("SetTitleDlgTitleIcon%d" % i, "title_icon%d.bmp" % i, 23, 23, icon(colour))
    put("SetTitleDlgCLose", "title_close.bmp", 4 * 20, 20, button(20, 20, cross))
    put("SetTitleDlgOK", "title_ok.bmp", 4 * 64, 26, button(64, 26, check))
    put("SetTitleDlgPre", "title_prev.bmp", 4 * 40, 22, button(40, 22, arrow(True)))
    put("SetTitleDlgNext", "title_next.bmp", 4 * 40, 22, button(40, 22, arrow(False)))
    return entries


def main(argv):
    if len(argv) != 2:
        sys.stderr.write(__doc__)
        return 2
    out = argv[1]
    entries = draw_pictures(out)
    lines = ["[Title]"] + ["%s=%s" % kv for kv in entries.items()] + [""]
    with open(os.path.join(out, "title.ini"), "wb") as f:
        f.write("\r\n".join(lines).encode("ascii"))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
