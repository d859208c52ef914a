// Play scripts read as a table: every event kind, the comments and spaces, and
// bad lines named with their number and reason; recordings' lines read back.
#include <gtest/gtest.h>

#include <string>

#include "app/play_script.h"
#include "input/modern_pad.h"

namespace {

PlayScript Parse(const std::string& text) {
  PlayScript script;
  ParsePlayScript(text.data(), text.size(), &script);
  return script;
}

TEST(PlayScript, EveryEventKind) {
  const PlayScript s = Parse(
      "# a comment\n"
      "\n"
      "seed 18446744073709551615\n"
      "frame 30 key down LEFT          # DIK_ name\n"
      "frame 45 key up 0xCB\n"
      "frame 50 key tap space\n"
      "frame 51 key tap 57\n"
      "frame 52 key down 1\n"
      "frame 60 text Zo\xC3\xAB \\# \\b\\r\\t\\s\\\\\n"
      "frame 70 pad 0 connect\r\n"
      "frame 71 pad 3 buttons A START leftx 1000 lefty -1000 lt 255 rt 0 rightx -5 righty 7\n"
      "frame 72 pad 1 buttons\n"
      "frame 72 pad 1 disconnect\n"
      "frame 80 mouse -100 50\n"
      "frame 81 click middle\n"
      "frame 82 wheel -3\n"
      "frame 90 shot title_2.a-b\n"
      "frame 95 focus lost\n"
      "frame 96 focus back\n"
      "frame 97 steps 0\n"
      "frame 98 seed 7\n"
      "\tframe  120   close  ");
  ASSERT_EQ(s.errorLine, 0u) << s.error;
  ASSERT_EQ(s.events.size(), 20u);
  const PlayEvent* e = s.events.data();
  EXPECT_TRUE(e[0].kind == PLAY_SEED && e[0].frame == 0 && e[0].seed == UINT64_MAX);
  EXPECT_TRUE(e[1].kind == PLAY_KEY_DOWN && e[1].frame == 30 && e[1].code == 0xCB && e[1].line == 4);
  EXPECT_TRUE(e[2].kind == PLAY_KEY_UP && e[2].code == 0xCB);
  EXPECT_TRUE(e[3].kind == PLAY_KEY_TAP && e[3].code == 0x39);
  EXPECT_TRUE(e[4].kind == PLAY_KEY_TAP && e[4].code == 57);
  EXPECT_EQ(e[5].code, 0x02u);  // "1" alone is the key, not a code
  EXPECT_EQ(e[6].kind, PLAY_TEXT);
  EXPECT_EQ(e[6].text, "Zo\xC3\xAB # \b\r\t \\");
  EXPECT_TRUE(e[7].kind == PLAY_PAD_CONNECT && e[7].code == 0);
  EXPECT_EQ(e[8].kind, PLAY_PAD_STATE);
  EXPECT_EQ(e[8].code, 3u);
  const PlayPad pad = {RAW_A | RAW_START, 1000, -1000, -5, 7, 255, 0};
  EXPECT_TRUE(e[8].pad == pad);
  EXPECT_TRUE(e[9].kind == PLAY_PAD_STATE && e[9].pad == PlayPad{});
  EXPECT_TRUE(e[10].kind == PLAY_PAD_DISCONNECT && e[10].code == 1);
  EXPECT_TRUE(e[11].kind == PLAY_MOUSE && e[11].x == -100 && e[11].y == 50);
  EXPECT_TRUE(e[12].kind == PLAY_CLICK && e[12].code == 2);
  EXPECT_TRUE(e[13].kind == PLAY_WHEEL && e[13].x == -3);
  EXPECT_TRUE(e[14].kind == PLAY_SHOT && e[14].text == "title_2.a-b");
  EXPECT_EQ(e[15].kind, PLAY_FOCUS_LOST);
  EXPECT_EQ(e[16].kind, PLAY_FOCUS_BACK);
  EXPECT_TRUE(e[17].kind == PLAY_STEPS && e[17].code == 0);
  EXPECT_TRUE(e[18].kind == PLAY_SEED && e[18].frame == 98 && e[18].seed == 7);
  EXPECT_TRUE(e[19].kind == PLAY_CLOSE && e[19].frame == 120 && e[19].line == 22);

  // Each event written as a recording writes it reads back the same.
  for (const PlayEvent& event : s.events) {
    const std::string line = FormatPlayEvent(event);
    const PlayScript again = Parse(line);
    ASSERT_EQ(again.errorLine, 0u) << line << ": " << again.error;
    ASSERT_EQ(again.events.size(), 1u) << line;
    const PlayEvent& back = again.events[0];
    EXPECT_TRUE(back.kind == event.kind && back.frame == event.frame && back.code == event.code &&
                back.x == event.x && back.y == event.y && back.pad == event.pad &&
                back.seed == event.seed && back.text == event.text)
        << line;
  }
}

TEST(PlayScript, BadLinesAreNamedAndStopTheScriptThere) {
  const struct { const char* text; uint32_t line; const char* reason; } rows[] = {
      {"frame 1 key down FOO", 1, "unknown key 'FOO'"},
      {"frame 1 key down 256", 1, "key code is 256, outside 1..255"},
      {"frame 1 key down 0x", 1, "not a number"},
      {"frame 1 key press A", 1, "'key' wants down, up or tap"},
      {"frame 0 close", 1, "frame is 0, outside 1..100000000"},
      {"frame -1 close", 1, "frame is -1"},
      {"frame 99999999999999999999 close", 1, "too large"},
      {"frame 2 close\nframe 1 close", 2, "frame 1 comes after frame 2"},
      {"frame 1 close now", 1, "'now' is more than the event takes"},
      {"frame 1", 1, "no event after the frame"},
      {"frame 1 jump", 1, "unknown event 'jump'"},
      {"click left", 1, "a line starts with 'frame N'"},
      {"frame 1 text", 1, "no text to type"},
      {"frame 1 text a\\qb", 1, "unknown escape"},
      {"frame 1 text \xC3", 1, "not UTF-8"},
      {"frame 1 text \xED\xA0\x80", 1, "not UTF-8"},  // a surrogate
      {"frame 1 text \xC0\xAF", 1, "not UTF-8"},      // overlong
      {"frame 1 text a\x01", 1, "control character"},
      {"frame 1 pad 4 connect", 1, "pad is 4, outside 0..3"},
      {"frame 1 pad 0 plug", 1, "'pad' wants connect"},
      {"frame 1 pad 0 buttons A Q", 1, "unknown pad button or axis 'Q'"},
      {"frame 1 pad 0 buttons leftx 1001", 1, "leftx is 1001, outside -1000..1000"},
      {"frame 1 pad 0 buttons lt -1", 1, "lt is -1, outside 0..255"},
      {"frame 1 pad 0 buttons lt 1 lt 2", 1, "lt given twice"},
      {"frame 1 pad 0 buttons leftx", 1, "a number (leftx) is missing"},
      {"frame 1 mouse 1", 1, "a number (mouse y) is missing"},
      {"frame 1 mouse 100001 0", 1, "outside -100000..100000"},
      {"frame 1 click up", 1, "'click' wants left, right or middle"},
      {"frame 1 wheel 1001", 1, "outside -1000..1000"},
      {"frame 1 shot ../x", 1, "a shot's name"},
      {"frame 1 shot .hidden", 1, "a shot's name"},
      {"frame 1 shot a/b", 1, "a shot's name"},
      {"frame 1 focus gone", 1, "'focus' wants lost or back"},
      {"frame 1 steps 101", 1, "outside 0..100"},
      {"frame 1 seed -1", 1, "not negative"},
      {"frame 1 close\nseed 5", 2, "comes before every frame"},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.text);
    const std::string text = std::string("frame 1 key down A\n") + r.text;
    const PlayScript s = Parse(text);
    EXPECT_EQ(s.errorLine, r.line + 1);
    EXPECT_NE(s.error.find(r.reason), std::string::npos) << s.error;
    ASSERT_GE(s.events.size(), 1u);  // the lines before it stay
    EXPECT_EQ(s.events[0].kind, PLAY_KEY_DOWN);
  }
  // A shot's name of 64 characters is the longest; text of 256 characters too.
  EXPECT_EQ(Parse("frame 1 shot " + std::string(64, 'a')).errorLine, 0u);
  EXPECT_EQ(Parse("frame 1 shot " + std::string(65, 'a')).errorLine, 1u);
  EXPECT_EQ(Parse("frame 1 text " + std::string(256, 'a')).errorLine, 0u);
  EXPECT_EQ(Parse("frame 1 text " + std::string(257, 'a')).errorLine, 1u);
}

TEST(PlayScript, KeyNamesAreTheKeyCodes) {
  const struct { const char* name; int code; } rows[] = {
      {"ESCAPE", 0x01}, {"RETURN", 0x1C}, {"A", 0x1E}, {"Z", 0x2C}, {"SPACE", 0x39},
      {"F1", 0x3B}, {"F12", 0x58}, {"NUMPADENTER", 0x9C}, {"UP", 0xC8}, {"LEFT", 0xCB},
      {"RIGHT", 0xCD}, {"DOWN", 0xD0}, {"DELETE", 0xD3}, {"BACKSPACE", 0x0E}, {"ralt", 0xB8},
      {"9", 0x0A}, {"0", 0x0B},
      {"NOPE", -1}, {"", -1}};
  for (const auto& r : rows) {
    EXPECT_EQ(KeyCodeByName(r.name, strlen(r.name)), r.code) << r.name;
  }
  EXPECT_STREQ(KeyNameByCode(0x0E), "BACK");  // the first name of a code
  EXPECT_EQ(KeyNameByCode(0x54), nullptr);
  EXPECT_EQ(FormatPlayEvent(Parse("frame 3 key tap 0x54").events[0]), "frame 3 key tap 0x54");
  EXPECT_EQ(Parse("frame 3 key tap 0xAa").events[0].code, 0xAAu);  // hex digits in either case
  PlayEvent spaced = {};
  spaced.kind = PLAY_TEXT, spaced.frame = 3, spaced.text = " a ";  // spaces at both ends kept
  const PlayScript back = Parse(FormatPlayEvent(spaced));
  ASSERT_EQ(back.events.size(), 1u);
  EXPECT_EQ(back.events[0].text, " a ");
}

}  // namespace
