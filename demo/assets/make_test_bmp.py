#!/usr/bin/env python3
"""Writes test.bmp: a 32 x 32 24-bit sprite (a soft white disc with a bright rim)
on opaque black, which the texture cache's colour key turns transparent."""
import math
import struct
import sys

SIZE = 32


def pixel(x, y):
    d = math.hypot(x + 0.5 - SIZE / 2, y + 0.5 - SIZE / 2)
    if d > 15.0:
        return (0, 0, 0)  # keyed out
    if d > 13.0:
        return (255, 255, 255)  # rim
    v = int(200 + 55 * (1 - d / 13.0))
    return (v, v, v)


def main(path):
    row_bytes = SIZE * 3
    pad = (4 - row_bytes % 4) % 4
    rows = []
    for y in range(SIZE - 1, -1, -1):  # bottom-up
        row = b"".join(struct.pack("BBB", *pixel(x, y)[::-1]) for x in range(SIZE))
        rows.append(row + b"\0" * pad)
    data = b"".join(rows)
    header = struct.pack("<2sIHHI", b"BM", 54 + len(data), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    with open(path, "wb") as f:
        f.write(header + info + data)


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else "test.bmp")
