#include "app/play_script.h"

#include <stdio.h>
#include <string.h>

#include "input/modern_pad.h"

bool operator==(const PlayPad& a, const PlayPad& b) {
  return a.buttons == b.buttons && a.leftX == b.leftX && a.leftY == b.leftY &&
         a.rightX == b.rightX && a.rightY == b.rightY && a.leftTrigger == b.leftTrigger &&
         a.rightTrigger == b.rightTrigger;
}

namespace {

struct Named {
  const char* name;
  uint32_t code;
};

// The DIK_ codes by name; the first name of a code is the one recordings write.
const Named kKeys[] = {
    {"ESCAPE", 0x01}, {"1", 0x02}, {"2", 0x03}, {"3", 0x04}, {"4", 0x05}, {"5", 0x06},
    {"6", 0x07}, {"7", 0x08}, {"8", 0x09}, {"9", 0x0A}, {"0", 0x0B}, {"MINUS", 0x0C},
    {"EQUALS", 0x0D}, {"BACK", 0x0E}, {"TAB", 0x0F}, {"Q", 0x10}, {"W", 0x11}, {"E", 0x12},
    {"R", 0x13}, {"T", 0x14}, {"Y", 0x15}, {"U", 0x16}, {"I", 0x17}, {"O", 0x18}, {"P", 0x19},
    {"LBRACKET", 0x1A}, {"RBRACKET", 0x1B}, {"RETURN", 0x1C}, {"LCONTROL", 0x1D}, {"A", 0x1E},
    {"S", 0x1F}, {"D", 0x20}, {"F", 0x21}, {"G", 0x22}, {"H", 0x23}, {"J", 0x24}, {"K", 0x25},
    {"L", 0x26}, {"SEMICOLON", 0x27}, {"APOSTROPHE", 0x28}, {"GRAVE", 0x29}, {"LSHIFT", 0x2A},
    {"BACKSLASH", 0x2B}, {"Z", 0x2C}, {"X", 0x2D}, {"C", 0x2E}, {"V", 0x2F}, {"B", 0x30},
    {"N", 0x31}, {"M", 0x32}, {"COMMA", 0x33}, {"PERIOD", 0x34}, {"SLASH", 0x35},
    {"RSHIFT", 0x36}, {"MULTIPLY", 0x37}, {"LMENU", 0x38}, {"SPACE", 0x39}, {"CAPITAL", 0x3A},
    {"F1", 0x3B}, {"F2", 0x3C}, {"F3", 0x3D}, {"F4", 0x3E}, {"F5", 0x3F}, {"F6", 0x40},
    {"F7", 0x41}, {"F8", 0x42}, {"F9", 0x43}, {"F10", 0x44}, {"NUMLOCK", 0x45},
    {"SCROLL", 0x46}, {"NUMPAD7", 0x47}, {"NUMPAD8", 0x48}, {"NUMPAD9", 0x49},
    {"SUBTRACT", 0x4A}, {"NUMPAD4", 0x4B}, {"NUMPAD5", 0x4C}, {"NUMPAD6", 0x4D}, {"ADD", 0x4E},
    {"NUMPAD1", 0x4F}, {"NUMPAD2", 0x50}, {"NUMPAD3", 0x51}, {"NUMPAD0", 0x52},
    {"DECIMAL", 0x53}, {"F11", 0x57}, {"F12", 0x58}, {"NUMPADENTER", 0x9C},
    {"RCONTROL", 0x9D}, {"DIVIDE", 0xB5}, {"SYSRQ", 0xB7}, {"RMENU", 0xB8}, {"PAUSE", 0xC5},
    {"HOME", 0xC7}, {"UP", 0xC8}, {"PRIOR", 0xC9}, {"LEFT", 0xCB}, {"RIGHT", 0xCD},
    {"END", 0xCF}, {"DOWN", 0xD0}, {"NEXT", 0xD1}, {"INSERT", 0xD2}, {"DELETE", 0xD3},
    {"LWIN", 0xDB}, {"RWIN", 0xDC}, {"APPS", 0xDD},
    // The other names the key codes go by.
    {"BACKSPACE", 0x0E}, {"NUMPADSTAR", 0x37}, {"LALT", 0x38}, {"CAPSLOCK", 0x3A},
    {"NUMPADMINUS", 0x4A}, {"NUMPADPLUS", 0x4E}, {"NUMPADPERIOD", 0x53}, {"NUMPADSLASH", 0xB5},
    {"RALT", 0xB8}, {"UPARROW", 0xC8}, {"PGUP", 0xC9}, {"LEFTARROW", 0xCB},
    {"RIGHTARROW", 0xCD}, {"DOWNARROW", 0xD0}, {"PGDN", 0xD1}};

// The pad's buttons by name, in the order recordings write them.
const Named kButtons[] = {
    {"A", RAW_A}, {"B", RAW_B}, {"X", RAW_X}, {"Y", RAW_Y}, {"LB", RAW_LEFT_SHOULDER},
    {"RB", RAW_RIGHT_SHOULDER}, {"BACK", RAW_BACK}, {"START", RAW_START},
    {"LS", RAW_LEFT_THUMB}, {"RS", RAW_RIGHT_THUMB}, {"UP", RAW_DPAD_UP},
    {"DOWN", RAW_DPAD_DOWN}, {"LEFT", RAW_DPAD_LEFT}, {"RIGHT", RAW_DPAD_RIGHT}};

const char* const kClicks[] = {"left", "right", "middle"};

bool SameWord(const char* a, size_t length, const char* b) {
  if (strlen(b) != length) return false;
  for (size_t i = 0; i < length; ++i) {
    char c = a[i];
    if (c >= 'a' && c <= 'z') c = (char)(c - 'a' + 'A');
    char d = b[i];
    if (d >= 'a' && d <= 'z') d = (char)(d - 'a' + 'A');
    if (c != d) return false;
  }
  return true;
}

// One line, read word by word.
struct Line {
  const char* p;
  const char* end;
  std::string error;

  void SkipSpace() {
    while (p < end && (*p == ' ' || *p == '\t')) ++p;
  }
  bool AtEnd() {
    SkipSpace();
    return p == end;
  }
  // The next word (empty at the end).
  std::string Word() {
    SkipSpace();
    const char* start = p;
    while (p < end && *p != ' ' && *p != '\t') ++p;
    return std::string(start, p);
  }
  bool Fail(const std::string& why) {
    if (error.empty()) error = why;
    return false;
  }
  // The next word as a whole number (decimal, or hexadecimal after 0x): its
  // magnitude and sign.
  bool Digits(const char* what, uint64_t* value, bool* negative) {
    std::string w = Word();
    if (w.empty()) return Fail(std::string("a number (") + what + ") is missing");
    size_t i = 0;
    *negative = w[0] == '-';
    if (*negative) ++i;
    unsigned base = 10;
    if (w.size() > i + 2 && w[i] == '0' && (w[i + 1] == 'x' || w[i + 1] == 'X')) base = 16, i += 2;
    if (i == w.size()) return Fail("'" + w + "' is not a number (" + what + ")");
    *value = 0;
    for (; i < w.size(); ++i) {
      char c = w[i];
      unsigned digit = c >= '0' && c <= '9' ? (unsigned)(c - '0')
                       : base == 16 && c >= 'a' && c <= 'f' ? (unsigned)(c - 'a' + 10)
                       : base == 16 && c >= 'A' && c <= 'F' ? (unsigned)(c - 'A' + 10) : 99;
      if (digit >= base) return Fail("'" + w + "' is not a number (" + what + ")");
      if (*value > (UINT64_MAX - digit) / base) return Fail("'" + w + "' is too large (" + what + ")");
      *value = *value * base + digit;
    }
    return true;
  }
  // A whole number from low to high.
  bool Number(const char* what, int64_t low, int64_t high, int64_t* out) {
    uint64_t value;
    bool negative;
    if (!Digits(what, &value, &negative)) return false;
    const uint64_t limit = negative ? (uint64_t)(-(low + 1)) + 1 : (uint64_t)high;
    if ((negative && low >= 0) || value > limit || (!negative && (int64_t)value < low)) {
      return Fail(std::string(what) + " is " + (negative ? "-" : "") + std::to_string(value) +
                  ", outside " + std::to_string(low) + ".." + std::to_string(high));
    }
    *out = negative ? (int64_t)(0 - value) : (int64_t)value;
    return true;
  }
  // Any number from 0 to 2^64 - 1.
  bool Seed(uint64_t* out) {
    bool negative;
    if (!Digits("seed", out, &negative)) return false;
    return !negative || Fail("a seed is not negative");
  }
};

// The length of the UTF-8 character at s (at most n bytes), or 0 when it is not one.
size_t Utf8Length(const unsigned char* s, size_t n) {
  unsigned char c = s[0];
  size_t length = c < 0x80 ? 1 : c >= 0xC2 && c < 0xE0 ? 2 : c >= 0xE0 && c < 0xF0 ? 3
                  : c >= 0xF0 && c < 0xF5 ? 4 : 0;
  if (length == 0 || length > n) return 0;
  for (size_t i = 1; i < length; ++i) {
    if ((s[i] & 0xC0) != 0x80) return 0;
  }
  // Neither an overlong form, a surrogate nor past U+10FFFF.
  if (length == 3 && c == 0xE0 && s[1] < 0xA0) return 0;
  if (length == 3 && c == 0xED && s[1] >= 0xA0) return 0;
  if (length == 4 && c == 0xF0 && s[1] < 0x90) return 0;
  if (length == 4 && c == 0xF4 && s[1] >= 0x90) return 0;
  return length;
}

// The text of a text line: the rest of it, without the spaces around it; \\ \#
// \b (backspace) \r (Enter) \t and \s (a space) stand for those characters.
bool ReadText(Line* line, std::string* text) {
  line->SkipSpace();
  const char* end = line->end;
  while (end > line->p && (end[-1] == ' ' || end[-1] == '\t')) --end;
  size_t chars = 0;
  for (const char* p = line->p; p < end;) {
    unsigned char c = (unsigned char)*p;
    if (c == '\\') {
      char e = p + 1 < end ? p[1] : 0;
      const char* escapes = "\\\\##b\br\rt\ts ";
      const char* found = e != 0 ? strchr(escapes, e) : NULL;
      if (found == NULL || (found - escapes) % 2 != 0) {
        return line->Fail("unknown escape in the text (\\\\ \\# \\b \\r \\t \\s are known)");
      }
      text->push_back(found[1]);
      p += 2;
    } else if (c < 0x20 || c == 0x7F) {
      return line->Fail("a control character in the text (write \\b, \\r or \\t)");
    } else {
      size_t n = Utf8Length((const unsigned char*)p, (size_t)(end - p));
      if (n == 0) return line->Fail("the text is not UTF-8");
      text->append(p, n);
      p += n;
    }
    if (++chars > PLAY_TEXT_CHARS_MAX) {
      return line->Fail("more than " + std::to_string(PLAY_TEXT_CHARS_MAX) + " characters of text");
    }
  }
  if (text->empty()) return line->Fail("no text to type");
  line->p = line->end;
  return true;
}

bool ReadKey(Line* line, PlayEvent* e) {
  std::string w = line->Word();
  if (w.empty()) return line->Fail("no key named");
  if (w[0] >= '0' && w[0] <= '9' && w.size() > 1) {  // a code ("1" alone is the key 1)
    Line number = {w.data(), w.data() + w.size(), ""};
    int64_t code;
    if (!number.Number("key code", 1, 255, &code)) return line->Fail(number.error);
    e->code = (uint32_t)code;
    return true;
  }
  int code = KeyCodeByName(w.data(), w.size());
  if (code < 0) return line->Fail("unknown key '" + w + "' (a DIK_ name without DIK_, or a code)");
  e->code = (uint32_t)code;
  return true;
}

bool ReadPadState(Line* line, PlayEvent* e) {
  static const char* const kAxes[] = {"leftx", "lefty", "rightx", "righty", "lt", "rt"};
  int16_t* sticks[] = {&e->pad.leftX, &e->pad.leftY, &e->pad.rightX, &e->pad.rightY};
  bool seen[6] = {};
  while (!line->AtEnd()) {
    std::string w = line->Word();
    int axis = -1;
    for (int i = 0; i < 6; ++i) {
      if (SameWord(w.data(), w.size(), kAxes[i])) axis = i;
    }
    if (axis >= 0) {
      if (seen[axis]) return line->Fail(std::string(kAxes[axis]) + " given twice");
      seen[axis] = true;
      int64_t v;
      if (axis < 4) {
        if (!line->Number(kAxes[axis], -PAD_AXIS_RANGE, PAD_AXIS_RANGE, &v)) return false;
        *sticks[axis] = (int16_t)v;
      } else {
        if (!line->Number(kAxes[axis], 0, 255, &v)) return false;
        (axis == 4 ? e->pad.leftTrigger : e->pad.rightTrigger) = (uint8_t)v;
      }
      continue;
    }
    uint16_t button = 0;
    for (const Named& b : kButtons) {
      if (SameWord(w.data(), w.size(), b.name)) button = (uint16_t)b.code;
    }
    if (button == 0) {
      return line->Fail("unknown pad button or axis '" + w +
                        "' (A B X Y LB RB BACK START LS RS UP DOWN LEFT RIGHT, leftx lefty "
                        "rightx righty lt rt)");
    }
    e->pad.buttons |= button;
  }
  return true;
}

// What follows "frame N".
bool ReadEvent(Line* line, PlayEvent* e) {
  std::string w = line->Word();
  int64_t v = 0;
  const char* word = w.c_str();
  if (w == "key") {
    std::string how = line->Word();
    if (how == "down") e->kind = PLAY_KEY_DOWN;
    else if (how == "up") e->kind = PLAY_KEY_UP;
    else if (how == "tap") e->kind = PLAY_KEY_TAP;
    else return line->Fail("'key' wants down, up or tap, not '" + how + "'");
    return ReadKey(line, e);
  }
  if (w == "text") {
    e->kind = PLAY_TEXT;
    return ReadText(line, &e->text);
  }
  if (w == "pad") {
    if (!line->Number("pad", 0, PLAY_PAD_COUNT - 1, &v)) return false;
    e->code = (uint32_t)v;
    std::string how = line->Word();
    if (how == "connect") e->kind = PLAY_PAD_CONNECT;
    else if (how == "disconnect") e->kind = PLAY_PAD_DISCONNECT;
    else if (how == "buttons") e->kind = PLAY_PAD_STATE;
    else return line->Fail("'pad' wants connect, disconnect or buttons, not '" + how + "'");
    return e->kind != PLAY_PAD_STATE || ReadPadState(line, e);
  }
  if (w == "mouse") {
    e->kind = PLAY_MOUSE;
    if (!line->Number("mouse x", -PLAY_MOUSE_MAX, PLAY_MOUSE_MAX, &v)) return false;
    e->x = (int32_t)v;
    if (!line->Number("mouse y", -PLAY_MOUSE_MAX, PLAY_MOUSE_MAX, &v)) return false;
    e->y = (int32_t)v;
    return true;
  }
  if (w == "click") {
    e->kind = PLAY_CLICK;
    std::string button = line->Word();
    for (uint32_t i = 0; i < 3; ++i) {
      if (button == kClicks[i]) {
        e->code = i;
        return true;
      }
    }
    return line->Fail("'click' wants left, right or middle, not '" + button + "'");
  }
  if (w == "wheel") {
    e->kind = PLAY_WHEEL;
    if (!line->Number("wheel notches", -PLAY_WHEEL_MAX, PLAY_WHEEL_MAX, &v)) return false;
    e->x = (int32_t)v;
    return true;
  }
  if (w == "shot") {
    e->kind = PLAY_SHOT;
    e->text = line->Word();
    bool good = !e->text.empty() && e->text.size() <= PLAY_NAME_MAX && e->text[0] != '.';
    for (char c : e->text) {
      good = good && ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                      c == '_' || c == '-' || c == '.');
    }
    if (!good) {
      return line->Fail("a shot's name is 1 to 64 letters, digits, '_', '-' or '.' (not first), not '" +
                        e->text + "'");
    }
    return true;
  }
  if (w == "focus") {
    std::string how = line->Word();
    if (how == "lost") e->kind = PLAY_FOCUS_LOST;
    else if (how == "back") e->kind = PLAY_FOCUS_BACK;
    else return line->Fail("'focus' wants lost or back, not '" + how + "'");
    return true;
  }
  if (w == "close") {
    e->kind = PLAY_CLOSE;
    return true;
  }
  if (w == "steps") {
    e->kind = PLAY_STEPS;
    if (!line->Number("steps", 0, PLAY_STEPS_MAX, &v)) return false;
    e->code = (uint32_t)v;
    return true;
  }
  if (w == "seed") {
    e->kind = PLAY_SEED;
    return line->Seed(&e->seed);
  }
  if (w.empty()) return line->Fail("no event after the frame");
  return line->Fail(std::string("unknown event '") + word +
                    "' (key, text, pad, mouse, click, wheel, shot, focus, close, steps, seed)");
}

}  // namespace

int KeyCodeByName(const char* name, size_t length) {
  if (name == NULL) return -1;
  for (const Named& k : kKeys) {
    if (SameWord(name, length, k.name)) return (int)k.code;
  }
  return -1;
}

const char* KeyNameByCode(uint32_t code) {
  for (const Named& k : kKeys) {
    if (k.code == code) return k.name;
  }
  return NULL;
}

int ParsePlayScript(const char* text, size_t length, PlayScript* script) {
  script->events.clear();
  script->errorLine = 0;
  script->error.clear();
  uint32_t lineNumber = 0, lastFrame = 0;
  for (size_t at = 0; at < length;) {
    const char* start = text + at;
    const char* newline = (const char*)memchr(start, '\n', length - at);
    const char* end = newline != NULL ? newline : text + length;
    at = (size_t)(end - text) + (newline != NULL ? 1 : 0);
    ++lineNumber;
    if (end > start && end[-1] == '\r') --end;
    // The comment: from a '#' that no backslash escapes.
    for (const char* p = start; p < end; ++p) {
      if (*p == '\\' && p + 1 < end) {
        ++p;
      } else if (*p == '#') {
        end = p;
        break;
      }
    }
    Line line = {start, end, ""};
    if (line.AtEnd()) continue;
    PlayEvent e = {};
    e.line = lineNumber;
    std::string first = line.Word();
    bool good;
    if (first == "seed") {  // before the first frame
      e.kind = PLAY_SEED;
      good = line.Seed(&e.seed);
      if (good && !script->events.empty()) good = line.Fail("a seed without a frame comes before every frame");
    } else if (first == "frame") {
      int64_t v = 0;
      good = line.Number("frame", 1, PLAY_FRAME_MAX, &v) && ReadEvent(&line, &e);
      e.frame = (uint32_t)v;
      if (good && e.frame < lastFrame) {
        good = line.Fail("frame " + std::to_string(e.frame) + " comes after frame " +
                         std::to_string(lastFrame) + ": frames never go back");
      }
    } else {
      good = line.Fail("a line starts with 'frame N' (or 'seed N'), not '" + first + "'");
    }
    if (good && !line.AtEnd()) good = line.Fail("'" + line.Word() + "' is more than the event takes");
    if (!good) {
      script->errorLine = lineNumber;
      script->error = line.error;
      return 0;
    }
    lastFrame = e.frame;
    script->events.push_back(e);
  }
  return 1;
}

std::string FormatPlayEvent(const PlayEvent& e) {
  std::string s;
  if (e.kind == PLAY_SEED && e.frame == 0) return "seed " + std::to_string(e.seed);
  s = "frame " + std::to_string(e.frame) + " ";
  switch (e.kind) {
    case PLAY_KEY_DOWN:
    case PLAY_KEY_UP:
    case PLAY_KEY_TAP: {
      const char* how = e.kind == PLAY_KEY_DOWN ? "down" : e.kind == PLAY_KEY_UP ? "up" : "tap";
      const char* name = KeyNameByCode(e.code);
      char code[8];
      snprintf(code, sizeof code, "0x%02X", (unsigned)e.code & 0xFF);
      return s + "key " + how + " " + (name != NULL ? name : code);
    }
    case PLAY_TEXT: {
      s += "text ";
      for (size_t i = 0; i < e.text.size(); ++i) {
        char c = e.text[i];
        if (c == '\\') s += "\\\\";
        else if (c == '#') s += "\\#";
        else if (c == '\b') s += "\\b";
        else if (c == '\r') s += "\\r";
        else if (c == '\t') s += "\\t";
        else if (c == ' ' && (i == 0 || i + 1 == e.text.size())) s += "\\s";
        else s += c;
      }
      return s;
    }
    case PLAY_PAD_CONNECT: return s + "pad " + std::to_string(e.code) + " connect";
    case PLAY_PAD_DISCONNECT: return s + "pad " + std::to_string(e.code) + " disconnect";
    case PLAY_PAD_STATE: {
      s += "pad " + std::to_string(e.code) + " buttons";
      for (const Named& b : kButtons) {
        if (e.pad.buttons & b.code) s += std::string(" ") + b.name;
      }
      const PlayPad& p = e.pad;
      char axes[96];
      snprintf(axes, sizeof axes, " leftx %d lefty %d rightx %d righty %d lt %u rt %u", p.leftX,
               p.leftY, p.rightX, p.rightY, p.leftTrigger, p.rightTrigger);
      return s + axes;
    }
    case PLAY_MOUSE: return s + "mouse " + std::to_string(e.x) + " " + std::to_string(e.y);
    case PLAY_CLICK: return s + "click " + kClicks[e.code < 3 ? e.code : 0];
    case PLAY_WHEEL: return s + "wheel " + std::to_string(e.x);
    case PLAY_SHOT: return s + "shot " + e.text;
    case PLAY_FOCUS_LOST: return s + "focus lost";
    case PLAY_FOCUS_BACK: return s + "focus back";
    case PLAY_CLOSE: return s + "close";
    case PLAY_STEPS: return s + "steps " + std::to_string(e.code);
    case PLAY_SEED: return s + "seed " + std::to_string(e.seed);
  }
  return s;
}
