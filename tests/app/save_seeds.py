"""Valid save files, the save fuzzer's starting corpus: save_seeds.py FOLDER."""
import os
import struct
import sys
import zlib

folder = sys.argv[1]
os.makedirs(folder, exist_ok=True)
for i, data in enumerate([b"", b"x", b"high scores\x00" * 3, bytes(range(256)) * 4]):
    with open(os.path.join(folder, f"save{i}"), "wb") as f:
        f.write(b"LSV1" + struct.pack("<II", len(data), zlib.crc32(data)) + data)
