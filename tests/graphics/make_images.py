#!/usr/bin/env python3
"""Test images, written into FOLDER:
- sample.bmp/.png/.tga/.jpg/.gif: one 37 x 23 picture with a black corner (keyed
  out), the base of the damaged-image cases;
- tga/*.tga: TGA files of every layout the reader knows (also the fuzzer's seeds);
- check/*: one image of each kind the texture cache must read right (palette PNGs
  of 1, 2 and 4 bits, 16-bit RGBA, grey, interlaced, JPEG, GIF, 1-bit BMP, a
  colour-mapped TGA);
- texels/PATH.argb: what Pillow, an independent decoder, reads from each file of
  tga/ and check/ (PATH below) after the black key: width, height, then the texels, rows top
  down, as little-endian 32-bit words 0xAARRGGBB (opaque black made 0);
- texels.txt: a line "PATH TOLERANCE" for each, PATH relative to FOLDER, TOLERANCE
  the difference allowed in a channel (0 for lossless formats, 2 or 4 for JPEG).
PNG, BMP and TGA files are written by hand here; Pillow (Debian: python3-pil)
writes the palette and grey PNGs, the JPEGs and the GIFs."""
import os
import struct
import sys
import zlib

from PIL import Image

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "..", "tools"))
from lqmedia import bmp  # noqa: E402

W, H = 37, 23


def rgb(x, y):
    return (0, 0, 0) if x < 6 and y < 5 else (x * 7 % 256, y * 11 % 256, (x + y) * 5 % 256)


def chunk(kind, body):
    return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body))


def png(path, width, height, depth, colour_type, rows, extra=b"", interlace=0):
    """rows: the filtered scanlines' bytes (filter bytes included), in file order."""
    head = struct.pack(">IIBBBBB", width, height, depth, colour_type, 0, 0, interlace)
    with open(path, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", head) + extra
                + chunk(b"IDAT", zlib.compress(rows)) + chunk(b"IEND", b""))


def adam7(width, height, pixel_bytes):
    """The passes of an interlaced PNG: for each, its pixels' (x, y) row by row."""
    passes = ((0, 0, 8, 8), (4, 0, 8, 8), (0, 4, 4, 8), (2, 0, 4, 4), (0, 2, 2, 4), (1, 0, 2, 2), (0, 1, 1, 2))
    for x0, y0, dx, dy in passes:
        rows = [[(x, y) for x in range(x0, width, dx)] for y in range(y0, height, dy)]
        yield [r for r in rows if r]


def tga(path, width, height, pixels, kind, bits, descriptor=0x20, cmap=None, cmap_bits=24, rle=False,
        image_id=b""):
    """pixels: each pixel's bytes as the file holds them, in file order."""
    data = b""
    if rle:  # runs of equal pixels as repeat packets, the rest as raw ones
        i = 0
        while i < len(pixels):
            n = 1
            while i + n < len(pixels) and n < 128 and pixels[i + n] == pixels[i]:
                n += 1
            if n > 1:
                data += bytes([0x80 | (n - 1)]) + pixels[i]
            else:
                while i + n < len(pixels) and n < 128 and pixels[i + n] != pixels[i + n - 1]:
                    n += 1
                data += bytes([n - 1]) + b"".join(pixels[i:i + n])
            i += n
    else:
        data = b"".join(pixels)
    cmap = cmap or []
    head = struct.pack("<BBBHHBHHHHBB", len(image_id), 1 if cmap else 0, kind + (8 if rle else 0), 0,
                       len(cmap), cmap_bits if cmap else 0, 0, 0, width, height, bits, descriptor)
    with open(path, "wb") as f:
        f.write(head + image_id + b"".join(cmap) + data)


def write_texels(image_path, out_path):
    """Pillow's decode of the file, keyed, as the texture cache holds it."""
    with Image.open(image_path) as im:
        im.seek(0)
        rgba = im.convert("RGBA")
        words = []
        for r, g, b, a in rgba.getdata():
            argb = a << 24 | r << 16 | g << 8 | b
            words.append(0 if argb == 0xFF000000 else argb)
        with open(out_path, "wb") as f:
            f.write(struct.pack("<II", *rgba.size) + struct.pack("<%dI" % len(words), *words))


folder = sys.argv[1]
for sub in ("tga", "check", "texels/tga", "texels/check"):
    os.makedirs(os.path.join(folder, sub), exist_ok=True)
out = lambda *parts: os.path.join(folder, *parts)  # noqa: E731

# The samples.
bmp(out("sample.bmp"), W, H, rgb)
rows = b"".join(b"\0" + b"".join(bytes(rgb(x, y) + (128 if 20 <= x < 26 else 255,)) for x in range(W))
                for y in range(H))
png(out("sample.png"), W, H, 8, 6, rows)
tga(out("sample.tga"), W, H, [bytes(rgb(x, y)[::-1]) for y in range(H) for x in range(W)], 2, 24)
picture = Image.frombytes("RGB", (W, H), b"".join(bytes(rgb(x, y)) for y in range(H) for x in range(W)))
picture.save(out("sample.jpg"), quality=95)
picture.save(out("sample.gif"))

checks = []  # (path relative to folder, tolerance)

# TGA: every layout, small and with runs (the fuzzer's seeds); 9 x 7, bottom-up
# unless said, with a black corner.
TW, TH = 9, 7
tga_rgb = [(0, 0, 0) if x < 2 and y < 2 else (x * 29 % 256, y * 37 % 256, (x * y) * 13 % 256)
           for y in range(TH) for x in range(TW)]
tga_rgb[TW * 4:TW * 4 + 6] = [(200, 100, 50)] * 6  # a run
file_order = lambda values, top_down: values if top_down else [  # noqa: E731
    v for y in range(TH - 1, -1, -1) for v in values[y * TW:(y + 1) * TW]]
bgr = lambda c: bytes(c[::-1])  # noqa: E731
word15 = lambda c: struct.pack("<H", (c[0] >> 3) << 10 | (c[1] >> 3) << 5 | c[2] >> 3)  # noqa: E731
palette = sorted(set(tga_rgb))
for rle in (False, True):
    suffix = "_rle" if rle else ""
    for top_down in (False, True):
        d = 0x20 if top_down else 0
        o = "_top" if top_down else ""
        tga(out("tga", "rgb24%s%s.tga" % (suffix, o)), TW, TH, [bgr(c) for c in file_order(tga_rgb, top_down)],
            2, 24, d, rle=rle)
    tga(out("tga", "rgba32%s.tga" % suffix), TW, TH,
        [bgr(c) + bytes([(i * 17) % 256]) for i, c in enumerate(tga_rgb)], 2, 32, 0x28, rle=rle)
    tga(out("tga", "rgb16%s.tga" % suffix), TW, TH, [word15(c) for c in tga_rgb], 2, 16, 0x20, rle=rle)
    tga(out("tga", "grey%s.tga" % suffix), TW, TH, [bytes([sum(c) // 3]) for c in tga_rgb], 3, 8, 0x20, rle=rle)
    tga(out("tga", "mapped%s.tga" % suffix), TW, TH, [bytes([palette.index(c)]) for c in tga_rgb], 1, 8,
        0x20, cmap=[bgr(c) for c in palette], rle=rle, image_id=b"map")
    tga(out("tga", "mapped16%s.tga" % suffix), TW, TH, [bytes([palette.index(c)]) for c in tga_rgb], 1, 8,
        0x20, cmap=[word15(c) for c in palette], cmap_bits=16, rle=rle)
for name in sorted(os.listdir(out("tga"))):
    checks.append(("tga/" + name, 0))

# The kinds of image the platform's decoder must read right.
flag = Image.new("P", (W, H))
flag.putpalette([0x66, 0x66, 0x66, 0xCC, 0x22, 0x11, 0x11, 0x88, 0x33, 0xF0, 0xF0, 0xF0,
                 0, 0, 0, 0x22, 0x44, 0xAA] + [(i * 16) % 256 for i in range(30)])
flag.putdata([(x // 3 + y) % 16 if y > 2 else (0 if x < 20 else 4) for y in range(H) for x in range(W)])
for bits in (1, 2, 4):
    im = flag.copy()
    im.putdata([v % (1 << bits) for v in flag.getdata()])
    im.save(out("check", "palette%d.png" % bits), bits=bits)
    checks.append(("check/palette%d.png" % bits, 0))
flag.save(out("check", "palette4_alpha.png"), bits=4, transparency=bytes([255, 128, 0] + [255] * 13))
checks.append(("check/palette4_alpha.png", 0))
Image.frombytes("L", (W, H), bytes((x * 7 + y * 3) % 256 for y in range(H) for x in range(W))).save(
    out("check", "grey.png"))
Image.frombytes("LA", (W, H), b"".join(bytes([x * 6, 255 - y * 9]) for y in range(H) for x in range(W))).save(
    out("check", "grey_alpha.png"))
checks += [("check/grey.png", 0), ("check/grey_alpha.png", 0)]
# 16-bit RGBA, high and low bytes equal: any reduction to 8 bits gives the high byte.
rows = b"".join(b"\0" + b"".join(bytes(2 * (v,)) for x in range(W) for v in rgb(x, y) + (255 - x * 5,))
                for y in range(H))
png(out("check", "rgba16.png"), W, H, 16, 6, rows)
# Interlaced (Adam7) RGBA with a palette-free alpha ramp.
rows = b"".join(b"\0" + b"".join(bytes(rgb(x, y) + (255 - y * 7,)) for x, y in row)
                for rows_of_pass in adam7(W, H, 4) for row in rows_of_pass)
png(out("check", "interlaced.png"), W, H, 8, 6, rows, interlace=1)
checks += [("check/rgba16.png", 0), ("check/interlaced.png", 0)]
smooth = Image.frombytes("RGB", (64, 48), b"".join(
    bytes((x * 4, y * 5, 128 + (x - y) * 2)) for y in range(48) for x in range(64)))
# JPEG: full-size colour within 2 a channel; colour at half size (4:2:0, the
# usual) within 4, as decoders may fill the missing colour samples differently.
smooth.save(out("check", "photo444.jpg"), quality=90, subsampling=0)
smooth.save(out("check", "photo420.jpg"), quality=90, subsampling=2)
checks += [("check/photo444.jpg", 2), ("check/photo420.jpg", 4)]
gif = flag.copy()
gif.info["transparency"] = 2
gif.save(out("check", "flag.gif"), transparency=2)
checks.append(("check/flag.gif", 0))
# A 1-bit BMP, bottom-up, rows padded to 4 bytes, its two colours neither black nor white.
bits = [(x * y + x) % 3 == 0 for y in range(H) for x in range(W)]
row_bytes = ((W + 31) // 32) * 4
data = b"".join(bytes(sum(bits[y * W + x] << (7 - x % 8) for x in range(b * 8, min(W, b * 8 + 8)))
                      for b in range(row_bytes)) for y in range(H - 1, -1, -1))
with open(out("check", "mono.bmp"), "wb") as f:
    f.write(struct.pack("<2sIHHI", b"BM", 62 + len(data), 0, 0, 62)
            + struct.pack("<IiiHHIIiiII", 40, W, H, 1, 1, 0, len(data), 2835, 2835, 2, 2)
            + bytes([0x30, 0x60, 0x90, 0, 0xE0, 0xD0, 0x10, 0]) + data)
checks.append(("check/mono.bmp", 0))
# A colour-mapped TGA, bottom-up, as 8-bit indices into a map of 24-bit colours.
tga(out("check", "colour_mapped.tga"), W, H, [bytes([(x * 3 + y) % len(palette)]) for y in range(H - 1, -1, -1)
                                       for x in range(W)], 1, 8, 0, cmap=[bgr(c) for c in palette])
checks.append(("check/colour_mapped.tga", 0))

for path, _ in checks:
    write_texels(out(path), out("texels", path + ".argb"))
with open(out("texels.txt"), "w") as f:
    f.write("".join("%s %d\n" % c for c in checks))
