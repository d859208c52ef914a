// Direct3D 9 graphics: device, off-screen targets and flip, device loss, presets,
// quads and batch, blur, texture cache, fonts. Functions return 0 on success;
// those that need the device return E_FAIL at once without it.
#pragma once
#include <windows.h>
#include <d3d9.h>
#include <d3dx9.h>

#include "graphics/quad_layout.h"

// Device
HRESULT InitDirectX();
HRESULT CreateDirectXDevice();
void ReleaseDirectX();
IDirect3DDevice9* GetDevice();  // no reference added
const char* GetAdapterDriver();
const char* GetAdapterDescription();

// Render targets and device loss
HRESULT CreateResource();
HRESULT ReleaseResource();
HRESULT OnLost();
HRESULT OnRestore();
HRESULT HandlePresentParam(HRESULT code, int tested);
HRESULT SetRenderTarget();         // binds the current flip surface
HRESULT SetDepthStencilSurface();  // binds the current flip depth buffer
IDirect3DTexture9* GetFlipTexture();  // current index, no reference added
IDirect3DSurface9* GetFlipSurface();

// Frame
HRESULT SetTrailColor(D3DCOLOR color);
HRESULT Clear(D3DCOLOR color);
HRESULT BeginScene();
HRESULT BeginRender(D3DCOLOR clearColor);
HRESULT EndRender();
HRESULT Flip(D3DCOLOR color);

// Presets
enum : DWORD {
  DRAWMODE_BLEND_ALPHA = 0x0001,
  DRAWMODE_BLEND_ADD = 0x0002,
  DRAWMODE_TEXTURE_MODULATE = 0x0010,
  DRAWMODE_LINEAR = 0x0100,
  DRAWMODE_LINEAR2 = 0x0200,
  DRAWMODE_ZBUFFER = 0x0400,
  DRAWMODE_FOG = 0x0800,
  DRAWMODE_CULL = 0x1000,
  DRAWMODE_LIGHTING = 0x2000,
};
HRESULT SetDrawMode(DWORD flags);
HRESULT RestoreDrawMode();
DWORD GetDrawMode();
HRESULT SetFog(float start, float end, D3DCOLOR color);
HRESULT SetProjection(float fovY, float aspect, float zNear, float zFar);
HRESULT SetView(const D3DXVECTOR3* eye, const D3DXVECTOR3* at, const D3DXVECTOR3* up);

// Quads
HRESULT DrawRect(float left, float top, float right, float bottom, D3DCOLOR color);
HRESULT DrawRectCenter(float cx, float cy, float halfWidth, float halfHeight, D3DCOLOR color);
HRESULT DrawRectUV(float left, float top, float right, float bottom, D3DCOLOR color,
                   float uLeft, float vTop, float uRight, float vBottom);
HRESULT PushRect(float left, float top, float right, float bottom, D3DCOLOR color);
HRESULT PushRectCenter(float cx, float cy, float halfWidth, float halfHeight, D3DCOLOR color);
HRESULT FlushRects();

// Blur
HRESULT DrawEffectGaussianBlur(D3DCOLOR color);

// Texture cache, by file name as written (case and path spelling count)
HRESULT LoadTexture(const char* name);     // one more reference; the file is read once
HRESULT ReleaseTexture(const char* name);  // one reference less; always 0
HRESULT BindTexture(const char* name);     // stage 0; null unbinds; 0 for an unknown name
IDirect3DTexture9* CreateTextureFromFile(const char* name);  // a new texture, or null
void ReleaseTextures();

// Fonts, in slots 0 to 31; any other slot number gives E_FAIL
HRESULT CreateFontSlot(int slot, const char* face, INT height);
HRESULT DrawString(int slot, float x, float y, D3DCOLOR color, const char* text);
// printf-style; the text is cut at 4095 characters.
HRESULT DrawStringF(int slot, float x, float y, D3DCOLOR color, const char* format, ...);
HRESULT InvalidateFont(int slot);
HRESULT RestoreFont(int slot);
HRESULT InvalidateFonts();
void RestoreFonts();
void ReleaseFonts();
