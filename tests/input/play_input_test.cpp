// A script's input as the game gets it: taps and clicks last one frame, a pad's
// script values come out of the pad's reading exactly, and a recording's events
// lead from one frame's input to the next.
#include <gtest/gtest.h>

#include <string.h>

#include "input/play_input.h"

namespace {

PlayEvent Event(PlayEventKind kind, uint32_t code = 0, int32_t x = 0, int32_t y = 0) {
  PlayEvent e = {};
  e.kind = kind;
  e.code = code;
  e.x = x;
  e.y = y;
  return e;
}

TEST(PlayInput, TapsAndClicksLastOneFrameHeldKeysStay) {
  PlayInput in;
  ResetPlayInput(&in);
  ApplyPlayEvent(&in, Event(PLAY_KEY_DOWN, 0xCB));
  ApplyPlayEvent(&in, Event(PLAY_KEY_TAP, 0x39));
  ApplyPlayEvent(&in, Event(PLAY_CLICK, 1));
  ApplyPlayEvent(&in, Event(PLAY_WHEEL, 0, 2));
  ApplyPlayEvent(&in, Event(PLAY_WHEEL, 0, -5));
  PlayEvent text = Event(PLAY_TEXT);
  text.text = "Zo\xC3\xAB";
  ApplyPlayEvent(&in, text);
  EXPECT_TRUE(in.keys[0xCB] && in.keysTapped[0xCB] && in.keys[0x39] && in.keysTapped[0x39]);
  EXPECT_TRUE(in.clicks[1] && in.wheel == -3 && in.text == "Zo\xC3\xAB");

  BeginPlayFrame(&in);
  EXPECT_TRUE(in.keys[0xCB] && !in.keysTapped[0xCB]);  // held: no new press
  EXPECT_TRUE(!in.keys[0x39] && !in.clicks[1] && in.wheel == 0 && in.text.empty());

  // A tap of a held key leaves it held; up lets it go.
  ApplyPlayEvent(&in, Event(PLAY_KEY_TAP, 0xCB));
  BeginPlayFrame(&in);
  EXPECT_TRUE(in.keys[0xCB]);
  ApplyPlayEvent(&in, Event(PLAY_KEY_UP, 0xCB));
  EXPECT_FALSE(in.keys[0xCB]);

  // Text past a poll's bytes is cut at a whole character.
  text.text = std::string(300, 'a') + "\xC3\xAB";
  for (int i = 0; i < 4; ++i) ApplyPlayEvent(&in, text);
  EXPECT_LE(in.text.size(), 1023u);  // room for the closing NUL
  EXPECT_NE(in.text.back(), '\xC3');  // never half a character

  ApplyPlayEvent(&in, Event(PLAY_MOUSE, 0, 10, -20));
  ApplyPlayEvent(&in, Event(PLAY_FOCUS_LOST));
  EXPECT_TRUE(in.mouseX == 10 && in.mouseY == -20 && in.focusLost);
  ApplyPlayEvent(&in, Event(PLAY_FOCUS_BACK));
  EXPECT_FALSE(in.focusLost);
  ApplyPlayEvent(&in, Event(PLAY_FOCUS_LOST));
  ResetPlayInput(&in);
  EXPECT_FALSE(in.focusLost);
}

TEST(PlayInput, PadValuesComeOutOfThePadsReadingExactly) {
  for (int v = -PAD_AXIS_RANGE; v <= PAD_AXIS_RANGE; ++v) {
    const PlayPad pad = {0, (int16_t)v, (int16_t)-v, (int16_t)v, (int16_t)(v / 2), 0, 0};
    const PadValues read = ReadPadRaw(PlayPadRaw(pad));
    ASSERT_TRUE(read.leftX == v && read.leftY == -v && read.rightX == v && read.rightY == v / 2) << v;
  }
  const PlayPad pad = {RAW_A | RAW_START | RAW_DPAD_UP, 1000, 0, 0, 0, 255, 40};
  const PadValues read = ReadPadRaw(PlayPadRaw(pad));
  // The left trigger is past half travel, the right one is not.
  EXPECT_EQ(read.bits, PAD_BUTTON0 | PAD_BUTTON7 | PAD_UP | PAD_RIGHT | PAD_TRIGGER_LEFT);
  EXPECT_TRUE(read.leftTrigger == 255 && read.rightTrigger == 40);
  // Back from the reading: the D-pad only where the stick gives no direction.
  const PlayPad back = PlayPadFromValues(read);
  EXPECT_EQ(back.buttons, RAW_A | RAW_START | RAW_DPAD_UP);
  EXPECT_EQ(ReadPadRaw(PlayPadRaw(back)).bits, read.bits);
  for (uint16_t d : {RAW_DPAD_UP, RAW_DPAD_DOWN, RAW_DPAD_LEFT, RAW_DPAD_RIGHT}) {
    EXPECT_EQ(PlayPadFromValues(ReadPadRaw(PlayPadRaw(PlayPad{d, 0, 0, 0, 0, 0, 0}))).buttons, d);
  }
}

TEST(PlayInput, ARecordingsEventsLeadToTheNextFrame) {
  PlayInput before, now;
  ResetPlayInput(&before);
  ResetPlayInput(&now);
  before.keys[0x01] = 0x80;  // Escape (the first code) let go, LEFT pressed, SPACE tapped
  now.keys[0xCB] = 0x80;
  now.keysTapped[0xCB] = now.keysTapped[0x39] = 0x80;
  now.padConnected[2] = 1;
  now.pads[2] = PlayPad{RAW_B, -300, 0, 0, 0, 0, 0};
  before.padConnected[1] = 1;
  now.mouseX = 5;
  now.clicks[0] = 1;
  now.wheel = -2;
  now.text = "hi";
  now.focusLost = 1;
  std::vector<PlayEvent> events;
  DiffPlayInput(before, now, 7, &events);
  PlayInput replay = before;
  BeginPlayFrame(&replay);
  for (const PlayEvent& e : events) {
    EXPECT_EQ(e.frame, 7u);
    ApplyPlayEvent(&replay, e);
  }
  EXPECT_EQ(memcmp(replay.keysTapped, now.keysTapped, sizeof now.keysTapped), 0);
  EXPECT_TRUE(replay.keys[0xCB] && !replay.keys[0x01] && replay.keys[0x39]);  // the tap: this frame
  EXPECT_TRUE(replay.padConnected[2] && replay.pads[2] == now.pads[2] && !replay.padConnected[1]);
  EXPECT_TRUE(replay.mouseX == 5 && replay.clicks[0] && replay.wheel == -2 && replay.text == "hi");
  EXPECT_TRUE(replay.focusLost);
  BeginPlayFrame(&replay);
  EXPECT_FALSE(replay.keys[0x39]);
  // Nothing changed: nothing written.
  events.clear();
  PlayInput same = replay;
  DiffPlayInput(replay, same, 8, &events);
  EXPECT_TRUE(events.empty());
}

}  // namespace
