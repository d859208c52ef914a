#include "app/play_state.h"

PlayState Play;

uint32_t ScriptFrame() { return Play.frames - Play.base + (Play.frameOpen ? 0 : 1); }
uint32_t RecordFrame() { return Play.frames - Play.recordBase + (Play.frameOpen ? 0 : 1); }
