"""Sound and picture files for the framework's programs and tests (standard
library only): 24-bit BMP and PCM WAV writing, WAV reading as the header says
(the recorder's captures too), and the power of a tone in samples."""
import array
import math
import struct
import sys

RATE = 22050  # of the assets' sounds


def bmp(path, width, height, pixel):
    """A 24-bit BMP; pixel(x, y) gives (r, g, b), y down from the top."""
    row_bytes = width * 3
    pad = (4 - row_bytes % 4) % 4
    data = b"".join(
        b"".join(struct.pack("BBB", *pixel(x, y)[::-1]) for x in range(width)) + b"\0" * pad
        for y in range(height - 1, -1, -1))  # rows bottom-up
    header = struct.pack("<2sIHHI", b"BM", 54 + len(data), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    with open(path, "wb") as f:
        f.write(header + info + data)


def wav(path, samples, rate=RATE, bits=16, channels=1, level=32767, extra=b"", stray=b""):
    """samples: floats in -1..1, one per frame, copied to every channel: 16-bit
    samples of level times the value (clipped), or 8-bit ones of 128 + 100 times
    it. extra: chunks after the data; stray: bytes of a last partial block in the
    data chunk."""
    if bits == 8:
        data = bytes(int(128 + 100 * s) for s in samples for _ in range(channels))
    else:
        data = b"".join(struct.pack("<h", max(-32767, min(32767, int(level * s)))) * channels
                        for s in samples)
    data += stray
    align = channels * bits // 8
    fmt = struct.pack("<HHIIHH", 1, channels, rate, rate * align, align, bits)
    body = b"WAVE" + b"fmt " + struct.pack("<I", 16) + fmt
    body += b"data" + struct.pack("<I", len(data)) + data + b"\0" * (len(data) & 1) + extra
    with open(path, "wb") as f:
        f.write(b"RIFF" + struct.pack("<I", len(body)) + body)


def tone(freq, seconds, volume, attack=0.01):
    """A note at RATE that rises over attack seconds and fades; whole periods only,
    so that it starts and ends at zero and a loop of it joins cleanly."""
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


def read(path, channel=0):
    """Returns (rate, floats of one channel: 0 left, -1 the last), read as the WAV header says:
    16 or 32-bit integer or 32-bit float samples."""
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


def power(x, freq, rate):
    """The power of freq in the samples x (Goertzel)."""
    c = 2 * math.cos(2 * math.pi * freq / rate)
    p1 = p2 = 0.0
    for v in x:
        p1, p2 = v + c * p1 - p2, p1
    return p1 * p1 + p2 * p2 - c * p1 * p2
