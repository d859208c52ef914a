// Module state of the utilities: all static, living for the whole run.
#pragma once
#include <stdint.h>

#include "util/random_pcg.h"
#include "util/sin_table.h"

typedef uint32_t (*Crc32Proc)(const void* data, int32_t length);
enum FailureId : int;  // util/failure.h

struct UtilState {
  float sinTable[SIN_TABLE_SIZE];  // zero until InitSinTable
  uint32_t crcTable[256];          // zero until the first CalcCrc32
  Crc32Proc crcEntry;              // first-call routine, then the plain routine
  void (*failureReporter)(FailureId id, const char* text);  // null: the message box
  RandomPcg random;  // GetRandom's generator, seeded by InitApplication
  // Replaces the seed a game gives SeedRandom (a replay's recorded seed); null: none.
  uint64_t (*randomSeedHook)(uint64_t seed);
};

extern UtilState Util;

// The routine crcEntry starts at: builds the table, then rebinds crcEntry.
uint32_t CalcCrc32FirstCall(const void* data, int32_t length);
