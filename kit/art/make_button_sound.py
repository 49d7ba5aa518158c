#!/usr/bin/env python3
"""Writes the buttons' click sound (WAVE resource 262 of the resource
library) to OUT: a RIFF WAVE file, PCM, one channel, 22050 samples per
second, 16 bits; 60 ms of a 1200 Hz tone that dies away exponentially
(amplitude 0.5 of full scale, falling to 1/e every 12 ms), with a 2 ms fade in
so that it starts without a crack. The samples are rounded to the nearest
integer, so the file is the same on every run."""

import math
import struct
import sys

RATE = 22050
MILLISECONDS = 60
FREQUENCY = 1200.0
AMPLITUDE = 0.5 * 32767
DECAY = 0.012
FADE_IN = 0.002


def samples():
    n = RATE * MILLISECONDS // 1000
    for i in range(n):
        t = i / RATE
        fade = min(1.0, t / FADE_IN)
        v = AMPLITUDE * fade * math.exp(-t / DECAY) * math.sin(2 * math.pi * FREQUENCY * t)
        yield int(round(v))


def wave_bytes():
    data = b"".join(struct.pack("<h", s) for s in samples())
    fmt = struct.pack("<HHIIHH", 1, 1, RATE, RATE * 2, 2, 16)
    body = b"WAVE" + b"fmt " + struct.pack("<I", len(fmt)) + fmt + b"data" + struct.pack("<I", len(data)) + data
    return b"RIFF" + struct.pack("<I", len(body)) + body


def main():
    if len(sys.argv) != 2:
        sys.exit("usage: make_button_sound.py OUT.wav")
    with open(sys.argv[1], "wb") as f:
        f.write(wave_bytes())


if __name__ == "__main__":
    main()
