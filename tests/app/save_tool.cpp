// The save calls for tests/e2e/save_kill_test.sh: save_tool folder GAME | load GAME
// NAME [BYTES] (prints "result R seq S size B", S 0: torn) | loop GAME NAME LOG [N]
// (N saves, else forever, after the one that loads: "begin S", on 0 "saved S", to
// LOG; save S holds S, then bytes made from S, up to 4 MB) | damage GAME NAME N (N
// damaged newest copies, one in five with the previous broken too: exit 1 unless
// each loads the previous with S_FALSE, or with both broken is refused: E_FAIL).
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <vector>

#include "app/save.h"

typedef std::vector<BYTE> Bytes;
static Bytes Made(DWORD seq) {
  Bytes data(4 + seq * 2654435761u % (4u << 20));
  for (DWORD i = 4; i < data.size(); ++i) data[i] = (BYTE)(seq * 31 + i * 7 + (i >> 9));
  memcpy(data.data(), &seq, 4);
  return data;
}
static Bytes Loaded(8u << 20);

static DWORD Random() { return (DWORD)rand() << 15 ^ (DWORD)rand(); }  // 30 bits
static Bytes Get(const char* path) {
  Bytes bytes(1 << 20);
  FILE* f = fopen(path, "rb");
  bytes.resize(f ? fread(&bytes[0], 1, bytes.size(), f) : 0);
  return f && !fclose(f) ? bytes : Bytes();
}
static bool Put(const char* path, const Bytes& bytes) {
  FILE* f = fopen(path, "wb");
  return f && fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size() && !fclose(f);
}

static int Damage(const char* game, const char* name, int count) {
  char newest[MAX_PATH * 2], previous[MAX_PATH * 2];
  Bytes one(5000, 0x11), two(7000, 0x22);
  if (GetSaveFolder(game, newest, MAX_PATH) || SaveGameFile(game, name, &one[0], 5000) ||
      SaveGameFile(game, name, &two[0], 7000)) {
    return 2;
  }
  snprintf(previous, sizeof previous, "%s.%s.previous", newest, name);
  strcat(newest, name);
  const Bytes whole = Get(newest), kept = Get(previous);
  int loads = 0, refused = 0, wrong = 0;
  for (int i = 0; i < count && whole.size() == 7012 && kept.size() == 5012; ++i) {
    Bytes bad = whole, broken = kept;
    const DWORD lies[] = {0xFFFFFFFFu, 0x80000000u, (64u << 20) + 1, 7001, 6999, Random() << 2};
    if (i % 4 == 0) bad.resize(i % 40 ? Random() % 7012 : 0);  // cut short or emptied
    for (int n = i % 4 == 1 ? 1 + rand() % 8 : 0; n > 0; --n) bad[Random() % 7012] ^= 1 + i % 255;
    if (i % 4 >= 2) memcpy(&bad[4], &lies[rand() % 6], 4);  // the size lies...
    if (i % 4 == 3) bad.resize(rand() % 2 ? 7011 : 7013);   // ...and the file fits it
    broken[0] ^= i % 5 == 4 ? 0x55 : 0;                       // the previous copy's magic
    DWORD size = 0;
    memset(&Loaded[0], 0x77, 7000);  // a refused load leaves the buffer alone
    HRESULT hr = Put(newest, bad) && Put(previous, broken)
                     ? LoadGameFile(game, name, &Loaded[0], (DWORD)Loaded.size(), &size)
                     : E_UNEXPECTED;
    loads += hr == S_FALSE;
    refused += hr == E_FAIL;
    if (i % 5 == 4 ? hr != E_FAIL || Bytes(&Loaded[0], &Loaded[7000]) != Bytes(7000, 0x77)
                   : hr != S_FALSE || Bytes(Loaded.begin(), Loaded.begin() + size) != one) {
      if (++wrong <= 10) printf("case %d: result 0x%08lX size %lu\n", i, hr, size);
    }
  }
  printf("%d damaged newest copies: %d loaded the previous copy (S_FALSE), %d refused (E_FAIL), "
         "%d wrong\n", count, loads, refused, wrong);
  return loads + refused != count || wrong != 0;
}

int main(int argc, char** argv) {
  const char* what = argc > 2 ? argv[1] : "";
  const char *game = argv[argc > 2 ? 2 : 0], *name = argv[argc > 3 ? 3 : 0];
  char folder[MAX_PATH];
  DWORD seq = 0, size = 0;
  if (!strcmp(what, "folder") && !GetSaveFolder(game, folder, sizeof folder)) puts(folder);
  else if (!strcmp(what, "damage") && argc == 5) return Damage(game, name, atoi(argv[4]));
  else if (!strcmp(what, "load") && argc >= 4) {
    DWORD capacity = argc > 4 ? atoi(argv[4]) : (DWORD)Loaded.size();
    HRESULT hr = LoadGameFile(game, name, Loaded.data(), capacity, &size);
    if (SUCCEEDED(hr) && size >= 4) memcpy(&seq, Loaded.data(), 4);
    if (seq && Made(seq) != Bytes(Loaded.begin(), Loaded.begin() + size)) seq = 0;  // torn
    printf("result 0x%08lX seq %lu size %lu\n", hr, seq, size);
  } else if (!strcmp(what, "loop") && argc >= 5) {
    if (SUCCEEDED(LoadGameFile(game, name, Loaded.data(), (DWORD)Loaded.size(), &size))) {
      memcpy(&seq, Loaded.data(), 4);
    }
    for (int n = argc > 5 ? atoi(argv[5]) : -1; n != 0; --n) {
      const Bytes data = Made(++seq);
      FILE* log = fopen(argv[4], "a");
      fprintf(log, "begin %lu\n", seq);
      fflush(log);  // in the system's hands before the save begins
      HRESULT hr = SaveGameFile(game, name, data.data(), (DWORD)data.size());
      if (hr != 0) return printf("save %lu: 0x%08lX\n", seq, hr), 1;
      fprintf(log, "saved %lu\n", seq);
      fclose(log);
    }
  } else {
    return fputs("usage: save_tool folder|loop|load|damage GAME [NAME ...]\n", stderr), 2;
  }
  return 0;
}
