// Placeholder until the sound device is built: starts nothing, releases nothing.
#include "sound/sound.h"

HRESULT InitSound() { return 0; }
void ReleaseSound() {}
