// Module state of the graphics subsystem: one record, zero at program start, kept
// for the whole run. Interface pointers are null while absent.
#pragma once
#include <windows.h>
#include <d3d9.h>
#include <d3dx9.h>

#include "graphics/batch_runs.h"
#include "graphics/camera2d_transform.h"
#include "graphics/internal.h"
#include "graphics/quad_batch.h"

enum { FONT_SLOTS = 32, TEXTURE_SLOTS = 256, FORMAT_BUFFER_SIZE = 4096, TEXTURE_STAGES = 8 };
enum { TARGET_SLOTS = 16 };

// One texture-cache entry; in use exactly while texture is non-null.
struct TextureEntry {
  DWORD hash;  // CRC-32 of the file name
  IDirect3DTexture9* texture;
  LONG refCount;
};

// One render target of the game's; in use while width is non-zero. The texture
// is absent between a device loss and the reset (and after a failed remake).
struct GameTarget {
  IDirect3DTexture9* texture;
  IDirect3DSurface9* surface;
  DWORD width, height;
  int lost;  // emptied by a device loss since the last BeginTarget
};

struct GraphicsState {
  IDirect3D9* lpD3D;
  IDirect3DDevice9* lpDevice;
  D3DADAPTER_IDENTIFIER9 adapterIdentifier;  // adapter 0, filled once
  D3DDISPLAYMODE displayMode;                // its Format is the back-buffer format
  D3DPRESENT_PARAMETERS PresentParam;        // as the successful attempt left it

  // Render targets; the flip pair is indexed by FlipIndex().
  IDirect3DSurface9* lpBackSurface;
  IDirect3DSurface9* lpBackZBuffer;
  IDirect3DTexture9* lpEffectTexture;
  IDirect3DSurface9* lpEffectSurface;
  IDirect3DTexture9* lpFlipTexture[2];
  IDirect3DSurface9* lpFlipSurface[2];
  IDirect3DSurface9* lpFlipZBuffer[2];
  DWORD FlipCount;  // advanced by Clear only
  D3DCOLOR trailColor;
  // The logical size the game draws at (0 x 0: the back buffer's) and its
  // VIEW_ scaling; the flip and effect targets are targetWidth x targetHeight.
  DWORD logicalWidth, logicalHeight, scaling;
  DWORD targetWidth, targetHeight;

  DWORD drawMode;  // the last SetDrawMode word, whole
  QuadBatch batch;
  BatchRuns shapeRuns;     // the batch's stretches of shapes
  QuadBatch shapeScratch;  // an immediate shape's vertices, empty between calls

  // The 2D camera: in force (camera2dOn, all the push tests) while set and not
  // suspended by the framework's own screen-space drawing.
  Camera2DTransform camera2d;
  int camera2dSet, camera2dOn;
  DWORD camera2dSuspended;

  ID3DXFont* fonts[FONT_SLOTS];
  char formatBuffer[FORMAT_BUFFER_SIZE];  // DrawStringF's text, overwritten by each call
  TextureEntry textures[TEXTURE_SLOTS];

  int utf8Text;  // the fonts take UTF-8 (START_UTF8_TEXT), else the code page
  // The game's render targets; between BeginTarget and EndTarget drawingTarget is
  // the slot + 1 (else 0) and the binding it found is kept to be given back.
  GameTarget targets[TARGET_SLOTS];
  int drawingTarget;
  IDirect3DSurface9* targetSavedSurface;
  IDirect3DSurface9* targetSavedDepth;
  int targetOwnScene;  // BeginTarget opened the scene, EndTarget closes it
};

extern GraphicsState Gfx;

// Drawing goes into a game's target (BeginTarget): its own pixels, no logical
// size and no 2D camera (the camera's transform is skipped while this holds).
inline bool InGameTarget() { return Gfx.drawingTarget != 0; }

// The flip target of this frame: each Clear moves on to the other one of the pair.
inline DWORD FlipIndex() { return Gfx.FlipCount & 1; }

// The size the targets take: the logical size, else the back buffer's.
DWORD WantedTargetWidth();
DWORD WantedTargetHeight();
// Sets the logical size (0 x 0: none) and makes the targets again at the size
// wanted; on failure the old size stays, with its targets.
HRESULT SetTargetSize(DWORD width, DWORD height, DWORD scaling);
// Resets the device with new presentation parameters through the loss path
// (fonts told, targets rebuilt); on failure the old ones are back in force.
HRESULT ResetPresentParam(const D3DPRESENT_PARAMETERS& params);
// Flip's last copy at a logical size: scaled and centred on black.
void DrawScaledCopy(D3DCOLOR color);
