#!/usr/bin/env python3
"""Writes @NAME@'s assets into a folder (default: the current one):

  sprite.bmp  32 x 32 green disc with a white nose at the top, on opaque black
              (opaque black is transparent)
  chime.wav   a 0.4-second 880 Hz tone, 22050 Hz 16-bit mono

Uses the framework's BMP and WAV writers (tools/lqmedia.py); standard library only.
"""
import math
import os
import sys

sys.path.insert(0, os.path.join("@LUMAQUILL_DIR@", "tools"))
from lqmedia import bmp, tone, wav  # noqa: E402


def sprite(x, y):
    # A green disc with a white nose at the top: the way it faces.
    u, v = x + 0.5 - 16, y + 0.5 - 16
    d = math.hypot(u, v)
    if d > 15:
        return (0, 0, 0)
    return (255, 255, 255) if abs(u) < 2.5 and -14 < v < -8 else (60, 255 - int(4 * d), 60)


def main(folder):
    os.makedirs(folder, exist_ok=True)
    bmp(os.path.join(folder, "sprite.bmp"), 32, 32, sprite)
    wav(os.path.join(folder, "chime.wav"), tone(880.0, 0.4, 0.6))


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else ".")
