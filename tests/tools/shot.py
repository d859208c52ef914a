#!/usr/bin/env python3
"""Reads screenshots for the end-to-end scripts (no libraries beyond ImageMagick).

  shot.py pixel IMG X Y
      prints "R G B" of one pixel
  shot.py blob IMG X Y W H RMIN GMIN BMIN RMAX GMAX BMAX
      over the rectangle, the pixels whose channels all lie within the bounds:
      prints "count N cx CX cy CY left L top T right R bottom B" (centroid and
      bounding box in image coordinates; count 0 prints only the count)
  shot.py mean IMG X Y W H
      prints the mean "R G B" of the rectangle
  shot.py warm IMG X Y W H RMIN
      counts the pixels of the rectangle whose red is at least RMIN and above
      their green, which is above their blue: prints "count N"
"""
import subprocess
import sys


def load(path):
    ppm = subprocess.run(["convert", path, "-depth", "8", "ppm:-"], check=True,
                         stdout=subprocess.PIPE).stdout
    # Header: P6 <w> <h> <max>, separated by white space, then the raw bytes.
    fields, pos = [], 0
    while len(fields) < 4:
        while ppm[pos:pos + 1].isspace():
            pos += 1
        end = pos
        while not ppm[end:end + 1].isspace():
            end += 1
        fields.append(ppm[pos:end])
        pos = end
    pos += 1
    return int(fields[1]), int(fields[2]), ppm[pos:]


def rect(w, h, x, y, rw, rh):
    x0, y0 = max(0, x), max(0, y)
    return x0, y0, min(w, x + rw), min(h, y + rh)


def main(argv):
    cmd, path = argv[1], argv[2]
    w, h, data = load(path)
    nums = [int(v) for v in argv[3:]]
    if cmd == "pixel":
        i = (nums[1] * w + nums[0]) * 3
        print(data[i], data[i + 1], data[i + 2])
        return 0
    x0, y0, x1, y1 = rect(w, h, *nums[:4])
    if cmd == "mean":
        total, n = [0, 0, 0], max(1, (x1 - x0) * (y1 - y0))
        for y in range(y0, y1):
            for x in range(x0, x1):
                i = (y * w + x) * 3
                for c in range(3):
                    total[c] += data[i + c]
        print(*(round(t / n) for t in total))
        return 0
    if cmd == "warm":
        n = 0
        for y in range(y0, y1):
            for x in range(x0, x1):
                r, g, b = data[(y * w + x) * 3:(y * w + x) * 3 + 3]
                n += r >= nums[4] and r > g > b
        print(f"count {n}")
        return 0
    if cmd == "blob":
        lo, hi = nums[4:7], nums[7:10]
        n = sx = sy = 0
        left, top, right, bottom = w, h, -1, -1
        for y in range(y0, y1):
            for x in range(x0, x1):
                i = (y * w + x) * 3
                if all(lo[c] <= data[i + c] <= hi[c] for c in range(3)):
                    n += 1
                    sx += x
                    sy += y
                    left, top = min(left, x), min(top, y)
                    right, bottom = max(right, x), max(bottom, y)
        if n == 0:
            print("count 0")
        else:
            print(f"count {n} cx {sx / n:.2f} cy {sy / n:.2f} "
                  f"left {left} top {top} right {right} bottom {bottom}")
        return 0
    print(__doc__, file=sys.stderr)
    return 2


if __name__ == "__main__":
    sys.exit(main(sys.argv))
