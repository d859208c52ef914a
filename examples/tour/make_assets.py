#!/usr/bin/env python3
"""Writes the tour's assets into a folder (default: the current one):

  ship.bmp   32 x 32 arrow-head sprite on opaque black (the colour key's transparent)
  star.bmp   16 x 16 four-pointed star on opaque black
  music.wav  an 8-second A-minor arpeggio over a bass line, 22050 Hz 16-bit mono,
             made to loop seamlessly (every note ends at a zero crossing); the
             build encodes it to music.ogg, which the tour plays
  blip.wav   a quarter-second two-step chime (1500 Hz, then 2000 Hz)

Only the standard library; the same bytes on every run.
"""
import math
import os
import struct
import sys

RATE = 22050
MELODY = [220.00, 261.63, 329.63, 440.00, 392.00, 329.63, 261.63, 329.63]
BASS = [110.00, 87.31, 130.81, 98.00]  # A2 F2 C3 G2, two seconds each
NOTE = 0.25                            # seconds per melody note
BLIP = [(1500.0, 0.10), (2000.0, 0.15)]


def bmp(path, size, pixel):
    row_bytes = size * 3
    pad = (4 - row_bytes % 4) % 4
    data = b"".join(
        b"".join(struct.pack("BBB", *pixel(x, y)[::-1]) for x in range(size)) + b"\0" * pad
        for y in range(size - 1, -1, -1))  # rows bottom-up
    header = struct.pack("<2sIHHI", b"BM", 54 + len(data), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, size, size, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    with open(path, "wb") as f:
        f.write(header + info + data)


def ship(x, y):
    # An arrow head pointing up, white core fading to cyan at the edges.
    u, v = (x + 0.5) / 32 - 0.5, (y + 0.5) / 32
    half = 0.45 * v  # width grows toward the base
    if v < 0.08 or v > 0.92 or abs(u) > half or (v > 0.7 and abs(u) < (v - 0.7) * 1.2):
        return (0, 0, 0)
    edge = abs(u) / max(half, 1e-6)
    return (int(255 - 180 * edge), 255, 255)


def star(x, y):
    u, v = abs(x + 0.5 - 8), abs(y + 0.5 - 8)
    d = math.hypot(u, v)
    if d > 7.5 or min(u, v) * (1 + d) > 6:
        return (0, 0, 0)
    c = int(255 - 150 * d / 7.5)
    return (c, c, c)


def wav(path, samples):
    data = b"".join(struct.pack("<h", max(-32767, min(32767, int(s * 32767)))) for s in samples)
    fmt = struct.pack("<HHIIHH", 1, 1, RATE, RATE * 2, 2, 16)
    with open(path, "wb") as f:
        f.write(b"RIFF" + struct.pack("<I", 4 + 8 + len(fmt) + 8 + len(data)) + b"WAVE")
        f.write(b"fmt " + struct.pack("<I", len(fmt)) + fmt)
        f.write(b"data" + struct.pack("<I", len(data)) + data)


def tone(freq, seconds, volume, attack=0.01):
    # Whole periods only, so the note starts and ends at zero and the loop joins cleanly.
    n = int(round(freq * seconds)) * RATE / freq
    count = int(seconds * RATE)
    out = []
    for i in range(count):
        t = i / RATE
        if i >= n:
            out.append(0.0)
            continue
        env = min(1.0, t / attack) * (1.0 - t / seconds) ** 0.5
        out.append(volume * env * math.sin(2 * math.pi * freq * t))
    return out


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
    bmp(os.path.join(folder, "ship.bmp"), 32, ship)
    bmp(os.path.join(folder, "star.bmp"), 16, star)
    wav(os.path.join(folder, "music.wav"), music())
    wav(os.path.join(folder, "blip.wav"), blip())


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else ".")
