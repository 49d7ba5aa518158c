#!/usr/bin/env python3
"""Prints the toolbar fixture of test_odctrl_ornmenu.rc: bitmap 400, two 16 x 15
images side by side (32 x 15, 4 bits per pixel, bottom-up): the left one red
(palette entry 1), the right one green (palette entry 2), as the little-endian
words of a BITMAPINFOHEADER, a 16-entry palette and the rows."""
import struct

W, H = 32, 15
palette = [(0, 0, 0)] * 16
palette[1] = (255, 0, 0)
palette[2] = (0, 255, 0)
header = struct.pack('<IiiHHIIiiII', 40, W, H, 1, 4, 0, 0, 0, 0, 16, 0)
pal = b''.join(struct.pack('<BBBB', b, g, r, 0) for (r, g, b) in palette)
row = bytes([0x11] * 8 + [0x22] * 8)  # stride ((32 * 4 + 31) // 32) * 4 = 16 bytes
data = header + pal + row * H
words = struct.unpack('<%dH' % (len(data) // 2), data)
lines = []
for i in range(0, len(words), 12):
    lines.append('    ' + ', '.join('0x%04X' % w for w in words[i:i + 12]))
print('400 2\nBEGIN\n' + ',\n'.join(lines) + '\nEND')
