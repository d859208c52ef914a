#include <gtest/gtest.h>

#include <stdint.h>
#include <string.h>

#include "util/exact_checks.h"
#include "util/sin_table.h"
#include "util/util_state.h"

TEST(SinTable, EmptyUntilInitThenExactEntries) {
  memset(Util.sinTable, 0, sizeof(Util.sinTable));
  EXPECT_EQ(0.0f, GetSin(2048));
  EXPECT_EQ(0.0f, GetSinHalfTurn(0));
  InitSinTable();
  ExpectDocumentedSinTable();
}

TEST(SinTable, AnyAngleWraps) {
  InitSinTable();
  EXPECT_EQ(GetSin(6144), GetSin(-2048));
  EXPECT_EQ(1.0f, GetSin(8192 + 2048));
  EXPECT_EQ(GetSin(0), GetSin(INT32_MIN));
  EXPECT_EQ(GetSin(8191), GetSin(INT32_MAX));
  EXPECT_EQ(-1.0f, GetSinHalfTurn(2048));  // half a turn, not a cosine
  EXPECT_EQ(GetSin(4096), GetSinHalfTurn(0));
  EXPECT_EQ(GetSin(4096), GetSinHalfTurn(INT32_MIN));
  EXPECT_EQ(GetSin(4095), GetSinHalfTurn(-1));
}
