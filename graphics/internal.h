// The graphics module's own steps: its entry from the application, the device's
// life cycle and loss, the frame's inner steps, the texture and font tables.
// Not installed: games use graphics/graphics.h.
#pragma once
#include "graphics/graphics.h"

// Device
// InitDirectX and CreateDirectXDevice (app/internal.h) for a window of that
// client size, framed (windowed non-zero) or full screen.
HRESULT InitDirectXFor(HWND window, DWORD width, DWORD height, int windowed);
HRESULT CreateDirectXDeviceFor(HWND window, DWORD width, DWORD height, int windowed);
// Releases fonts, textures, targets and the device; safe before InitDirectX and twice.
void ReleaseDirectX();

// Render targets and device loss
// Creates the two flip targets, the glow target and their depth buffers; 0 or the failing status.
HRESULT CreateResource();
// Releases the off-screen targets; returns 0.
HRESULT ReleaseResource();
// Tells the fonts of a lost device, unbinds and releases the targets; 0 or the failing status.
HRESULT OnLost();
// Rebuilds the targets after a reset and restores the fonts; 0 or the failing status.
HRESULT OnRestore();
// Handles a failed present: waits while the device is lost, resets it when it can; 0 once reset.
HRESULT HandlePresentParam(HRESULT code, int tested);
// Binds the current flip surface as the render target; 0 or the failing status.
HRESULT SetRenderTarget();
// Binds the current flip depth buffer; 0 or the failing status.
HRESULT SetDepthStencilSurface();
// Binds the back buffer, its depth buffer and no textures: nothing of ours stays
// held by the device (before a reset).
void UnbindResource();

// Frame
// Switches flip targets, clears and lays the last frame under the new one; 0 or the status.
HRESULT Clear(D3DCOLOR color);
// Opens the device's scene; 0 or the failing status.
HRESULT BeginScene();

// 2D camera
// Switches the camera off for screen-space drawing (the frame's own copies, the
// glow, a game's render target) until the matching ResumeCamera2D; pairs nest.
// A SetCamera2D meanwhile takes effect at the last resume.
void SuspendCamera2D();
// Ends one SuspendCamera2D; the camera set is in force again after the last.
void ResumeCamera2D();

// Shapes
// Draws the batch's quads with the bound texture and its shapes without, in
// order, one call a stretch; 0 or the first failing status. Empties nothing.
HRESULT DrawBatchWithShapes();

// Texture cache
// Loads an image at its own size, opaque black made transparent; a new texture, or null.
IDirect3DTexture9* CreateTextureFromFile(const char* name);
// Frees every texture, whatever its count.
void ReleaseTextures();

// Game render targets
// Releases the targets' textures before a reset, marking their content lost (sizes kept).
void LoseTargetSlots();
// Makes the targets' textures again after a reset, empty; a failure is retried by BeginTarget.
void RestoreTargetSlots();
// Ends a target left open (the binding given back); nothing when none is.
void EndTargetLeftOpen();
// Frees every target slot.
void ReleaseTargetSlots();

// Fonts
// Text in UTF-8 (non-zero) or the code page (0), as the start options say.
void SetUtf8Text(int utf8);
// Tells the slot's font of a lost device; 0 for an empty slot, else the font's status.
HRESULT InvalidateFont(int slot);
// Tells the slot's font of a reset device; 0 for an empty slot, else the font's status.
HRESULT RestoreFont(int slot);
// Tells every font of a lost device; 0, or E_FAIL at the first that refuses.
HRESULT InvalidateFonts();
// Tells every font of a reset device.
void RestoreFonts();
// Frees every font slot.
void ReleaseFonts();
