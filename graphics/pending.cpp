// Placeholders for the graphics calls of the frame sequence that are not built
// yet; each is replaced by the real one as its module lands.
#include "graphics/graphics.h"

HRESULT DrawEffectGaussianBlur(D3DCOLOR) { return 0; }
HRESULT LoadTexture(const char*) { return 0; }
HRESULT ReleaseTexture(const char*) { return 0; }
HRESULT BindTexture(const char*) { return 0; }
