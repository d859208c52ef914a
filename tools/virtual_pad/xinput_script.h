// The script of the stand-in XInput DLL: from which moment each of its pads is
// connected and in what state. No Windows header: also tested natively.
#pragma once
#include <stdint.h>

#include <vector>

enum { XPAD_COUNT = 4 };

struct XPadLine {
  uint32_t ms;     // from this many milliseconds after the game's first frame
  uint32_t pad;    // 0..XPAD_COUNT-1
  bool connected;  // false: "off", the pad unplugged
  uint16_t buttons;
  uint8_t leftTrigger, rightTrigger;
  int16_t leftX, leftY, rightX, rightY;  // Y grows upwards
};

struct XPadScript {
  std::vector<XPadLine> lines;
  int skipped = 0;  // lines that could not be read
};

// Reads "MS PAD LX LY RX RY LT RT BUTTONS" (BUTTONS in hexadecimal) or
// "MS PAD off" lines; '#' starts a comment; unreadable lines are skipped and
// counted.
XPadScript ParseXPadScript(const char* text);

// The line in force for pad at ms (the latest one not after it); null while
// the pad has no line yet or is off.
const XPadLine* XPadAt(const XPadScript& script, uint32_t pad, uint32_t ms);

// The script's clock, from the game's state reads alone. The game reads its pads
// once a frame, up the slots (an empty slot at most once a second); a read of a
// slot not above the last one read begins the next frame. The clock stands at 0
// through the first frame (however long its drawing and first presenting take)
// and runs from the second frame's first read.
struct XPadClock {
  uint32_t frames = 0;  // frames begun
  uint32_t lastPad = 0;
  uint32_t start = 0;   // tick of the second frame's first read
};

// The script time of a state read of pad at tick (milliseconds, wrapping).
uint32_t XPadClockRead(XPadClock* clock, uint32_t pad, uint32_t tick);

// The script time at tick for any other call: it begins no frame.
uint32_t XPadClockNow(const XPadClock& clock, uint32_t tick);
