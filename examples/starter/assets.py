#!/usr/bin/env python3
"""Writes @NAME@'s assets into a folder (default: the current one):

  sprite.bmp  32 x 32 green disc with a white nose at the top, on opaque black
              (opaque black is transparent)
  chime.wav   a 0.4-second 880 Hz tone, 22050 Hz 16-bit mono

Python's standard library only: the game builds wherever Python runs.
"""
import math
import os
import struct
import sys

RATE = 22050


def sprite(x, y):
    # A green disc with a white nose at the top: the way it faces.
    u, v = x + 0.5 - 16, y + 0.5 - 16
    d = math.hypot(u, v)
    if d > 15:
        return (0, 0, 0)
    return (255, 255, 255) if abs(u) < 2.5 and -14 < v < -8 else (60, 255 - int(4 * d), 60)


def bmp(path, width, height, pixel):
    """A 24-bit BMP; pixel(x, y) gives (r, g, b), y down from the top."""
    pad = b"\0" * ((4 - width * 3 % 4) % 4)
    data = b"".join(b"".join(bytes(pixel(x, y)[::-1]) for x in range(width)) + pad
                    for y in range(height - 1, -1, -1))  # rows bottom-up
    header = struct.pack("<2sIHHI", b"BM", 54 + len(data), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    with open(path, "wb") as f:
        f.write(header + info + data)


def chime(path, freq=880.0, seconds=0.4, volume=0.6):
    """A tone that rises in 10 ms and fades out, as a 16-bit mono WAV file."""
    count = int(seconds * RATE)
    samples = b"".join(
        struct.pack("<h", int(32767 * volume * min(1.0, t / 0.01) * (1.0 - t / seconds) ** 0.5
                              * math.sin(2 * math.pi * freq * t)))
        for t in (i / RATE for i in range(count)))
    fmt = struct.pack("<HHIIHH", 1, 1, RATE, RATE * 2, 2, 16)
    body = b"WAVE" + b"fmt " + struct.pack("<I", 16) + fmt + b"data" + struct.pack("<I", len(samples)) + samples
    with open(path, "wb") as f:
        f.write(b"RIFF" + struct.pack("<I", len(body)) + body)


def main(folder):
    os.makedirs(folder, exist_ok=True)
    bmp(os.path.join(folder, "sprite.bmp"), 32, 32, sprite)
    chime(os.path.join(folder, "chime.wav"))


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else ".")
