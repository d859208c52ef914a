// Fuzz target: a play script as a player may hand one over (any bytes). Whatever
// parses writes back as lines that parse to the same events.
#include <stddef.h>
#include <stdint.h>

#include "app/play_script.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
  PlayScript script;
  const int whole = ParsePlayScript(reinterpret_cast<const char*>(bytes), size, &script);
  if (whole != (script.errorLine == 0)) __builtin_trap();
  for (const PlayEvent& e : script.events) {
    const std::string line = FormatPlayEvent(e);
    PlayScript again;
    if (!ParsePlayScript(line.data(), line.size(), &again) || again.events.size() != 1) __builtin_trap();
    const PlayEvent& back = again.events[0];
    if (back.kind != e.kind || back.frame != e.frame || back.code != e.code || back.x != e.x ||
        back.y != e.y || !(back.pad == e.pad) || back.seed != e.seed || back.text != e.text) {
      __builtin_trap();
    }
  }
  return 0;
}
