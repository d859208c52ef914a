#!/usr/bin/env python3
"""Golden frames: a game's shot against the picture it should match (standard
library only, so that an installed framework runs it anywhere Python does).

  golden.py compare SHOT GOLDEN DIFF [TOLERANCE]
  golden.py keep SHOT GOLDEN


A pixel differs when one of its channels differs by more than TOLERANCE
(default 2); the shot fails when more than 0.1 % of its pixels differ. On a
failure DIFF is written (the golden picture dimmed, the differing pixels red, ringed in yellow)
and the status is 1; a line says what differed either way. Pictures are 8-bit
PNG files, RGB or RGBA (alpha ignored), as the framework's shots are.
keep writes SHOT as the golden picture GOLDEN, compressed (a shot is not).

LQ_GOLDEN_MAX_DIFFERING: the share of differing pixels a shot may have, in
percent (default 0.1; 0: not one pixel may differ).
"""
import os
import struct
import sys
import zlib

FAIL_SHARE = float(os.environ.get("LQ_GOLDEN_MAX_DIFFERING") or 0.1) / 100


class PngError(Exception):
    pass


def read_png(path):
    """(width, height, rows of RGB bytes)."""
    with open(path, "rb") as f:
        data = f.read()
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        raise PngError(f"{path} is not a PNG file")
    at, idat, header = 8, [], None
    while at + 8 <= len(data):
        length, kind = struct.unpack(">I4s", data[at:at + 8])
        body = data[at + 8:at + 8 + length]
        if kind == b"IHDR":
            header = struct.unpack(">IIBBBBB", body)
        elif kind == b"IDAT":
            idat.append(body)
        elif kind == b"IEND":
            break
        at += 12 + length
    if header is None:
        raise PngError(f"{path} has no header")
    width, height, depth, color, _, _, interlace = header
    if depth != 8 or color not in (2, 6) or interlace != 0:
        raise PngError(f"{path} is not 8-bit RGB or RGBA without interlacing; save it as such")
    step = 3 if color == 2 else 4
    try:
        raw = zlib.decompress(b"".join(idat))
    except zlib.error as e:
        raise PngError(f"{path}: damaged image data ({e})")
    stride = width * step
    if len(raw) < (stride + 1) * height:
        raise PngError(f"{path}: image data cut short")
    rows, previous = [], bytearray(stride)
    for y in range(height):
        kind = raw[y * (stride + 1)]
        line = bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
        for i in range(stride):  # the five row filters
            left = line[i - step] if i >= step else 0
            up = previous[i]
            corner = previous[i - step] if i >= step else 0
            if kind == 1:
                line[i] = (line[i] + left) & 255
            elif kind == 2:
                line[i] = (line[i] + up) & 255
            elif kind == 3:
                line[i] = (line[i] + (left + up) // 2) & 255
            elif kind == 4:
                p = left + up - corner
                pa, pb, pc = abs(p - left), abs(p - up), abs(p - corner)
                line[i] = (line[i] + (left if pa <= pb and pa <= pc else up if pb <= pc else corner)) & 255
            elif kind != 0:
                raise PngError(f"{path}: unknown row filter {kind}")
        previous = line
        rows.append(bytes(line) if step == 3 else bytes(b for i, b in enumerate(line) if i % 4 != 3))
    return width, height, rows


def write_png(path, width, height, rows):
    def chunk(kind, body):
        return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body))
    raw = b"".join(b"\0" + row for row in rows)
    with open(path, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0))
                + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def ring(rows, w, h, box, margin=12):
    """A yellow frame a margin outside the box, so that a few red pixels are found at a glance."""
    left, top = max(box[0] - margin, 0), max(box[1] - margin, 0)
    right, bottom = min(box[2] + margin, w - 1), min(box[3] + margin, h - 1)
    for y in range(top, bottom + 1):
        line = bytearray(rows[y])
        xs = range(left, right + 1) if y in (top, bottom) else (left, right)
        for x in xs:
            line[3 * x:3 * x + 3] = b"\xff\xff\x00"
        rows[y] = bytes(line)


def compare(shot, golden, diff, tolerance):
    w, h, got = read_png(shot)
    gw, gh, want = read_png(golden)
    if (w, h) != (gw, gh):
        print(f"{shot} is {w}x{h}, its golden picture {golden} {gw}x{gh}")
        return 1
    count, worst, box, out = 0, 0, None, []
    for y in range(h):
        a, b = got[y], want[y]
        line = bytearray(b[i] // 3 for i in range(len(b)))  # the golden picture dimmed
        if a != b:
            for x in range(w):
                d = max(abs(a[3 * x + c] - b[3 * x + c]) for c in range(3))
                if d > tolerance:
                    count += 1
                    worst = max(worst, d)
                    line[3 * x:3 * x + 3] = b"\xff\x00\x00"
                    box = (min(box[0], x), min(box[1], y), max(box[2], x), max(box[3], y)) if box else (x, y, x, y)
        out.append(bytes(line))
    share = count / (w * h)
    where = f", within ({box[0]}, {box[1]})-({box[2]}, {box[3]}), by up to {worst}" if box else ""
    text = f"{count} of {w * h} pixels differ by more than {tolerance} ({100 * share:.3f} %{where})"
    if share <= FAIL_SHARE:
        print(f"matches: {text}")
        return 0
    ring(out, w, h, box)
    write_png(diff, w, h, out)
    print(f"differs: {text}, over the {100 * FAIL_SHARE:g} % allowed; differing pixels in red, "
          f"ringed in yellow: {diff}")
    return 1


def main(argv):
    keep = len(argv) == 4 and argv[1] == "keep"
    if not keep and (len(argv) not in (5, 6) or argv[1] != "compare"):
        print(__doc__, file=sys.stderr)
        return 2
    try:
        if keep:
            write_png(argv[3], *read_png(argv[2]))
            return 0
        return compare(argv[2], argv[3], argv[4], int(argv[5]) if len(argv) == 6 else 2)
    except (OSError, PngError, ValueError) as e:
        print(f"cannot compare: {e}")
        return 2


if __name__ == "__main__":
    sys.exit(main(sys.argv))
