// Direct3D object, adapter facts and the device, created through a fixed chain of
// three attempts; the graphics shut-down.
#include <string.h>

#include "graphics/d3dx_entry.h"
#include "graphics/graphics.h"
#include "graphics/graphics_state.h"
#include "util/failure.h"
#include "util/internal.h"
#include "util/release.h"
#include "util/sin_table.h"

HRESULT InitDirectXFor(HWND window, DWORD width, DWORD height, int windowed) {
  LoadD3DX(&D3DXEntries);  // without it textures and text take the built-in paths
  Gfx.lpD3D = Direct3DCreate9(D3D_SDK_VERSION);
  if (Gfx.lpD3D == NULL) return E_FAIL;

  HRESULT hr = Gfx.lpD3D->GetAdapterIdentifier(D3DADAPTER_DEFAULT, 0, &Gfx.adapterIdentifier);
  if (hr != D3D_OK) return ReportFailure(FAIL_ADAPTER_IDENTIFIER, hr);
  hr = Gfx.lpD3D->GetAdapterDisplayMode(D3DADAPTER_DEFAULT, &Gfx.displayMode);
  if (hr != D3D_OK) return ReportFailure(FAIL_ADAPTER_DISPLAY_MODE, hr);
  hr = CreateDirectXDeviceFor(window, width, height, windowed);
  if (hr != D3D_OK) return hr;

  memset(Gfx.textures, 0, sizeof Gfx.textures);
  memset(Gfx.fonts, 0, sizeof Gfx.fonts);
  return CreateResource();
}

HRESULT CreateDirectXDeviceFor(HWND window, DWORD width, DWORD height, int windowed) {
  if (Gfx.lpD3D == NULL) return E_FAIL;

  D3DPRESENT_PARAMETERS& pp = Gfx.PresentParam;
  memset(&pp, 0, sizeof pp);
  pp.BackBufferWidth = width;
  pp.BackBufferHeight = height;
  pp.BackBufferFormat = Gfx.displayMode.Format;
  pp.BackBufferCount = 1;
  pp.MultiSampleType = D3DMULTISAMPLE_4_SAMPLES;
  pp.MultiSampleQuality = 0;
  pp.SwapEffect = D3DSWAPEFFECT_DISCARD;
  pp.hDeviceWindow = NULL;  // the focus window serves as device window
  pp.Windowed = windowed;
  pp.EnableAutoDepthStencil = TRUE;
  pp.AutoDepthStencilFormat = D3DFMT_D16;
  pp.Flags = 0;
  pp.FullScreen_RefreshRateInHz = 0;
  pp.PresentationInterval = D3DPRESENT_INTERVAL_DEFAULT;

  struct Attempt {
    DWORD behavior;
    D3DMULTISAMPLE_TYPE multiSample;
  };
  // NONMASKABLE (1), not NONE (0), after the first attempt.
  const Attempt attempts[3] = {
      {D3DCREATE_HARDWARE_VERTEXPROCESSING, D3DMULTISAMPLE_4_SAMPLES},
      {D3DCREATE_HARDWARE_VERTEXPROCESSING, D3DMULTISAMPLE_NONMASKABLE},
      {D3DCREATE_SOFTWARE_VERTEXPROCESSING, D3DMULTISAMPLE_NONMASKABLE},
  };
  for (const Attempt& attempt : attempts) {
    pp.MultiSampleType = attempt.multiSample;
    HRESULT hr = Gfx.lpD3D->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, window,
                                         attempt.behavior, &pp, &Gfx.lpDevice);
    if (hr == D3D_OK) return D3D_OK;
    // Only exactly 0 counts; a device handed back with another status is not kept.
    ReleaseAndNull(&Gfx.lpDevice);
  }
  return ReportFailure(FAIL_CREATE_DEVICE, E_FAIL);
}

void ReleaseDirectX() {
  ReleaseFonts();
  ReleaseTextures();
  ReleaseTargetSlots();
  ReleaseResource();
  ReleaseAndNull(&Gfx.lpDevice);
  ReleaseAndNull(&Gfx.lpD3D);
  // No device, nothing to draw the batch with: give its storage back.
  QuadBatchFree(&Gfx.batch);
  BatchRunsFree(&Gfx.shapeRuns);
  QuadBatchFree(&Gfx.shapeScratch);
}

IDirect3DDevice9* GetDevice() { return Gfx.lpDevice; }
const char* GetAdapterDriver() { return Gfx.adapterIdentifier.Driver; }
const char* GetAdapterDescription() { return Gfx.adapterIdentifier.Description; }
