#!/usr/bin/env python3
"""Prints the "HANDCURSOR" resource (29710) of the kit: a 32 x 32 monochrome
pointing hand, the XOR mask (128 bytes) first, then the AND mask (128 bytes),
as the rc block pasted into resources/kit.utf8.rc. Hot spot (6, 0): the tip
of the finger. '#' outline (black), '.' inside (white), ' ' transparent."""

HAND = [
    "     ##",
    "    #..#",
    "    #..#",
    "    #..#",
    "    #..#",
    "    #..###",
    "    #..#..###",
    "    #..#..#..##",
    "    #..#..#..#.#",
    " ## #........#.#",
    "#..##..........#",
    "#...#..........#",
    " #..#..........#",
    "  #............#",
    "  #............#",
    "   #...........#",
    "   #..........#",
    "    #.........#",
    "    #........#",
    "     #.......#",
    "     #########",
]


def main():
    xor = bytearray(128)
    andm = bytearray(b"\xff" * 128)
    for y, row in enumerate(HAND):
        for x, ch in enumerate(row):
            if ch == " ":
                continue
            bit = 0x80 >> (x % 8)
            i = y * 4 + x // 8
            andm[i] &= ~bit & 0xFF
            if ch == ".":
                xor[i] |= bit
    data = bytes(xor + andm)
    words = [data[i] | (data[i + 1] << 8) for i in range(0, len(data), 2)]
    print("IDR_KIT_HANDCURSOR HANDCURSOR")
    print("BEGIN")
    for i in range(0, len(words), 8):
        print("    " + ", ".join("0x%04X" % w for w in words[i:i + 8]) + ("," if i + 8 < len(words) else ""))
    print("END")


if __name__ == "__main__":
    main()
