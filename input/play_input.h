// The input a play script gives a game, as a state changed event by event, and
// the events that lead from one such state to the next (what a recording
// writes). Needs no platform header, so it also runs natively under the
// sanitizers.
#pragma once
#include <stdint.h>

#include <string>
#include <vector>

#include "app/play_script.h"
#include "input/modern_pad.h"
#include "input/pad_fold.h"

enum { PLAY_BUTTON_COUNT = 3 };  // left, right, middle

struct PlayInput {
  // Held from frame to frame.
  uint8_t keys[KEY_COUNT];  // 0x80 while down
  int padConnected[PLAY_PAD_COUNT];
  PlayPad pads[PLAY_PAD_COUNT];
  int32_t mouseX, mouseY;
  int focusLost;
  // This frame's alone.
  uint8_t keysTapped[KEY_COUNT];    // went down this frame (also when already down)
  uint8_t keysLetGo[KEY_COUNT];     // taps, to let go at the next frame
  int clicks[PLAY_BUTTON_COUNT];    // down this frame, up at the next
  int wheel;                        // notches
  std::string text;                 // UTF-8, at most TEXT_BYTES_PER_POLL bytes
};

// The start: nothing down, no pad, the mouse at (0, 0), the window in front.
void ResetPlayInput(PlayInput* input);
// A new frame: taps and clicks of the last one let go, its wheel and text gone.
void BeginPlayFrame(PlayInput* input);
// Input events change the state; the others (shot, close, steps, seed) are left
// to the player.
void ApplyPlayEvent(PlayInput* input, const PlayEvent& event);

// The pad's reading that ReadPadRaw turns into exactly the script's values.
PadRaw PlayPadRaw(const PlayPad& pad);
// A reading back as the script's values: the D-pad only for directions that the
// stick does not give; the right stick's press is not in the bits and is lost.
PlayPad PlayPadFromValues(const PadValues& values);

// Appends the events of frame that lead from before to now (after BeginPlayFrame):
// keys up and down, taps for presses that were let go before the poll, text,
// pads, the mouse, clicks, the wheel and the focus.
void DiffPlayInput(const PlayInput& before, const PlayInput& now, uint32_t frame,
                   std::vector<PlayEvent>* out);
