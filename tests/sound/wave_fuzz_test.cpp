// Malformed and mutated WAV and Ogg Vorbis files against the real DirectSound under Wine. Case N
// comes from the seed and N alone: LQ_WAVE_FIRST=N LQ_WAVE_FILES=1 replays it. The
// files of a batch are deleted only when it has passed, so a failure keeps them.
#include <gtest/gtest.h>

#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "sound/sound.h"
#include "sound/sound_state.h"
#include "sound/wave_slot.h"
#include "tools/handle_count.h"
#include "wave_bytes.h"

namespace {

typedef std::string Bytes;

// A file described by its parts; the generator bends them before writing.
struct WaveParts {
  uint16_t tag = 1, channels = 1, align = 1, bits = 8;
  uint32_t rate = 8000, fmtSize = 16;
  Bytes data;
  int fmtCount = 1, dataCount = 1, dataFirst = 0, oddChunk = 0;
  int64_t riffLie = 0, fmtLie = 0, dataLie = 0;  // added to the sizes written
};

Bytes Write(const WaveParts& w) {
  Bytes fmt = FmtBody(w.tag, w.channels, w.rate, w.align, w.bits);
  fmt.resize(w.fmtSize, 0);
  Bytes body = "WAVE";
  if (w.oddChunk) body += Chunk("LIST", Bytes(w.oddChunk | 1, 'x'), 0, false);
  for (int pass = 0; pass < 2; ++pass) {
    if ((pass == 0) != (w.dataFirst != 0))
      for (int i = 0; i < w.fmtCount; ++i) body += Chunk("fmt ", fmt, w.fmtLie);
    else
      for (int i = 0; i < w.dataCount; ++i) body += Chunk("data", w.data, w.dataLie);
  }
  return Chunk("RIFF", body, w.riffLie, false);
}

typedef std::mt19937 Rng;
uint32_t Below(Rng& r, uint32_t n) { return n ? r() % n : 0; }
int64_t Lie(Rng& r) {
  static const int64_t kLies[] = {-1, 1, -2, 7, 1 << 20, -(1 << 20), 0x7FFFFFFF, 0xFFFFFFFF};
  return Below(r, 2) ? kLies[Below(r, 8)] : (int64_t)Below(r, 65536) - 32768;
}

// The ways a file goes wrong: parts bent before writing, bytes after.
struct Kind {
  const char* name;
  void (*bend)(Rng&, WaveParts&);
  void (*damage)(Rng&, Bytes&);
};
void None(Rng&, WaveParts&) {}
void Keep(Rng&, Bytes&) {}
// The Ogg Vorbis file that the build made with oggenc; the Ogg cases damage it.
const Bytes& OggSeed() {
  static Bytes seed;
  FILE* f = seed.empty() ? fopen("fuzz.ogg", "rb") : NULL;
  for (int c; f && (c = fgetc(f)) != EOF;) seed += (char)c;
  if (f) fclose(f);
  return seed;
}
// The start of a page at or after a random byte, or the end.
size_t PageAt(Rng& r, const Bytes& f) {
  return std::min(f.find("OggS", Below(r, (uint32_t)f.size())), f.size());
}
const Kind kKinds[] = {
    {"valid", None, Keep},
    {"truncated", None, [](Rng& r, Bytes& f) { f.resize(Below(r, (uint32_t)f.size())); }},
    {"RIFF size lies", [](Rng& r, WaveParts& w) { w.riffLie = Lie(r); }, Keep},
    {"fmt size lies", [](Rng& r, WaveParts& w) { w.fmtLie = Lie(r); }, Keep},
    {"data size lies", [](Rng& r, WaveParts& w) { w.dataLie = Lie(r); }, Keep},
    {"odd chunk, no pad", [](Rng& r, WaveParts& w) { w.oddChunk = 1 + Below(r, 99); }, Keep},
    {"no fmt", [](Rng&, WaveParts& w) { w.fmtCount = 0; }, Keep},
    {"no data", [](Rng&, WaveParts& w) { w.dataCount = 0; }, Keep},
    {"fmt and data twice", [](Rng& r, WaveParts& w) { w.fmtCount = 1 + Below(r, 2); w.dataCount = 3 - w.fmtCount; }, Keep},
    {"data first", [](Rng&, WaveParts& w) { w.dataFirst = 1; }, Keep},
    {"format tag", [](Rng& r, WaveParts& w) { w.tag = (uint16_t)(2 + Below(r, 0xFFFE)); }, Keep},
    {"block align 0", [](Rng&, WaveParts& w) { w.align = 0; }, Keep},
    {"huge rate", [](Rng& r, WaveParts& w) { w.rate = (200001u << Below(r, 14)) + Below(r, 200000); }, Keep},
    {"odd format", [](Rng& r, WaveParts& w) {
       w.channels = (uint16_t)Below(r, 9); w.bits = (uint16_t)Below(r, 40);
       w.align = (uint16_t)Below(r, 17); if (Below(r, 2)) w.rate = Below(r, 1000);
     }, Keep},
    {"empty data", [](Rng&, WaveParts& w) { w.data.clear(); }, Keep},
    {"short fmt", [](Rng& r, WaveParts& w) { w.fmtSize = Below(r, 18); }, Keep},
    {"bytes after a valid header", None, [](Rng& r, Bytes& f) {
       f.resize(44);  // RIFF, WAVE, a 16-byte "fmt " and the "data" header
       for (uint32_t n = Below(r, 70000); n; --n) f.push_back((uint8_t)r());
     }},
    {"bytes changed", None, [](Rng& r, Bytes& f) {
       for (uint32_t n = 1 + Below(r, 8); n; --n) f[Below(r, 64 < f.size() ? 64 : (uint32_t)f.size())] = (uint8_t)r();
     }},
    {"Ogg truncated", None, [](Rng& r, Bytes& f) { f = OggSeed(); f.resize(Below(r, (uint32_t)f.size())); }},
    {"Ogg bytes flipped", None, [](Rng& r, Bytes& f) {
       f = OggSeed();
       for (uint32_t n = 1 + Below(r, 8); n; --n) f[Below(r, (uint32_t)f.size())] ^= (char)(1 + Below(r, 255));
     }},
    {"Ogg pages cut", None, [](Rng& r, Bytes& f) {
       f = OggSeed();
       size_t a = PageAt(r, f), b = PageAt(r, f);
       f.erase(std::min(a, b), a < b ? b - a : a - b);
     }},
};
const uint32_t kKindCount = sizeof kKinds / sizeof kKinds[0];

// Case n of a seed: a PCM file of random format and length, bent one way.
Bytes MakeCase(uint32_t seed, uint32_t n) {
  Rng r(seed * 1000003u + n);
  WaveParts w;
  static const uint32_t kRates[] = {8000, 11025, 22050, 44100};
  w.rate = kRates[Below(r, 4)];
  w.channels = (uint16_t)(1 + Below(r, 2));
  w.bits = Below(r, 2) ? 16 : 8;
  w.align = (uint16_t)(w.channels * w.bits / 8);
  w.data.resize(Below(r, 50000) | Below(r, 2));  // odd sizes too
  for (char& b : w.data) b = (char)r();
  const Kind& kind = kKinds[n % kKindCount];
  kind.bend(r, w);
  Bytes file = Write(w);
  kind.damage(r, file);
  return file;
}

uint32_t EnvOr(const char* name, uint32_t fallback) {
  const char* v = getenv(name);
  return v && *v ? (uint32_t)strtoul(v, NULL, 10) : fallback;
}

long OwnHandles() { return CountProcessHandles(GetCurrentProcess(), GetCurrentProcessId()); }

bool SlotEmpty(DWORD i) {
  const WaveSlot& s = WaveSlots[i];
  return s.lpBuffer == NULL && s.hFile == NULL && s.BufferBytes == 0 && s.HalfBytes == 0;
}

// Case n written to wave_fuzz/: its name; size: the file's.
std::string WriteCase(uint32_t seed, uint32_t n, size_t* size) {
  const std::string name = "wave_fuzz/case-" + std::to_string(n) + ".wav";
  const Bytes file = MakeCase(seed, n);
  FILE* f = fopen(name.c_str(), "wb");
  fwrite(file.data(), 1, file.size(), f);
  fclose(f);
  *size = file.size();
  return name;
}

TEST(WaveFuzz, MalformedFilesLoadPlayAndReleaseWithNothingLeft) {
  const uint32_t seed = EnvOr("LQ_WAVE_SEED", 20261207), first = EnvOr("LQ_WAVE_FIRST", 0);
  const uint32_t files = EnvOr("LQ_WAVE_FILES", 300), batch = WAVE_SLOT_COUNT / 2;
  HWND window = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 8, 8, NULL, NULL, NULL, NULL);
  ASSERT_EQ(InitSoundFor(window), 0) << "no sound device";
  ASSERT_GT(OggSeed().size(), 4096u) << "fuzz.ogg missing";
  CreateDirectoryA("wave_fuzz", NULL);

  // Warm-up: the platform's first load and play start threads of its own, and the
  // test framework's first trace a per-thread record that holds a handle.
  { SCOPED_TRACE("warm-up"); }
  size_t size = 0;
  const std::string warm = WriteCase(seed, first, &size);
  LoadWave(0, warm.c_str()); PlayWave(0);
  LoadStreamWave(1, warm.c_str()); PlayWave(1);
  Sleep(600);
  ReleaseWave(0); ReleaseWave(1);
  const long before = OwnHandles();
  ASSERT_GT(before, 0);

  uint32_t loaded[4] = {}, refused[4] = {};  // static, streamed; then the Ogg ones
  for (uint32_t start = first; start < first + files && !HasFailure(); start += batch) {
    const uint32_t end = start + batch < first + files ? start + batch : first + files;
    std::vector<std::string> names;
    for (uint32_t n = start; n < end; ++n) {
      names.push_back(WriteCase(seed, n, &size));
      for (DWORD mode = 0; mode < 2; ++mode) {
        SCOPED_TRACE(testing::Message() << "case " << n << " (" << kKinds[n % kKindCount].name
                                        << ") mode " << mode);
        const DWORD slot = 2 * (n - start) + mode;
        HRESULT hr = mode ? LoadStreamWave(slot, names.back().c_str())
                          : LoadWave(slot, names.back().c_str());
        const WaveSlot& s = WaveSlots[slot];
        // A valid file loads; as a static slot only when its data is not empty.
        if (n % kKindCount == 0 && (mode == 1 || size > 44)) EXPECT_NE(s.lpBuffer, nullptr);
        ++(s.lpBuffer ? loaded : refused)[mode + 2 * (kKinds[n % kKindCount].name[0] == 'O')];
        EXPECT_EQ(hr == 0, s.lpBuffer != NULL);
        EXPECT_TRUE(s.lpBuffer != NULL || SlotEmpty(slot));
        if (s.lpBuffer != NULL) {
          EXPECT_EQ(PlayWave(slot), 0);
          SetWaveLoop(slot, n & 4);
        }
      }
    }
    Sleep(2600);  // five service passes; streams at 2.6 s are past their middle
    for (DWORD slot = 0; slot < 2 * (end - start); ++slot) {
      SCOPED_TRACE(testing::Message() << "case " << start + slot / 2 << " mode " << slot % 2);
      if (slot & 2) StopWave(slot);
      EXPECT_EQ(ReleaseWave(slot), 1);
      EXPECT_TRUE(SlotEmpty(slot));
    }
    // Deleting a file fails while a handle to it is open.
    for (uint32_t i = 0; i < names.size() && !HasFailure(); ++i)
      EXPECT_TRUE(DeleteFileA(names[i].c_str())) << names[i] << " still open";
  }
  for (DWORD slot = 0; slot < WAVE_SLOT_COUNT; ++slot) EXPECT_TRUE(SlotEmpty(slot)) << slot;
  const long after = OwnHandles();
  printf("%u files from seed %u: static %u loaded %u refused, streamed %u loaded %u refused"
         " (of them Ogg: static %u/%u, streamed %u/%u); handles %ld before, %ld after\n", files,
         seed, loaded[0] + loaded[2], refused[0] + refused[2], loaded[1] + loaded[3],
         refused[1] + refused[3], loaded[2], refused[2], loaded[3], refused[3], before, after);
  EXPECT_LE(after, before);
  ReleaseSound();
  DestroyWindow(window);
}

}  // namespace
