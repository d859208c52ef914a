// The PadBits word: the bits GetPadBits folds the keyboard and the controller into.
#pragma once
#include <stdint.h>

enum : uint32_t {
  PAD_UP = 0x1,
  PAD_DOWN = 0x2,
  PAD_LEFT = 0x4,
  PAD_RIGHT = 0x8,
  PAD_BUTTON0 = 0x100,
  PAD_BUTTON1 = 0x200,
  PAD_BUTTON2 = 0x400,
  PAD_BUTTON3 = 0x800,
  PAD_BUTTON4 = 0x1000,
  PAD_BUTTON5 = 0x2000,
  PAD_BUTTON6 = 0x4000,
  PAD_BUTTON7 = 0x8000,
  PAD_BUTTON8 = 0x10000,
  PAD_TRIGGER_LEFT = 0x20000,   // a modern pad's trigger past half travel
  PAD_TRIGGER_RIGHT = 0x40000,
};

enum { JOY_BUTTON_COUNT = 32, PAD_BUTTON_COUNT = 9 };
