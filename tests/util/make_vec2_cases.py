#!/usr/bin/env python3
"""Writes vec2_cases.h: inputs on which rounding every step to float gives another
result than rounding each exact value once (the sum of squares, the root, and
v / length * new length), with the exact results. Found by search, so the table
holds what a float-by-float implementation gets wrong, not guessed cases.

  tests/util/make_vec2_cases.py > tests/util/vec2_cases.h
"""
import math, random, struct
from fractions import Fraction

def rn32(q):
    """The float nearest to the rational q (ties to even), as a Python float."""
    q = Fraction(q)
    if q == 0:
        return 0.0
    sign, q = (-1 if q < 0 else 1), abs(q)
    e = q.numerator.bit_length() - q.denominator.bit_length()
    if Fraction(2) ** e > q:
        e -= 1
    quantum = max(e, -126) - 23
    m = q / Fraction(2) ** quantum
    n = m.numerator // m.denominator
    rest = m - n
    if rest > Fraction(1, 2) or (rest == Fraction(1, 2) and n % 2 == 1):
        n += 1
    value = Fraction(n) * Fraction(2) ** quantum
    return sign * (math.inf if value >= 2 ** 128 else float(value))

def root32(s):
    # A double root rounded again to float is the float root (53 >= 2 * 24 + 2).
    return rn32(Fraction(math.sqrt(s)))

def length_once(x, y):
    return root32(rn32(Fraction(x) ** 2 + Fraction(y) ** 2))

def length_stepwise(x, y):
    return root32(rn32(Fraction(rn32(Fraction(x) ** 2)) + Fraction(rn32(Fraction(y) ** 2))))

def length_via_double(x, y):
    return root32(rn32(Fraction(x * x + y * y)))  # the double sum rounded to float

def set_once(x, y, length):
    l = length_once(x, y)
    return (x, y) if l == 0 else tuple(rn32(Fraction(v) / Fraction(l) * Fraction(length)) for v in (x, y))

def set_stepwise(x, y, length):
    l = length_stepwise(x, y)
    return (x, y) if l == 0 else tuple(rn32(Fraction(rn32(Fraction(v) / Fraction(l))) * Fraction(length))
                                       for v in (x, y))

def f32(v):
    return struct.unpack('f', struct.pack('f', v))[0]

def literal(v):
    mantissa, exponent = v.hex().split('p')
    return f"{mantissa.rstrip('0').rstrip('.')}p{exponent}f"


def demo_vector(rng):
    # Offsets toward the player and velocities as the chaser makes them.
    kind = rng.randrange(3)
    if kind == 0:
        return f32(rng.uniform(-800, 800)), f32(rng.uniform(-600, 600))
    if kind == 1:
        a = rng.uniform(0, 2 * math.pi)
        return f32(2 * math.cos(a) + 0.07 * rng.uniform(-1, 1)), f32(2 * math.sin(a) + 0.07 * rng.uniform(-1, 1))
    return f32(rng.uniform(-1e6, 1e6) * 2.0 ** rng.randrange(-40, 40)), f32(rng.uniform(-1, 1))

def main():
    rng = random.Random(13)
    lengths, sets = [], []
    while len(lengths) < 2 or len(sets) < 3:
        x, y = demo_vector(rng)
        if len(lengths) < 2 and length_once(x, y) != length_stepwise(x, y):
            lengths.append((x, y, length_once(x, y)))
        length = rng.choice([2.0, 10.0, f32(0.07)])
        if len(sets) < 3 and set_once(x, y, length) != set_stepwise(x, y, length):
            sets.append((x, y, length) + set_once(x, y, length))
    # Sums that a plain double addition rounds the wrong way: the double sum lands
    # on a float midpoint that the exact sum misses, once from each side. y is
    # aimed at the midpoint above x * x.
    sides = set()
    while len(sides) < 2:
        x = f32(rng.uniform(1, 1000))
        a = Fraction(x) ** 2
        quantum = Fraction(2) ** (math.floor(math.log2(a)) - 23)
        midpoint = (a // quantum + Fraction(1, 2)) * quantum
        midpoint += quantum if midpoint <= a else 0
        y = rn32(Fraction(math.sqrt(midpoint - a)))
        side = a + Fraction(y) ** 2 > midpoint
        if side not in sides and length_once(x, y) != length_via_double(x, y):
            lengths.append((x, y, length_once(x, y)))
            sides.add(side)
    print('// Written by make_vec2_cases.py: inputs on which rounding each step to float')
    print('// (or the sum of squares to double first) gives another result.')
    print('#pragma once')
    print('struct LengthCase { float x, y, length; };')
    print('const LengthCase kLengthCases[] = {')
    for x, y, l in lengths:
        print(f'    {{{literal(x)}, {literal(y)}, {literal(l)}}},')
    print('};')
    print('struct SetLengthCase { float x, y, length, outX, outY; };')
    print('const SetLengthCase kSetLengthCases[] = {')
    for row in sets:
        print('    {' + ', '.join(literal(v) for v in row) + '},')
    print('};')

main()
