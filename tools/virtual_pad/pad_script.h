// The virtual controller's script (what its stick and buttons do, poll by poll)
// and its axis arithmetic. No Windows header: also tested natively.
#pragma once
#include <stddef.h>
#include <stdint.h>

#include <vector>

enum { PAD_TRAVEL = 1000 };  // script positions run from -PAD_TRAVEL to +PAD_TRAVEL

struct PadStep {
  int32_t x, y;       // stick position in thousandths of the travel; negative is left / up
  uint32_t buttons;   // bit i: button i held
  uint32_t count;     // polls this step lasts
};

struct PadScript {
  std::vector<PadStep> steps;
  size_t index = 0;   // current step
  uint32_t used = 0;  // polls already taken from it
  int skipped = 0;    // lines that could not be read
};

// Reads "X Y BUTTONS [COUNT]" lines; '#' starts a comment; blank lines are no
// polls; unreadable lines are skipped and counted.
PadScript ParsePadScript(const char* text);

// The step for the next poll; neutral once the script has run out.
PadStep NextPadStep(PadScript& script);

// The value an axis reports for a position under the range and dead zone (in
// hundredths of a percent of the travel) set on it: the centre of the range
// inside the dead zone, then linear out to the range's ends.
int32_t PadAxisValue(int32_t position, int32_t min, int32_t max, uint32_t deadZone);
