#!/usr/bin/env python3
"""Writes test.bmp: a 32 x 32 24-bit sprite (a soft white disc with a bright rim)
on opaque black, which the texture cache's colour key turns transparent."""
import math
import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tools"))
from lqmedia import bmp  # noqa: E402

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
    bmp(path, SIZE, SIZE, pixel)


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else "test.bmp")
