#!/usr/bin/env python3
"""The default owner-draw theme: the theme ini and every picture it names.

Usage: make_default_theme.py OUT_DIR [GAME_NAME]

Writes
  OUT_DIR/odctrls/<GAME_NAME>_skn.ini   the theme ini (GAME_NAME: Mardavel)
  OUT_DIR/kelvarin/Kelvarin.rc          the resource script of the theme's
                                        resource library "Kelvarin.dll"
  OUT_DIR/kelvarin/*.bmp, *.gif, *.cur  the pictures and the cursor it names

The pictures are drawn here from the colours in PALETTE, so the art is
reproducible; tests read the colours back from this table's comments in the
ini. Transparent pixels are magenta (255, 0, 255). Image ids ("QVImage"
resources), the cursor id and the dialog template ids are in IDS; a control
family that needs more art adds its images to IMAGES and its keys to
SECTIONS.
"""

import os
import struct
import sys

MAGENTA = (255, 0, 255)

PALETTE = {
    "frame_dark": (40, 70, 120),
    "frame_mid": (90, 130, 190),
    "frame_light": (200, 220, 245),
    "gold": (230, 180, 40),
    "bar_start": (60, 150, 60),
    "bar_end": (150, 220, 120),
    "block_face": (120, 170, 230),
    "block_face_hi": (250, 200, 60),
    "block_edge": (30, 60, 110),
    "button_face": (210, 225, 245),
    "button_hot": (235, 240, 255),
    "button_down": (170, 195, 230),
    "button_off": (190, 190, 190),
    "static_bk": (245, 240, 225),
    "static_bk_dot": (230, 220, 190),
    "client_start": (235, 240, 250),
    "client_end": (200, 215, 240),
}

# ---- Picture writers --------------------------------------------------------


def bmp24(pixels):
    """A 24-bit .bmp of rows of (r, g, b) tuples, top row first."""
    h = len(pixels)
    w = len(pixels[0])
    stride = (w * 3 + 3) & ~3
    data = bytearray()
    for row in reversed(pixels):
        line = bytearray()
        for r, g, b in row:
            line += bytes((b, g, r))
        line += b"\0" * (stride - len(line))
        data += line
    header = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    file_header = struct.pack("<2sIHHI", b"BM", 14 + 40 + len(data), 0, 0, 14 + 40)
    return file_header + header + bytes(data)


def gif(frames, delays, size, colours, transparent=None):
    """A GIF89a of frames (rows of colour indexes, full logical screen each).

    Each pixel is sent after its own clear code, so the code width never
    grows (a valid, if not small, LZW stream)."""
    w, h = size
    table = list(colours) + [(0, 0, 0)] * (256 - len(colours))
    bits = 8
    out = bytearray(b"GIF89a")
    out += struct.pack("<HHBBB", w, h, 0x80 | 0x70 | (bits - 1), 0, 0)
    for c in table[: 1 << bits]:
        out += bytes(c)
    if len(frames) > 1:
        out += b"\x21\xff\x0bNETSCAPE2.0\x03\x01\x00\x00\x00"
    for frame, delay in zip(frames, delays):
        packed = 0x01 if transparent is not None else 0
        out += struct.pack("<BBBBHBB", 0x21, 0xF9, 4, packed | (1 << 2), delay // 10,
                           transparent or 0, 0)
        out += struct.pack("<BHHHHB", 0x2C, 0, 0, w, h, 0)
        code_size = bits
        clear, end = 1 << code_size, (1 << code_size) + 1
        width = code_size + 1
        acc, nacc, packed_bytes = 0, 0, bytearray()

        def put(code):
            nonlocal acc, nacc
            acc |= code << nacc
            nacc += width
            while nacc >= 8:
                packed_bytes.append(acc & 0xFF)
                acc >>= 8
                nacc -= 8

        for row in frame:
            for index in row:
                put(clear)
                put(index)
        put(end)
        if nacc:
            packed_bytes.append(acc & 0xFF)
        out.append(code_size)
        for i in range(0, len(packed_bytes), 255):
            chunk = packed_bytes[i:i + 255]
            out.append(len(chunk))
            out += chunk
        out.append(0)
    out.append(0x3B)
    return bytes(out)


def cursor(shape, hotspot):
    """A monochrome 32 x 32 .cur: shape rows of ' ' (transparent), '#' (black), '.' (white)."""
    w = h = 32
    xor_rows, and_rows = [], []
    for y in range(h):
        row = shape[y] if y < len(shape) else ""
        xor, andm = 0, 0
        for x in range(w):
            c = row[x] if x < len(row) else " "
            bit = 1 << (31 - x)
            if c == " ":
                andm |= bit
            elif c == ".":
                xor |= bit
        xor_rows.append(struct.pack(">I", xor))
        and_rows.append(struct.pack(">I", andm))
    image = struct.pack("<IiiHHIIiiII", 40, w, h * 2, 1, 1, 0, 0, 0, 0, 2, 0)
    image += bytes((0, 0, 0, 0, 255, 255, 255, 0))
    image += b"".join(reversed(xor_rows)) + b"".join(reversed(and_rows))
    directory = struct.pack("<HHH", 0, 2, 1)
    directory += struct.pack("<BBBBHHII", w, h, 0, 0, hotspot[0], hotspot[1], len(image), 6 + 16)
    return directory + image


# ---- Pictures -------------------------------------------------------------


def solid(w, h, c):
    return [[c] * w for _ in range(h)]


def stripes(w, h, colours, vertical):
    """Bands of colours across the thin side (edges of the frame)."""
    rows = []
    for y in range(h):
        row = []
        for x in range(w):
            i = x if vertical else y
            row.append(colours[min(i, len(colours) - 1)])
        rows.append(row)
    return rows


def corner(size, colours, flip_x, flip_y):
    """A rounded corner: magenta outside a quarter circle, bands inside."""
    rows = []
    for y in range(size):
        row = []
        for x in range(size):
            cx = size - 1 - x if flip_x else x
            cy = size - 1 - y if flip_y else y
            # distance from the corner's inner centre (size - 1, size - 1)
            dx, dy = size - 1 - cx, size - 1 - cy
            d = (dx * dx + dy * dy) ** 0.5
            if d > size - 0.5:
                row.append(MAGENTA)
            else:
                ring = int(size - d)
                row.append(colours[min(ring, len(colours) - 1)] if ring < len(colours) else colours[-1])
        rows.append(row)
    return rows


def gradient(w, h, c1, c2, vertical):
    rows = []
    for y in range(h):
        row = []
        for x in range(w):
            t = (y / max(h - 1, 1)) if vertical else (x / max(w - 1, 1))
            row.append(tuple(int(round(a + (b - a) * t)) for a, b in zip(c1, c2)))
        rows.append(row)
    return rows


def cells(cell_list):
    """Cells of equal size side by side."""
    h = len(cell_list[0])
    return [sum((c[y] for c in cell_list), []) for y in range(h)]


def block_cell(w, h, face, edge):
    rows = solid(w, h, face)
    for x in range(w):
        rows[0][x] = rows[h - 1][x] = edge
    for y in range(h):
        rows[y][0] = rows[y][w - 1] = edge
    return rows


def button_cell(w, h, face, edge, down=False):
    rows = gradient(w, h, PALETTE["frame_light"], face, True)
    for x in range(w):
        rows[0][x] = edge if not down else PALETTE["frame_dark"]
        rows[h - 1][x] = edge
    for y in range(h):
        rows[y][0] = edge if not down else PALETTE["frame_dark"]
        rows[y][w - 1] = edge
    # rounded corners: the four corner pixels are transparent
    for x, y in ((0, 0), (w - 1, 0), (0, h - 1), (w - 1, h - 1)):
        rows[y][x] = MAGENTA
    return rows


def check_cell(size, checked, radio):
    """A check box or radio button; the top-left pixel is magenta (the key)."""
    rows = solid(size, size, MAGENTA)
    c = (size - 1) / 2
    for y in range(size):
        for x in range(size):
            if radio:
                d2 = (x - c) ** 2 + (y - c) ** 2
                if d2 > (c - 0.5) ** 2:
                    continue
                border = d2 > (c - 1.5) ** 2
            else:
                if x in (0, size - 1) or y in (0, size - 1):
                    continue  # a transparent ring around the box
                border = x in (1, size - 2) or y in (1, size - 2)
            rows[y][x] = PALETTE["frame_dark"] if border else (255, 255, 255)
    if checked:
        for y in range(size):
            for x in range(size):
                if 3 <= x <= size - 4 and 3 <= y <= size - 4:
                    rows[y][x] = PALETTE["gold"]
    return rows


FRAME_BANDS = [PALETTE["frame_dark"], PALETTE["frame_mid"], PALETTE["frame_light"], PALETTE["frame_mid"]]

# id: (file name, type, bytes)
IDS = {
    "frame_left": 100, "frame_right": 101, "frame_top": 102, "frame_bottom": 103,
    "frame_lt": 104, "frame_rt": 105, "frame_lb": 106, "frame_rb": 107,
    "bar": 110, "vbar": 111, "grow": 112, "vgrow": 113,
    "block_v": 114, "block_h": 115, "progress_bk": 116, "vprogress_bk": 117,
    "btn_out": 120, "btn_in": 121, "btn_checked": 122, "btn_unchecked": 123,
    "btn_radioed": 124, "btn_unradioed": 125, "btn_face_out": 126, "btn_face_in": 127,
    "drop_in": 130, "drop_out": 131,
    "static_bk": 140, "client_bk": 150, "busy": 160,
    "icon_warning": 161, "icon_information": 162, "icon_question": 163, "icon_stop": 164,
    "scroll_strip": 170, "header_bk": 171,
    "cursor_hand": 200,
    "dlg_wait": 2001, "dlg_msg": 2002,
}


SCROLL_CELL = 13
SCROLL_ROWS = [  # (face, edge, mark) of the normal, hot and pressed rows
    ("button_face", "frame_mid", "frame_dark"),
    ("button_hot", "gold", "frame_dark"),
    ("button_down", "frame_dark", "gold"),
]


def scroll_strip():
    """The skinned scroll bars' strip: 9 cells of 13 across, 3 rows.

    Columns: up arrow, down arrow, vertical thumb, vertical track, left arrow,
    right arrow, horizontal thumb, horizontal track, size box (the right-hand
    grip in row 0, the left-hand one in row 1)."""
    n = SCROLL_CELL
    rows = solid(9 * n, 3 * n, PALETTE["frame_light"])
    for r, (face, edge, mark) in enumerate(SCROLL_ROWS):
        face, edge, mark = PALETTE[face], PALETTE[edge], PALETTE[mark]
        top = r * n
        for col in range(8):
            x0 = col * n
            track = col in (3, 7)
            for y in range(n):
                for x in range(n):
                    if track:
                        # Track: light with a darker groove along the bar.
                        along = x if col == 3 else y
                        c = PALETTE["frame_mid"] if along in (5, 6, 7) else PALETTE["frame_light"]
                    else:
                        c = edge if x in (0, n - 1) or y in (0, n - 1) else face
                    rows[top + y][x0 + x] = c
            # Arrow marks: a small triangle pointing up, down, left or right.
            if col in (0, 1, 4, 5):
                for i in range(4):
                    for j in range(-i, i + 1):
                        a, b = 4 + i, 6 + j
                        x, y = {0: (b, a), 1: (b, n - 1 - a), 4: (a, b), 5: (n - 1 - a, b)}[col]
                        rows[top + y][x0 + x] = mark
            # Thumb grips: three short lines across the middle slice.
            if col in (2, 6):
                for k in (4, 6, 8):
                    for t in range(3, n - 3):
                        x, y = (t, k) if col == 2 else (k, t)
                        rows[top + y][x0 + x] = mark
    # Size boxes: dots along the diagonal towards the outer corner.
    x0 = 8 * n
    for r, mirror in ((0, False), (1, True)):
        for y in range(n):
            for x in range(n):
                rows[r * n + y][x0 + x] = PALETTE["button_face"]
        for d in (3, 6, 9):
            for k in range(0, d, 3):
                x, y = n - 2 - k, n - 2 - (d - k)
                if mirror:
                    x = n - 1 - x
                if 0 <= y < n:
                    rows[r * n + y][x0 + x] = PALETTE["frame_dark"]
    return rows


def images():
    """(name, resource type, file name, bytes) of every picture."""
    out = []

    def add(name, data, ext="bmp", rtype="QVIMAGE"):
        out.append((name, rtype, "%s.%s" % (name, ext), data))

    add("frame_left", bmp24(stripes(4, 8, FRAME_BANDS, True)))
    add("frame_right", bmp24(stripes(4, 8, list(reversed(FRAME_BANDS)), True)))
    add("frame_top", bmp24(stripes(8, 4, FRAME_BANDS, False)))
    add("frame_bottom", bmp24(stripes(8, 4, list(reversed(FRAME_BANDS)), False)))
    add("frame_lt", bmp24(corner(8, FRAME_BANDS, False, False)))
    add("frame_rt", bmp24(corner(8, FRAME_BANDS, True, False)))
    add("frame_lb", bmp24(corner(8, FRAME_BANDS, False, True)))
    add("frame_rb", bmp24(corner(8, FRAME_BANDS, True, True)))
    add("bar", bmp24(gradient(32, 14, PALETTE["bar_start"], PALETTE["bar_end"], True)))
    add("vbar", bmp24(gradient(14, 32, PALETTE["bar_start"], PALETTE["bar_end"], False)))
    add("grow", bmp24(gradient(16, 14, PALETTE["bar_end"], PALETTE["bar_start"], False)))
    add("vgrow", bmp24(gradient(14, 16, PALETTE["bar_end"], PALETTE["bar_start"], True)))
    # Block cells: state 0 plain, state 1 the leading block.
    add("block_v", bmp24(cells([block_cell(12, 8, PALETTE["block_face"], PALETTE["block_edge"]),
                                block_cell(12, 8, PALETTE["block_face_hi"], PALETTE["block_edge"])])))
    add("block_h", bmp24(cells([block_cell(8, 12, PALETTE["block_face"], PALETTE["block_edge"]),
                                block_cell(8, 12, PALETTE["block_face_hi"], PALETTE["block_edge"])])))
    add("progress_bk", bmp24(gradient(8, 16, PALETTE["frame_light"], (255, 255, 255), True)))
    add("vprogress_bk", bmp24(gradient(16, 8, PALETTE["frame_light"], (255, 255, 255), False)))
    # Push button: four states (normal, hot, pressed, disabled).
    states = [button_cell(24, 22, PALETTE["button_face"], PALETTE["frame_mid"]),
              button_cell(24, 22, PALETTE["button_hot"], PALETTE["gold"]),
              button_cell(24, 22, PALETTE["button_down"], PALETTE["frame_dark"], True),
              button_cell(24, 22, PALETTE["button_off"], (150, 150, 150))]
    add("btn_out", bmp24(cells(states)))
    add("btn_in", bmp24(cells([states[2], states[2], states[2], states[3]])))
    # The owner-draw button's own faces: one picture each, drawn at its size
    # (normal, and hovered or pressed).
    add("btn_face_out", bmp24(button_cell(76, 24, PALETTE["button_face"], PALETTE["frame_mid"])))
    add("btn_face_in", bmp24(button_cell(76, 24, PALETTE["button_hot"], PALETTE["gold"])))
    add("btn_checked", bmp24(check_cell(13, True, False)))
    add("btn_unchecked", bmp24(check_cell(13, False, False)))
    add("btn_radioed", bmp24(check_cell(13, True, True)))
    add("btn_unradioed", bmp24(check_cell(13, False, True)))
    # Drop buttons of the combo boxes ("GIF" resources): a triangle.
    colours = [PALETTE["button_face"], PALETTE["frame_dark"], PALETTE["gold"]]
    for name, face in (("drop_out", 1), ("drop_in", 2)):
        frame = []
        for y in range(16):
            row = []
            for x in range(16):
                inside = 5 <= y <= 10 and abs(x - 7.5) <= (10 - y) * 0.9
                row.append(face if inside else 0)
            frame.append(row)
        add(name, gif([frame], [0], (16, 16), colours), "gif", "GIF")
    # Static background tile and dialog client tile.
    tile = solid(8, 8, PALETTE["static_bk"])
    tile[3][3] = tile[3][4] = tile[4][3] = tile[4][4] = PALETTE["static_bk_dot"]
    add("static_bk", bmp24(tile))
    add("client_bk", bmp24(gradient(8, 64, PALETTE["client_start"], PALETTE["client_end"], True)))
    # Busy animation: four frames of a turning bar.
    busy = []
    for k in range(4):
        frame = solid(16, 16, MAGENTA)
        for i in range(-6, 7):
            x, y = [(7 + i, 7), (7 + i, 7 + i), (7, 7 + i), (7 - i, 7 + i)][k]
            if 0 <= x < 16 and 0 <= y < 16:
                frame[y][x] = PALETTE["frame_dark"]
        busy.append(frame)
    add("busy", bmp24(cells(busy)))
    # Message box icons: a disc with a mark, on magenta.
    for name, disc, mark in (("icon_warning", PALETTE["gold"], "!"), ("icon_information", PALETTE["frame_mid"], "i"),
                             ("icon_question", PALETTE["bar_start"], "?"), ("icon_stop", (200, 40, 40), "x")):
        add(name, bmp24(icon_cell(32, disc, mark)))
    # Skinned scroll bars and the header's background.
    add("scroll_strip", bmp24(scroll_strip()))
    add("header_bk", bmp24(gradient(8, 24, PALETTE["client_start"], PALETTE["frame_mid"], True)))
    return out


# 5 x 7 marks of the message box icons, drawn twice their size.
MARKS = {
    "!": ["..#..", "..#..", "..#..", "..#..", "..#..", ".....", "..#.."],
    "i": ["..#..", ".....", ".##..", "..#..", "..#..", "..#..", ".###."],
    "?": [".###.", "#...#", "....#", "..##.", "..#..", ".....", "..#.."],
    "x": ["#...#", ".#.#.", "..#..", ".#.#.", "#...#", ".....", "....."],
}


def icon_cell(n, disc, mark):
    """A disc of the colour filling an n x n cell, a white mark in its middle."""
    rows = solid(n, n, MAGENTA)
    r = n / 2.0 - 1
    for y in range(n):
        for x in range(n):
            if (x + 0.5 - n / 2.0) ** 2 + (y + 0.5 - n / 2.0) ** 2 <= r * r:
                rows[y][x] = disc
    glyph = MARKS[mark]
    x0, y0 = n // 2 - 5, n // 2 - 7
    for gy, line in enumerate(glyph):
        for gx, ch in enumerate(line):
            if ch == "#":
                for dy in range(2):
                    for dx in range(2):
                        rows[y0 + gy * 2 + dy][x0 + gx * 2 + dx] = (255, 255, 255)
    return rows


HAND = [
    "    ##",
    "   #..#",
    "   #..#",
    "   #..#",
    "   #..###",
    "   #..#..###",
    "## #..#..#..##",
    "#..#.........#",
    "#.............#",
    " #............#",
    "  #...........#",
    "  #..........#",
    "   #.........#",
    "    #.......#",
    "    #########",
]


def desc(name, transparent=-1, cells_=1, states=1, frames=1, interval=0):
    return "0,%d,%d,%d,%d,%d,%d" % (IDS[name], transparent, cells_, states, frames, interval)


def colour(c):
    return "#%d#%d#%d" % c


FRAME_KEYS = [
    ("EdgeLeftImg", desc("frame_left")), ("EdgeRightImg", desc("frame_right")),
    ("EdgeTopImg", desc("frame_top")), ("EdgeBottomImg", desc("frame_bottom")),
    ("EdgeLeftTopImg", desc("frame_lt", 0)), ("EdgeRightTopImg", desc("frame_rt", 2)),
    ("EdgeLeftBottomImg", desc("frame_lb", 1)), ("EdgeRightBottomImg", desc("frame_rb", 3)),
]
BORDER_KEYS = [(k.replace("Edge", "Border"), v) for k, v in FRAME_KEYS]

SECTIONS = [
    ("Resource", [("ResFile", "Kelvarin.dll")]),
    ("ODTxtMov", [
        ("TxtMovNormalColor", colour((20, 30, 60))),
        ("TxtMovFocusColor", colour((200, 40, 40))),
        ("TxtMovLinkerColor", colour((0, 70, 200))),
        ("TxtMovLinkerFocusColor", colour((230, 120, 0))),
        ("TxtMovVisitedColor", colour((120, 40, 140))),
    ]),
    ("ODStatic", FRAME_KEYS + [
        ("BorderColor", colour(PALETTE["frame_mid"])), ("BorderWidth", "4"),
        ("BkStartColor", colour(PALETTE["client_start"])), ("BkEndColor", colour(PALETTE["client_end"])),
        ("BkMode", "0"), ("BkImg", desc("static_bk")), ("TxtMovStopOnFocus", "1"),
        ("NormalCursor", "0"), ("FocusCursor", str(IDS["cursor_hand"])),
    ]),
    ("ODProgress", FRAME_KEYS + [
        ("BorderColor", colour(PALETTE["frame_mid"])), ("BorderWidth", "4"),
        ("BkgndColor", colour((255, 255, 255))), ("TextColor", colour((20, 30, 60))),
        ("TextOnBarColor", colour((255, 255, 255))),
        ("BarStartColor", colour(PALETTE["bar_start"])), ("BarEndColor", colour(PALETTE["bar_end"])),
        ("BkMode", "0"), ("PrgMode", "0"),
        ("BarImg", desc("bar")), ("VertBarImg", desc("vbar")),
        ("GrowImg", desc("grow")), ("VertGrowImg", desc("vgrow")),
        ("BkImg", desc("progress_bk")), ("VertBkImg", desc("vprogress_bk")),
        ("BlockEdgeColor", colour(PALETTE["block_edge"])), ("BlockFaceColor", colour(PALETTE["block_face"])),
        ("BlockEdgeHIColor", colour(PALETTE["block_edge"])), ("BlockFaceHIColor", colour(PALETTE["block_face_hi"])),
        ("BlockFill", "1"), ("BlockCount", "20"), ("BlockSmooth", "5"), ("BlockSpace", "2"), ("BlockMode", "1"),
        ("BlockImg", desc("block_v", -1, 2, 2)), ("VertBlockImg", desc("block_h", -1, 2, 2)),
    ]),
    ("ODDialog", FRAME_KEYS + BORDER_KEYS + [
        ("BorderColor", colour(PALETTE["frame_mid"])), ("BorderWidth", "4"),
        ("ClientStartColor", colour(PALETTE["client_start"])), ("ClientEndColor", colour(PALETTE["client_end"])),
        ("ClientBkMode", "0"), ("ClientBkImg", desc("client_bk")),
    ]),
    ("ODMsgDlg", FRAME_KEYS + [
        ("DialogID", str(IDS["dlg_msg"])), ("ImageID", "1001"), ("TextID", "1002"),
        ("Btn1ID", "1"), ("Btn2ID", "2"), ("Btn3ID", "6"), ("Btn4ID", "7"),
        ("MB_ICONWARNING", desc("icon_warning", 0)), ("MB_ICONINFORMATION", desc("icon_information", 0)),
        ("MB_ICONQUESTION", desc("icon_question", 0)), ("MB_ICONSTOP", desc("icon_stop", 0)),
    ]),
    ("ODWaitDlg", FRAME_KEYS + [
        ("DialogID", str(IDS["dlg_wait"])), ("ImageID", "1001"), ("TextID", "1002"), ("ProgressID", "1003"),
        ("BtnID", "2"), ("Image", desc("busy", 0, 4, 1, 4, 120)), ("Mode", "0"),
    ]),
    ("ODMenu", FRAME_KEYS + [
        ("ColumnColor", colour(PALETTE["frame_mid"])), ("TextBkColor", colour(PALETTE["client_start"])),
        ("ImageBkColor", colour(PALETTE["frame_light"])),
        ("SepHiLightColor", colour((255, 255, 255))), ("SepShadowColor", colour(PALETTE["frame_dark"])),
        ("ItemBkNormalColor", colour(PALETTE["client_start"])), ("ItemBkMoveColor", colour(PALETTE["frame_mid"])),
        ("ItemEdgeMoveColor", colour(PALETTE["frame_dark"])), ("ItemTextNormalColor", colour((255, 255, 255))),
    ]),
    ("ODEdit", [
        ("TextColor", colour((20, 30, 60))), ("BkgndColor", colour((255, 255, 255))),
        ("BorderColor", colour(PALETTE["frame_mid"])), ("BorderWidth", "1"),
        ("BkMode", "0"), ("PwdChar", "*"), ("UsePwdImg", "0"),
    ]),
    ("ODButton", [
        ("ImageBtnOut", str(IDS["btn_face_out"])), ("ImageBtnIn", str(IDS["btn_face_in"])),
        ("ImageBtnChecked", str(IDS["btn_checked"])), ("ImageBtnUnchecked", str(IDS["btn_unchecked"])),
        ("ImageBtnRadioed", str(IDS["btn_radioed"])), ("ImageBtnUnradioed", str(IDS["btn_unradioed"])),
        ("TransBtnOut", colour(MAGENTA)), ("TransBtnIn", colour(MAGENTA)),
        ("TransBtnChecked", colour(MAGENTA)), ("TransBtnUnchecked", colour(MAGENTA)),
        ("TransBtnRadioed", colour(MAGENTA)), ("TransBtnUnradioed", colour(MAGENTA)),
        ("SetSizeToContent", "0"), ("DefaultMakeIrregular", "0"),
    ]),
    ("ODComboBox", [
        ("ImageDropBtnIn", str(IDS["drop_in"])), ("ImageDropBtnOut", str(IDS["drop_out"])),
    ]),
    ("ODToolTip", [
        ("ColorBkBegin", colour((255, 255, 230))), ("ColorBkEnd", colour((245, 235, 200))),
        ("ColorBorder", colour(PALETTE["frame_dark"])),
    ]),
    ("ODNcMgrWnd", [("ColorBorder", colour(PALETTE["frame_mid"]))]),
    ("ODListBox", []),
    ("ODListCtrl", []),
    ("SBContainer", [
        ("ScrollSize", str(SCROLL_CELL)), ("ScrollImageID", str(IDS["scroll_strip"])), ("MinSliderSize", "8"),
    ]),
    ("ODHeaderCtrl", [
        ("HeaderImageID", str(IDS["header_bk"])), ("ColorText", colour(PALETTE["frame_dark"])),
    ]),
    ("ODTabCtrl", []),
    ("ScrollBarEx", []),
]


def ini_text():
    lines = ["; The default owner-draw theme (odctrl/core/theme/make_default_theme.py).",
             "; Image descriptions: kind,id,transparent,cells,states,frames,interval."]
    for name, value in sorted(PALETTE.items()):
        lines.append("; colour %s = %d,%d,%d" % ((name,) + value))
    for section, keys in SECTIONS:
        lines.append("")
        lines.append("[%s]" % section)
        for key, value in keys:
            lines.append("%s=%s" % (key, value))
    return "\r\n".join(lines) + "\r\n"


def rc_text(pictures):
    lines = ["// Kelvarin.dll: the resource library of the default owner-draw theme.",
             "// Generated by odctrl/core/theme/make_default_theme.py.",
             "#include <windows.h>",
             "LANGUAGE LANG_NEUTRAL, SUBLANG_NEUTRAL",
             ""]
    for name, rtype, file_name, _ in pictures:
        lines.append('%d %s "%s"' % (IDS[name], rtype, file_name))
    lines.append('%d CURSOR "hand.cur"' % IDS["cursor_hand"])
    lines += [
        "",
        "%d DIALOGEX 0, 0, 200, 70" % IDS["dlg_wait"],
        "STYLE DS_MODALFRAME | WS_POPUP | WS_CAPTION",
        'CAPTION "Wait"',
        'FONT 9, "MS Shell Dlg"',
        "BEGIN",
        '    CONTROL "", 1001, "Static", SS_BITMAP, 8, 8, 16, 16',
        '    LTEXT "", 1002, 32, 8, 160, 16',
        '    CONTROL "", 1003, "msctls_progress32", 0, 8, 30, 184, 10',
        '    PUSHBUTTON "Cancel", 2, 75, 48, 50, 14',
        "END",
        "",
        "%d DIALOGEX 0, 0, 220, 80" % IDS["dlg_msg"],
        "STYLE DS_MODALFRAME | WS_POPUP | WS_CAPTION",
        'CAPTION "Message"',
        'FONT 9, "MS Shell Dlg"',
        "BEGIN",
        '    CONTROL "", 1001, "Static", SS_ICON, 8, 8, 20, 20',
        '    LTEXT "", 1002, 36, 8, 176, 36',
        '    PUSHBUTTON "OK", 1, 8, 58, 46, 14',
        '    PUSHBUTTON "Cancel", 2, 60, 58, 46, 14',
        '    PUSHBUTTON "Yes", 6, 112, 58, 46, 14',
        '    PUSHBUTTON "No", 7, 164, 58, 46, 14',
        "END",
    ]
    return "\n".join(lines) + "\n"


def write(path, data):
    """Writes only when the content changed (keeps the build's time stamps)."""
    mode = "rb"
    if isinstance(data, str):
        data = data.encode("ascii")
    if os.path.exists(path):
        with open(path, mode) as f:
            if f.read() == data:
                return
    with open(path + ".tmp", "wb") as f:
        f.write(data)
    os.replace(path + ".tmp", path)


def main():
    if len(sys.argv) < 2:
        sys.stderr.write(__doc__)
        return 2
    out = sys.argv[1]
    game = sys.argv[2] if len(sys.argv) > 2 else "Mardavel"
    theme_dir = os.path.join(out, "odctrls")
    res_dir = os.path.join(out, "kelvarin")
    os.makedirs(theme_dir, exist_ok=True)
    os.makedirs(res_dir, exist_ok=True)
    pictures = images()
    for _, _, file_name, data in pictures:
        write(os.path.join(res_dir, file_name), data)
    write(os.path.join(res_dir, "hand.cur"), cursor(HAND, (5, 0)))
    write(os.path.join(res_dir, "Kelvarin.rc"), rc_text(pictures))
    write(os.path.join(theme_dir, "%s_skn.ini" % game), ini_text())
    return 0


if __name__ == "__main__":
    sys.exit(main())
