"""24-bit BMP writing shared by the art generators (standard library only).

A picture is given as its size and a function pixel(x, y) -> (r, g, b) with
(0, 0) at the top left; rows are stored bottom-up, padded to four bytes, as
the BITMAPINFOHEADER format wants. Files are written through a temporary file
and renamed, so an interrupted build never leaves half a picture behind."""

import os
import struct


def bmp_bytes(w, h, pixel):
    row = (w * 3 + 3) & ~3
    data = bytearray()
    for y in range(h - 1, -1, -1):
        line = bytearray()
        for x in range(w):
            r, g, b = pixel(x, y)
            line += bytes((b, g, r))
        data += line + b"\0" * (row - len(line))
    header = b"BM" + struct.pack("<IHHI", 54 + len(data), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    return header + info + bytes(data)


def write_bmp(path, w, h, pixel):
    tmp = path + ".tmp"
    with open(tmp, "wb") as f:
        f.write(bmp_bytes(w, h, pixel))
    os.replace(tmp, path)
