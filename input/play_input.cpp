#include "input/play_input.h"

#include <string.h>

#include "input/text_queue.h"

void ResetPlayInput(PlayInput* input) {
  memset(input->keys, 0, sizeof input->keys);
  memset(input->padConnected, 0, sizeof input->padConnected);
  memset(input->pads, 0, sizeof input->pads);
  input->mouseX = input->mouseY = 0;
  input->focusLost = 0;
  memset(input->keysLetGo, 0, sizeof input->keysLetGo);
  BeginPlayFrame(input);
}

void BeginPlayFrame(PlayInput* input) {
  for (int code = 0; code < KEY_COUNT; ++code) {
    if (input->keysLetGo[code]) input->keys[code] = 0;
  }
  memset(input->keysLetGo, 0, sizeof input->keysLetGo);
  memset(input->keysTapped, 0, sizeof input->keysTapped);
  memset(input->clicks, 0, sizeof input->clicks);
  input->wheel = 0;
  input->text.clear();
}

// Text past what one poll takes is dropped, whole characters at a time.
static void AddText(std::string* text, const std::string& more) {
  char whole[TEXT_BYTES_PER_POLL];
  size_t room = TEXT_BYTES_PER_POLL - text->size();
  if (room <= 1) return;
  uint32_t n = CopyWholeChars(more.data(), (uint32_t)more.size(), whole, (uint32_t)room);
  text->append(whole, n);
}

void ApplyPlayEvent(PlayInput* input, const PlayEvent& e) {
  const uint32_t code = e.code & 0xFF, pad = e.code % PLAY_PAD_COUNT;
  switch (e.kind) {
    case PLAY_KEY_DOWN:
      if (!input->keys[code]) input->keysTapped[code] = 0x80;
      input->keys[code] = 0x80;
      input->keysLetGo[code] = 0;
      break;
    case PLAY_KEY_UP:
      input->keys[code] = 0;
      input->keysLetGo[code] = 0;
      break;
    case PLAY_KEY_TAP:
      input->keysTapped[code] = 0x80;
      input->keysLetGo[code] = input->keys[code] ? 0 : 1;  // a held key stays down
      input->keys[code] = 0x80;
      break;
    case PLAY_TEXT: AddText(&input->text, e.text); break;
    case PLAY_PAD_CONNECT:
    case PLAY_PAD_DISCONNECT:
      input->padConnected[pad] = e.kind == PLAY_PAD_CONNECT;
      memset(&input->pads[pad], 0, sizeof input->pads[pad]);
      break;
    case PLAY_PAD_STATE:  // a state is a connected pad's
      input->padConnected[pad] = 1;
      input->pads[pad] = e.pad;
      break;
    case PLAY_MOUSE:
      input->mouseX = e.x;
      input->mouseY = e.y;
      break;
    case PLAY_CLICK: input->clicks[e.code % PLAY_BUTTON_COUNT] = 1; break;
    case PLAY_WHEEL: input->wheel += e.x; break;
    case PLAY_FOCUS_LOST: input->focusLost = 1; break;
    case PLAY_FOCUS_BACK: input->focusLost = 0; break;
    default: break;
  }
}

// The raw magnitude that ScalePadAxis reads as exactly value (0..1000).
static int32_t RawAxis(int32_t value, int32_t deadZone) {
  if (value == 0) return 0;
  const int32_t magnitude = value < 0 ? -value : value;
  const int64_t span = 32767 - deadZone;
  int32_t raw = deadZone + (int32_t)((magnitude * span + PAD_AXIS_RANGE - 1) / PAD_AXIS_RANGE);
  if (raw > 32767) raw = 32767;
  return value < 0 ? -raw : raw;
}

PadRaw PlayPadRaw(const PlayPad& pad) {
  PadRaw raw;
  raw.buttons = pad.buttons;
  raw.leftTrigger = pad.leftTrigger;
  raw.rightTrigger = pad.rightTrigger;
  raw.leftX = (int16_t)RawAxis(pad.leftX, PAD_LEFT_DEAD_ZONE);
  raw.leftY = (int16_t)RawAxis(-pad.leftY, PAD_LEFT_DEAD_ZONE);  // the reading's Y grows upwards
  raw.rightX = (int16_t)RawAxis(pad.rightX, PAD_RIGHT_DEAD_ZONE);
  raw.rightY = (int16_t)RawAxis(-pad.rightY, PAD_RIGHT_DEAD_ZONE);
  return raw;
}

PlayPad PlayPadFromValues(const PadValues& v) {
  static const uint16_t kButtons[PAD_BUTTON_COUNT] = {
      RAW_A, RAW_B, RAW_X, RAW_Y, RAW_LEFT_SHOULDER, RAW_RIGHT_SHOULDER,
      RAW_BACK, RAW_START, RAW_LEFT_THUMB};
  PlayPad pad = {};
  for (int i = 0; i < PAD_BUTTON_COUNT; ++i) {
    if (v.bits & (PAD_BUTTON0 << i)) pad.buttons |= kButtons[i];
  }
  if ((v.bits & PAD_UP) && v.leftY >= 0) pad.buttons |= RAW_DPAD_UP;
  if ((v.bits & PAD_DOWN) && v.leftY <= 0) pad.buttons |= RAW_DPAD_DOWN;
  if ((v.bits & PAD_LEFT) && v.leftX >= 0) pad.buttons |= RAW_DPAD_LEFT;
  if ((v.bits & PAD_RIGHT) && v.leftX <= 0) pad.buttons |= RAW_DPAD_RIGHT;
  pad.leftX = (int16_t)v.leftX;
  pad.leftY = (int16_t)v.leftY;
  pad.rightX = (int16_t)v.rightX;
  pad.rightY = (int16_t)v.rightY;
  pad.leftTrigger = v.leftTrigger;
  pad.rightTrigger = v.rightTrigger;
  return pad;
}

void DiffPlayInput(const PlayInput& before, const PlayInput& now, uint32_t frame,
                   std::vector<PlayEvent>* out) {
  auto add = [&](PlayEventKind kind, uint32_t code) -> PlayEvent& {
    PlayEvent e = {};
    e.frame = frame;
    e.kind = kind;
    e.code = code;
    out->push_back(e);
    return out->back();
  };
  for (uint32_t code = 1; code < KEY_COUNT; ++code) {
    const bool was = before.keys[code] != 0, is = now.keys[code] != 0;
    if (is && !was) add(PLAY_KEY_DOWN, code);
    if (!is && was) add(PLAY_KEY_UP, code);
    if (!is && now.keysTapped[code]) add(PLAY_KEY_TAP, code);
  }
  if (!now.text.empty()) add(PLAY_TEXT, 0).text = now.text;
  for (uint32_t pad = 0; pad < PLAY_PAD_COUNT; ++pad) {
    const bool was = before.padConnected[pad] != 0, is = now.padConnected[pad] != 0;
    if (!is && was) add(PLAY_PAD_DISCONNECT, pad);
    if (is && (!was || !(now.pads[pad] == before.pads[pad]))) add(PLAY_PAD_STATE, pad).pad = now.pads[pad];
  }
  if (now.mouseX != before.mouseX || now.mouseY != before.mouseY) {
    PlayEvent& e = add(PLAY_MOUSE, 0);
    e.x = now.mouseX;
    e.y = now.mouseY;
  }
  for (uint32_t button = 0; button < PLAY_BUTTON_COUNT; ++button) {
    if (now.clicks[button]) add(PLAY_CLICK, button);
  }
  if (now.wheel != 0) add(PLAY_WHEEL, 0).x = now.wheel;
  if (now.focusLost != before.focusLost) add(now.focusLost ? PLAY_FOCUS_LOST : PLAY_FOCUS_BACK, 0);
}
