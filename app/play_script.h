// Play scripts: a game's input as text, one event a line at a given frame
// ("frame 30 key down LEFT"), read by the framework inside the game and written
// by its recordings. Needs no platform header: parsed natively under the
// sanitizers and fuzzed, as a script is a file a player can hand us.
#pragma once
#include <stddef.h>
#include <stdint.h>

#include <string>
#include <vector>

enum PlayEventKind : uint8_t {
  PLAY_KEY_DOWN, PLAY_KEY_UP, PLAY_KEY_TAP,  // code: a DIK_ code
  PLAY_TEXT,                                 // text: UTF-8
  PLAY_PAD_CONNECT, PLAY_PAD_DISCONNECT,     // code: the pad
  PLAY_PAD_STATE,                            // code: the pad; pad: its whole state
  PLAY_MOUSE,                                // x, y: client pixels
  PLAY_CLICK,                                // code: MOUSE_LEFT, MOUSE_RIGHT or MOUSE_MIDDLE
  PLAY_WHEEL,                                // x: notches
  PLAY_SHOT,                                 // text: the picture's name
  PLAY_FOCUS_LOST, PLAY_FOCUS_BACK, PLAY_CLOSE,
  PLAY_STEPS,                                // code: the logic steps of the frame
  PLAY_SEED,                                 // seed: the random numbers' seed
};

enum {
  PLAY_PAD_COUNT = 4,
  PLAY_FRAME_MAX = 100000000,   // about 19 days at 60 frames a second
  PLAY_STEPS_MAX = 100,
  PLAY_TEXT_CHARS_MAX = 256,    // what one poll takes
  PLAY_NAME_MAX = 64,           // a shot's name: letters, digits, '_', '-' and '.'
  PLAY_MOUSE_MAX = 100000,      // |x|, |y|
  PLAY_WHEEL_MAX = 1000,        // |notches|
};

// A pad as a script gives it: the raw button mask (RAW_ names of
// input/modern_pad.h), sticks -1000..1000 (negative left / up) and triggers 0..255.
struct PlayPad {
  uint16_t buttons;
  int16_t leftX, leftY, rightX, rightY;
  uint8_t leftTrigger, rightTrigger;
};
bool operator==(const PlayPad& a, const PlayPad& b);

struct PlayEvent {
  uint32_t frame;  // 1 the first; 0 for a seed that applies at the start
  uint32_t line;   // in the script, from 1; 0 for an event not read from one
  PlayEventKind kind;
  uint32_t code;
  int32_t x, y;
  PlayPad pad;
  uint64_t seed;
  std::string text;
};

struct PlayScript {
  std::vector<PlayEvent> events;  // in the order of the file: frames never go back
  uint32_t errorLine;             // the first bad line (from 1), else 0
  std::string error;              // why it is bad
};

// Reads a whole script. Every event before the first bad line is kept; the bad
// line's number and the reason go to errorLine and error. 1 when no line is bad.
int ParsePlayScript(const char* text, size_t length, PlayScript* script);
// The event as one script line (no line end), which ParsePlayScript reads back
// as the same event.
std::string FormatPlayEvent(const PlayEvent& event);

// The DIK_ code of a key name without its prefix ("LEFT", any case), or -1.
int KeyCodeByName(const char* name, size_t length);
// The name of a DIK_ code, or null for a code without one.
const char* KeyNameByCode(uint32_t code);
