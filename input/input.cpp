// Placeholder until the DirectInput devices are built: no device, no bits.
#include "input/input.h"

HRESULT InitInput() { return 0; }
HRESULT UpdateInput() { return 0; }
void ReleaseInput() {}
DWORD GetPadBits() { return 0; }
