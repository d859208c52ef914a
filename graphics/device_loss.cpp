// Recovery from a lost device, entered from Flip when Present fails: wait while
// the device stays lost, reset it when it can be reset, quit when it cannot.
#include "graphics/graphics.h"
#include "graphics/graphics_state.h"
#include "util/failure.h"
#include "util/internal.h"

enum { ONLOST_CALLS = 31, LOST_WAIT_MS = 250 };

static HRESULT ResetDevice() {
  HRESULT hr = E_FAIL;
  for (int call = 0; call < ONLOST_CALLS && hr != 0; ++call) hr = OnLost();
  if (hr != 0) return ReportFailure(FAIL_RESET_ONLOST, E_FAIL);
  // Reset writes into the record it is given; ours keeps sizing the targets.
  D3DPRESENT_PARAMETERS params = Gfx.PresentParam;
  hr = Gfx.lpDevice->Reset(&params);
  if (hr != D3D_OK) return ReportFailure(FAIL_RESET, hr);
  hr = OnRestore();
  if (hr != D3D_OK) return ReportFailure(FAIL_RESET_ONRESTORE, hr);
  return 0;
}

HRESULT HandlePresentParam(HRESULT code, int tested) {
  if (Gfx.lpDevice == NULL) return E_FAIL;
  switch (code) {
    case D3DERR_DRIVERINTERNALERROR:
      return ReportFailure(FAIL_DRIVER_INTERNAL_ERROR, E_FAIL);
    case D3DERR_DEVICELOST:
      if (!tested) return HandlePresentParam(Gfx.lpDevice->TestCooperativeLevel(), 1);
      Sleep(LOST_WAIT_MS);  // still lost: the next frame tries again
      return E_FAIL;
    case D3DERR_DEVICENOTRESET:
      return ResetDevice();
    default:
      return E_FAIL;
  }
}

HRESULT OnLost() {
  if (InvalidateFonts() != 0) return E_FAIL;  // the targets stay held
  LoseTargetSlots();
  UnbindResource();
  ReleaseResource();
  return 0;
}

HRESULT OnRestore() {
  HRESULT hr = CreateResource();
  RestoreTargetSlots();
  RestoreFonts();  // also after a failed CreateResource
  return hr;
}
