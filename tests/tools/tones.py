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
import math
import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tools"))
from lqmedia import power, read  # noqa: E402

DECIMATE = 4          # averaging 4 samples keeps everything below 3 kHz
WINDOW = 512          # samples after decimation: 43 ms
HOP_SECONDS = 0.05
SHARE = 0.15
SILENCE = 1e-4        # mean square of a silent window


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
    found = [[] for _ in freqs]
    hop = int(HOP_SECONDS * rate)
    for start in range(0, len(low) - WINDOW + 1, hop):
        x = [a * b for a, b in zip(low[start:start + WINDOW], hann)]
        energy = sum(v * v for v in x)
        if energy / WINDOW < SILENCE:
            continue
        for k, f in enumerate(freqs):
            if power(x, f, rate) * 2 * s2 / (s1 * s1 * energy) >= SHARE:
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
