// Render targets for games, slots 0 to 15: textures drawn into between
// BeginTarget and EndTarget, then drawn with like any texture. They live in the
// default pool, so a device loss releases them and the reset makes them again,
// empty (IsTargetContentLost says so until the slot is drawn into again).
#include "graphics/graphics.h"
#include "graphics/graphics_state.h"
#include "graphics/internal.h"
#include "util/release.h"

static bool IsSlot(int slot) { return slot >= 0 && slot < TARGET_SLOTS; }

// The texture at the slot's size, with alpha, cleared to transparent black; 0 or
// the device's status (nothing kept then).
static HRESULT MakeTarget(GameTarget* target) {
  HRESULT hr = Gfx.lpDevice->CreateTexture(target->width, target->height, 1,
                                           D3DUSAGE_RENDERTARGET, D3DFMT_A8R8G8B8,
                                           D3DPOOL_DEFAULT, &target->texture, NULL);
  if (hr != D3D_OK) {
    target->texture = NULL;
    return hr;
  }
  hr = target->texture->GetSurfaceLevel(0, &target->surface);
  if (hr == D3D_OK) hr = Gfx.lpDevice->ColorFill(target->surface, NULL, 0);
  if (hr != D3D_OK) {
    ReleaseAndNull(&target->surface);
    ReleaseAndNull(&target->texture);
  }
  return hr;
}

// The device holds what stage 0 holds: let go of the target's texture there.
static void UnbindFromStage0(IDirect3DTexture9* texture) {
  IDirect3DBaseTexture9* bound = NULL;
  if (texture == NULL || Gfx.lpDevice->GetTexture(0, &bound) != D3D_OK || bound == NULL) return;
  if (bound == texture) Gfx.lpDevice->SetTexture(0, NULL);
  bound->Release();
}

HRESULT CreateTargetSlot(int slot, DWORD width, DWORD height) {
  if (!IsSlot(slot) || Gfx.lpDevice == NULL || Gfx.targets[slot].width != 0) return E_FAIL;
  D3DCAPS9 caps;
  if (width == 0 || height == 0 || Gfx.lpDevice->GetDeviceCaps(&caps) != D3D_OK ||
      width > caps.MaxTextureWidth || height > caps.MaxTextureHeight) {
    return E_FAIL;
  }
  GameTarget& target = Gfx.targets[slot];
  target.width = width;
  target.height = height;
  target.lost = 0;
  const HRESULT hr = MakeTarget(&target);
  if (hr != D3D_OK) target = GameTarget{};
  return hr;
}

HRESULT BeginTarget(int slot) {
  IDirect3DDevice9* device = Gfx.lpDevice;
  if (!IsSlot(slot) || device == NULL || InGameTarget()) return E_FAIL;
  GameTarget& target = Gfx.targets[slot];
  if (target.width == 0) return E_FAIL;
  if (target.texture == NULL && MakeTarget(&target) != D3D_OK) return E_FAIL;

  // Inside the frame the scene is open already; outside it (drawing ahead at
  // load time) the target gets a scene of its own.
  Gfx.targetOwnScene = device->BeginScene() == D3D_OK;
  // The quads pushed so far belong to what is bound now.
  if (Gfx.batch.count > 0) FlushRects();
  device->GetRenderTarget(0, &Gfx.targetSavedSurface);
  device->GetDepthStencilSurface(&Gfx.targetSavedDepth);  // none: stays null
  UnbindFromStage0(target.texture);  // sampled while bound it would draw nothing
  HRESULT hr = device->SetRenderTarget(0, target.surface);
  if (hr != D3D_OK) {
    ReleaseAndNull(&Gfx.targetSavedSurface);
    ReleaseAndNull(&Gfx.targetSavedDepth);
    if (Gfx.targetOwnScene) device->EndScene();
    Gfx.targetOwnScene = 0;
    return hr;
  }
  // No depth buffer: the frame's may be smaller than the target or sampled
  // differently, and either stops all drawing.
  device->SetDepthStencilSurface(NULL);
  device->Clear(0, NULL, D3DCLEAR_TARGET, 0, 1.0f, 0);
  target.lost = 0;
  Gfx.drawingTarget = slot + 1;
  SuspendCamera2D();  // a target is drawn in its own pixels, not the world's
  return 0;
}

HRESULT EndTarget() {
  IDirect3DDevice9* device = Gfx.lpDevice;
  if (device == NULL || !InGameTarget()) return E_FAIL;
  if (Gfx.batch.count > 0) FlushRects();  // pushed for the target: drawn into it
  HRESULT hr = device->SetRenderTarget(0, Gfx.targetSavedSurface);
  device->SetDepthStencilSurface(Gfx.targetSavedDepth);
  ReleaseAndNull(&Gfx.targetSavedSurface);
  ReleaseAndNull(&Gfx.targetSavedDepth);
  if (Gfx.targetOwnScene) device->EndScene();
  Gfx.targetOwnScene = 0;
  Gfx.drawingTarget = 0;
  ResumeCamera2D();
  return hr;
}

void EndTargetLeftOpen() {
  if (InGameTarget()) EndTarget();
}

HRESULT BindTargetTexture(int slot) {
  if (!IsSlot(slot) || Gfx.lpDevice == NULL || Gfx.drawingTarget == slot + 1) return E_FAIL;
  IDirect3DTexture9* texture = Gfx.targets[slot].texture;
  if (texture == NULL) return E_FAIL;
  return Gfx.lpDevice->SetTexture(0, texture);
}

HRESULT ReleaseTargetSlot(int slot) {
  if (!IsSlot(slot)) return E_FAIL;
  if (Gfx.drawingTarget == slot + 1) EndTarget();
  GameTarget& target = Gfx.targets[slot];
  if (Gfx.lpDevice != NULL) UnbindFromStage0(target.texture);
  ReleaseAndNull(&target.surface);
  ReleaseAndNull(&target.texture);
  target = GameTarget{};
  return 0;
}

int IsTargetContentLost(int slot) {
  return IsSlot(slot) && Gfx.targets[slot].width != 0 && Gfx.targets[slot].lost ? 1 : 0;
}

void LoseTargetSlots() {
  EndTargetLeftOpen();
  for (GameTarget& target : Gfx.targets) {
    ReleaseAndNull(&target.surface);
    ReleaseAndNull(&target.texture);
    if (target.width != 0) target.lost = 1;
  }
}

void RestoreTargetSlots() {
  if (Gfx.lpDevice == NULL) return;
  for (GameTarget& target : Gfx.targets) {
    if (target.width != 0 && target.texture == NULL) MakeTarget(&target);
  }
}

void ReleaseTargetSlots() {
  if (Gfx.lpDevice != NULL) EndTargetLeftOpen();
  for (int slot = 0; slot < TARGET_SLOTS; ++slot) ReleaseTargetSlot(slot);
  ReleaseAndNull(&Gfx.targetSavedSurface);
  ReleaseAndNull(&Gfx.targetSavedDepth);
  if (InGameTarget()) ResumeCamera2D();  // begun with no device left to end it
  Gfx.drawingTarget = 0;
}
