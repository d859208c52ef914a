// Direct3D 9 graphics: device, off-screen targets and flip, device loss, presets,
// quads and batch, blur, texture cache, fonts. Functions return 0 on success;
// those that need the device return E_FAIL at once without it.
#pragma once
#include <windows.h>
#include <d3d9.h>
#include <d3dx9.h>

#include "graphics/camera2d.h"
#include "graphics/quad_batch.h"
#include "graphics/quad_layout.h"

// Device
// The Direct3D device, or null (no reference added).
IDirect3DDevice9* GetDevice();
// The display adapter's driver name (empty before InitDirectX).
const char* GetAdapterDriver();
// The display adapter's description (empty before InitDirectX).
const char* GetAdapterDescription();

// Render targets
// The flip texture this frame is drawn into, or null (no reference added).
IDirect3DTexture9* GetFlipTexture();
// The surface of the current flip target, or null (no reference added).
IDirect3DSurface9* GetFlipSurface();

// Frame
// Sets the tint in which the last frame is laid under the next one (alpha: strength); returns 0.
HRESULT SetTrailColor(D3DCOLOR color);
// Starts a frame: clear colour, trail, scene opened; 0 when drawing may go ahead.
HRESULT BeginRender(D3DCOLOR clearColor);
// Closes the frame's scene; 0 or the failing status.
HRESULT EndRender();
// Shows the frame (copied in the given tint), repairing a lost device; 0 or the status.
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
  DRAWMODE_POINT = 0x4000,  // textures sampled nearest (pixel art); over the LINEAR flags
};
// Sets blending, texture stage, filtering and depth from DRAWMODE_ flags; 0 or the status.
HRESULT SetDrawMode(DWORD flags);
// Sets the draw mode again (after a device reset); 0 or the failing status.
HRESULT RestoreDrawMode();
// The DRAWMODE_ flags in force.
DWORD GetDrawMode();
// Sets linear fog from start to end in the colour; 0 or the failing status.
HRESULT SetFog(float start, float end, D3DCOLOR color);
// Sets a perspective projection (field of view in radians); 0 or the failing status.
HRESULT SetProjection(float fovY, float aspect, float zNear, float zFar);
// Sets the device's 3D view from eye, target and up vectors (not the 2D camera,
// which quads and shapes use); 0 or the failing status.
HRESULT SetView(const D3DXVECTOR3* eye, const D3DXVECTOR3* at, const D3DXVECTOR3* up);

// Quads
// Draws one quad now with the bound texture (0..1 across it); 0 or the device's status.
HRESULT DrawRect(float left, float top, float right, float bottom, D3DCOLOR color);
// Draws one quad now around a centre with half sizes; 0 or the device's status.
HRESULT DrawRectCenter(float cx, float cy, float halfWidth, float halfHeight, D3DCOLOR color);
// Draws one quad now with the given texture rectangle; 0 or the device's status.
HRESULT DrawRectUV(float left, float top, float right, float bottom, D3DCOLOR color,
                   float uLeft, float vTop, float uRight, float vBottom);
// Appends one quad to the batch, drawn at the next FlushRects; 0, or E_FAIL without a device.
inline HRESULT PushRect(float left, float top, float right, float bottom, D3DCOLOR color);
// Appends one quad around a centre with half sizes to the batch; 0, or E_FAIL without a device.
inline HRESULT PushRectCenter(float cx, float cy, float halfWidth, float halfHeight, D3DCOLOR color);
// Room for count quads at the end of the batch, for the caller to lay out in
// place with LayoutQuad, in screen pixels (no camera: move the corners with
// WorldToScreen): one call for a swarm instead of a push per quad. Null,
// the batch kept, without a device, for a count under 1, or when it cannot grow.
inline Vertex2D* PushQuadSpace(int count);
// Draws the batch with the bound texture (its shapes without) and empties it; 0, E_FAIL if none.
HRESULT FlushRects();

// A sprite: a quad about its centre, turned, with a rectangle of the texture
// (one cell of a sprite sheet). Initialise it as an aggregate, fields in this order.
struct QuadDesc {
  float cx, cy;                 // centre, in pixels
  float halfWidth, halfHeight;  // before turning
  int32_t angle;                // clockwise on screen, 8192 a full turn (any integer wraps)
  D3DCOLOR color;               // ARGB, multiplied with the texture: 0 draws nothing
  float u0, v0, u1, v1;         // texture rectangle; all four 0 means the whole texture
};
// Draws one sprite now; angle 0 gives DrawRectCenter's quad; 0, or E_FAIL (no device, null).
HRESULT DrawQuad(const QuadDesc* quad);
// Appends one sprite to the batch, with upright quads in the same call; 0, or E_FAIL.
HRESULT PushQuad(const QuadDesc* quad);

// 2D camera (struct Camera2D in graphics/camera2d.h): quads, sprites and shapes,
// immediate and pushed, are given in world units from the call on; a push keeps
// the camera of its call. Text, PushQuadSpace's room and the framework's own
// screen copies stay in screen pixels.
// Sets the camera (null: none, the default); 0, or E_INVALIDARG for a zoom not
// above 0 or a field not finite (the camera in force kept).
HRESULT SetCamera2D(const Camera2D* camera);
// Moves a world point to where it is drawn, through the camera in force.
void WorldToScreen(float* x, float* y);
// Moves a screen point (a logical mouse position) to the world point drawn there.
void ScreenToWorld(float* x, float* y);

// Shapes: untextured whatever texture is bound, under the draw mode in force, in
// order among the quads; every triangle is drawn clockwise, so culling never hides one.
// Draws a line width wide centred on the segment (nothing for length 0); 0 or the device's status.
HRESULT DrawLine(float x0, float y0, float x1, float y1, float width, D3DCOLOR color);
// Draws a filled triangle, corners in any order; 0 or the device's status.
HRESULT DrawTriangle(float x0, float y0, float x1, float y1, float x2, float y2, D3DCOLOR color);
// Draws a filled circle within half a pixel of round (nothing for radius <= 0); 0 or the status.
HRESULT DrawCircle(float cx, float cy, float radius, D3DCOLOR color);
// Draws a ring width wide inside the circle's edge; 0 or the device's status.
HRESULT DrawCircleLine(float cx, float cy, float radius, float width, D3DCOLOR color);
// Draws a border width wide inside the rectangle's edge; 0 or the device's status.
HRESULT DrawRectLine(float left, float top, float right, float bottom, float width,
                     D3DCOLOR color);
// Appends a line to the batch; 0, or E_FAIL without a device or when the batch cannot grow.
HRESULT PushLine(float x0, float y0, float x1, float y1, float width, D3DCOLOR color);
// Appends a filled triangle to the batch; 0, or E_FAIL as PushLine.
HRESULT PushTriangle(float x0, float y0, float x1, float y1, float x2, float y2, D3DCOLOR color);
// Appends a filled circle to the batch; 0, or E_FAIL as PushLine.
HRESULT PushCircle(float cx, float cy, float radius, D3DCOLOR color);
// Render targets for games, in slots 0 to 15; any other slot number gives E_FAIL.
// Inside BeginTarget .. EndTarget drawing is in the target's own pixels: no
// logical size, no camera, no depth buffer, no glow; the batch is flushed at both.
// Makes a width x height target (with alpha, transparent black) in an empty slot; 0, or E_FAIL (no device, in use, a side 0 or over the device's limit).
HRESULT CreateTargetSlot(int slot, DWORD width, DWORD height);
// Draws what follows into the slot's target, cleared to transparent black; 0, or E_FAIL (empty slot, no device, a target begun).
HRESULT BeginTarget(int slot);
// Draws the pending batched quads into the target and goes back to the frame; 0, or E_FAIL if none begun.
HRESULT EndTarget();
// Binds the slot's target for the quads that follow, like BindTexture; 0, or E_FAIL (empty, being drawn into).
HRESULT BindTargetTexture(int slot);
// Frees the slot's target (ending it if begun); 0, or E_FAIL for a slot outside 0..15.
HRESULT ReleaseTargetSlot(int slot);
// 1 from a device loss, which empties every target, until the slot's next BeginTarget; else 0.
int IsTargetContentLost(int slot);

// Blur
// Adds a soft copy of the frame so far over it in the given tint (the glow); 0 or the status.
HRESULT DrawEffectGaussianBlur(D3DCOLOR color);

// Texture cache, by file name as written (case and path spelling count)
// Loads the image once, or adds a reference to it; 0, or E_FAIL (no file, full table).
HRESULT LoadTexture(const char* name);
// Drops one reference, freeing the texture with the last; always 0.
HRESULT ReleaseTexture(const char* name);
// Binds the named texture for the quads that follow (null: none); 0 if unknown, else the status.
HRESULT BindTexture(const char* name);

// Fonts, in slots 0 to 31; any other slot number gives E_FAIL. Text is UTF-8
// after a start with START_UTF8_TEXT, else in the code page (as before).
// Creates a font (face name, height in pixels) in an empty slot; 0, or E_FAIL.
HRESULT CreateFontSlot(int slot, const char* face, INT height);
// Draws text (UTF-8 or code page, as started) with the slot's font, its top-left corner at (x, y); 0, or E_FAIL for an empty slot.
HRESULT DrawString(int slot, float x, float y, D3DCOLOR color, const char* text);
// Draws printf-style text, cut at 4095 bytes, like DrawString (the same encoding); 0, or E_FAIL.
HRESULT DrawStringF(int slot, float x, float y, D3DCOLOR color, const char* format, ...);
// The width and height in pixels that DrawString covers for the text (its encoding), as D3DX lays
// it out; 0, or E_FAIL (empty slot, slot outside 0..31, null text or size).
HRESULT MeasureString(int slot, const char* text, SIZE* size);

// The device and the batch as the module keeps them, for the push: games push
// quads by the thousand every frame, and a call costs more than the quad.
extern IDirect3DDevice9* const& GfxDeviceRef;
extern QuadBatch* const GfxQuadBatch;
// Non-zero while a 2D camera is in force; the push then takes the path below.
extern const int& GfxCamera2DOn;
// PushRect through the camera in force, after the device test.
HRESULT PushRectCamera2D(float left, float top, float right, float bottom, D3DCOLOR color);

// Fails with E_FAIL, keeping the quads already batched, when the batch cannot grow.
// Laid out in place in the batch: no copy through the stack.
inline HRESULT PushRect(float left, float top, float right, float bottom, D3DCOLOR color) {
  if (GfxDeviceRef == NULL) return E_FAIL;
  if (GfxCamera2DOn) return PushRectCamera2D(left, top, right, bottom, color);
  Vertex2D* quad = QuadBatchAppendSpace(GfxQuadBatch);
  if (quad == NULL) return E_FAIL;
  LayoutQuad(quad, left, top, right, bottom, color, 0.0f, 0.0f, 1.0f, 1.0f);
  return 0;
}

inline HRESULT PushRectCenter(float cx, float cy, float halfWidth, float halfHeight,
                              D3DCOLOR color) {
  return PushRect(cx - halfWidth, cy - halfHeight, cx + halfWidth, cy + halfHeight, color);
}

inline Vertex2D* PushQuadSpace(int count) {
  if (GfxDeviceRef == NULL || count <= 0) return NULL;
  return QuadBatchAppendQuads(GfxQuadBatch, (uint32_t)count);
}
