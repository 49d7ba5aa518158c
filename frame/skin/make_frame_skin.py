#!/usr/bin/env python3
"""The game frame's default skin: the layout file and the frame's pictures.

Usage: make_frame_skin.py OUT_DIR

Writes, under OUT_DIR (the program's folder):
  Mardavel_bk.bgd        the layout: packs, caption with its seven buttons,
                         border (active and inactive), and the area tree with
                         the areas the table client names:
                           area          side by side: main | area_advchat
                           area_main     stacked: _area_game over _area_play
                           area_advchat  stacked: _area_adv over _area_chat
  picture/frame_*.bmp    border pieces (two states), caption, caption-button
                         strips, slider and hide-button strips, area backgrounds

Pictures are 24-bit BMP files; magenta (255, 0, 255) is the transparent
colour. Button strips hold four frames side by side: normal, hover, pressed,
disabled. Hide-button strips are drawn for a slider 6 pixels thick.
"""

import os
import struct
import sys

MAGENTA = (255, 0, 255)
WOOD = (92, 54, 28)
WOOD_LIGHT = (140, 90, 48)
WOOD_DARK = (58, 32, 16)
GOLD = (222, 178, 70)
GREY = (118, 118, 118)
FELT = (18, 92, 48)
FELT_DARK = (12, 66, 34)
CREAM = (244, 236, 214)
PANEL = (236, 228, 206)
INK = (40, 30, 20)
WHITE = (255, 255, 255)


class Picture:
    def __init__(self, w, h, fill=MAGENTA):
        self.w, self.h = w, h
        self.px = [[fill] * w for _ in range(h)]

    def put(self, x, y, c):
        if 0 <= x < self.w and 0 <= y < self.h:
            self.px[y][x] = c

    def rect(self, x0, y0, x1, y1, c):
        for y in range(max(0, y0), min(self.h, y1)):
            row = self.px[y]
            for x in range(max(0, x0), min(self.w, x1)):
                row[x] = c

    def save(self, path):
        stride = (self.w * 3 + 3) & ~3
        rows = bytearray()
        for y in range(self.h - 1, -1, -1):
            line = bytearray()
            for (r, g, b) in self.px[y]:
                line += bytes((b, g, r))
            line += b"\0" * (stride - len(line))
            rows += line
        header = struct.pack("<2sIHHI", b"BM", 54 + len(rows), 0, 0, 54)
        info = struct.pack("<IiiHHIIiiII", 40, self.w, self.h, 1, 24, 0, len(rows), 2835, 2835, 0, 0)
        with open(path, "wb") as f:
            f.write(header + info + rows)


def shade(c, k):
    return tuple(max(0, min(255, int(v * k))) for v in c)


def vertical(w, h, top, bottom):
    p = Picture(w, h)
    for y in range(h):
        t = y / max(1, h - 1)
        c = tuple(int(top[i] + (bottom[i] - top[i]) * t) for i in range(3))
        p.rect(0, y, w, y + 1, c)
    return p


# ---- Border and caption ------------------------------------------------------------------------

CAPTION_H = 30
EDGE = 5


def border_pictures(active):
    base = WOOD if active else GREY
    light = WOOD_LIGHT if active else shade(GREY, 1.3)
    dark = WOOD_DARK if active else shade(GREY, 0.6)
    top = vertical(8, CAPTION_H, light, base)
    top.rect(0, 0, 8, 1, shade(light, 1.2))
    top.rect(0, CAPTION_H - 1, 8, CAPTION_H, dark)
    side = Picture(EDGE, 8, base)
    side.rect(0, 0, 1, 8, dark)
    side.rect(EDGE - 1, 0, EDGE, 8, dark)
    bottom = Picture(8, EDGE, base)
    bottom.rect(0, EDGE - 1, 8, EDGE, dark)
    # Corners: rounded on the outside (magenta is cut away by the window
    # region's corner radius anyway).
    lt = vertical(12, CAPTION_H, light, base)
    lt.rect(0, 0, 1, CAPTION_H, dark)
    for i in range(4):
        lt.rect(0, i, 4 - i, i + 1, MAGENTA)
    rt = Picture(12, CAPTION_H)
    for y in range(CAPTION_H):
        for x in range(12):
            rt.put(11 - x, y, lt.px[y][x])
    lb = Picture(12, EDGE + 4, base)
    lb.rect(0, 0, 1, EDGE + 4, dark)
    lb.rect(0, EDGE + 3, 12, EDGE + 4, dark)
    rb = Picture(12, EDGE + 4)
    for y in range(EDGE + 4):
        for x in range(12):
            rb.put(11 - x, y, lb.px[y][x])
    return {"top": top, "left": side, "right": side, "bottom": bottom, "lt": lt, "rt": rt, "lb": lb, "rb": rb}


def logo():
    # A small crown in gold: the caption's picture.
    p = Picture(22, 18)
    p.rect(2, 12, 20, 16, GOLD)
    for i, x in enumerate((2, 10, 18)):
        for y in range(4, 12):
            w = (y - 4) // 2 + 1
            p.rect(x + 1 - w // 2, y, x + 2 + w // 2, y + 1, GOLD)
    p.rect(3, 13, 19, 14, shade(GOLD, 0.7))
    return p


def inactive_caption():
    p = Picture(120, 18)
    p.rect(0, 0, 120, 18, MAGENTA)
    for x in range(0, 120, 2):
        p.rect(x, 8, x + 1, 10, shade(GREY, 1.4))
    return p


# ---- Caption buttons ---------------------------------------------------------------------------

BTN_W, BTN_H = 24, 20
FRAMES = [(shade(WOOD_LIGHT, 1.0), CREAM), (GOLD, INK), (shade(WOOD_DARK, 1.2), GOLD), (GREY, shade(GREY, 1.5))]


def glyph_exit(p, ox, c):
    for i in range(10):
        p.put(ox + 7 + i, 5 + i, c)
        p.put(ox + 8 + i, 5 + i, c)
        p.put(ox + 16 - i, 5 + i, c)
        p.put(ox + 17 - i, 5 + i, c)


def glyph_max(p, ox, c):
    p.rect(ox + 6, 5, ox + 18, 7, c)
    p.rect(ox + 6, 5, ox + 7, 15, c)
    p.rect(ox + 17, 5, ox + 18, 15, c)
    p.rect(ox + 6, 14, ox + 18, 15, c)


def glyph_min(p, ox, c):
    p.rect(ox + 6, 13, ox + 18, 15, c)


def glyph_help(p, ox, c):
    p.rect(ox + 9, 4, ox + 15, 6, c)
    p.rect(ox + 14, 5, ox + 16, 9, c)
    p.rect(ox + 11, 9, ox + 15, 11, c)
    p.rect(ox + 11, 10, ox + 13, 12, c)
    p.rect(ox + 11, 14, ox + 13, 16, c)


def glyph_setting(p, ox, c):
    p.rect(ox + 8, 6, ox + 16, 14, c)
    p.rect(ox + 11, 4, ox + 13, 16, c)
    p.rect(ox + 6, 9, ox + 18, 11, c)
    p.rect(ox + 10, 8, ox + 14, 12, MAGENTA)


def glyph_photo(p, ox, c):
    p.rect(ox + 5, 7, ox + 19, 15, c)
    p.rect(ox + 9, 5, ox + 14, 7, c)
    p.rect(ox + 10, 9, ox + 14, 13, MAGENTA)


def glyph_mute(p, ox, c):
    p.rect(ox + 7, 6, ox + 17, 14, c)
    p.rect(ox + 10, 8, ox + 14, 12, (200, 30, 30))


GLYPHS = [("exit", glyph_exit), ("max", glyph_max), ("min", glyph_min), ("help", glyph_help),
          ("setting", glyph_setting), ("photo", glyph_photo), ("mute", glyph_mute)]


def button_strip(glyph):
    p = Picture(BTN_W * 4, BTN_H)
    for f, (face, ink) in enumerate(FRAMES):
        ox = f * BTN_W
        p.rect(ox + 1, 1, ox + BTN_W - 1, BTN_H - 1, face)
        p.rect(ox + 1, BTN_H - 2, ox + BTN_W - 1, BTN_H - 1, shade(face, 0.6))
        glyph(p, ox, ink)
    return p


# ---- Slider, hide buttons and area backgrounds -------------------------------------------------

SLIDER = 6


def slider_pictures():
    mid = Picture(SLIDER, 8, WOOD)
    mid.rect(0, 0, 1, 8, WOOD_LIGHT)
    mid.rect(SLIDER - 1, 0, SLIDER, 8, WOOD_DARK)
    end = Picture(SLIDER, 4, WOOD_DARK)
    return mid, end


def hide_strip(pointing_left):
    h = 36
    p = Picture(SLIDER * 4, h)
    for f, (face, ink) in enumerate(FRAMES):
        ox = f * SLIDER
        p.rect(ox, 0, ox + SLIDER, h, face)
        for i in range(4):
            y = h // 2 - 3 + i
            x = ox + (1 + i if pointing_left else SLIDER - 2 - i)
            p.rect(x, y, x + 1, y + 1, ink)
            p.rect(x, h // 2 + 3 - i, x + 1, h // 2 + 4 - i, ink)
    return p


def felt_tile():
    p = Picture(16, 16, FELT)
    for y in range(16):
        for x in range(16):
            if (x * 7 + y * 13) % 11 == 0:
                p.put(x, y, FELT_DARK)
    return p


def panel_edges():
    edge = {}
    edge["lt"] = Picture(6, 6, WOOD_DARK)
    edge["lt"].rect(2, 2, 6, 6, PANEL)
    edge["rt"] = Picture(6, 6, WOOD_DARK)
    edge["rt"].rect(0, 2, 4, 6, PANEL)
    edge["lb"] = Picture(6, 6, WOOD_DARK)
    edge["lb"].rect(2, 0, 6, 4, PANEL)
    edge["rb"] = Picture(6, 6, WOOD_DARK)
    edge["rb"].rect(0, 0, 4, 4, PANEL)
    edge["top"] = Picture(4, 2, WOOD_DARK)
    edge["bottom"] = Picture(4, 2, WOOD_DARK)
    edge["left"] = Picture(2, 4, WOOD_DARK)
    edge["right"] = Picture(2, 4, WOOD_DARK)
    return edge


LAYOUT = """[pack]
neverclose=picture
bk=picture
transcolor=255,0,255
createchatwnd=0
createtoolwnd=0
createadvwnd=0

[title]
textfont=Tahoma,-14,B
textcolor=250,236,200
btncount=7
btn1=exit,RT,(6,5,30,25),frame_btn_exit.bmp
btn_tip1=Close
btn2=max,RT,(32,5,56,25),frame_btn_max.bmp
btn_tip2=Maximise
btn3=min,RT,(58,5,82,25),frame_btn_min.bmp
btn_tip3=Minimise
btn4=help,RT,(92,5,116,25),frame_btn_help.bmp
btn_tip4=Help
btn5=setting,RT,(118,5,142,25),frame_btn_setting.bmp
btn_tip5=Settings
btn6=photo,RT,(144,5,168,25),frame_btn_photo.bmp
btn_tip6=Screenshot
btn7=mute,RT,(170,5,194,25),frame_btn_mute.bmp
btn_tip7=Record
pos=T,30
resize=8
aboutrect=6,6,28,24
piccount=1
pic1=LT,8,6,frame_logo.bmp
textrect=LT,36,7,H
inactive=frame_caption_dis.bmp

[border]
lt=frame_lt.bmp
top=frame_top.bmp
rt=frame_rt.bmp
right=frame_right.bmp
rb=frame_rb.bmp
bottom=frame_bottom.bmp
lb=frame_lb.bmp
left=frame_left.bmp
round=8

[border_dis]
lt=frame_dis_lt.bmp
top=frame_dis_top.bmp
rt=frame_dis_rt.bmp
right=frame_dis_right.bmp
rb=frame_dis_rb.bmp
bottom=frame_dis_bottom.bmp
lb=frame_dis_lb.bmp
left=frame_dis_left.bmp

[area]
frame=h
name=area
border=5,30,5,5
left=area_main
right=area_advchat
defsize=3:1
minsize=560,200
keepwidth=R
slsize=6
slpic=P
slpicl=frame_slider_end.bmp
slpicr=frame_slider_end.bmp
slpicm=frame_slider.bmp
hide=R
btn_right=right,CT,(0,0,6,36),frame_hide_right.bmp
btn_right_hide=frame_hide_left.bmp

[area_main]
frame=T
name=area_main
left=area_game
right=area_play
defsize=12:1
minsize=300,36
keepwidth=R
slsize=0
hide=N

[area_game]
name=_area_game
bkp_draw=P
bkp_pic=frame_felt.bmp

[area_play]
name=_area_play
bkp_draw=S,(58,32,16)

[area_advchat]
frame=T
name=area_advchat
left=area_adv
right=area_chat
defsize=1:3
minsize=120,150
slsize=6
slpic=S,(92,54,28)
hide=N

[area_adv]
name=_area_adv
bkp_draw=S,(236,228,206)
bkp_lt=frame_panel_lt.bmp
bkp_top=frame_panel_top.bmp
bkp_rt=frame_panel_rt.bmp
bkp_right=frame_panel_right.bmp
bkp_rb=frame_panel_rb.bmp
bkp_bottom=frame_panel_bottom.bmp
bkp_lb=frame_panel_lb.bmp
bkp_left=frame_panel_left.bmp

[area_chat]
name=_area_chat
border=0,0,0,0
bkp_draw=S,(236,228,206)
bkp_lt=frame_panel_lt.bmp
bkp_top=frame_panel_top.bmp
bkp_rt=frame_panel_rt.bmp
bkp_right=frame_panel_right.bmp
bkp_rb=frame_panel_rb.bmp
bkp_bottom=frame_panel_bottom.bmp
bkp_lb=frame_panel_lb.bmp
bkp_left=frame_panel_left.bmp
ChatVerLayout=1
ChatNameBtn=0
ChatDisSecure=1
ChatBooloon=1
BooloonTime=10
"""


def main():
    if len(sys.argv) != 2:
        print(__doc__)
        return 2
    out = sys.argv[1]
    pics = os.path.join(out, "picture")
    os.makedirs(pics, exist_ok=True)
    for active, prefix in ((True, "frame_"), (False, "frame_dis_")):
        for name, p in border_pictures(active).items():
            p.save(os.path.join(pics, prefix + name + ".bmp"))
    logo().save(os.path.join(pics, "frame_logo.bmp"))
    inactive_caption().save(os.path.join(pics, "frame_caption_dis.bmp"))
    for name, glyph in GLYPHS:
        button_strip(glyph).save(os.path.join(pics, "frame_btn_%s.bmp" % name))
    mid, end = slider_pictures()
    mid.save(os.path.join(pics, "frame_slider.bmp"))
    end.save(os.path.join(pics, "frame_slider_end.bmp"))
    hide_strip(False).save(os.path.join(pics, "frame_hide_right.bmp"))
    hide_strip(True).save(os.path.join(pics, "frame_hide_left.bmp"))
    felt_tile().save(os.path.join(pics, "frame_felt.bmp"))
    for name, p in panel_edges().items():
        p.save(os.path.join(pics, "frame_panel_%s.bmp" % name))
    with open(os.path.join(out, "Mardavel_bk.bgd"), "w", newline="\r\n") as f:
        f.write(LAYOUT)
    return 0


if __name__ == "__main__":
    sys.exit(main())
