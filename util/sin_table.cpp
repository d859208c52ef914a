// Sine table with integer angles, 8192 units to the turn.
#include "util/sin_table.h"

#include <math.h>
#include <stdint.h>

#include "util/util_state.h"

// Single-precision pi times 360 / 8192, in degrees per angle unit. Keeping the
// float pi keeps entry 4096 at -8.742278e-08 rather than 0.
static const double kStepDegrees = 0.1380582747515291;

void InitSinTable() {
  for (int i = 0; i < SIN_TABLE_SIZE; ++i) {
    // volatile: the x87 build would otherwise keep extra precision between steps.
    volatile double degrees = i * kStepDegrees;
    volatile double radians = degrees / 180.0;
    volatile float angle = static_cast<float>(radians);
    volatile double sine = sin(static_cast<double>(angle));
    Util.sinTable[i] = static_cast<float>(sine);
  }
}

// Unsigned arithmetic: any int wraps, INT32_MIN included.
float GetSin(int32_t angle) {
  return Util.sinTable[static_cast<uint32_t>(angle) & (SIN_TABLE_SIZE - 1)];
}

// Half a turn away, i.e. the negated sine (not a cosine).
float GetSinHalfTurn(int32_t angle) {
  return Util.sinTable[(static_cast<uint32_t>(angle) - 4096u) & (SIN_TABLE_SIZE - 1)];
}
