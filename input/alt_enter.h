// The Enter key that Alt+Enter takes when it toggles full screen is no key to the
// game: hidden from the key state and its presses until it is let go. Needs no
// platform header, so it also runs natively under the sanitizers.
#pragma once
#include <stdint.h>

enum : uint32_t {
  KEY_ENTER = 0x1C, KEY_PAD_ENTER = 0x9C,   // DIK_RETURN, DIK_NUMPADENTER
  KEY_ALT_LEFT = 0x38, KEY_ALT_RIGHT = 0xB8,  // DIK_LMENU, DIK_RMENU
};

// keys: this poll's key bytes (0x80 down); before: the last poll's as the game saw
// them; hidden: per key, set while an Enter is taken (the window's Alt+Enter
// message sets it too). An Enter down now, up before, while an Alt key is down is
// taken. A taken Enter reads up in keys while it is down, and is given back once
// it is seen up.
void HideAltEnter(uint8_t* keys, const uint8_t* before, uint8_t* hidden);
