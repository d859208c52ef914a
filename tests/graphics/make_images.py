#!/usr/bin/env python3
"""Writes the test images into a folder: sample.bmp, sample.png (with alpha) and
sample.tga of one 37 x 23 picture (a black corner, which the texture cache keys
out), then sample.jpg and sample.gif from the PNG with ImageMagick's convert."""
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


def alpha(x, y):
    return 128 if 20 <= x < 26 else 255


def png(path):
    rows = b"".join(b"\0" + b"".join(bytes(rgb(x, y) + (alpha(x, y),)) for x in range(W))
                    for y in range(H))

    def chunk(kind, body):
        return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body))
    with open(path, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", W, H, 8, 6, 0, 0, 0))
                + chunk(b"IDAT", zlib.compress(rows)) + chunk(b"IEND", b""))


def tga(path):
    head = struct.pack("<BBBHHBHHHHBB", 0, 0, 2, 0, 0, 0, 0, 0, W, H, 24, 0x20)  # top-down
    data = b"".join(bytes(rgb(x, y)[::-1]) for y in range(H) for x in range(W))
    with open(path, "wb") as f:
        f.write(head + data)


def main(folder):
    os.makedirs(folder, exist_ok=True)
    bmp(os.path.join(folder, "sample.bmp"), W, H, rgb)
    png(os.path.join(folder, "sample.png"))
    tga(os.path.join(folder, "sample.tga"))
    for kind, extra in (("jpg", ["-quality", "95"]), ("gif", [])):
        subprocess.run(["convert", os.path.join(folder, "sample.png"), "-alpha", "off"] + extra
                       + [os.path.join(folder, "sample." + kind)], check=True)


if __name__ == "__main__":
    main(sys.argv[1])
