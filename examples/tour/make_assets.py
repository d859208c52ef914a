#!/usr/bin/env python3
"""Writes the tour's assets into a folder (default: the current one):

  ship.bmp   32 x 32 arrow-head sprite on opaque black (the colour key's transparent)
  star.bmp   64 x 16 sprite sheet on opaque black, four 16 x 16 cells: a
             four-pointed star, a round star, a small cross, a spark streak
  music.wav  an 8-second A-minor arpeggio over a bass line, 22050 Hz 16-bit mono,
             made to loop seamlessly (every note ends at a zero crossing); the
             build encodes it to music.ogg, which the tour plays
  blip.wav   a quarter-second two-step chime (1500 Hz, then 2000 Hz)

Only the standard library (and tools/lqmedia.py); the same bytes on every run.
"""
import math
import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tools"))
from lqmedia import bmp, tone, wav  # noqa: E402

MELODY = [220.00, 261.63, 329.63, 440.00, 392.00, 329.63, 261.63, 329.63]
BASS = [110.00, 87.31, 130.81, 98.00]  # A2 F2 C3 G2, two seconds each
NOTE = 0.25                            # seconds per melody note
BLIP = [(1500.0, 0.10), (2000.0, 0.15)]


def ship(x, y):
    # An arrow head pointing up, white core fading to cyan at the edges.
    u, v = (x + 0.5) / 32 - 0.5, (y + 0.5) / 32
    half = 0.45 * v  # width grows toward the base
    if v < 0.08 or v > 0.92 or abs(u) > half or (v > 0.7 and abs(u) < (v - 0.7) * 1.2):
        return (0, 0, 0)
    edge = abs(u) / max(half, 1e-6)
    return (int(255 - 180 * edge), 255, 255)


def grey(c):
    c = max(0, min(255, int(c)))
    return (c, c, c)


def star(x, y):
    u, v = abs(x + 0.5 - 8), abs(y + 0.5 - 8)
    d = math.hypot(u, v)
    if d > 7.5 or min(u, v) * (1 + d) > 6:
        return (0, 0, 0)
    return grey(255 - 150 * d / 7.5)


def round_star(x, y):
    d = math.hypot(x + 0.5 - 8, y + 0.5 - 8)
    return grey(255 * (1 - d / 7.5) ** 0.7) if d < 7.5 else (0, 0, 0)


def cross(x, y):
    u, v = abs(x + 0.5 - 8), abs(y + 0.5 - 8)
    return grey(255 - 20 * max(u, v)) if min(u, v) < 1.5 and max(u, v) < 7.5 else (0, 0, 0)


def streak(x, y):
    # Long across, thin down: turned along a spark's flight. Bright at its head (right).
    u, v = (x + 0.5) / 16, abs(y + 0.5 - 8)
    return grey(255 * u * (1 - v / 4)) if v < 4 and 0.05 < u < 0.97 else (0, 0, 0)


def sheet(x, y):
    return (star, round_star, cross, streak)[x // 16](x % 16, y)


def music():
    melody = []
    for bar in range(4):
        for f in MELODY:
            melody += tone(f, NOTE, 0.35)
    bass = []
    for f in BASS:
        bass += tone(f, 2.0, 0.25, attack=0.05)
    return [a + b for a, b in zip(melody, bass)]


def blip():
    out = []
    for f, seconds in BLIP:
        out += tone(f, seconds, 0.6, attack=0.002)
    return out


def main(folder):
    os.makedirs(folder, exist_ok=True)
    bmp(os.path.join(folder, "ship.bmp"), 32, 32, ship)
    bmp(os.path.join(folder, "star.bmp"), 64, 16, sheet)
    wav(os.path.join(folder, "music.wav"), music())
    wav(os.path.join(folder, "blip.wav"), blip())


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else ".")
