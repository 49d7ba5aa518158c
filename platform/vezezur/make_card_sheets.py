#!/usr/bin/env python3
"""Draws the card sheets of the VEZezur.dll stand-in as 24-bit BMP files (standard library only).

Usage:
  make_card_sheets.py OUTDIR                 the four sheets: cards131.bmp (71x96 cards),
                                             cards132.bmp (27x38), cards133.bmp (42x56), cards135.bmp (54x72)
  make_card_sheets.py --special OUT W H      a 2 x 2 sheet of three plain test cards and their mask

Sheet layout: 14 columns x 4 rows of cards; row = suit - 1, column = rank - 1. Suits: 1 diamonds,
2 clubs, 3 hearts, 4 spades. Ranks 1-13: A, 2-10, J, Q, K. Column 14 holds the small joker (row 1),
the big joker (row 2) and the card back (row 3); the last cell (column 14, row 4) is the mask: the
card's shape in black on white. Outside its shape every card cell is black, so a card drawn through
the mask (AND with the mask, then OR with the card) covers only its shape.
"""
import os
import struct
import sys

SIZES = {131: (71, 96), 132: (27, 38), 133: (42, 56), 135: (54, 72)}

WHITE = (255, 255, 255)
BLACK = (0, 0, 0)
EDGE = (64, 64, 64)
RED = (204, 16, 24)
INK = (24, 24, 24)
BACK_BLUE = (28, 64, 156)
BACK_LIGHT = (120, 160, 230)
GOLD = (214, 168, 32)

SUITS = ['diamond', 'club', 'heart', 'spade']
SUIT_COLOUR = {'diamond': RED, 'heart': RED, 'club': INK, 'spade': INK}
RANK_TEXT = ['A', '2', '3', '4', '5', '6', '7', '8', '9', '10', 'J', 'Q', 'K']

# 5 x 7 glyphs ('#' = ink); '1' is three columns wide so that "10" fits.
GLYPHS = {
    'A': [' ### ', '#   #', '#   #', '#####', '#   #', '#   #', '#   #'],
    '2': [' ### ', '#   #', '    #', '   # ', '  #  ', ' #   ', '#####'],
    '3': ['#### ', '    #', '    #', ' ### ', '    #', '    #', '#### '],
    '4': ['   # ', '  ## ', ' # # ', '#  # ', '#####', '   # ', '   # '],
    '5': ['#####', '#    ', '#### ', '    #', '    #', '#   #', ' ### '],
    '6': [' ### ', '#    ', '#    ', '#### ', '#   #', '#   #', ' ### '],
    '7': ['#####', '    #', '   # ', '  #  ', '  #  ', ' #   ', ' #   '],
    '8': [' ### ', '#   #', '#   #', ' ### ', '#   #', '#   #', ' ### '],
    '9': [' ### ', '#   #', '#   #', ' ####', '    #', '    #', ' ### '],
    '0': [' ### ', '#   #', '#  ##', '# # #', '##  #', '#   #', ' ### '],
    '1': [' # ', '## ', ' # ', ' # ', ' # ', ' # ', '###'],
    'J': ['  ###', '   # ', '   # ', '   # ', '   # ', '#  # ', ' ##  '],
    'Q': [' ### ', '#   #', '#   #', '#   #', '# # #', '#  # ', ' ## #'],
    'K': ['#   #', '#  # ', '# #  ', '##   ', '# #  ', '#  # ', '#   #'],
    'O': [' ### ', '#   #', '#   #', '#   #', '#   #', '#   #', ' ### '],
    'E': ['#####', '#    ', '#    ', '#### ', '#    ', '#    ', '#####'],
    'R': ['#### ', '#   #', '#   #', '#### ', '# #  ', '#  # ', '#   #'],
}


class Canvas:
    def __init__(self, width, height, colour=BLACK):
        self.width = width
        self.height = height
        self.pixels = [list(colour) for _ in range(width * height)]

    def get(self, x, y):
        return tuple(self.pixels[y * self.width + x])

    def set(self, x, y, colour):
        if 0 <= x < self.width and 0 <= y < self.height:
            self.pixels[y * self.width + x] = list(colour)

    def blend(self, x, y, colour, amount):
        if amount <= 0 or not (0 <= x < self.width and 0 <= y < self.height):
            return
        p = self.pixels[y * self.width + x]
        for i in range(3):
            p[i] = int(round(p[i] + (colour[i] - p[i]) * min(amount, 1.0)))

    def fill(self, x0, y0, x1, y1, colour):
        for y in range(max(0, y0), min(self.height, y1)):
            for x in range(max(0, x0), min(self.width, x1)):
                self.pixels[y * self.width + x] = list(colour)

    def paste(self, other, dx, dy):
        for y in range(other.height):
            for x in range(other.width):
                self.set(dx + x, dy + y, other.get(x, y))

    def bmp(self):
        stride = (self.width * 3 + 3) & ~3
        rows = []
        for y in range(self.height - 1, -1, -1):
            row = bytearray()
            for x in range(self.width):
                r, g, b = self.pixels[y * self.width + x]
                row += bytes((b, g, r))
            row += b'\0' * (stride - len(row))
            rows.append(bytes(row))
        bits = b''.join(rows)
        info = struct.pack('<IiiHHIIiiII', 40, self.width, self.height, 1, 24, 0, len(bits), 2835, 2835, 0, 0)
        header = struct.pack('<2sIHHI', b'BM', 14 + len(info) + len(bits), 0, 0, 14 + len(info))
        return header + info + bits


# ---- Shapes ---------------------------------------------------------------------------

def inside_card(x, y, w, h):
    """The card's shape: a rectangle with rounded corners (pixel centres)."""
    r = max(2, w // 10)
    cx = min(max(x + 0.5, r), w - r)
    cy = min(max(y + 0.5, r), h - r)
    return (x + 0.5 - cx) ** 2 + (y + 0.5 - cy) ** 2 <= r * r


def circle(u, v, cu, cv, r):
    return (u - cu) ** 2 + (v - cv) ** 2 <= r * r


def stem(u, v):
    return 0.25 <= v <= 0.95 and abs(u) <= 0.07 + (v - 0.25) * 0.45


def in_suit(suit, u, v):
    """Suit shapes in a square of [-1, 1] (v grows downwards)."""
    if suit == 'diamond':
        return abs(u) / 0.72 + abs(v) <= 1.0
    if suit == 'heart':
        if circle(u, v, -0.46, -0.38, 0.5) or circle(u, v, 0.46, -0.38, 0.5):
            return True
        return -0.3 <= v <= 0.95 and abs(u) <= 0.94 * (0.95 - v) / 1.25
    if suit == 'spade':
        if circle(u, v, -0.44, 0.12, 0.46) or circle(u, v, 0.44, 0.12, 0.46):
            return True
        if -0.95 <= v <= 0.2 and abs(u) <= 0.9 * (v + 0.95) / 1.15:
            return True
        return stem(u, v)
    if suit == 'club':
        if circle(u, v, 0.0, -0.47, 0.37) or circle(u, v, -0.47, 0.1, 0.37) or circle(u, v, 0.47, 0.1, 0.37):
            return True
        return circle(u, v, 0.0, -0.02, 0.22) or stem(u, v)
    raise ValueError(suit)


def in_star(u, v):
    """A five-pointed star in [-1, 1]."""
    import math
    angle = math.atan2(u, -v)
    radius = math.hypot(u, v)
    sector = (angle % (2 * math.pi / 5)) / (2 * math.pi / 5)
    t = abs(sector - 0.5) * 2  # 1 at a point, 0 between points
    limit = 0.42 + (1.0 - 0.42) * t ** 1.6
    return radius <= limit


def draw_shape(canvas, test, cx, cy, size, colour, flip=False, samples=4):
    """Anti-aliased shape of `size` pixels centred at (cx, cy)."""
    half = size / 2.0
    for y in range(int(cy - half) - 1, int(cy + half) + 2):
        for x in range(int(cx - half) - 1, int(cx + half) + 2):
            hits = 0
            for sy in range(samples):
                for sx in range(samples):
                    u = ((x + (sx + 0.5) / samples) - cx) / half
                    v = ((y + (sy + 0.5) / samples) - cy) / half
                    if flip:
                        v = -v
                    if abs(u) <= 1 and abs(v) <= 1 and test(u, v):
                        hits += 1
            canvas.blend(x, y, colour, hits / float(samples * samples))


def text_width(text, scale):
    if text == '10':
        return (3 + 1 + 5) * scale
    return sum(len(GLYPHS[c][0]) for c in text) * scale + (len(text) - 1) * scale


def draw_text(canvas, text, x, y, scale, colour):
    for c in text:
        glyph = GLYPHS[c]
        for gy, row in enumerate(glyph):
            for gx, bit in enumerate(row):
                if bit == '#':
                    canvas.fill(x + gx * scale, y + gy * scale, x + (gx + 1) * scale, y + (gy + 1) * scale, colour)
        x += (len(glyph[0]) + 1) * scale


# ---- Cards ----------------------------------------------------------------------------

def blank_card(w, h, face=WHITE):
    card = Canvas(w, h, BLACK)
    for y in range(h):
        for x in range(w):
            if inside_card(x, y, w, h):
                edge = any(not inside_card(nx, ny, w, h) or not (0 <= nx < w and 0 <= ny < h)
                           for nx, ny in ((x - 1, y), (x + 1, y), (x, y - 1), (x, y + 1)))
                card.set(x, y, EDGE if edge else face)
    return card


def mask_cell(w, h):
    mask = Canvas(w, h, WHITE)
    for y in range(h):
        for x in range(w):
            if inside_card(x, y, w, h):
                mask.set(x, y, BLACK)
    return mask


def index_block(text, suit, scale, w):
    """Rank above a small suit sign, on white; returned with its size."""
    tw = text_width(text, scale)
    pip = max(5, 5 * scale + (1 if w >= 71 else 0))
    bw = max(tw, pip)
    bh = 7 * scale + 1 + pip
    block = Canvas(bw, bh, WHITE)
    colour = SUIT_COLOUR[suit]
    draw_text(block, text, (bw - tw) // 2, 0, scale, colour)
    draw_shape(block, lambda u, v: in_suit(suit, u, v), bw / 2.0, 7 * scale + 1 + pip / 2.0, pip, colour)
    return block


def rotated(canvas):
    out = Canvas(canvas.width, canvas.height)
    for y in range(canvas.height):
        for x in range(canvas.width):
            out.set(canvas.width - 1 - x, canvas.height - 1 - y, canvas.get(x, y))
    return out


PIPS = {  # (column 0/1/2, row fraction) of the pips of the number cards
    2: [(1, 0), (1, 1)],
    3: [(1, 0), (1, 0.5), (1, 1)],
    4: [(0, 0), (2, 0), (0, 1), (2, 1)],
    5: [(0, 0), (2, 0), (1, 0.5), (0, 1), (2, 1)],
    6: [(0, 0), (2, 0), (0, 0.5), (2, 0.5), (0, 1), (2, 1)],
    7: [(0, 0), (2, 0), (1, 0.25), (0, 0.5), (2, 0.5), (0, 1), (2, 1)],
    8: [(0, 0), (2, 0), (1, 0.25), (0, 0.5), (2, 0.5), (1, 0.75), (0, 1), (2, 1)],
    9: [(0, 0), (2, 0), (0, 1 / 3.0), (2, 1 / 3.0), (1, 0.5), (0, 2 / 3.0), (2, 2 / 3.0), (0, 1), (2, 1)],
    10: [(0, 0), (2, 0), (1, 1 / 6.0), (0, 1 / 3.0), (2, 1 / 3.0), (0, 2 / 3.0), (2, 2 / 3.0), (1, 5 / 6.0),
         (0, 1), (2, 1)],
}


def face_card(suit, rank, w, h):
    card = blank_card(w, h)
    colour = SUIT_COLOUR[suit]
    scale = 2 if w >= 71 else 1
    margin = max(2, w // 16)
    text = RANK_TEXT[rank - 1]
    block = index_block(text, suit, scale, w)
    card.paste(block, margin, margin)
    if w >= 42:
        card.paste(rotated(block), w - margin - block.width, h - margin - block.height)
    shape = lambda u, v: in_suit(suit, u, v)
    inner_left = margin + block.width + 1
    inner_right = w - inner_left
    if rank > 10:  # J, Q, K: a framed big letter with the suit sign
        frame = Canvas(inner_right - inner_left, h - 2 * (margin + 2), WHITE)
        fx, fy = inner_left, margin + 2
        if w >= 42:
            card.fill(fx, fy, fx + frame.width, fy + frame.height, GOLD)
            card.fill(fx + 1, fy + 1, fx + frame.width - 1, fy + frame.height - 1, WHITE)
        big = 3 if w >= 54 else 2 if w >= 42 else 1
        letter = RANK_TEXT[rank - 1]
        lw = text_width(letter, big)
        draw_text(card, letter, (w - lw) // 2, h // 2 - 7 * big - (1 if w >= 42 else 0), big, colour)
        pip = max(5, w // 5)
        draw_shape(card, shape, w / 2.0, h / 2.0 + pip / 2.0 + 2, pip, colour)
    elif rank == 1 or w < 54:  # one big sign in the middle
        size = w * (0.5 if rank == 1 else 0.42)
        if w < 42:
            size = w * 0.45
            draw_shape(card, shape, w - size / 2.0 - margin, h - size / 2.0 - margin, size, colour)
        else:
            draw_shape(card, shape, w / 2.0, h / 2.0, size, colour)
    else:  # the pips of a number card
        pip = w * 0.19
        columns = [w * 0.33, w * 0.5, w * 0.67]
        top, bottom = h * 0.2, h * 0.8
        for column, fraction in PIPS[rank]:
            y = top + (bottom - top) * fraction
            draw_shape(card, shape, columns[column], y, pip, colour, flip=fraction > 0.5)
    return card


def joker(big, w, h):
    card = blank_card(w, h)
    colour = RED if big else INK
    scale = 2 if w >= 71 else 1
    margin = max(2, w // 16)
    letters = 'JOKER' if h >= 7 * 5 * scale + 4 * scale + 2 * margin else 'J'
    if w >= 42:
        y = margin
        for c in letters:
            draw_text(card, c, margin, y, scale, colour)
            y += 8 * scale
    else:
        draw_text(card, 'J', margin, margin, scale, colour)
    size = w * (0.55 if w >= 42 else 0.5)
    cx = w / 2.0 + (margin if w >= 42 else 2)
    draw_shape(card, in_star, cx, h / 2.0, size, colour)
    if big:  # a second, smaller star marks the big joker
        draw_shape(card, in_star, cx, h / 2.0, size * 0.45, GOLD)
    return card


def card_back(w, h):
    card = blank_card(w, h, BACK_BLUE)
    inset = max(2, w // 12)
    for y in range(inset, h - inset):
        for x in range(inset, w - inset):
            if (x + y) % 4 == 0 or (x - y) % 4 == 0:
                card.set(x, y, BACK_LIGHT)
    for x in range(inset, w - inset):
        card.set(x, inset, WHITE)
        card.set(x, h - inset - 1, WHITE)
    for y in range(inset, h - inset):
        card.set(inset, y, WHITE)
        card.set(w - inset - 1, y, WHITE)
    return card


def sheet(w, h):
    out = Canvas(14 * w, 4 * h, BLACK)
    for row, suit in enumerate(SUITS):
        for rank in range(1, 14):
            out.paste(face_card(suit, rank, w, h), (rank - 1) * w, row * h)
    out.paste(joker(False, w, h), 13 * w, 0)
    out.paste(joker(True, w, h), 13 * w, h)
    out.paste(card_back(w, h), 13 * w, 2 * h)
    out.paste(mask_cell(w, h), 13 * w, 3 * h)
    return out


def special_sheet(w, h):
    """Three plain cards (0x1E, 0x2E, 0x3E) and their mask for the table painter's tests."""
    out = Canvas(2 * w, 2 * h, BLACK)
    out.paste(blank_card(w, h, (250, 200, 40)), 0, 0)
    out.paste(blank_card(w, h, (60, 200, 90)), 0, h)
    out.paste(blank_card(w, h, (150, 60, 220)), w, 0)
    out.paste(mask_cell(w, h), w, h)
    return out


def write(path, canvas):
    tmp = path + '.tmp'
    with open(tmp, 'wb') as f:
        f.write(canvas.bmp())
    os.replace(tmp, path)


def main(argv):
    if len(argv) == 5 and argv[1] == '--special':
        write(argv[2], special_sheet(int(argv[3]), int(argv[4])))
        return 0
    if len(argv) != 2:
        sys.stderr.write(__doc__)
        return 2
    os.makedirs(argv[1], exist_ok=True)
    for bitmap_id, (w, h) in sorted(SIZES.items()):
        write(os.path.join(argv[1], 'cards%d.bmp' % bitmap_id), sheet(w, h))
    return 0


if __name__ == '__main__':
    sys.exit(main(sys.argv))
