#!/usr/bin/env python3
"""Writes golden.peg, a saved game laid out by hand from the file format:

  header (104 bytes)  "QV", u16 6001, u16 1, u16 0, asctime text in 28 bytes,
                      64 zero bytes, u32 1
  info   (208 bytes)  five user names and five nicknames of 20 bytes each,
                      u32 seat, u32 data length
  data                entries of u32 L and L bytes of one message

The record it describes: created Tue Mar  5 14:07:09 2024 by the user at
seat 2; a deal (a reply: 12-byte header with the result word 1), one play of
two cards by seat 2 and the score (a reply). test_peg_file.cpp builds the
same record through the codec and compares the bytes.

Run: python3 make_golden_peg.py  (writes golden.peg beside this script)
"""
import os
import struct

def name(text):
    raw = text.encode("ascii")
    return raw + b"\0" * (20 - len(raw))

header = b"QV" + struct.pack("<HHH", 6001, 1, 0)
created = b"Tue Mar  5 14:07:09 2024\n\0"
header += created + b"\0" * (28 - len(created))
header += b"\0" * 64
header += struct.pack("<I", 1)
assert len(header) == 104

# The deal: id 0x80026001 (bit 31: a reply), body length 6, result word 1,
# body: first seat to act 3, then cards per seat.
deal_body = bytes([3, 44, 43, 43, 43, 43])
deal = struct.pack("<III", 0x80026001, len(deal_body), 1) + deal_body
# A play: id 0x26005, body u32 seat 2, u32 next -1, u32 count 2, ids 7 and 61.
play_body = struct.pack("<iiiII", 2, -1, 2, 7, 61)
play = struct.pack("<II", 0x26005, len(play_body)) + play_body
# The score: id 0x80026006, result word 1, an 8-byte body.
score_body = struct.pack("<ii", 12, -3)
score = struct.pack("<III", 0x80026006, len(score_body), 1) + score_body

data = b""
for message in (deal, play, score):
    data += struct.pack("<I", len(message)) + message

users = ["alice", "bot1", "bot2", "bot3", "bot4"]
nicks = ["Alice", "Bot One", "Bot Two", "Bot Three", "Bot Four"]
info = b"".join(name(u) for u in users) + b"".join(name(n) for n in nicks)
info += struct.pack("<II", 2, len(data))
assert len(info) == 208

here = os.path.dirname(os.path.abspath(__file__))
with open(os.path.join(here, "golden.peg"), "wb") as out:
    out.write(header + info + data)
