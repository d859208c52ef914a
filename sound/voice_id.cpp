#include "sound/voice_id.h"

uint32_t MakeVoiceId(uint32_t slot, uint32_t voice, uint32_t generation) {
  if (slot >> VOICE_SLOT_BITS || voice >> VOICE_INDEX_BITS || generation == 0 ||
      generation > VOICE_GENERATION_LAST) {
    return 0;
  }
  return generation << (VOICE_SLOT_BITS + VOICE_INDEX_BITS) | slot << VOICE_INDEX_BITS | voice;
}

VoiceIdParts SplitVoiceId(uint32_t id) {
  VoiceIdParts parts;
  parts.voice = id & ((1u << VOICE_INDEX_BITS) - 1);
  parts.slot = id >> VOICE_INDEX_BITS & ((1u << VOICE_SLOT_BITS) - 1);
  parts.generation = id >> (VOICE_SLOT_BITS + VOICE_INDEX_BITS);
  return parts;
}

uint32_t NextVoiceGeneration(uint32_t generation) {
  return generation >= VOICE_GENERATION_LAST ? 1 : generation + 1;
}
