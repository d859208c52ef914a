#!/usr/bin/env python3
"""Wine's recorder device: ALSA's file plugin pipes a WAV header and then the
samples into this script, which writes them to the file named by its argument at
the header's byte rate. Its "null" device takes samples as fast as they come;
the blocking pipe makes Wine play in real time, so what is recorded follows the
clock of the program that plays it.

The plugin's header cannot be trusted: through a pipe its sizes stay 0, and it
labels Wine's 32-bit float samples integer PCM. The file gets a header that says
what it holds, its sizes kept up to date as the samples come (so a recording cut
short by a killed program is still a whole WAV file)."""
import struct, sys, time

source, out = sys.stdin.buffer, open(sys.argv[1], "wb")
header = bytearray(source.read(44))
valid = len(header) == 44 and header[:4] == b"RIFF" and header[36:40] == b"data"
# tag, channels, sample rate, byte rate, block size, bits per sample
fmt = struct.unpack_from("<HHIIHH", header, 20) if valid else (0,) * 6
if fmt[0] == 1 and fmt[5] == 32:
    struct.pack_into("<H", header, 20, 3)  # WAVE_FORMAT_IEEE_FLOAT
out.write(header)
rate = fmt[3] or 384000  # bytes a second
start, total = time.monotonic(), 0


def sizes():
    """The RIFF and data sizes of what has been written so far."""
    if valid and out.seekable():
        out.seek(4)
        out.write(struct.pack("<I", 36 + total))
        out.seek(40)
        out.write(struct.pack("<I", total))
        out.seek(0, 2)
    out.flush()


while True:
    chunk = source.read1(rate // 100)
    if not chunk:
        break
    out.write(chunk)
    total += len(chunk)
    sizes()
    ahead = total / rate - (time.monotonic() - start)
    if ahead > 0:
        time.sleep(ahead)
