// A voice id names one play of a slot's voice: the slot, which of its voices,
// and the generation of that voice (counted up at each play, so that an id of a
// play that has been cut names nothing). Needs no platform header, so it also
// runs natively under the sanitizers.
#pragma once
#include <stdint.h>

enum : uint32_t {
  VOICE_INDEX_BITS = 3,  // 8 voices a slot
  VOICE_SLOT_BITS = 8,   // 256 slots
  VOICE_GENERATION_BITS = 32 - VOICE_SLOT_BITS - VOICE_INDEX_BITS,
  VOICE_GENERATION_LAST = (1u << VOICE_GENERATION_BITS) - 1,
};

struct VoiceIdParts {
  uint32_t slot, voice, generation;  // generation 0: no play ever had it
};

// The id of a play; 0 (never a play's) when a part does not fit its bits or the
// generation is 0.
uint32_t MakeVoiceId(uint32_t slot, uint32_t voice, uint32_t generation);
VoiceIdParts SplitVoiceId(uint32_t id);
// The generation of a voice's next play: 1 after 0, and after the last one 1
// again (a voice would have to play two million times for an id to come back).
uint32_t NextVoiceGeneration(uint32_t generation);
