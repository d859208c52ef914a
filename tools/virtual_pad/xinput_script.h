// The script of the stand-in XInput DLL: from which moment each of its pads is
// connected and in what state. No Windows header: also tested natively.
#pragma once
#include <stdint.h>

#include <vector>

enum { XPAD_COUNT = 4 };

struct XPadLine {
  uint32_t ms;     // from this many milliseconds after the DLL's first call
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
