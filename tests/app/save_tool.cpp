// Drives the save calls for tests/e2e/save_kill_test.sh:
//   save_tool folder GAME               prints the save folder
//   save_tool loop GAME NAME LOG [N]    saves N times (forever by default), after
//                                       the save that loads; "begin S" and, on 0,
//                                       "saved S" appended to LOG for save S
//   save_tool load GAME NAME            prints "result R seq S size B intact I"
//   save_tool damage GAME NAME N        N damaged newest copies (one in five
//                                       with the previous damaged too): exit 1
//                                       unless each loads as the previous
//                                       (S_FALSE) or is refused (E_FAIL)
// Save S holds S in its first 4 bytes, then bytes made from S, and its size
// (up to 4 MB, large enough that kills land inside saves) follows from S.
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <vector>

#include "app/save.h"

static DWORD SizeOf(DWORD seq) { return 4 + seq * 2654435761u % (4u << 20); }
static BYTE ByteOf(DWORD seq, DWORD i) { return (BYTE)(seq * 31 + i * 7 + (i >> 9)); }

static std::vector<BYTE> Make(DWORD seq) {
  std::vector<BYTE> data(SizeOf(seq));
  memcpy(data.data(), &seq, 4);
  for (DWORD i = 4; i < data.size(); ++i) data[i] = ByteOf(seq, i);
  return data;
}

// The sequence number of a copy made by Make, or 0 if it is not one.
static DWORD SeqOf(const BYTE* data, DWORD size) {
  DWORD seq = 0;
  if (size < 4) return 0;
  memcpy(&seq, data, 4);
  return size == SizeOf(seq) && memcmp(data, Make(seq).data(), size) == 0 ? seq : 0;
}

static std::vector<BYTE> Buffer(8u << 20);

static HRESULT Load(const char* game, const char* name, DWORD* seq, DWORD* size) {
  HRESULT hr = LoadGameFile(game, name, Buffer.data(), (DWORD)Buffer.size(), size);
  *seq = SUCCEEDED(hr) ? SeqOf(Buffer.data(), *size) : 0;
  return hr;
}

static void Append(const char* log, const char* what, DWORD seq) {
  FILE* f = fopen(log, "a");
  if (!f) exit(2);
  fprintf(f, "%s %lu\n", what, seq);
  fclose(f);  // in the system's hands before the next save begins
}

// 30 random bits (the runtime's rand gives 15).
static DWORD Random() { return (DWORD)rand() << 15 ^ (DWORD)rand(); }

static int Put(const char* path, const std::vector<BYTE>& bytes) {
  FILE* f = fopen(path, "wb");
  size_t n = f ? fwrite(bytes.data(), 1, bytes.size(), f) : 0;
  return f && fclose(f) == 0 && n == bytes.size();
}

static int Damage(const char* game, const char* name, int count) {
  char folder[MAX_PATH], newest[MAX_PATH], previous[MAX_PATH];
  if (GetSaveFolder(game, folder, sizeof folder) != 0) return 2;
  snprintf(newest, sizeof newest, "%s%s", folder, name);
  snprintf(previous, sizeof previous, "%s.%s.previous", folder, name);
  std::vector<BYTE> one(5000, 0x11), two(7000, 0x22), whole(two.size() + 12), bad;
  FILE* f = nullptr;
  if (SaveGameFile(game, name, one.data(), 5000) != 0 ||
      SaveGameFile(game, name, two.data(), 7000) != 0 || !(f = fopen(newest, "rb")) ||
      fread(whole.data(), 1, whole.size(), f) != whole.size() || fclose(f) != 0) {
    return 2;
  }
  std::vector<BYTE> kept(one.size() + 12), broken;
  if (!(f = fopen(previous, "rb")) || fread(kept.data(), 1, kept.size(), f) != kept.size()) return 2;
  fclose(f);
  broken = kept;
  broken[0] ^= 0x55;  // its magic
  int fails = 0, previousLoads = 0, refused = 0;
  srand(20261208);
  for (int i = 0; i < count; ++i) {
    bad = whole;
    const DWORD lies[] = {0xFFFFFFFFu, 0x80000000u, (64u << 20) + 1, 7001, 6999, Random() << 2};
    switch (i % 4) {
      case 0: bad.resize(i % 40 ? Random() % bad.size() : 0); break;  // cut short, or emptied
      case 1:  // one to eight bytes changed anywhere
        for (int n = 1 + rand() % 8; n > 0; --n) bad[Random() % bad.size()] ^= 1 + rand() % 255;
        break;
      case 2: memcpy(&bad[4], &lies[rand() % 6], 4); break;  // the size lies
      case 3:  // the size lies, and the file is cut or grown to match it where it can
        memcpy(&bad[4], &lies[rand() % 6], 4);
        bad.resize(12 + (rand() % 2 ? 6999 : 7001));
        break;
    }
    const bool both = i % 5 == 4;
    if (!Put(newest, bad) || (both && !Put(previous, broken))) return 2;
    DWORD size = 0;
    HRESULT hr = LoadGameFile(game, name, Buffer.data(), (DWORD)Buffer.size(), &size);
    bool ok = both ? hr == E_FAIL
                   : hr == S_FALSE && size == 5000 && memcmp(Buffer.data(), one.data(), 5000) == 0;
    previousLoads += hr == S_FALSE;
    refused += hr == E_FAIL;
    if (!ok && ++fails <= 10) printf("case %d (kind %d): result 0x%08lX\n", i, i % 4, hr);
    if (both && !Put(previous, kept)) return 2;
  }
  printf("%d damaged newest copies: %d loaded the previous copy (S_FALSE), %d refused (E_FAIL), "
         "%d wrong\n", count, previousLoads, refused, fails);
  return fails != 0;
}

int main(int argc, char** argv) {
  const char* what = argc > 2 ? argv[1] : "";
  const char* game = argc > 2 ? argv[2] : "";
  char folder[MAX_PATH];
  if (!strcmp(what, "folder") && GetSaveFolder(game, folder, sizeof folder) == 0) {
    return printf("%s\n", folder) < 0;
  }
  if (!strcmp(what, "load") && argc == 4) {
    DWORD seq, size = 0;
    HRESULT hr = Load(game, argv[3], &seq, &size);
    printf("result 0x%08lX seq %lu size %lu intact %d\n", hr, seq, size, seq != 0);
    return 0;
  }
  if (!strcmp(what, "damage") && argc == 5) return Damage(game, argv[3], atoi(argv[4]));
  if (!strcmp(what, "loop") && argc >= 5) {
    DWORD seq, size, count = argc > 5 ? (DWORD)atoi(argv[5]) : 0;
    Load(game, argv[3], &seq, &size);
    for (DWORD n = 0; count == 0 || n < count; ++n) {
      std::vector<BYTE> data = Make(++seq);
      Append(argv[4], "begin", seq);
      HRESULT hr = SaveGameFile(game, argv[3], data.data(), (DWORD)data.size());
      if (hr != 0) return printf("save %lu: 0x%08lX\n", seq, hr), 1;
      Append(argv[4], "saved", seq);
    }
    return 0;
  }
  fprintf(stderr, "usage: save_tool folder|loop|load|damage GAME [NAME ...] (see the source)\n");
  return 2;
}
