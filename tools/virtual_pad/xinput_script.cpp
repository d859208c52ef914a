#include "tools/virtual_pad/xinput_script.h"

#include <stdio.h>
#include <string.h>

#include <string>

namespace {

bool InRange(long v, long lo, long hi) { return v >= lo && v <= hi; }

bool ReadLine(const char* line, XPadLine* out) {
  unsigned long ms, pad, buttons;
  long lx, ly, rx, ry, lt, rt;
  char word[8], rest[2];
  if (sscanf(line, "%lu %lu %7s %1s", &ms, &pad, word, rest) == 3 && strcmp(word, "off") == 0) {
    *out = XPadLine{};
    out->ms = (uint32_t)ms;
    out->pad = (uint32_t)pad;
    return pad < XPAD_COUNT && ms <= 0xFFFFFFFFul;
  }
  if (sscanf(line, "%lu %lu %ld %ld %ld %ld %ld %ld %lx %1s", &ms, &pad, &lx, &ly, &rx, &ry, &lt,
             &rt, &buttons, rest) != 9) {
    return false;
  }
  if (pad >= XPAD_COUNT || ms > 0xFFFFFFFFul || buttons > 0xFFFF) return false;
  const long kMin = -32768, kMax = 32767;
  if (!InRange(lx, kMin, kMax) || !InRange(ly, kMin, kMax) || !InRange(rx, kMin, kMax) ||
      !InRange(ry, kMin, kMax) || !InRange(lt, 0, 255) || !InRange(rt, 0, 255)) {
    return false;
  }
  *out = XPadLine{(uint32_t)ms, (uint32_t)pad, true, (uint16_t)buttons, (uint8_t)lt, (uint8_t)rt,
                  (int16_t)lx, (int16_t)ly, (int16_t)rx, (int16_t)ry};
  return true;
}

}  // namespace

XPadScript ParseXPadScript(const char* text) {
  XPadScript script;
  if (text == NULL) return script;
  std::string line;
  for (const char* p = text; *p != '\0';) {
    const char* end = strchr(p, '\n');
    if (end == NULL) end = p + strlen(p);
    line.assign(p, end);
    p = *end == '\n' ? end + 1 : end;
    size_t hash = line.find('#');
    if (hash != std::string::npos) line.erase(hash);
    if (line.find_first_not_of(" \t\r") == std::string::npos) continue;
    XPadLine entry;
    if (ReadLine(line.c_str(), &entry)) script.lines.push_back(entry);
    else ++script.skipped;
  }
  return script;
}

const XPadLine* XPadAt(const XPadScript& script, uint32_t pad, uint32_t ms) {
  const XPadLine* found = NULL;
  for (const XPadLine& line : script.lines) {
    if (line.pad == pad && line.ms <= ms && (found == NULL || line.ms >= found->ms)) found = &line;
  }
  return found != NULL && found->connected ? found : NULL;
}

uint32_t XPadClockRead(XPadClock* clock, uint32_t pad, uint32_t tick) {
  if (clock->frames == 0 || pad <= clock->lastPad) {
    if (++clock->frames == 2) clock->start = tick;
    if (clock->frames > 2) clock->frames = 2;  // counted no further
  }
  clock->lastPad = pad;
  return XPadClockNow(*clock, tick);
}

uint32_t XPadClockNow(const XPadClock& clock, uint32_t tick) {
  return clock.frames < 2 ? 0 : tick - clock.start;
}
