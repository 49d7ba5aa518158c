#!/usr/bin/env python3
"""The table's art and data: the theme file, every picture the table window
loads, the card sheets, rewards, chat faces, sounds and the small files the
program reads beside them.

Usage: make_table_theme.py OUT_DIR

Writes, under OUT_DIR (the program's folder):
  theme_png/Default.thm          the theme file: [section] key=picture (PNG),
                                  relative to theme_png/Default
  theme_png/Default/*.png        the theme pictures (RGBA; transparent pixels
                                  are magenta with alpha 0)
  theme/respic/*.bmp             the fixed pictures that replace bitmaps of the
                                  resource library (84 names)
  theme/CardBig.bmp, CardSmall.bmp   card sheets of 13 x 5 cells (71 x 96 and
                                  54 x 72): rows 0-3 the suits, columns 0-12
                                  the ranks 3..10, J, Q, K, A, 2; row 4: small
                                  joker, big joker, back; magenta elsewhere
  theme/rewards/*.bmp, theme/logo_0.bmp, theme/History.bmp, theme/News*.bmp,
  theme/prompview.bmp, theme/BK_0.bmp
  face/big/0-29.gif, face/small/0-65.gif   chat faces
  picture/btn_video.png, btn_stopVid.png   the frame's video button looks
  sound.ini, sound/*.wav         the board's sounds by section and seat
  Mardavel.thm, Theme/kick_strip.bmp, Theme/giveup_strip.bmp
                                 the skinned-dialog ini's [respic] buttons of the
                                  kick decision: four looks and the shape cell
  Mardavel.emt                   the face list for the chat control
  QVChatSkin.bak                 the chat control's default skin

Geometry the table relies on: buttons hold four states side by side; digit
strips hold ten equal cells; "Color" four suit quarters; pictures drawn
masked hold the picture in their left half and its mask (black = shown,
white = left out) in the right half; the card-frame strips hold three frames.
Labels are drawn with ImageMagick in the WenQuanYi Micro Hei face that the
machine set-up installs.
"""

import math
import os
import struct
import subprocess
import sys
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
TOP = os.path.normpath(os.path.join(HERE, "..", ".."))
sys.path.insert(0, os.path.join(TOP, "platform", "vezezur"))
import make_card_sheets as cards  # noqa: E402  the card faces of the card-sheet stand-in
sys.path.insert(0, os.path.join(TOP, "gamedlg", "dialogs", "art"))
import make_title_art  # noqa: E402  the set-title dialog's pictures

FONT = "/usr/share/fonts/truetype/wqy/wqy-microhei.ttc"
MAGENTA = (255, 0, 255)
CLEAR = (255, 0, 255, 0)

FELT = (22, 102, 54)
FELT_DARK = (14, 74, 38)
WOOD = (120, 72, 32)
GOLD = (230, 186, 60)
CREAM = (250, 240, 210)
INK = (30, 30, 30)
WHITE = (255, 255, 255)
RED = (190, 24, 30)
BLUE = (40, 80, 170)
GREY = (150, 150, 150)

# Button looks: normal, hover, pressed, disabled.
STATE_FACES = [(196, 60, 40), (226, 94, 60), (150, 40, 26), (140, 140, 140)]
TOOL_FACES = [(40, 90, 150), (70, 126, 196), (28, 62, 110), (140, 140, 140)]


# ---- Canvas and writers -----------------------------------------------------------------

class Canvas:
    """RGBA pixels, top row first."""

    def __init__(self, w, h, colour=CLEAR):
        self.w, self.h = w, h
        c = bytes(colour if len(colour) == 4 else tuple(colour) + (255,))
        self.px = bytearray(c * (w * h))

    def fill(self, x0, y0, x1, y1, colour):
        c = bytes(colour if len(colour) == 4 else tuple(colour) + (255,))
        x0, x1 = max(0, x0), min(self.w, x1)
        if x1 <= x0:
            return
        row = c * (x1 - x0)
        for y in range(max(0, y0), min(self.h, y1)):
            i = (y * self.w + x0) * 4
            self.px[i:i + len(row)] = row

    def frame(self, x0, y0, x1, y1, colour, width=1):
        self.fill(x0, y0, x1, y0 + width, colour)
        self.fill(x0, y1 - width, x1, y1, colour)
        self.fill(x0, y0, x0 + width, y1, colour)
        self.fill(x1 - width, y0, x1, y1, colour)

    def get(self, x, y):
        i = (y * self.w + x) * 4
        return tuple(self.px[i:i + 4])

    def put(self, x, y, rgba):
        if 0 <= x < self.w and 0 <= y < self.h:
            i = (y * self.w + x) * 4
            self.px[i:i + 4] = bytes(rgba)

    def paste(self, other, dx, dy):
        """Alpha-blends another canvas at (dx, dy)."""
        for y in range(other.h):
            ty = dy + y
            if not 0 <= ty < self.h:
                continue
            for x in range(other.w):
                tx = dx + x
                if not 0 <= tx < self.w:
                    continue
                i = (y * other.w + x) * 4
                a = other.px[i + 3]
                if a == 0:
                    continue
                j = (ty * self.w + tx) * 4
                if a == 255:
                    self.px[j:j + 4] = other.px[i:i + 4]
                    continue
                for k in range(3):
                    self.px[j + k] = (other.px[i + k] * a + self.px[j + k] * (255 - a)) // 255
                self.px[j + 3] = max(self.px[j + 3], a)

    def disc(self, cx, cy, r, colour):
        for y in range(int(cy - r) - 1, int(cy + r) + 2):
            for x in range(int(cx - r) - 1, int(cx + r) + 2):
                if (x + 0.5 - cx) ** 2 + (y + 0.5 - cy) ** 2 <= r * r:
                    self.put(x, y, tuple(colour) + (255,))

    def rgb_rows(self, key=MAGENTA):
        """Rows of (r, g, b); transparent pixels become the key colour."""
        rows = []
        for y in range(self.h):
            row = []
            for x in range(self.w):
                i = (y * self.w + x) * 4
                r, g, b, a = self.px[i:i + 4]
                row.append(key if a < 128 else (r, g, b))
            rows.append(row)
        return rows


def png(canvas):
    raw = bytearray()
    stride = canvas.w * 4
    for y in range(canvas.h):
        raw.append(0)
        raw += canvas.px[y * stride:(y + 1) * stride]

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)

    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", canvas.w, canvas.h, 8, 6, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(bytes(raw), 6)) + chunk(b"IEND", b""))


def bmp24(canvas):
    stride = (canvas.w * 3 + 3) & ~3
    data = bytearray()
    for row in reversed(canvas.rgb_rows()):
        line = bytearray()
        for r, g, b in row:
            line += bytes((b, g, r))
        line += b"\0" * (stride - len(line))
        data += line
    info = struct.pack("<IiiHHIIiiII", 40, canvas.w, canvas.h, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    return struct.pack("<2sIHHI", b"BM", 14 + 40 + len(data), 0, 0, 14 + 40) + info + bytes(data)


def gif(canvas):
    """A GIF89a of one frame; magenta is the transparent index. Each pixel is
    sent after its own clear code, so the code width stays 9 bits."""
    rows = canvas.rgb_rows()
    colours = [MAGENTA]
    index = {MAGENTA: 0}
    frame = []
    for row in rows:
        line = []
        for c in row:
            if c not in index:
                if len(colours) >= 256:
                    c = min(colours, key=lambda k: sum((a - b) ** 2 for a, b in zip(k, c)))
                else:
                    index[c] = len(colours)
                    colours.append(c)
            line.append(index[c])
        frame.append(line)
    table = colours + [(0, 0, 0)] * (256 - len(colours))
    out = bytearray(b"GIF89a")
    out += struct.pack("<HHBBB", canvas.w, canvas.h, 0xF7, 0, 0)
    for c in table:
        out += bytes(c)
    out += struct.pack("<BBBBHBB", 0x21, 0xF9, 4, 0x01, 0, 0, 0)
    out += struct.pack("<BHHHHB", 0x2C, 0, 0, canvas.w, canvas.h, 0)
    clear, end, width = 256, 257, 9
    acc, nacc, packed = 0, 0, bytearray()
    for code in [c for line in frame for i in line for c in (clear, i)] + [end]:
        acc |= code << nacc
        nacc += width
        while nacc >= 8:
            packed.append(acc & 0xFF)
            acc >>= 8
            nacc -= 8
    if nacc:
        packed.append(acc & 0xFF)
    out.append(8)
    for i in range(0, len(packed), 255):
        piece = packed[i:i + 255]
        out.append(len(piece))
        out += piece
    out += b"\x00\x3B"
    return bytes(out)


def wav(samples, rate=11025):
    data = bytes(samples)
    fmt = struct.pack("<HHIIHH", 1, 1, rate, rate, 1, 8)
    return (b"RIFF" + struct.pack("<I", 4 + 8 + len(fmt) + 8 + len(data)) + b"WAVE" + b"fmt " + struct.pack("<I", len(fmt))
            + fmt + b"data" + struct.pack("<I", len(data)) + data)


def write(path, data):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    tmp = path + ".tmp"
    with open(tmp, "wb") as f:
        f.write(data)
    os.replace(tmp, path)


# ---- Labels ---------------------------------------------------------------------------------

_labels = {}
_wanted = []
_recording = False


def _label_args(key):
    text, size, colour, weight = key
    fill = "#%02x%02x%02x" % colour
    args = ["(", "-fill", fill, "-pointsize", str(size)]
    args += ["-stroke", fill, "-strokewidth", "0.6"] if weight else ["+stroke"]
    return args + ["label:" + text, ")"]


def render_labels():
    """Draws every label asked for so far in two ImageMagick runs (sizes, then pixels)."""
    keys = [k for k in dict.fromkeys(_wanted) if k not in _labels]
    del _wanted[:]
    if not keys:
        return
    base = ["convert", "-background", "none", "-font", FONT]
    for k in keys:
        base += _label_args(k)
    sizes = subprocess.run(base + ["-format", "%w %h\n", "info:"], check=True, capture_output=True,
                           text=True).stdout.split()
    raw = subprocess.run(base + ["-depth", "8", "+adjoin", "rgba:-"], check=True, capture_output=True).stdout
    at = 0
    for i, k in enumerate(keys):
        w, h = int(sizes[2 * i]), int(sizes[2 * i + 1])
        c = Canvas(w, h)
        c.px = bytearray(raw[at:at + w * h * 4])
        at += w * h * 4
        _labels[k] = c


def label(text, size, colour, weight=False):
    """The text as an RGBA canvas of its own extent, drawn by ImageMagick."""
    key = (text, size, tuple(colour), weight)
    if key not in _labels:
        _wanted.append(key)
        if _recording:
            return Canvas(0, 0)
        render_labels()
    return _labels[key]


def centred_label(canvas, text, x0, y0, x1, y1, size, colour, weight=False):
    if not text:
        return
    lab = label(text, size, colour, weight)
    canvas.paste(lab, x0 + (x1 - x0 - lab.w) // 2, y0 + (y1 - y0 - lab.h) // 2)


# ---- Pictures ---------------------------------------------------------------------------------

def button(text, w, h, faces=STATE_FACES, size=14):
    """Four looks side by side: normal, hover, pressed, disabled."""
    c = Canvas(4 * w, h)
    for s, face in enumerate(faces):
        x = s * w
        c.fill(x + 1, 1, x + w - 1, h - 1, face)
        c.frame(x, 0, x + w, h, GOLD if s < 3 else GREY)
        c.fill(x + 2, 2, x + w - 2, 3, tuple(min(255, v + 50) for v in face))
        dy = 1 if s == 2 else 0
        centred_label(c, text, x + 2, 2 + dy, x + w - 2, h - 2 + dy, size, CREAM if s < 3 else (220, 220, 220), True)
    return c


def panel(w, h, colour, edge=GOLD, alpha=255):
    c = Canvas(w, h)
    c.fill(0, 0, w, h, tuple(colour) + (alpha,))
    c.frame(0, 0, w, h, edge, 2)
    return c


def strip(cells, cw, h, background, ink, size):
    """Cells side by side, each with its text centred."""
    c = Canvas(cw * len(cells), h)
    for i, t in enumerate(cells):
        if background is not None:
            c.fill(i * cw, 0, (i + 1) * cw, h, background)
        centred_label(c, t, i * cw, 0, (i + 1) * cw, h, size, ink, True)
    return c


def badge(text, w, h, colour, ink=CREAM, size=13):
    c = Canvas(w, h)
    c.fill(1, 1, w - 1, h - 1, colour)
    c.frame(0, 0, w, h, GOLD)
    centred_label(c, text, 0, 0, w, h, size, ink, True)
    return c


def with_mask(image):
    """The picture in the left half and its mask (black shown, white left out) in the right half."""
    c = Canvas(image.w * 2, image.h, (255, 255, 255))
    c.paste(Canvas(image.w, image.h, (0, 0, 0)), 0, 0)
    for y in range(image.h):
        for x in range(image.w):
            r, g, b, a = image.get(x, y)
            c.put(x, y, (r, g, b, 255) if a >= 128 else (0, 0, 0, 255))
            c.put(image.w + x, y, (0, 0, 0, 255) if a >= 128 else (255, 255, 255, 255))
    return c


def felt(w, h):
    c = Canvas(w, h, FELT)
    for y in range(0, h, 4):
        for x in range((y // 4) % 2 * 4, w, 8):
            c.fill(x, y, x + 2, y + 2, FELT_DARK)
    return c


# ---- The card sheets ----------------------------------------------------------------------

_blank_cards = {}
_stand_in_blank_card = cards.blank_card


def _blank_card(w, h, face=cards.WHITE):
    """The stand-in's blank card, drawn once per size and face."""
    key = (w, h, face)
    if key not in _blank_cards:
        _blank_cards[key] = _stand_in_blank_card(w, h, face)
    out = cards.Canvas(w, h)
    out.pixels = [list(p) for p in _blank_cards[key].pixels]
    return out


cards.blank_card = _blank_card
_shapes = {}


def card_shape(w, h):
    if (w, h) not in _shapes:
        _shapes[(w, h)] = [[cards.inside_card(x, y, w, h) for x in range(w)] for y in range(h)]
    return _shapes[(w, h)]


RANKS_BY_COLUMN = [3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 1, 2]   # face_card rank of columns 0-12


def keyed(card, w, h):
    """A card of the stand-in's art with magenta outside its shape."""
    c = Canvas(w, h)
    shape = card_shape(w, h)
    for y in range(h):
        for x in range(w):
            if shape[y][x]:
                r, g, b = card.pixels[y * w + x]
                c.px[(y * w + x) * 4:(y * w + x) * 4 + 4] = bytes((r, g, b, 255))
    return c


def card_sheet(w, h):
    sheet = Canvas(13 * w, 5 * h)
    for row, suit in enumerate(cards.SUITS):
        for col, rank in enumerate(RANKS_BY_COLUMN):
            sheet.paste(keyed(cards.face_card(suit, rank, w, h), w, h), col * w, row * h)
    sheet.paste(keyed(cards.joker(False, w, h), w, h), 0, 4 * h)
    sheet.paste(keyed(cards.joker(True, w, h), w, h), w, 4 * h)
    sheet.paste(keyed(cards.card_back(w, h), w, h), 2 * w, 4 * h)
    return sheet


def card_frames(w, h):
    """Three frames side by side: the emperor's card, the guard's card, plain."""
    c = Canvas(3 * w, h)
    for i, colour in enumerate((GOLD, (60, 160, 230), (200, 200, 200))):
        c.frame(i * w, 0, (i + 1) * w, h, colour, 3)
    return c


# ---- The theme file -------------------------------------------------------------------------

def theme_pictures():
    """(section, key, file name, canvas) of every theme picture."""
    out = []

    def add(section, key, canvas, name=None):
        out.append((section, key, name or (key + ".png"), canvas))

    decisions = [("start", "开始"), ("Start", "开始"), ("Enthroned", "登基"), ("Abdicate", "放弃"),
                 ("OnlyEmperor", "独做"), ("Giveup", "弃权"), ("ShowHouseCarl", "明保"), ("HideHouseCarl", "暗保"),
                 ("Takeout", "出牌"), ("Pass", "空过"), ("Hint", "提示"), ("Rebell", "造反"), ("Ranking", "实力"),
                 ("SetTitle", "称号")]
    for key, text in decisions:
        add("Buttons", key, button(text, 80, 32), "btn_" + key + ".png")
    tools = [("IconPicker", "表"), ("TrustPlay", "托"), ("UnTrustPlay", "解"), ("GameScore", "分"),
             ("PlayDir", "顺"), ("UnPlayDir", "逆"), ("LastTrick", "上"), ("Sort", "排"), ("Setup", "设"),
             ("CardMem", "记")]
    for key, text in tools:
        add("Buttons", key, button(text, 36, 36, TOOL_FACES, 16), "tool_" + key + ".png")
    add("Buttons", "TrustPlayBtn", button("取消托管", 96, 28, STATE_FACES, 13))

    add("Status", "Ready", badge("已准备", 64, 24, (40, 140, 60)))
    add("Status", "Waiting", badge("等待中", 64, 24, (120, 120, 120)))
    add("Status", "TrustPlayBK", panel(120, 40, (10, 10, 10), (10, 10, 10), 160))
    add("Status", "TrustPlayStr", badge("托管中，还可解除    次", 170, 24, (60, 40, 20), CREAM, 12))
    add("Status", "TrustPlayStr2", badge("托管次数已用完", 170, 24, (60, 40, 20), CREAM, 12))
    add("Status", "TrustPlayNum", strip([str(d) for d in range(10)], 12, 24, None, (255, 220, 60), 14))
    add("Status", "RankNum", strip([str(d) for d in range(10)], 14, 20, None, GOLD, 14))

    add("Background", "LPlayer", panel(140, 150, (60, 36, 16), GOLD, 200))
    add("Background", "RPlayer", panel(140, 150, (60, 36, 16), GOLD, 200))
    add("Background", "DPlayer", panel(600, 250, (60, 36, 16), GOLD, 170))
    # The table writes the count's digits 70 to 100 pixels in: the words
    # stand left and right of them.
    count_bk = badge("", 120, 36, (50, 30, 14))
    centred_label(count_bk, "已出", 0, 0, 68, 36, 13, CREAM, True)
    centred_label(count_bk, "张", 101, 0, 120, 36, 13, CREAM, True)
    add("Background", "TONumBK", count_bk)
    add("Background", "TONum", strip([str(d) for d in range(10)], 14, 24, None, (255, 220, 60), 18))
    add("Background", "LeftNumBK", badge("", 34, 22, (40, 24, 10)))
    add("Background", "BtnBK", panel(200, 44, (30, 20, 10), GOLD, 150))
    add("Background", "CardMemBK", panel(640, 70, (30, 30, 50), GOLD, 210))
    add("Background", "Pass", badge("不出", 60, 30, (90, 60, 20), CREAM, 16))
    add("Background", "RankBK1", panel(240, 110, (40, 30, 60), GOLD, 210))
    add("Background", "RankBK2", panel(240, 110, (60, 30, 40), GOLD, 210))
    add("Background", "back1", felt(800, 600))

    add("Others", "EmperorSign", badge("皇", 28, 28, (200, 150, 20), INK, 16))
    add("Others", "HouseCarlSign", badge("侍", 24, 24, (40, 110, 200)))
    add("Others", "HouseCarlSign2", badge("卫", 24, 24, (40, 150, 230)))
    add("Others", "FarmerSign", badge("民", 24, 24, (90, 130, 60)))
    cf = Canvas(71, 96)
    cf.frame(0, 0, 71, 96, (60, 160, 230), 3)
    add("Others", "CardFrame", cf)
    for place, text in enumerate(["头游", "二游", "三游", "四游", "末游"], start=1):
        add("Others", "Out%d" % place, badge(text, 44, 22, (150, 30, 30)))
    add("Others", "Timer", strip([str(d) for d in range(10)], 10, 16, None, WHITE, 12))
    add("Others", "MyTimerBK", panel(100, 20, (20, 60, 30), GOLD))
    add("Others", "TimerBK", panel(70, 16, (20, 60, 30), GOLD))
    # Four small cards of 52 x 64, one a suit: the table writes the rank in
    # a 20 x 25 box 6 pixels right of a card's middle and 4 below its top,
    # so the suit stands at the lower left.
    qw, qh = 52, 64
    color = Canvas(4 * qw, qh)
    for i, suit in enumerate(cards.SUITS):
        quarter = cards.Canvas(qw, qh, WHITE)
        colour = cards.SUIT_COLOUR[suit]
        cards.draw_shape(quarter, lambda u, v, s=suit: cards.in_suit(s, u, v), 16, 44, 22, colour)
        for y in range(1, qh - 1):
            for x in range(1, qw - 1):
                r, g, b = quarter.get(x, y)
                color.put(i * qw + x, y, (r, g, b, 255))
        color.frame(i * qw, 0, (i + 1) * qw, qh, GREY)
    add("Others", "Color", color)

    for level in range(1, 11):
        t = Canvas(28, 110)
        t.fill(0, 0, 28, 110, (120 + level * 10, 40, 30 + level * 12))
        t.frame(0, 0, 28, 110, GOLD, 2)
        centred_label(t, str(level), 0, 80, 28, 106, 14, CREAM, True)
        add("Title", "TitleBK%02d" % level, t)

    add("MAIN", "BigAvatarBk", panel(170, 226, (60, 36, 16), GOLD, 210))
    add("History", "BtnClose", button("×", 20, 20, TOOL_FACES, 13))
    return out


def write_theme(out_dir):
    pictures = theme_pictures()
    folder = os.path.join(out_dir, "theme_png", "Default")
    sections = {}
    for section, key, name, canvas in pictures:
        write(os.path.join(folder, name), png(canvas))
        sections.setdefault(section, []).append((key, name))
    # The set-title dialog's pictures and background, drawn by the game
    # dialogs' own script, named in the same "Title" section.
    for key, name in make_title_art.draw_pictures(folder).items():
        sections["Title"].append((key, name))
    lines = ["; The table's theme: pictures relative to theme_png\\Default.", ""]
    for section, entries in sections.items():
        lines.append("[%s]" % section)
        lines += ["%s=%s" % (key, name) for key, name in entries]
        lines.append("")
    write(os.path.join(out_dir, "theme_png", "Default.thm"), "\r\n".join(lines).encode("ascii"))


# ---- Fixed pictures -----------------------------------------------------------------------------

def respic_pictures():
    """The 84 fixed pictures by file name; those the table draws have their own geometry."""
    out = {}
    out["BigCard.bmp"] = card_frames(71, 96)
    out["LittleCard.bmp"] = card_frames(54, 72)
    out["TrustExit.bmp"] = badge("托管退出", 60, 20, (130, 40, 40), CREAM, 11)
    out["OffLine.bmp"] = badge("断线", 60, 20, (90, 90, 90), CREAM, 11)
    out["TrustPlay.bmp"] = badge("托管", 60, 20, (40, 80, 150), CREAM, 11)
    out["Start.bmp"] = badge("准备", 60, 20, (40, 140, 60), CREAM, 11)
    mend = Canvas(260, 40)
    mend.fill(0, 10, 260, 40, (60, 36, 16))
    mend.frame(0, 10, 260, 40, GOLD, 2)
    out["MendFrame.bmp"] = with_mask(mend)
    out["kickFarmer.bmp"] = with_mask(badge("踢", 24, 24, (150, 90, 30)))
    out["kickHouseCarl.bmp"] = with_mask(badge("卫", 24, 24, (150, 40, 150)))
    out["kickEmperor.bmp"] = with_mask(badge("皇", 24, 24, (150, 40, 40)))
    for name, text, colour in (("emperorwin.bmp", "皇帝胜利", (190, 140, 20)),
                               ("emperorloss.bmp", "皇帝失败", (90, 90, 110)),
                               ("revolutionwin.bmp", "革命成功", (190, 40, 30)),
                               ("revolutionloss.bmp", "革命失败", (90, 90, 110)),
                               ("draw.bmp", "平局", (60, 110, 160))):
        pic = Canvas(260, 90)
        pic.fill(4, 4, 256, 86, colour)
        pic.frame(0, 0, 260, 90, GOLD, 4)
        centred_label(pic, text, 0, 0, 260, 90, 36, CREAM, True)
        out[name] = with_mask(pic)
    sword = Canvas(14, 24)
    sword.fill(6, 0, 8, 20, (200, 200, 220))
    sword.fill(2, 14, 12, 16, GOLD)
    sword.fill(6, 16, 8, 24, WOOD)
    out["SwordL.bmp"] = with_mask(sword)
    swordb = Canvas(18, 32)
    swordb.fill(8, 0, 10, 26, (200, 200, 220))
    swordb.fill(3, 19, 15, 21, GOLD)
    swordb.fill(8, 21, 10, 32, WOOD)
    out["SwordB.bmp"] = with_mask(swordb)
    # The turn-clock bars: a frame, and a fill drawn over it from the left
    # (its edge transparent, so the frame's edge stays in sight).
    for stem, w, h, colour in (("MyTimer", 100, 18, (60, 190, 80)), ("OtherTimer", 70, 12, (230, 150, 40))):
        bar = Canvas(w, h)
        bar.fill(0, 0, w, h, (20, 30, 20))
        bar.frame(0, 0, w, h, GOLD)
        out[stem + "Frame.bmp"] = bar
        fill = Canvas(w, h)
        fill.fill(2, 2, w - 2, h - 2, colour)
        out[stem + ".bmp"] = fill
    # The rest: a small labelled picture each.
    for name in RESPIC_NAMES:
        if name not in out:
            stem = os.path.splitext(name)[0]
            out[name] = badge(stem[:8], 64, 24, (70, 70, 90), CREAM, 10)
    return out


RESPIC_NAMES = [
    "BT_GAMESCORE.bmp", "BT_LASTTRICK.bmp", "BT_PASS.bmp", "BT_PLAYDIR.bmp", "BT_SEARCH.bmp", "BT_SETUP.bmp",
    "BT_SORT.bmp", "BT_START.bmp", "BT_TAKEOUT.bmp", "BT_TRUSTPLAY.bmp", "BT_UNPLAYDIR.bmp", "BT_UNTRUSTPLAY.bmp",
    "Pass.bmp", "Emperor.bmp", "HouseCarl.bmp", "bitmap1.bmp", "Out1.bmp", "Out2.bmp", "Out3.bmp", "Out4.bmp",
    "Out5.bmp", "TakeoutNumber.bmp", "BT_BeEmperor.bmp", "BT_NoEmperor.bmp", "BT_HideHousecarl.bmp",
    "BT_ShowHousecarl.bmp", "MendFrame.bmp", "MyTimer.bmp", "MyTimerFrame.bmp", "OtherTimer.bmp",
    "OtherTimerFrame.bmp", "l-1.bmp", "l-2.bmp", "l-3.bmp", "l-4.bmp", "l-5.bmp", "r-0.bmp", "r-1.bmp", "r-2.bmp",
    "r-3.bmp", "r-4.bmp", "r-5.bmp", "m-0.bmp", "m-1.bmp", "m-2.bmp", "m-3.bmp", "m-4.bmp", "m-5.bmp", "m-6.bmp",
    "m-7.bmp", "m-8.bmp", "m-9.bmp", "m-10.bmp", "m-11.bmp", "m-12.bmp", "m-13.bmp", "TrustPlay.bmp",
    "TrustExit.bmp", "Start.bmp", "OffLine.bmp", "BigCard.bmp", "LittleCard.bmp", "numbertray.bmp",
    "emperorwin.bmp", "emperorloss.bmp", "revolutionwin.bmp", "revolutionloss.bmp", "BT_ICONPICKER.bmp",
    "draw.bmp", "HouseCarlEx.bmp", "Farmer.bmp", "BT_Giveup.bmp", "BT_Rebell.bmp", "Numberback.bmp",
    "BT_OnlyEmperor.BMP", "Black.bmp", "Red.bmp", "Color.bmp", "SwordB.bmp", "SwordL.bmp", "kickHouseCarl.bmp",
    "kickFarmer.bmp", "kickEmperor.bmp", "kick.bmp",
]


def fixed_small_pictures():
    """The pictures of the "theme" folder beside the fixed ones, by path below it."""
    out = {}
    # The task's progress bar: the empty bar with the four stages marked,
    # and the full bar drawn over it as far as the time reaches.
    # Six pixels high: the bar lies between the area's middle and the reward
    # icon 6 pixels below it.
    bar_empty = Canvas(120, 6)
    bar_empty.fill(0, 0, 120, 6, (30, 26, 20))
    bar_empty.frame(0, 0, 120, 6, GOLD)
    for x in (30, 60, 90):
        bar_empty.fill(x, 1, x + 1, 5, GOLD)
    bar_full = Canvas(120, 6)
    bar_full.fill(0, 0, 120, 6, (70, 190, 80))
    bar_full.fill(0, 1, 120, 2, (150, 235, 150))
    bar_full.frame(0, 0, 120, 6, GOLD)
    # The reward icon's two blink looks: a frame around the prize button,
    # its inside magenta (left out when drawn).
    frames = []
    for colour in ((255, 220, 60), (230, 70, 30)):
        f = Canvas(80, 30)
        f.frame(0, 0, 80, 30, colour, 3)
        frames.append(f)
    rewards = {"TaskTime.bmp": bar_empty,
               "Colon.bmp": badge(":", 8, 24, (40, 80, 150)),
               "Button_BK.bmp": panel(80, 30, (60, 36, 16)),
               "Button_Frame1.bmp": frames[0],
               "Button_Frame2.bmp": frames[1],
               "TaskIn.bmp": bar_full,
               "PrizeReceive.bmp": button("领奖", 60, 26, STATE_FACES, 12),
               "PrizeDraw.bmp": button("抽奖", 60, 26, STATE_FACES, 12),
               "LookUp.bmp": button("查看", 60, 26, STATE_FACES, 12)}
    for name, canvas in rewards.items():
        out[os.path.join("rewards", name)] = canvas
    # Copied as it is (no key colour): each half is a whole plate.
    logo = Canvas(440, 70)
    for half in range(2):
        logo.fill(half * 220, 0, (half + 1) * 220, 70, (50, 30, 14))
        logo.frame(half * 220, 0, (half + 1) * 220, 70, GOLD, 2)
        centred_label(logo, "Mardavel", half * 220, 0, (half + 1) * 220, 70, 40,
                      (250, 230, 160) if half == 0 else (255, 250, 220), True)
    out["logo_0.bmp"] = logo
    history = panel(497, 260, (50, 34, 20), GOLD)
    centred_label(history, "历史战绩", 0, 0, 497, 30, 16, CREAM, True)
    out["History.bmp"] = history
    out["News.bmp"] = panel(240, 117, (40, 60, 100), GOLD)
    out["News3.bmp"] = panel(240, 117, (60, 40, 100), GOLD)
    out["prompview.bmp"] = panel(240, 300, (40, 40, 60), GOLD)
    out["BK_0.bmp"] = felt(400, 300)
    out[os.path.join("respic", "l-0.png")] = badge("l-0", 64, 24, (70, 70, 90), CREAM, 10)
    return out


def write_fixed(out_dir):
    theme = os.path.join(out_dir, "theme")
    for name, canvas in respic_pictures().items():
        write(os.path.join(theme, "respic", name), bmp24(canvas))
    for name, canvas in fixed_small_pictures().items():
        write(os.path.join(theme, name), png(canvas) if name.endswith(".png") else bmp24(canvas))
    write(os.path.join(theme, "CardBig.bmp"), bmp24(card_sheet(71, 96)))
    write(os.path.join(theme, "CardSmall.bmp"), bmp24(card_sheet(54, 72)))


def kit_strips():
    """The kick decision's two buttons as the kit draws them: four looks and a
    fifth cell with the button's shape (magenta outside)."""
    out = {}
    for name, text in (("kick_strip.bmp", "造反"), ("giveup_strip.bmp", "不反")):
        looks = button(text, 80, 32)
        c = Canvas(5 * 80, 32)
        c.paste(looks, 0, 0)
        c.fill(4 * 80 + 1, 1, 5 * 80 - 1, 31, INK)
        out[name] = c
    return out


def write_kit_skin(out_dir):
    for name, canvas in kit_strips().items():
        # The skinned dialogs' folder is spelt "Theme" (one folder with
        # "theme" where names ignore case).
        write(os.path.join(out_dir, "Theme", name), bmp24(canvas))
    # The dialog skin ini beside the program is the kit's (its default
    # look, made first); the table's sections are merged into it, never
    # written over it: without "QVDLG" no skinned dialog can be created.
    ours = {
        "respic": ["IDB_BT_KICK=kick_strip.bmp", "IDB_BT_GIVEUP=giveup_strip.bmp"],
        "QVDLG_exit": ["IDCTRUSTEXIT=dlgbutton.bmp", "IDCANCEL=dlgbutton.bmp"],
    }
    path = os.path.join(out_dir, "Mardavel.thm")
    kept = []
    if os.path.exists(path):
        with open(path, "rb") as f:
            skip = False
            for line in f.read().decode("ascii").splitlines():
                stripped = line.strip()
                if stripped.startswith("[") and stripped.endswith("]"):
                    skip = stripped[1:-1] in ours
                if not skip and stripped != "; The skinned dialogs' pictures of the table.":
                    kept.append(line)
    while kept and kept[-1].strip() == "":
        kept.pop()
    ini = kept + ["", "; The skinned dialogs' pictures of the table."]
    for section, lines in ours.items():
        ini += ["[%s]" % section] + lines + [""]
    write(path, "\r\n".join(ini).encode("ascii"))


# ---- Faces, sounds and small files ------------------------------------------------------------

def face(number, size):
    c = Canvas(size, size)
    hue = (number * 47) % 360
    colour = tuple(int(150 + 100 * math.cos(math.radians(hue + k * 120))) for k in range(3))
    c.disc(size / 2.0, size / 2.0, size / 2.0 - 1, colour)
    c.disc(size * 0.35, size * 0.4, size * 0.07, INK)
    c.disc(size * 0.65, size * 0.4, size * 0.07, INK)
    centred_label(c, str(number), 0, size // 2, size, size, max(8, size // 3), INK)
    return c


def faces():
    """The chat faces by path: 30 large ones (40 x 40) and 66 small ones (24 x 24)."""
    out = {}
    for n in range(30):
        out[os.path.join("face", "big", "%d.gif" % n)] = face(n, 40)
    for n in range(66):
        out[os.path.join("face", "small", "%d.gif" % n)] = face(n, 24)
    return out


# The board's announcements (callback 10010) and the time warning, by the
# decimal form of their 32-bit code, as the table names its sections.
SOUNDS = [
    (0x80000001, "deal", [660, 880]),
    (0x80000002, "emperor", [523, 659, 784]),
    (0x80000003, "guard", [440, 554]),
    (0x80000004, "play", [988]),
    (0x80000005, "warning", [1320, 0, 1320]),
    (0x80000006, "refused", [220]),
    (0x80000007, "out", [784, 988]),
    (0x80000008, "win", [523, 659, 784, 1047]),
    (0x80000009, "loss", [392, 330, 262]),
    (0x8000000A, "pass", [330]),
    (0x8000000B, "draw", [440, 440]),
]


def tone(frequencies, rate=11025, length=0.07):
    samples = []
    for f in frequencies:
        n = int(rate * length)
        for i in range(n):
            envelope = min(1.0, (n - i) / (0.3 * n))
            v = math.sin(2 * math.pi * f * i / rate) * envelope if f else 0.0
            samples.append(int(128 + 90 * v))
    return samples


def section_name(code):
    return str(code - (1 << 32) if code >= 1 << 31 else code)


def write_sounds_and_files(out_dir):
    lines = ["; The table's sounds: [decimal code] seat=file list (one picked at random).", ""]
    for code, name, notes in SOUNDS:
        write(os.path.join(out_dir, "sound", name + ".wav"), wav(tone(notes)))
        lines.append("[%s]" % section_name(code))
        lines += ["%d=%s.wav" % (seat, name) for seat in range(5)]
        lines.append("")
    write(os.path.join(out_dir, "sound.ini"), "\r\n".join(lines).encode("ascii"))

    for path, canvas in faces().items():
        write(os.path.join(out_dir, path), gif(canvas))
    emt = ["[Faces]", "Big=30", "Small=66"]
    emt += ["Big%d=face\\big\\%d.gif" % (n, n) for n in range(30)]
    emt += ["Small%d=face\\small\\%d.gif" % (n, n) for n in range(66)]
    write(os.path.join(out_dir, "Mardavel.emt"), ("\r\n".join(emt) + "\r\n").encode("ascii"))
    write(os.path.join(out_dir, "QVChatSkin.bak"), b"[ChatSkin]\r\nBackColor=255,250,240\r\nTextColor=0,0,0\r\n")

    video = Canvas(92, 23)
    stop = Canvas(92, 23)
    for s in range(4):
        video.fill(s * 23 + 1, 1, s * 23 + 22, 22, TOOL_FACES[s])
        video.disc(s * 23 + 11.5, 11.5, 5, RED)
        stop.fill(s * 23 + 1, 1, s * 23 + 22, 22, TOOL_FACES[s])
        stop.fill(s * 23 + 7, 7, s * 23 + 16, 16, RED)
    write(os.path.join(out_dir, "picture", "btn_video.png"), png(video))
    write(os.path.join(out_dir, "picture", "btn_stopVid.png"), png(stop))


def main(argv):
    if len(argv) != 2:
        sys.stderr.write(__doc__)
        return 2
    out_dir = argv[1]
    # Every label first, in one batch: the builders run once recording what
    # they would draw.
    global _recording
    _recording = True
    theme_pictures()
    respic_pictures()
    fixed_small_pictures()
    faces()
    kit_strips()
    _recording = False
    render_labels()
    write_theme(out_dir)
    write_fixed(out_dir)
    write_sounds_and_files(out_dir)
    write_kit_skin(out_dir)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
