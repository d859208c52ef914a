// Sine table with integer angles, 8192 units to the turn.
#include "util/sin_table.h"

#include <math.h>
#include <stdint.h>

#if defined(_MSC_VER) && defined(_M_IX86)
#include <float.h>
#endif

#include "util/util_state.h"

// Single-precision pi times 360 / 8192, in degrees per angle unit. Keeping the
// float pi keeps entry 4096 at -8.742278e-08 rather than 0.
static const double kStepDegrees = 0.1380582747515291;

// On 32-bit x86 the C library's sin may run on the x87 unit, whose precision the
// Direct3D device lowers to single for the thread that created it: the table is
// computed at double precision and the caller's control word put back after.
#if defined(__GNUC__) && defined(__i386__)
static unsigned SetX87DoublePrecision() {
  unsigned short word, doubleWord;
  __asm__ __volatile__("fnstcw %0" : "=m"(word));
  doubleWord = (unsigned short)((word & ~0x300u) | 0x200u);  // precision control: 53 bits
  __asm__ __volatile__("fldcw %0" : : "m"(doubleWord) : "memory");
  return word;
}
static void RestoreX87(unsigned word) {
  const unsigned short saved = (unsigned short)word;
  __asm__ __volatile__("fldcw %0" : : "m"(saved) : "memory");
}
#elif defined(_MSC_VER) && defined(_M_IX86)
static unsigned SetX87DoublePrecision() {
  const unsigned word = _control87(0, 0);
  _control87(_PC_53, _MCW_PC);
  return word;
}
static void RestoreX87(unsigned word) { _control87(word, _MCW_PC); }
#else
static unsigned SetX87DoublePrecision() { return 0; }  // sin does not use the x87 here
static void RestoreX87(unsigned) {}
#endif

void InitSinTable() {
  const unsigned caller = SetX87DoublePrecision();
  for (int i = 0; i < SIN_TABLE_SIZE; ++i) {
    const float angle = static_cast<float>(i * kStepDegrees / 180.0);
    Util.sinTable[i] = static_cast<float>(sin(static_cast<double>(angle)));
  }
  RestoreX87(caller);
}

// Unsigned arithmetic: any int wraps, INT32_MIN included.
float GetSin(int32_t angle) {
  return Util.sinTable[static_cast<uint32_t>(angle) & (SIN_TABLE_SIZE - 1)];
}

// Half a turn away, i.e. the negated sine (not a cosine).
float GetSinHalfTurn(int32_t angle) {
  return Util.sinTable[(static_cast<uint32_t>(angle) - 4096u) & (SIN_TABLE_SIZE - 1)];
}
