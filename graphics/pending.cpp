// Placeholders for the graphics calls of the frame sequence; each is replaced by
// the real one as the graphics modules land.
#include "graphics/graphics.h"

HRESULT InitDirectX() { return 0; }
void ReleaseDirectX() {}
HRESULT SetTrailColor(D3DCOLOR) { return 0; }
HRESULT BeginRender(D3DCOLOR) { return 0; }
HRESULT EndRender() { return 0; }
HRESULT Flip(D3DCOLOR) { return 0; }
HRESULT SetDrawMode(DWORD) { return 0; }
HRESULT DrawRectCenter(float, float, float, float, D3DCOLOR) { return 0; }
HRESULT PushRectCenter(float, float, float, float, D3DCOLOR) { return 0; }
HRESULT FlushRects() { return 0; }
HRESULT DrawEffectGaussianBlur(D3DCOLOR) { return 0; }
HRESULT LoadTexture(const char*) { return 0; }
HRESULT ReleaseTexture(const char*) { return 0; }
HRESULT BindTexture(const char*) { return 0; }
