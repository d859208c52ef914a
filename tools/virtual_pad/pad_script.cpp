#include "tools/virtual_pad/pad_script.h"

#include <ctype.h>
#include <errno.h>
#include <stdlib.h>
#include <string.h>

#include <string>

namespace {

int32_t Clamp(long v) {
  if (v < -PAD_TRAVEL) return -PAD_TRAVEL;
  if (v > PAD_TRAVEL) return PAD_TRAVEL;
  return (int32_t)v;
}

bool AtLineEnd(const char* p) {
  while (*p == ' ' || *p == '\t' || *p == '\r') ++p;
  return *p == '\0' || *p == '\n' || *p == '#';
}

// A number must end at a blank or the line's end: "5 1f" is not "5 1 f".
bool EndsField(const char* p) { return *p == ' ' || *p == '\t' || AtLineEnd(p); }

const char* SkipBlanks(const char* p) {
  while (*p == ' ' || *p == '\t') ++p;
  return p;
}

// Reads one step from the line at p; false if the line is not one. The mask and
// the count take no sign.
bool ReadStep(const char* p, PadStep* step) {
  char* end;
  errno = 0;
  long x = strtol(p, &end, 10);
  if (end == p || !EndsField(end)) return false;
  p = end;
  long y = strtol(p, &end, 10);
  if (end == p || !EndsField(end)) return false;
  p = SkipBlanks(end);
  if (!isxdigit((unsigned char)*p)) return false;
  unsigned long buttons = strtoul(p, &end, 16);
  if (!EndsField(end)) return false;
  p = end;
  unsigned long count = 1;
  if (!AtLineEnd(p)) {
    p = SkipBlanks(p);
    if (!isdigit((unsigned char)*p)) return false;
    count = strtoul(p, &end, 10);
    p = end;
  }
  if (!AtLineEnd(p) || errno == ERANGE || buttons > 0xFFFFFFFFul || count > 0xFFFFFFFFul) {
    return false;
  }
  *step = {Clamp(x), Clamp(y), (uint32_t)buttons, (uint32_t)count};
  return true;
}

}  // namespace

PadScript ParsePadScript(const char* text) {
  PadScript script;
  if (text == NULL) return script;
  std::string line;
  for (const char* p = text; *p != '\0';) {
    const char* end = strchr(p, '\n');
    if (end == NULL) end = p + strlen(p);
    line.assign(p, end);  // parsed alone: strtol would skip a line feed
    p = *end == '\n' ? end + 1 : end;
    if (AtLineEnd(line.c_str())) continue;
    PadStep step;
    if (!ReadStep(line.c_str(), &step)) {
      ++script.skipped;
    } else if (step.count > 0) {
      script.steps.push_back(step);
    }
  }
  return script;
}

PadStep NextPadStep(PadScript& script) {
  if (script.index >= script.steps.size()) return PadStep{0, 0, 0, 1};
  PadStep step = script.steps[script.index];
  if (++script.used >= step.count) {
    ++script.index;
    script.used = 0;
  }
  return step;
}

int32_t PadAxisValue(int32_t position, int32_t min, int32_t max, uint32_t deadZone) {
  int64_t lo = min, hi = max;
  int64_t centre = lo + (hi - lo) / 2;
  const int64_t travel = PAD_TRAVEL;
  int64_t dead = deadZone >= 10000 ? travel : (int64_t)deadZone * travel / 10000;
  int64_t p = position < -travel ? -travel : position > travel ? travel : position;
  int64_t magnitude = p < 0 ? -p : p;
  if (magnitude <= dead) return (int32_t)centre;
  int64_t span = p < 0 ? centre - lo : hi - centre;
  int64_t offset = (magnitude - dead) * span / (travel - dead);
  return (int32_t)(p < 0 ? centre - offset : centre + offset);
}
