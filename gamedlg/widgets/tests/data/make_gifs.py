#!/usr/bin/env python3
"""Writes the small GIF pictures the widget tests play (run in this folder).

Each picture is 20 x 20 pixels, one solid colour per frame, palette
0 red, 1 green, 2 blue, 3 white. Frame delays (hundredths of a second) go
into a graphic control extension; "no_delays.gif" has none at all, which is
what a picture without the frame-delay property looks like to GDI+.

The image data is LZW with a minimum code size of 2 and a clear code after
every two literals, so every code stays 3 bits wide: simple, and valid.
"""
import struct

PALETTE = bytes([255, 0, 0, 0, 255, 0, 0, 0, 255, 255, 255, 255])
W = H = 20


def lzw(pixels):
    codes = []
    for i, p in enumerate(pixels):
        if i % 2 == 0:
            codes.append(4)          # clear
        codes.append(p)
    codes.append(5)                  # end of information
    out, acc, nbits = bytearray(), 0, 0
    for c in codes:
        acc |= c << nbits
        nbits += 3
        while nbits >= 8:
            out.append(acc & 0xFF)
            acc >>= 8
            nbits -= 8
    if nbits:
        out.append(acc & 0xFF)
    data = bytearray([2])            # minimum code size
    for i in range(0, len(out), 255):
        chunk = out[i:i + 255]
        data += bytes([len(chunk)]) + chunk
    return bytes(data + b"\x00")


def gif(frames, delays=None):
    b = bytearray(b"GIF89a")
    b += struct.pack("<HHBBB", W, H, 0x81, 0, 0)    # global table of 4 entries
    b += PALETTE
    if len(frames) > 1:   # loop forever
        b += b"\x21\xFF\x0BNETSCAPE2.0\x03\x01\x00\x00\x00"
    for i, colour in enumerate(frames):
        if delays is not None:
            b += b"\x21\xF9\x04\x00" + struct.pack("<H", delays[i]) + b"\x00\x00"
        b += b"\x2C" + struct.pack("<HHHHB", 0, 0, W, H, 0)
        b += lzw([colour] * (W * H))
    b += b"\x3B"
    return bytes(b)


PICTURES = {
    "one_frame.gif": ([0], [10]),
    "three_frames.gif": ([0, 1, 2], [10, 20, 30]),
    "no_delays.gif": ([0, 1, 2], None),
    "zero_delays.gif": ([0, 1], [0, 0]),
    "long_delays.gif": ([0, 1], [65535, 65535]),   # about 11 minutes per frame
}

if __name__ == "__main__":
    for name, (frames, delays) in PICTURES.items():
        with open(name, "wb") as f:
            f.write(gif(frames, delays))
