#include "sound/sound_state.h"

#include "sound/wave_slot.h"

SoundState Sound;
// Constructed empty at program start; each destructor releases its slot at exit.
WaveSlot WaveSlots[WAVE_SLOT_COUNT];

static_assert(sizeof(DSCAPS) == 96, "DSCAPS");
static_assert(sizeof(DSBUFFERDESC) == 36, "DSBUFFERDESC");
