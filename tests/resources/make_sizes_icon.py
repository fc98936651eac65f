#!/usr/bin/env python3
"""Writes sizes.ico, the picture loader's test icon: one colour per size, so
a drawn icon tells which stored size it came from.

    16 opaque red, 24 opaque green, 48 blue on its left half and clear on
    its right half (a reduced edge must stay blue, not darken)

    make_sizes_icon.py [OUTPUT]
"""

import os
import struct
import sys


def entry(size, pixel):
    """A 32-bit icon image: pixel(x, y) gives (r, g, b, a), top row first."""
    stride = ((size + 31) // 32) * 4
    colour, mask = bytearray(), bytearray()
    for y in range(size - 1, -1, -1):
        row = bytearray(stride)
        for x in range(size):
            r, g, b, a = pixel(x, y)
            colour += bytes((b, g, r, a))
            if a < 128:
                row[x // 8] |= 0x80 >> (x % 8)
        mask += row
    header = struct.pack("<IiiHHIIiiII", 40, size, 2 * size, 1, 32, 0, len(colour), 0, 0, 0, 0)
    return size, header + bytes(colour) + bytes(mask)


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(os.path.abspath(__file__)), "sizes.ico")
    images = [entry(16, lambda x, y: (255, 0, 0, 255)),
              entry(24, lambda x, y: (0, 128, 0, 255)),
              entry(48, lambda x, y: (0, 0, 255, 255) if x < 24 else (0, 0, 0, 0))]
    offset = 6 + 16 * len(images)
    directory = b""
    for size, data in images:
        directory += struct.pack("<BBBBHHII", size, size, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    with open(out, "wb") as f:
        f.write(struct.pack("<HHH", 0, 1, len(images)) + directory + b"".join(d for _, d in images))


if __name__ == "__main__":
    main()
