#!/usr/bin/env python3
"""Writes sample.bmp, sample.png (with alpha) and sample.tga of one 37 x 23
picture with a black corner (keyed out) into a folder, then sample.jpg and
sample.gif from the PNG with ImageMagick's convert."""
import os
import struct
import subprocess
import sys
import zlib

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "..", "tools"))
from lqmedia import bmp  # noqa: E402

W, H = 37, 23


def rgb(x, y):
    return (0, 0, 0) if x < 6 and y < 5 else (x * 7 % 256, y * 11 % 256, (x + y) * 5 % 256)


def chunk(kind, body):
    return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body))


folder = sys.argv[1]
os.makedirs(folder, exist_ok=True)
bmp(os.path.join(folder, "sample.bmp"), W, H, rgb)
rows = b"".join(b"\0" + b"".join(bytes(rgb(x, y) + (128 if 20 <= x < 26 else 255,)) for x in range(W))
                for y in range(H))
with open(os.path.join(folder, "sample.png"), "wb") as f:
    f.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", W, H, 8, 6, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(rows)) + chunk(b"IEND", b""))
with open(os.path.join(folder, "sample.tga"), "wb") as f:  # 24-bit, top-down
    f.write(struct.pack("<BBBHHBHHHHBB", 0, 0, 2, 0, 0, 0, 0, 0, W, H, 24, 0x20)
            + b"".join(bytes(rgb(x, y)[::-1]) for y in range(H) for x in range(W)))
for kind, extra in (("jpg", ["-quality", "95"]), ("gif", [])):
    subprocess.run(["convert", os.path.join(folder, "sample.png"), "-alpha", "off"] + extra
                   + [os.path.join(folder, "sample." + kind)], check=True)
