#!/usr/bin/env python3
"""Writes the default dialog skin of the kit into OUT (the program folder):
OUT/Mardavel.thm (the dialog skin ini, sections "QVDLG", "QVDLG_MsgBox",
"QVDLG_Wait", "QVDLG_About") and OUT/Theme/*.bmp: the active and inactive
backgrounds (60 x 60: nine cells of 20, so the caption band is the top row and
the rounded corners are the corner cells; magenta outside the corners is the
key colour of the frame shape), the caption buttons (strips of four cells:
normal, hover, pressed, disabled) and the dialog button face."""

import os
import sys

sys.dont_write_bytecode = True
from bmp24 import write_bmp  # noqa: E402

KEY = (255, 0, 255)


def mix(a, b, t):
    return tuple(int(a[i] + (b[i] - a[i]) * t) for i in range(3))


def background(caption_top, caption_bottom, border, body):
    def pixel(x, y):
        size = 60
        r = 8   # corner radius
        for cx, cy in ((r, r), (size - 1 - r, r), (r, size - 1 - r), (size - 1 - r, size - 1 - r)):
            inside_corner = (x < r and cx == r or x > size - 1 - r and cx != r) and \
                            (y < r and cy == r or y > size - 1 - r and cy != r)
            if inside_corner and (x - cx) ** 2 + (y - cy) ** 2 > r * r:
                return KEY
        if x < 2 or y < 2 or x > size - 3 or y > size - 3:
            return border
        if y < 20:
            return mix(caption_top, caption_bottom, y / 19.0)
        if x < 4 or x > size - 5 or y > size - 5:
            return border
        return body
    return pixel


def caption_button(glyph):
    faces = [(60, 90, 150), (90, 130, 200), (40, 60, 110), (120, 120, 120)]

    def pixel(x, y):
        cell, cx = divmod(x, 16)
        face = faces[cell]
        if cx == 0 or cx == 15 or y == 0 or y == 13:
            return (20, 30, 60)
        if glyph(cx, y):
            return (255, 255, 255) if cell != 3 else (180, 180, 180)
        return face
    return pixel


def glyph_close(x, y):
    return 3 <= x <= 12 and 3 <= y <= 10 and (abs((x - 3) - (y - 3) * 9 / 7) < 1.2 or abs((12 - x) - (y - 3) * 9 / 7) < 1.2)


def glyph_max(x, y):
    return 4 <= x <= 11 and 3 <= y <= 10 and (x in (4, 11) or y in (3, 4, 10))


def glyph_restore(x, y):
    front = 3 <= x <= 9 and 5 <= y <= 10 and (x in (3, 9) or y in (5, 6, 10))
    back = 6 <= x <= 12 and 3 <= y <= 7 and (x == 12 or y in (3, 4))
    return front or back


def dialog_button(x, y):
    faces = [(70, 110, 180), (100, 150, 220), (50, 80, 140), (130, 130, 130)]
    cell, cx = divmod(x, 72)
    if cx == 0 or cx == 71 or y == 0 or y == 23:
        return (20, 30, 60)
    top = faces[cell]
    return mix(top, (top[0] // 2, top[1] // 2, top[2] // 2), y / 23.0)


def main(argv):
    if len(argv) != 2:
        print("usage: make_dialog_skin.py OUT", file=sys.stderr)
        return 2
    out = argv[1]
    theme = os.path.join(out, "Theme")
    os.makedirs(theme, exist_ok=True)
    write_bmp(os.path.join(theme, "dialogBK.bmp"), 60, 60,
              background((60, 100, 170), (30, 60, 120), (20, 30, 60), (236, 240, 248)))
    write_bmp(os.path.join(theme, "dialogBKNA.bmp"), 60, 60,
              background((120, 130, 150), (90, 100, 120), (60, 60, 70), (236, 238, 242)))
    write_bmp(os.path.join(theme, "titleclose.bmp"), 64, 14, caption_button(glyph_close))
    write_bmp(os.path.join(theme, "titlemax.bmp"), 64, 14, caption_button(glyph_max))
    write_bmp(os.path.join(theme, "titlerestore.bmp"), 64, 14, caption_button(glyph_restore))
    write_bmp(os.path.join(theme, "dlgbutton.bmp"), 288, 24, dialog_button)
    ini = [
        "[QVDLG]",
        "backgrdbmp=dialogBK.bmp",
        "backgrdbmpNA=dialogBKNA.bmp",
        "AnomalyFrame=1",
        "ctrlcolor=236,240,248",
        "ctrltextcolor=0,0,0",
        "BorderWidth=4",
        "CaptionHeight=20",
        "titlecolor=255,255,255",
        "titleclose=titleclose.bmp",
        "titlemax=titlemax.bmp",
        "titlerestore=titlerestore.bmp",
        "SysBtnRight=6",
        "SysBtnTop=3",
        "",
        "[QVDLG_MsgBox]",
        "IDOK=dlgbutton.bmp",
        "IDCANCEL=dlgbutton.bmp",
        "IDYES=dlgbutton.bmp",
        "IDNO=dlgbutton.bmp",
        "IDABORT=dlgbutton.bmp",
        "IDRETRY=dlgbutton.bmp",
        "IDIGNORE=dlgbutton.bmp",
        "",
        "[QVDLG_Wait]",
        "IDCANCEL=dlgbutton.bmp",
        "",
        "[QVDLG_About]",
        "IDOK=dlgbutton.bmp",
        "",
    ]
    with open(os.path.join(out, "Mardavel.thm"), "wb") as f:
        f.write("\r\n".join(ini).encode("ascii"))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
