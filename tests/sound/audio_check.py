#!/usr/bin/env python3
"""Test WAV and Ogg Vorbis files for the sound player, and checks of what Wine recorded.
  audio_check.py make DIR
  audio_check.py seed DIR                 (fuzz.ogg, which the fuzz test damages)
  audio_check.py fuzzseeds DIR            (DIR/ogg, DIR/wav: the fuzz targets' seeds)
  audio_check.py check SCENARIO CAPTURE   (the recorder's WAV file)
"""
import math, os, random, struct, subprocess, sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tools"))
import lqmedia  # noqa: E402

RATE = 48000  # of the capture, from its header
TONES = [300, 400, 500, 630, 750, 870, 1000, 1150, 1300]  # the stream, 1 s each


def wav(path, rate, bits, channels, samples, extra=b"", stray=b""):
    lqmedia.wav(path, samples, rate, bits, channels, 16000, extra, stray)


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
    wav(folder + "/tone8.wav", 11025, 8, 1, tone(500, 0.5, 11025))
    wav(folder + "/level.wav", 22050, 16, 1, tone(500, 1, 22050))
    wav(folder + "/long.wav", 22050, 16, 1, tone(500, 3, 22050))
    wav(folder + "/halves.wav", 22050, 16, 1, tone(600, 0.5, 22050) + tone(900, 0.5, 22050))
    wav(folder + "/tones8.wav", 44100, 16, 2, sum((tone(f, 1, 44100) for f in TONES[:8]), []))
    for name in ("tones8", "short", "two_tones"):  # Ogg Vorbis copies
        ogg(folder, name)
    # One byte changed 60 % into the file: the sound must end at that page, cleanly.
    data = bytearray(open(folder + "/tones8.ogg", "rb").read())
    data[len(data) * 6 // 10] ^= 0x55
    open(folder + "/damaged.ogg", "wb").write(data)
    # Its data ends one byte into a sample: looped, a shifted lap would be noise.
    wav(folder + "/stray.wav", 22050, 16, 1, tone(500, 0.75, 22050), stray=b"\x7f")


def ogg(folder, name, quality=None):
    subprocess.run(["oggenc", "-Q"] + (["-q", str(quality)] if quality is not None else []) +
                   ["-o", "%s/%s.ogg" % (folder, name), "%s/%s.wav" % (folder, name)], check=True)


def seed(folder):
    """2 s of stereo tones and noise: noise keeps it long enough for a dozen pages."""
    rnd = random.Random(5)
    sound = tone(440, 1, 44100) + tone(660, 1, 44100)
    wav(folder + "/fuzz.wav", 44100, 16, 2, [0.5 * v + 0.5 * rnd.uniform(-1, 1) for v in sound])
    ogg(folder, "fuzz")


def fuzzseeds(folder):
    """Small valid files (a fuzzer's inputs stay under 64 KiB): Ogg Vorbis of
    each channel count, rates and qualities, and WAV files of the layouts the
    chunk walk meets (8 and 16 bits, an extra chunk, data first, a stray byte,
    an 18-byte format)."""
    rnd = random.Random(11)
    wav_dir, ogg_dir = folder + "/wav", folder + "/ogg"
    os.makedirs(wav_dir, exist_ok=True)
    os.makedirs(ogg_dir, exist_ok=True)
    for name, rate, channels, seconds, quality in (("mono8k", 8000, 1, 0.3, -1),
                                                   ("stereo22k", 22050, 2, 0.2, 2),
                                                   ("noise44k", 44100, 2, 0.1, 6)):
        sound = [0.5 * v + 0.5 * rnd.uniform(-1, 1) * (name == "noise44k") for v in tone(500, seconds, rate)]
        wav(ogg_dir + "/" + name + ".wav", rate, 16, channels, sound)
        ogg(ogg_dir, name, quality)
        os.remove(ogg_dir + "/" + name + ".wav")
    short = tone(700, 0.05, 8000)
    wav(wav_dir + "/pcm8.wav", 8000, 8, 1, short)
    wav(wav_dir + "/pcm16.wav", 11025, 16, 2, short, stray=b"\x01")
    wav(wav_dir + "/extra.wav", 8000, 16, 1, short, b"LIST" + struct.pack("<I", 3) + b"abc\0")
    fmt = struct.pack("<HHIIHHH", 1, 1, 8000, 16000, 2, 16, 0)
    data = bytes(rnd.randrange(256) for _ in range(200))
    body = b"WAVE" + b"data" + struct.pack("<I", len(data)) + data + b"fmt " + struct.pack("<I", 18) + fmt
    open(wav_dir + "/data_first.wav", "wb").write(b"RIFF" + struct.pack("<I", len(body)) + body)


def power(x, start, seconds, freq):
    """Power of freq over [start, start + seconds) in seconds."""
    a, n = int(start * RATE), int(seconds * RATE)
    return lqmedia.power(x[a:a + n], freq, RATE)


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
    RATE, x = lqmedia.read(capture)
    right = lqmedia.read(capture, -1)[1]
    print("%d Hz, %d samples" % (RATE, len(x)))
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

    if scenario in ("stream", "extra", "resume", "oggstream"):
        count = {"resume": 2, "oggstream": 8}.get(scenario, 9)
        got = [heard(x, t0 + k + 0.2, 0.6, TONES) for k in range(count)]
        expect("tones in order", got, TONES[:count])
    if scenario in ("stream", "extra", "oggstream"):
        found = gaps(x, t0, t0 + count - 0.05)
        print("  gaps inside (s, ms): %s" % ["%.2f %.0f" % g for g in found])
        # Silence from the slot would last a half (2 s); a busy machine makes Wine's
        # mixer miss a few 10 ms periods now and then, which delays what follows.
        expect("whole: no gap over 250 ms", longest_gap(x, t0, t0 + count - 0.05) <= 250, True)
    if scenario == "extra":
        last = max(i for i, v in enumerate(x) if abs(v) > 0.01) / RATE
        sounding = last - t0 - sum(ms for _, ms in gaps(x, t0, last)) / 1000
        pure = purity(x, last - 0.45, 0.4, TONES[-1])
        print("  sound ends at %.2f s: %.2f s of sound, the last 0.4 s %.0f%% the last tone, "
              "then %.1f s of silence" % (last, sounding, 100 * pure, end - last))
        expect("nothing played after the last tone", sounding < 9.05 and pure > 0.8 and
               end - last > 2, True)
    if scenario in ("static", "oggstatic"):
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
    if scenario in ("loop", "oggloop"):  # 0.75 s of 1 kHz rising in loudness, looped
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
    if scenario == "oggdamaged":
        last = max(i for i, v in enumerate(x) if abs(v) > 0.01) / RATE
        whole = int(last - t0)  # tones heard whole before the end
        got = [heard(x, t0 + k + 0.2, 0.6, TONES) for k in range(whole)]
        # Noise would leave next to nothing at the tones' frequencies; a window
        # across a change of tone still holds a good share of both.
        starts = [t0 + k / 10 for k in range(int((last - t0) * 10) - 1)]
        shares = [sum(purity(x, s, 0.1, f) for f in TONES[:8]) for s in starts
                  if not gaps(x, s, s + 0.1)]
        print("  sound ends at %.2f s; tones %s; least share of the tones per 0.1 s: %.2f"
              % (last, got, min(shares or [0])))
        expect("ends early, in order, no noise", 2 <= whole < 8 and got == TONES[:whole] and
               min(shares or [0]) > 0.3 and end - last > 1, True)
    if scenario == "mix":  # 1 s of 500 Hz at 0, at -600, panned left, at twice its rate
        def rms(v, start, seconds):
            a = int(start * RATE)
            return math.sqrt(sum(s * s for s in v[a:a + int(seconds * RATE)]) / (seconds * RATE))
        t = [t0]
        for _ in range(3):
            t.append(onset(x, t[-1] + 1.1) or end)
        ratio = rms(x, t[1] + 0.1, 0.8) / rms(x, t[0] + 0.1, 0.8)
        print("  plays at %s s; -600 over 0: %.3f of the amplitude" % (["%.2f" % v for v in t], ratio))
        expect("-600 is half the amplitude (5%)", abs(ratio - 0.5) <= 0.025, True)
        left, right_ = rms(x, t[2] + 0.1, 0.8), rms(right, t[2] + 0.1, 0.8)
        print("  panned left: left %.4f, right %.6f" % (left, right_))
        expect("pan -10000: the right silent", left > 0.1 and right_ < 0.001 * left, True)
        expect("twice the rate: 1000 Hz, for 0.5 s", [heard(x, t[3] + 0.1, 0.3, [500, 1000]),
               rms(x, t[3] + 0.6, 0.3) < 0.001], [1000, True])
    if scenario == "voices":  # 0.5 s of 600 Hz then 900 Hz, played twice 0.5 s apart
        # The overlap is sought: a stall of Wine's mixer can shift it a little.
        alone = purity(x, t0 + 0.05, 0.2, 600)
        both = max(min(purity(x, t0 + k / 20, 0.1, 600), purity(x, t0 + k / 20, 0.1, 900))
                   for k in range(6, 20))
        print("  600 Hz share first: %.2f; both tones at once: %.2f of each at least" % (alone, both))
        expect("the voices overlap", alone > 0.8 and both > 0.25, True)
    if scenario == "stopvoices":  # two voices of 1 s of 500 Hz, the slot stopped at 0.3 s
        last = max(i for i, v in enumerate(x) if abs(v) > 0.01) / RATE
        print("  sound ends %.2f s after it began" % (last - t0))
        expect("the voices stop with the slot", last - t0 < 0.6 and end - last > 1, True)
    if scenario == "ownvoices":  # 3 s of 500 Hz: A panned left, B centred at 750 Hz (2 s)
        # A stopped by its id at 1 s and B turned down to -600 at once. Amplitudes
        # per 0.1 s, windows holding a mixer stall left out; the stop is where A goes.
        def amp(v, start, freq):
            return 2 * math.sqrt(power(v, start, 0.1, freq)) / (0.1 * RATE)
        last = max(i for i, v in enumerate(x) if abs(v) > 0.01) / RATE
        rows = [(amp(x, s, 500), amp(right, s, 500), amp(right, s, 750))
                for s in (t0 + 0.05 + k / 10 for k in range(int((last - t0) * 10) - 1))
                if not gaps(x, s, s + 0.1) and not gaps(right, s, s + 0.1)]
        a_on = [r for r in rows if r[0] > 0.2]
        a_off = [r for r in rows if r[0] < 0.01]
        order = "".join("A" if r in a_on else "-" if r in a_off else "?" for r in rows)
        print("  windows: %s (A: 500 Hz left, -: without it)" % order)
        median = lambda v: sorted(v)[len(v) // 2] if v else 0
        a_left = median([r[0] for r in a_on])
        # A stall too short to leave a gap still splashes every frequency, and
        # lowers B: A's right side is read where B is whole.
        b_full = max([r[2] for r in a_on], default=0)
        a_right = max([r[1] for r in a_on if r[2] > 0.95 * b_full], default=1)
        b_ratio = median([r[2] for r in a_off]) / (median([r[2] for r in a_on]) or 1)
        print("  A left %.3f, right %.5f; after A's stop B at %.3f of its amplitude; "
              "sound ends %.2f s after it began" % (a_left, a_right, b_ratio, last - t0))
        expect("A heard only left", len(a_on) >= 2 and a_right < 0.002 * a_left, True)
        expect("A stopped alone, B on at -600 (5%)", len(a_off) >= 2 and
               order.rfind("A") < order.find("-") and abs(b_ratio - 0.5) <= 0.025, True)
        expect("B plays to its end", 1.6 <= last - t0 < 2.4, True)
    if scenario == "lateloop":  # 0.5 s of 500 Hz heard to its end, then the loop set
        t1 = onset(x, t0 + 0.7)
        print("  heard again at %.2f s" % (t1 or -1))
        expect("the late loop sounds, looping", t1 is not None and 2.5 <= t1 - t0 <= 5 and
               purity(x, t0 + 0.1, 0.3, 500) > 0.8 and end - t1 > 2 and
               min(purity(x, t1 + 0.1 + k / 2, 0.4, 500) for k in range(4)) > 0.6, True)
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
    if sys.argv[1] in ("make", "seed", "fuzzseeds"):
        {"make": make, "seed": seed, "fuzzseeds": fuzzseeds}[sys.argv[1]](sys.argv[2])
    else:
        failed = check(sys.argv[2], sys.argv[3])
        print("FAILED: " + ", ".join(failed) if failed else "ok")
        sys.exit(1 if failed else 0)
