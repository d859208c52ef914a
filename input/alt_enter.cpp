#include "input/alt_enter.h"

void HideAltEnter(uint8_t* keys, const uint8_t* before, uint8_t* hidden) {
  const int alt = keys[KEY_ALT_LEFT] == 0x80 || keys[KEY_ALT_RIGHT] == 0x80;
  static const uint32_t kEnters[] = {KEY_ENTER, KEY_PAD_ENTER};
  for (uint32_t enter : kEnters) {
    const int down = keys[enter] == 0x80;
    if (!hidden[enter]) hidden[enter] = down && alt && before[enter] != 0x80;
    else if (!down) hidden[enter] = 0;  // let go: the next press is the game's
    if (hidden[enter]) keys[enter] = 0;
  }
}
