#!/usr/bin/env python3
"""Writes the program's icon: make_icon.py OUTPUT.ico

A 32 x 32 picture in 32-bit colour: the gradient of the main window's panels with two
arrows, one each way, for the two directions of the conversion."""
import struct
import sys

SIZE = 32


def pixel(x, y):
    # Background: warm at the top through white to light blue at the bottom.
    t = y / (SIZE - 1)
    top, middle, bottom = (0xF9, 0xD3, 0x7D), (0xFF, 0xFF, 0xFF), (0xC2, 0xCD, 0xFE)
    a, b, u = (top, middle, t * 2) if t < 0.5 else (middle, bottom, t * 2 - 1)
    colour = tuple(int(a[i] + (b[i] - a[i]) * u) for i in range(3))
    # Two arrows: right along y = 11, left along y = 21.
    for row, towards_right, arrow in ((11, True, (0x10, 0x80, 0x10)), (21, False, (0x20, 0x40, 0xA0))):
        shaft = 6 <= x <= 25 and abs(y - row) <= 1
        tip_x = 25 - abs(y - row) if towards_right else 6 + abs(y - row)
        head = abs(y - row) <= 5 and ((towards_right and tip_x - 3 <= x <= tip_x) or
                                      (not towards_right and tip_x <= x <= tip_x + 3))
        if shaft or head:
            colour = arrow
    border = x in (0, SIZE - 1) or y in (0, SIZE - 1)
    return (0x40, 0x40, 0x40) if border else colour


def main():
    rows = []
    for y in reversed(range(SIZE)):  # bottom-up, as bitmaps are stored
        rows.append(b"".join(struct.pack("BBBB", b, g, r, 255) for r, g, b in
                             (pixel(x, y) for x in range(SIZE))))
    mask = b"\0" * (SIZE * SIZE // 8)
    image = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    image += b"".join(rows) + mask
    header = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", SIZE, SIZE, 0, 0, 1, 32, len(image), 6 + 16)
    with open(sys.argv[1], "wb") as out:
        out.write(header + entry + image)


if __name__ == "__main__":
    main()
