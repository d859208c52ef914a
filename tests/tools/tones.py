#!/usr/bin/env python3
"""Finds tones in captured audio (standard library only).

  tones.py CAPTURE FREQ...

CAPTURE is a WAV file of 16 or 32-bit integer or 32-bit float samples, read
as its header says (a header that lies reads as noise or silence).
The left channel is cut into 43 ms windows every 50 ms; in each, the share of the
window's power at each frequency is measured (1.0 for a pure tone of exactly that
frequency). A frequency is heard in a window when its share is at least 0.15 and
the window is not silent. Prints one line per frequency:
  FREQ windows N first T last T       (T in seconds from the capture's start)
and a first line "seconds S fill F": the capture's length, and the mean level
of its sound (samples above 0.001) over its peak: 0.64 for a steady sine tone,
less when it fades; a float capture read as integers reads as a square wave
near its peak, with F above 0.8.
"""
import array
import math
import struct
import sys

DECIMATE = 4          # averaging 4 samples keeps everything below 3 kHz
WINDOW = 512          # samples after decimation: 43 ms
HOP_SECONDS = 0.05
SHARE = 0.15
SILENCE = 1e-4        # mean square of a silent window


def read(path, channel=0):
    """Returns (rate, floats of one channel: 0 left, -1 the last), read as the WAV header says."""
    with open(path, "rb") as f:
        data = f.read()
    if data[:4] != b"RIFF" or data[8:12] != b"WAVE":
        sys.exit(f"tones.py: {path} is not a WAV file")
    pos, body, fmt = 12, b"", None
    while pos + 8 <= len(data):
        cid, size = data[pos:pos + 4], struct.unpack("<I", data[pos + 4:pos + 8])[0]
        if cid == b"fmt ":
            fmt, channels, rate = struct.unpack("<HHI", data[pos + 8:pos + 16])
            bits = struct.unpack("<H", data[pos + 22:pos + 24])[0]
            if fmt == 0xFFFE:  # extensible: the sub-format's first word
                fmt = struct.unpack("<H", data[pos + 32:pos + 34])[0]
        elif cid == b"data":
            body = data[pos + 8:pos + 8 + size]
        pos += 8 + size + (size & 1)
    if fmt is None or channels == 0:
        sys.exit(f"tones.py: {path} has no format")
    data = body
    kinds = {(3, 32): ("f", 1.0), (1, 16): ("h", 1.0 / 32768), (1, 32): ("i", 1.0 / 2 ** 31)}
    if (fmt, bits) not in kinds or array.array(kinds[fmt, bits][0]).itemsize * 8 != bits:
        sys.exit(f"tones.py: unsupported format {fmt}, {bits} bits")
    kind, scale = kinds[fmt, bits]
    samples = array.array(kind)
    step = samples.itemsize * channels
    samples.frombytes(data[:len(data) // step * step])
    if sys.byteorder == "big":
        samples.byteswap()
    return rate, [v * scale for v in samples[channel % channels::channels]]


def main(argv):
    if len(argv) < 3:
        print(__doc__, file=sys.stderr)
        return 2
    rate, left = read(argv[1])
    freqs = [float(f) for f in argv[2:]]
    low = [sum(left[i:i + DECIMATE]) / DECIMATE for i in range(0, len(left) - DECIMATE + 1, DECIMATE)]
    rate /= DECIMATE
    hann = [0.5 - 0.5 * math.cos(2 * math.pi * i / (WINDOW - 1)) for i in range(WINDOW)]
    s1, s2 = sum(hann), sum(w * w for w in hann)
    coeffs = [2 * math.cos(2 * math.pi * f / rate) for f in freqs]
    found = [[] for _ in freqs]
    hop = int(HOP_SECONDS * rate)
    for start in range(0, len(low) - WINDOW + 1, hop):
        x = [a * b for a, b in zip(low[start:start + WINDOW], hann)]
        energy = sum(v * v for v in x)
        if energy / WINDOW < SILENCE:
            continue
        for k, c in enumerate(coeffs):
            p1 = p2 = 0.0
            for v in x:  # Goertzel
                p1, p2 = v + c * p1 - p2, p1
            power = p1 * p1 + p2 * p2 - c * p1 * p2
            if power * 2 * s2 / (s1 * s1 * energy) >= SHARE:
                found[k].append(start / rate)
    loud = [abs(v) for v in left if abs(v) > 1e-3]
    fill = sum(loud) / len(loud) / max(loud) if loud else 0.0
    print(f"seconds {len(low) / rate:.2f} fill {fill:.2f}")
    for f, times in zip(freqs, found):
        if times:
            print(f"{f:g} windows {len(times)} first {times[0]:.2f} last {times[-1]:.2f}")
        else:
            print(f"{f:g} windows 0")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
