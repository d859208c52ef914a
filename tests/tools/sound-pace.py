#!/usr/bin/env python3
"""Wine's recorder device: ALSA's file plugin pipes a WAV header and then the
samples into this script, which writes them to the file named by its argument at
the header's byte rate. Its "null" device takes samples as fast as they come;
the blocking pipe makes Wine play in real time, so what is recorded follows the
clock of the program that plays it."""
import struct, sys, time

source, out = sys.stdin.buffer, open(sys.argv[1], "wb")
header = source.read(44)
out.write(header)
rate = struct.unpack_from("<I", header, 28)[0] if len(header) == 44 else 0
rate = rate or 384000
start, total = time.monotonic(), 0
while True:
    chunk = source.read1(rate // 100)
    if not chunk:
        break
    out.write(chunk)
    total += len(chunk)
    ahead = total / rate - (time.monotonic() - start)
    if ahead > 0:
        time.sleep(ahead)
