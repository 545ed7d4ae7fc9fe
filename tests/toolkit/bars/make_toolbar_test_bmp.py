#!/usr/bin/env python3
# Writes toolbar_test.bmp: a 24-bit strip of four 16x15 button images for the toolbar
# tests. Each image is a solid square of its own colour inside a one-pixel frame of the
# see-through grey RGB(192, 192, 192), so a test can find an icon by its colour.
import struct

W, H = 16, 15
COLOURS = [(255, 0, 0), (0, 160, 0), (0, 0, 255), (255, 160, 0)]  # RGB per button
GREY = (192, 192, 192)

def pixel(x, y):
    i = x // W
    lx = x % W
    if lx == 0 or lx == W - 1 or y == 0 or y == H - 1:
        return GREY
    return COLOURS[i]

width = W * len(COLOURS)
row = ((width * 3 + 3) // 4) * 4
data = bytearray()
for y in range(H - 1, -1, -1):  # bottom-up rows
    line = bytearray()
    for x in range(width):
        r, g, b = pixel(x, y)
        line += bytes((b, g, r))
    line += b"\0" * (row - len(line))
    data += line
header = struct.pack("<2sIHHI", b"BM", 14 + 40 + len(data), 0, 0, 14 + 40)
info = struct.pack("<IiiHHIIiiII", 40, width, H, 1, 24, 0, len(data), 2835, 2835, 0, 0)
with open(__file__.replace("make_toolbar_test_bmp.py", "toolbar_test.bmp"), "wb") as f:
    f.write(header + info + data)
