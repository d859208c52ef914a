#include <gtest/gtest.h>

#include <stdint.h>
#include <string.h>

#include "util/crc32.h"
#include "util/util_state.h"

static const char kCheck[] = "123456789";

// Back to the state at program start, so each test sees a first call.
static void ForgetCrcTable() {
  memset(Util.crcTable, 0, sizeof(Util.crcTable));
  Util.crcEntry = &CalcCrc32FirstCall;
}

TEST(Crc32, FirstCallBuildsTheTableAndRebinds) {
  ForgetCrcTable();
  uint32_t first = CalcCrc32(kCheck, 9);
  EXPECT_EQ(0xCBF43926u, first);
  EXPECT_NE(&CalcCrc32FirstCall, Util.crcEntry);
  EXPECT_EQ(first, CalcCrc32(kCheck, 9));
}

TEST(Crc32, EmptyNegativeAndNullInputHashToZero) {
  ForgetCrcTable();
  EXPECT_EQ(0u, CalcCrc32(kCheck, 0));
  EXPECT_EQ(0u, CalcCrc32(kCheck, -1));
  EXPECT_EQ(0u, CalcCrc32(kCheck, INT32_MIN));
  EXPECT_EQ(0u, CalcCrc32(nullptr, 9));
  EXPECT_EQ(0xCBF43926u, CalcCrc32(kCheck, 9));  // the empty first call still built the table
}

TEST(Crc32, UpdateContinuesAndNeedsNoPriorCalc) {
  ForgetCrcTable();
  uint32_t head = UpdateCrc32(0, kCheck, 4);
  EXPECT_EQ(0xCBF43926u, UpdateCrc32(head, kCheck + 4, 5));
  EXPECT_EQ(CalcCrc32(kCheck, 9), UpdateCrc32(0, kCheck, 9));
  EXPECT_EQ(head, UpdateCrc32(head, kCheck, 0));
  EXPECT_EQ(head, UpdateCrc32(head, kCheck, -3));
}
