#!/usr/bin/env python3
"""Derives the golden deals of test_mardavel_deal.cpp from the deal rules,
independently of the board's code.

    python3 board/tests/golden_deals.py            # prints both tables
    python3 board/tests/golden_deals.py --check    # compares them with the test

A deal, step by step:
 1. The board's generator (state = state * 22695477 + 1, value = bits 16-30)
    draws a permutation of the ids 0-215: for n = 216 down to 1 it picks
    k = value % n and takes the k-th id not yet taken.
 2. The first 107 in that order becomes 217 (the emperor's card); unless the
    guard card is switched off, the last 160 becomes 216 (the guard's card).
 3. The C library's generator, seeded with the second seed, swaps: for
    k = 1..215, position k with position rand() % k.
 4. Short packs (and the kick rules) drop the pack cards of rank value 0-2
    (index within a pack of 54 below 52, rank = index % 13); the kick rules
    also drop the first three of rank value 3. 216, 168 or 165 cards remain.
 5. The cards go out in runs from the start seat (the first-out seat under
    the kick rules when there is one, else the last emperor, else 0):
    44,43,43,43,43 for 216; 34,34,34,33,33 for 168; 33 each for 165.
The C library differs: Windows' rand() is state * 214013 + 2531011, bits
16-30; glibc's is the additive feedback generator of its TYPE_3 random().
"""
import re
import sys
from pathlib import Path

SEATS = 5
PACK = 54
ALL = 216


class BoardRandom:
    def __init__(self, seed):
        self.state = seed & 0xFFFFFFFF

    def next(self):
        self.state = (self.state * 22695477 + 1) & 0xFFFFFFFF
        return (self.state >> 16) & 0x7FFF


class WindowsRand:
    def __init__(self, seed):
        self.state = seed & 0xFFFFFFFF

    def __call__(self):
        self.state = (self.state * 214013 + 2531011) & 0xFFFFFFFF
        return (self.state >> 16) & 0x7FFF


class GlibcRand:
    def __init__(self, seed):
        seed = seed & 0xFFFFFFFF or 1
        r = [seed]
        for i in range(1, 31):
            r.append((16807 * r[i - 1]) % 2147483647)
        for i in range(31, 34):
            r.append(r[i - 31])
        self.r = r
        for _ in range(310):
            self._step()

    def _step(self):
        value = (self.r[-31] + self.r[-3]) & 0xFFFFFFFF
        self.r.append(value)
        del self.r[0]
        return value >> 1

    def __call__(self):
        return self._step()


def rank(card):
    index = card % PACK
    return index % 13 if index < 52 else index - 39


def deal(short_packs, no_guard, kick, board_seed, crt_seed, last_emperor, first_out, crt):
    board = BoardRandom(board_seed)
    left = list(range(ALL))
    order = []
    for n in range(ALL, 0, -1):
        order.append(left.pop(board.next() % n))
    order[order.index(107)] = 217
    if not no_guard:
        last = len(order) - 1 - order[::-1].index(160)
        order[last] = 216
    rand = crt(crt_seed)
    for k in range(1, ALL):
        other = rand() % k
        order[k], order[other] = order[other], order[k]
    short = short_packs or kick
    threes = 3 if kick else 0
    kept = []
    for card in order:
        if card < ALL and card % PACK < 52:
            if short and rank(card) <= 2:
                continue
            if rank(card) == 3 and threes > 0:
                threes -= 1
                continue
        kept.append(card)
    runs = {216: [44, 43, 43, 43, 43], 168: [34, 34, 34, 33, 33], 165: [33] * 5}[len(kept)]
    if kick and 0 <= first_out < SEATS:
        start = first_out
    elif 0 <= last_emperor < SEATS:
        start = last_emperor
    else:
        start = 0
    hands = [[] for _ in range(SEATS)]
    position = 0
    for offset, count in enumerate(runs):
        seat = (start + offset) % SEATS
        hands[seat] = sorted(kept[position:position + count])
        position += count
    emperor = next(s for s in range(SEATS) if 217 in hands[s])
    guard = next((s for s in range(SEATS) if 216 in hands[s]), -1)
    return len(kept), emperor, guard, hands


# name, short packs, no guard card, kick rules, board seed, C seed, last emperor, first out
CASES = [
    ("Full", 0, 0, 0, 0x134D8D9, 7, -1, -1),
    ("ShortPacks", 1, 0, 0, 0x1, 12345, 2, -1),
    ("KickRules", 1, 0, 1, 0xDEADBEEF, 99, 1, 4),
    ("NoGuardCard", 1, 1, 0, 0x67932, 5, 3, -1),
]


def table(crt):
    lines = []
    for name, sp, ng, kr, bseed, cseed, last, first in CASES:
        count, emperor, guard, hands = deal(sp, ng, kr, bseed, cseed, last, first, crt)
        lines.append('    {"%s", %d, %d, %d, %#x, %du, %d, %d, %d, %d, %d, {' %
                     (name, sp, ng, kr, bseed, cseed, last, first, count, emperor, guard))
        for hand in hands:
            lines.append("        {%s}," % ", ".join(str(c) for c in hand))
        lines.append("    }},")
    return lines


def main():
    windows, native = table(WindowsRand), table(GlibcRand)
    if "--check" not in sys.argv:
        print("#if defined(_WIN32)\n" + "\n".join(windows) + "\n#else\n" + "\n".join(native) + "\n#endif")
        return 0
    text = (Path(__file__).parent / "test_mardavel_deal.cpp").read_text()
    found = re.search(r"#if defined\(_WIN32\)\n(.*?)#else\n(.*?)#endif", text, re.S)
    ok = found and found.group(1).splitlines() == windows and found.group(2).splitlines() == native
    print("golden deals match" if ok else "golden deals differ")
    return 0 if ok else 1


if __name__ == "__main__":
    sys.exit(main())
