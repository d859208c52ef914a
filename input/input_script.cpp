// The seam where a play script's input takes the place of the real one, and
// where a recording takes what the game was given.
#include <string.h>

#include "input/input_state.h"
#include "input/play_input.h"

static_assert((int)PLAY_PAD_COUNT == (int)PAD_COUNT, "a script's pads are the pads");
static_assert((int)PLAY_BUTTON_COUNT == (int)MOUSE_BUTTON_COUNT, "mouse buttons");

void InjectInput(const PlayInput* input) { Input.injected = input; }

void ApplyInjectedInput() {
  const PlayInput& in = *Input.injected;
  memcpy(Input.KeyboardState, in.keys, sizeof Input.KeyboardState);
  // The legacy controller reads centred, nothing pressed.
  memset(&Input.JoystickState, 0, sizeof Input.JoystickState);
  for (int pad = 0; pad < PAD_COUNT; ++pad) {
    PadSlot& slot = Pads.slots[pad];
    slot.connected = in.padConnected[pad];
    if (slot.connected) {
      slot.values = ReadPadRaw(PlayPadRaw(in.pads[pad]));
    } else {
      memset(&slot.values, 0, sizeof slot.values);
    }
  }
  // What the window's messages brought is replaced by the frame's events.
  memcpy(Events.keysTapped, in.keysTapped, sizeof Events.keysTapped);
  Events.wheelSince = in.wheel * 120;
  for (int i = 0; i < MOUSE_BUTTON_COUNT; ++i) Events.mouseSince[i] = in.clicks[i];
  ClearTextQueue(&Events.typing);
  Events.typing.high = 0;
  memcpy(Events.typing.utf8, in.text.data(), in.text.size());  // at most a poll's bytes
  Events.typing.bytes = (uint32_t)in.text.size();
}

void CaptureInput(PlayInput* out) {
  for (int code = 0; code < KEY_COUNT; ++code) {
    out->keys[code] = Input.KeyboardState[code] == 0x80 ? 0x80 : 0;
    out->keysTapped[code] = Events.keysPressed[code];
  }
  for (int pad = 0; pad < PAD_COUNT; ++pad) {
    out->padConnected[pad] = Pads.slots[pad].connected;
    out->pads[pad] = out->padConnected[pad] ? PlayPadFromValues(Pads.slots[pad].values) : PlayPad{};
  }
  out->wheel = Events.wheel / 120;
  for (int i = 0; i < MOUSE_BUTTON_COUNT; ++i) out->clicks[i] = Events.mousePressed[i];
  out->text.assign(Events.text, Events.textBytes);
}
