#!/usr/bin/env python3
"""The game frame's default skin: the layout file and the frame's pictures.

Usage: make_frame_skin.py OUT_DIR

Writes, under OUT_DIR (the program's folder):
  Mardavel_bk.bgd        the layout the program loads (the table client's
                         frame; the local game uses a copy of it,
                         mardavel_local_bk.bgd): packs, caption with its seven
                         buttons, border (active and inactive), and the area
                         tree with the areas the table client names:
                           area          side by side: main | area_advchat
                           area_main     stacked: _area_game over _area_play
                           area_advchat  stacked: _area_adv over _area_chat
                         area_game is a plain area: it holds the table window,
                         which draws the table itself.
  MardavelScene_bk.bgd   the same layout with the frame's table scene in the
                         game area ("_game", scene "Mardavel"): for the frame
                         demo and the frame's tests; the program never loads it.
  Mardavel.scn, scene/   that scene: five seats, names, balloons, layers, the
                         items the frame's keys use, an effect file and the
                         pictures of all of them
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


BUTTONS = [("exit", "Close", 6), ("max", "Maximise", 32), ("min", "Minimise", 58), ("help", "Help", 92),
           ("setting", "Settings", 118), ("photo", "Screenshot", 144), ("mute", "Record", 170)]
EDGES = ["lt", "top", "rt", "right", "rb", "bottom", "lb", "left"]


def title_section():
    lines = ["[title]", "textfont=Tahoma,-14,B", "textcolor=250,236,200", "btncount=%d" % len(BUTTONS)]
    for i, (name, tip, x) in enumerate(BUTTONS, 1):
        lines.append("btn%d=%s,RT,(%d,5,%d,25),frame_btn_%s.bmp" % (i, name, x, x + BTN_W, name))
        lines.append("btn_tip%d=%s" % (i, tip))
    lines += ["pos=T,30", "resize=8", "aboutrect=6,6,28,24", "piccount=1", "pic1=LT,8,6,frame_logo.bmp",
              "textrect=LT,36,7,H", "inactive=frame_caption_dis.bmp"]
    return "\n".join(lines) + "\n"


def border_section(section, prefix, extra=""):
    lines = ["[%s]" % section] + ["%s=%s%s.bmp" % (e, prefix, e) for e in EDGES]
    return "\n".join(lines) + "\n" + extra


def panel_section(section, name, extra=""):
    lines = ["[%s]" % section, "name=%s" % name] + ([extra] if extra else []) + ["bkp_draw=S,(236,228,206)"]
    lines += ["bkp_%s=frame_panel_%s.bmp" % (e, e) for e in EDGES]
    return "\n".join(lines) + "\n"


def layout(game_section):
    """The layout file; game_section is the section of the area above the
    play strip (a plain area holding the table window, or the scene)."""
    parts = [
        "[pack]\nneverclose=picture\nbk=picture\ntranscolor=255,0,255\ncreatechatwnd=0\ncreatetoolwnd=0\n"
        "createadvwnd=0\n",
        title_section(),
        border_section("border", "frame_", "round=8\n"),
        border_section("border_dis", "frame_dis_"),
        """[area]
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
""",
        """[area_main]
frame=T
name=area_main
left=area_game
right=area_play
defsize=12:1
minsize=300,36
keepwidth=R
slsize=0
hide=N
""",
        game_section,
        """[area_play]
name=_area_play
bkp_draw=S,(58,32,16)
""",
        """[area_advchat]
frame=T
name=area_advchat
left=area_adv
right=area_chat
defsize=1:3
minsize=120,150
slsize=6
slpic=S,(92,54,28)
hide=N
""",
        panel_section("area_adv", "_area_adv"),
        panel_section("area_chat", "_area_chat", "border=0,0,0,0"),
        "ChatVerLayout=1\nChatNameBtn=0\nChatDisSecure=1\nChatBooloon=1\nBooloonTime=10\n",
    ]
    return "\n".join(parts)


# The table client's frame: the game area holds the table window.
GAME_AREA = """[area_game]
name=_area_game
bkp_draw=P
bkp_pic=frame_felt.bmp
"""

# The frame with the table scene in its game area (frame_demo.exe).
SCENE_AREA = """[area_game]
name=_game
bkp_draw=P
bkp_pic=frame_felt.bmp
scenecnt=1
SceneName1=Mardavel
"""


# ---- The table scene ---------------------------------------------------------------------------
#
# Mardavel.scn and its pack scene/: five seats around an oval table (an
# avatar box, a name box under it and a balloon beside it), the table
# picture, the "ready" button, the running "star" effect (a turning sparkle
# over a pulsing glow) and the two pictures the frame's keys F5/F6 show and
# hide ("gang", "ren_2"); F7 moves "star".

SEATS = [(0, 250), (-285, 77), (-176, -202), (176, -202), (285, 77)]
SHIRTS = [(180, 40, 40), (40, 120, 190), (60, 150, 70), (200, 150, 40), (130, 70, 160)]
SKIN = (236, 196, 160)
HAIR = (70, 44, 24)


def oval(w, h, inset, c, p):
    cx, cy = (w - 1) / 2, (h - 1) / 2
    rx, ry = w / 2 - inset, h / 2 - inset
    for y in range(h):
        for x in range(w):
            if ((x - cx) / rx) ** 2 + ((y - cy) / ry) ** 2 <= 1:
                p.put(x, y, c)


def scene_table():
    p = Picture(480, 300)
    oval(480, 300, 0, WOOD_DARK, p)
    oval(480, 300, 4, WOOD, p)
    oval(480, 300, 14, FELT_DARK, p)
    oval(480, 300, 18, shade(FELT, 1.15), p)
    return p


def avatar(shirt):
    # 150 x 190 on magenta: a head and shoulders inside rows 30..114.
    p = Picture(150, 190)
    for y in range(80, 190):
        half = min(58, 20 + (y - 80))
        p.rect(75 - half, y, 75 + half, y + 1, shirt)
    oval_head = Picture(44, 52)
    oval(44, 52, 0, SKIN, oval_head)
    for y in range(52):
        for x in range(44):
            if oval_head.px[y][x] != MAGENTA:
                p.put(53 + x, 34 + y, oval_head.px[y][x])
    p.rect(55, 32, 95, 44, HAIR)
    p.rect(63, 56, 67, 60, INK)
    p.rect(83, 56, 87, 60, INK)
    p.rect(68, 72, 82, 74, (160, 60, 50))
    return p


def ready_strip():
    w, h = 72, 28
    p = Picture(w * 4, h)
    faces = [(shade(GOLD, 0.9), INK), (GOLD, INK), (shade(GOLD, 0.6), CREAM), (GREY, shade(GREY, 1.5))]
    for f, (face, ink) in enumerate(faces):
        ox = f * w
        p.rect(ox + 2, 2, ox + w - 2, h - 2, face)
        p.rect(ox + 2, h - 4, ox + w - 2, h - 2, shade(face, 0.6))
        # A check mark.
        for i in range(6):
            p.rect(ox + 26 + i, 13 + i, ox + 28 + i, 15 + i, ink)
        for i in range(12):
            p.rect(ox + 32 + i, 18 - i, ox + 34 + i, 20 - i, ink)
    return p


def star_cells():
    # Eight 32 x 32 cells in a row, the sparkle turned 22.5 degrees a cell.
    import math
    p = Picture(32 * 8, 32)
    for cell in range(8):
        a0 = cell * math.pi / 8
        for arm in range(4):
            a = a0 + arm * math.pi / 4
            length = 15 if arm % 2 == 0 else 9
            for r in range(length):
                x = int(round(16 + r * math.cos(a)))
                y = int(round(16 + r * math.sin(a)))
                for dx, dy in ((0, 0), (1, 0), (0, 1)):
                    p.put(cell * 32 + x + dx, y + dy, (255, 250, 200) if r < 4 else GOLD)
                x = int(round(16 - r * math.cos(a)))
                y = int(round(16 - r * math.sin(a)))
                p.put(cell * 32 + x, y, GOLD)
    return p


def glow():
    # Black with a soft warm disc: drawn additively.
    p = Picture(48, 48, (0, 0, 0))
    for y in range(48):
        for x in range(48):
            d = ((x - 23.5) ** 2 + (y - 23.5) ** 2) ** 0.5 / 24
            if d < 1:
                k = (1 - d) ** 2
                p.put(x, y, (int(200 * k), int(160 * k), int(60 * k)))
    return p


def banner(w, h, face, text_rows):
    p = Picture(w, h, face)
    p.rect(0, 0, w, 2, INK)
    p.rect(0, h - 2, w, h, INK)
    p.rect(0, 0, 2, h, INK)
    p.rect(w - 2, 0, w, h, INK)
    for (x0, y0, x1, y1) in text_rows:
        p.rect(x0, y0, x1, y1, INK)
    return p


STAR_EFFECT = """[generic]
effectcount=2
[effect1]
framecount=1
basept=-8,-8
updateframe=0,3
stopframe=0,0
alpha=4,60,220
pic1=scene_glow.bmp
draw1=0,0,100,3
[effect2]
framecount=8
picinfo=32,32,1
""" + "".join("pic%d=scene_star.bmp,a%d\ndraw%d=0,0,90,1\n" % (i, i, i) for i in range(1, 9))


def scene_file():
    lines = ["[pack]", "scene=scene", "[scene]", "avatasize=64,84,30", "nameformat=%s", "namesize=110,14,c",
             "textfont=Tahoma,13,B", "namecolor=255,236,180", "avatacnt=%d" % len(SEATS)]
    for i, (x, y) in enumerate(SEATS, 1):
        lines.append("avata_%d=C,%d,%d" % (i, x, y))
        lines.append("name_%d=A%d,-55,46" % (i, i))
        if i == 1:
            lines.append("balloon_%d=A%d,2,40,-30,28,-20" % (i, i))
        elif x > 0:
            lines.append("balloon_%d=A%d,1,-36,-70,-20,-30" % (i, i))
        else:
            lines.append("balloon_%d=A%d,0,36,-70,20,-30" % (i, i))
    lines += ["laycnt=4",
              "[lay_1]", "style=Back", "itemcnt=1", "item_1=P,C,-240,-150,scene_table.bmp", "item_draw_1=1,128",
              "[lay_2]", "style=AvatarName",
              "[lay_3]", "style=Over", "itemcnt=2", "item_1=B,RB,-90,-40,scene_btn_ready.bmp",
              "item_name_1=1,ready", "item_tip_1=Ready", "item_2=E,C,-16,-16,scene_star.eff", "item_name_2=star",
              "[lay_4]", "style=Effects", "itemcnt=2", "item_1=P,C,-60,-70,scene_gang.bmp",
              "item_draw_1=1,128", "item_name_1=0,gang", "item_2=P,C,-40,30,scene_ren2.bmp", "item_draw_2=2,170",
              "item_name_2=0,ren_2",
              "[scenepic]"] + ["avatar%d=scene_avatar%d.bmp" % (i, i) for i in range(1, len(SEATS) + 1)]
    return "\n".join(lines) + "\n"


def write_scene(out):
    pack = os.path.join(out, "scene")
    os.makedirs(pack, exist_ok=True)
    scene_table().save(os.path.join(pack, "scene_table.bmp"))
    for i, shirt in enumerate(SHIRTS, 1):
        avatar(shirt).save(os.path.join(pack, "scene_avatar%d.bmp" % i))
    ready_strip().save(os.path.join(pack, "scene_btn_ready.bmp"))
    star_cells().save(os.path.join(pack, "scene_star.bmp"))
    glow().save(os.path.join(pack, "scene_glow.bmp"))
    banner(120, 40, GOLD, [(20, 14, 100, 18), (20, 22, 80, 26)]).save(os.path.join(pack, "scene_gang.bmp"))
    banner(80, 40, CREAM, [(14, 12, 66, 16), (14, 24, 50, 28)]).save(os.path.join(pack, "scene_ren2.bmp"))
    for name, text in (("scene_star.eff", STAR_EFFECT), ("Mardavel.scn", scene_file())):
        folder = pack if name.endswith(".eff") else out
        with open(os.path.join(folder, name), "w", newline="\r\n") as f:
            f.write(text)



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
    for name, game in (("Mardavel_bk.bgd", GAME_AREA), ("MardavelScene_bk.bgd", SCENE_AREA)):
        with open(os.path.join(out, name), "w", newline="\r\n") as f:
            f.write(layout(game))
    write_scene(out)
    return 0


if __name__ == "__main__":
    sys.exit(main())
