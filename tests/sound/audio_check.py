#!/usr/bin/env python3
"""Test WAV files for the sound player, and checks of what Wine recorded.
  audio_check.py make DIR
  audio_check.py check SCENARIO CAPTURE   (the recorder's WAV: a 44-byte header)
"""
import math, random, struct, sys

RATE = 48000  # of the capture, from its header
TONES = [300, 400, 500, 630, 750, 870, 1000, 1150, 1300]  # the stream, 1 s each


def wav(path, rate, bits, channels, samples, extra=b"", stray=b""):
    """samples: floats in -1..1, one per frame, copied to every channel; stray:
    bytes of a last partial block in the data chunk."""
    if bits == 8:
        data = bytes(int(128 + 100 * s) for s in samples for _ in range(channels))
    else:
        data = b"".join(struct.pack("<h", int(16000 * s)) * channels for s in samples)
    data += stray
    align = channels * bits // 8
    fmt = struct.pack("<HHIIHH", 1, channels, rate, rate * align, align, bits)
    body = b"WAVE" + b"fmt " + struct.pack("<I", 16) + fmt
    body += b"data" + struct.pack("<I", len(data)) + data + b"\0" * (len(data) & 1) + extra
    open(path, "wb").write(b"RIFF" + struct.pack("<I", len(body)) + body)


def tone(freq, seconds, rate):
    return [math.sin(2 * math.pi * freq * i / rate) for i in range(int(seconds * rate))]


def make(folder):
    stream = sum((tone(f, 1, 44100) for f in TONES), [])
    wav(folder + "/tones.wav", 44100, 16, 2, stream)
    rnd = random.Random(9)
    noise = bytes(rnd.randrange(256) for _ in range(300001))  # odd: a pad byte follows
    wav(folder + "/tones_extra.wav", 44100, 16, 2, stream,
        b"LIST" + struct.pack("<I", len(noise)) + noise + b"\0" + b"junk" + struct.pack("<I", 4) + b"\xff" * 4)
    wav(folder + "/two_tones.wav", 22050, 16, 1, tone(600, 1, 22050) + tone(900, 1, 22050))
    # The loop's lap rises in loudness, so that each loop point shows as a drop.
    lap = tone(1000, 0.75, 22050)
    wav(folder + "/short.wav", 22050, 16, 1, [v * (0.3 + 0.7 * i / len(lap)) for i, v in enumerate(lap)])
    wav(folder + "/short8.wav", 11025, 8, 1, tone(500, 0.5, 11025))
    # Its data ends one byte into a sample: looped, a shifted lap would be noise.
    wav(folder + "/stray.wav", 22050, 16, 1, tone(500, 0.75, 22050), stray=b"\x7f")


def power(x, start, seconds, freq):
    """Goertzel power of freq over [start, start + seconds) in seconds."""
    a, n = int(start * RATE), int(seconds * RATE)
    coeff, s1, s2 = 2 * math.cos(2 * math.pi * freq / RATE), 0.0, 0.0
    for v in x[a:a + n]:
        s1, s2 = v + coeff * s1 - s2, s1
    return s1 * s1 + s2 * s2 - coeff * s1 * s2


def heard(x, start, seconds, candidates):
    return max(candidates, key=lambda f: power(x, start, seconds, f))


def onset(x, after=0.0):
    i = int(after * RATE)
    while i < len(x) and abs(x[i]) < 0.05:
        i += 1
    return i / RATE if i < len(x) else None


def gaps(x, start, end, least=0.005):
    """Runs of near-silent samples in [start, end) lasting least seconds or more,
    as (start, milliseconds)."""
    found, run, first = [], 0, int(start * RATE)
    for i, v in enumerate(x[first:int(end * RATE)] + [1.0]):
        if abs(v) < 0.01:
            run += 1
        else:
            if run >= least * RATE:
                found.append(((first + i - run) / RATE, 1000.0 * run / RATE))
            run = 0
    return found


def purity(x, start, seconds, freq):
    """Share of the window's energy at freq: near 1 for a pure tone, small for noise."""
    a, n = int(start * RATE), int(seconds * RATE)
    energy = sum(v * v for v in x[a:a + n]) or 1e-12
    return power(x, start, seconds, freq) / (energy * n / 2)


def longest_gap(x, start, end):
    return max((ms for _, ms in gaps(x, start, end)), default=0.0)


def check(scenario, capture):
    global RATE
    raw = open(capture, "rb").read()
    tag, channels, RATE = struct.unpack_from("<HHI", raw, 20)
    bits = struct.unpack_from("<H", raw, 34)[0]
    # ALSA's recorder labels Wine's 32-bit float samples as integer PCM (tag 1).
    kind, scale = {(3, 32): ("f", 1.0), (1, 16): ("h", 32768.0), (1, 32): ("f", 1.0)}[tag, bits]
    size = bits // 8
    n = (len(raw) - 44) // size
    x = [v / scale for v in struct.unpack_from("<%d%s" % (n, kind), raw, 44)[0::channels]]
    print("format %d, %d bits, %d channels, %d Hz" % (tag, bits, channels, RATE))
    end = len(x) / RATE
    t0 = onset(x)
    print("recorded %.2f s, first sound at %s s" % (end, t0))
    if t0 is None:
        return ["nothing heard"]
    bad = []

    def expect(what, got, want):
        print("  %-34s %s (expected %s)" % (what, got, want))
        if got != want:
            bad.append(what)

    if scenario in ("stream", "extra", "resume"):
        count = 9 if scenario != "resume" else 2
        got = [heard(x, t0 + k + 0.2, 0.6, TONES) for k in range(count)]
        expect("tones in order", got, TONES[:count])
    if scenario in ("stream", "extra"):
        found = gaps(x, t0, t0 + 8.95)
        print("  gaps inside (s, ms): %s" % ["%.2f %.0f" % g for g in found])
        # Silence from the slot would last a half (2 s); a busy machine makes Wine's
        # mixer miss a few 10 ms periods now and then, which delays what follows.
        expect("whole: no gap over 250 ms", longest_gap(x, t0, t0 + 8.95) <= 250, True)
    if scenario == "extra":
        last = max(i for i, v in enumerate(x) if abs(v) > 0.01) / RATE
        sounding = last - t0 - sum(ms for _, ms in gaps(x, t0, last)) / 1000
        pure = purity(x, last - 0.45, 0.4, TONES[-1])
        print("  sound ends at %.2f s: %.2f s of sound, the last 0.4 s %.0f%% the last tone, "
              "then %.1f s of silence" % (last, sounding, 100 * pure, end - last))
        expect("nothing played after the last tone", sounding < 9.05 and pure > 0.8 and
               end - last > 2, True)
    if scenario == "static":
        expect("first start: A then B", [heard(x, t0 + 0.2, 0.6, [600, 900]),
                                         heard(x, t0 + 1.1, 0.3, [600, 900])], [600, 900])
        t1 = onset(x, t0 + 1.6)
        print("  stopped %.2f s, played again at %.2f s" % (t0 + 1.5, t1 or -1))
        expect("second start restarts: A then B", t1 and [heard(x, t1 + 0.2, 0.6, [600, 900]),
                                                          heard(x, t1 + 1.2, 0.6, [600, 900])],
               [600, 900])
    if scenario == "resume":
        t1 = onset(x, t0 + 2.6)
        print("  played again at %.2f s" % (t1 or -1))
        expect("resumes in tone 3, then tone 4", t1 and [heard(x, t1 + 0.05, 0.3, TONES[:4]),
                                                        heard(x, t1 + 0.7, 0.6, TONES[:4])],
               TONES[2:4])
    if scenario == "loop":  # 0.75 s of 1 kHz rising in loudness, looped
        # Peak per millisecond (one cycle); a loop point is where the peak drops
        # back to the start of the lap; the silent milliseconds before it are its gap.
        start = int((t0 + 0.05) * RATE)
        env = [max(abs(v) for v in x[i:i + RATE // 1000]) for i in range(start, len(x) - RATE // 2, RATE // 1000)]
        points, loud, silent = [], 0.0, 0
        for i, e in enumerate(env):
            if e < 0.01:
                silent += 1
                continue
            # Two whole milliseconds below: not the cut block at the end of a mixer delay.
            if e < 0.7 * loud and i + 1 < len(env) and env[i + 1] < 0.7 * loud:
                points.append((round(t0 + 0.05 + i / 1000, 3), silent))
            loud, silent = e, 0
        print("  loop points (s, ms of silence before): %s" % points)
        print("  all gaps (s, ms): %s" % gaps(x, t0, end - 0.5))
        expect("loop points heard, no gap > 10 ms at them", len(points) >= 5 and
               max(ms for _, ms in points) <= 10, True)
        expect("no gap over 250 ms from the start", longest_gap(x, t0, end - 0.5) <= 250, True)
    if scenario == "odd":  # 0.75 s of 500 Hz and a stray byte, looped
        # Windows holding a mixer stall (a gap, not noise) are left out.
        starts = [t0 + 0.05 + k / 10 for k in range(33)]
        windows = [purity(x, s, 0.1, 500) for s in starts if not gaps(x, s, s + 0.1)]
        print("  500 Hz share per 0.1 s over 3.3 s, %d windows without a gap: min %.2f"
              % (len(windows), min(windows)))
        expect("a clean tone over four laps", len(windows) >= 25 and min(windows) > 0.8, True)
    if scenario == "short8":
        tail = x[int((t0 + 0.6) * RATE):]
        mean = sum(tail) / max(len(tail), 1)
        peak = max((abs(v) for v in tail), default=1)
        print("  after the tone: %.1f s, mean %.4f, peak %.4f" % (len(tail) / RATE, mean, peak))
        expect("heard once, then silence at the centre", peak < 0.01 and len(tail) > 5 * RATE, True)
    return bad


if __name__ == "__main__":
    if sys.argv[1] == "make":
        make(sys.argv[2])
    else:
        failed = check(sys.argv[2], sys.argv[3])
        print("FAILED: " + ", ".join(failed) if failed else "ok")
        sys.exit(1 if failed else 0)
