// The cost of text in a frame: 20 strings of 30 characters drawn each frame with
// D3DX's fonts and with the built-in GDI glyph atlas (the path taken without
// d3dx9_43.dll), through the real device (Wine's under Xvfb on the test
// machines). Each figure is the median frame with the text less the median frame
// without it. Prints figures only; nothing is asserted.
#include <windows.h>

#include <stdio.h>

#include <algorithm>
#include <vector>

#include "bench/bench_device.h"
#include "graphics/d3dx_entry.h"
#include "graphics/graphics.h"
#include "graphics/graphics_state.h"

namespace {

const int kFrames = 120, kStrings = 20;

// One frame: cleared, the strings drawn (slot < 0: none), presented and executed.
double Frame(int slot, IDirect3DQuery9* query) {
  IDirect3DDevice9* device = GetDevice();
  const LONGLONG start = Ticks();
  device->Clear(0, NULL, D3DCLEAR_TARGET, 0xFF000000, 1.0f, 0);
  device->BeginScene();
  for (int i = 0; slot >= 0 && i < kStrings; ++i) {
    DrawStringF(slot, 10.0f, 10.0f + 28 * i, 0xFFFFD040, "line %02d: score %08d, lives %d", i,
                i * 1234567 % 100000000, i % 10);  // 30 characters
  }
  device->EndScene();
  device->Present(NULL, NULL, NULL, NULL);
  if (query != NULL) {
    query->Issue(D3DISSUE_END);
    while (query->GetData(NULL, 0, D3DGETDATA_FLUSH) == S_FALSE) {}
  }
  return Seconds(start, Ticks());
}

double MedianFrameMs(int slot, IDirect3DQuery9* query) {
  std::vector<double> times;
  for (int i = 0; i < 10; ++i) Frame(slot, query);  // glyphs cached, pipelines warm
  for (int i = 0; i < kFrames; ++i) times.push_back(Frame(slot, query));
  std::sort(times.begin(), times.end());
  return times[times.size() / 2] * 1e3;
}

}  // namespace

int main() {
  if (!StartBenchDevice("text_bench")) return 1;
  const D3DXEntryPoints withD3DX = D3DXEntries;
  IDirect3DQuery9* query = NULL;
  GetDevice()->CreateQuery(D3DQUERYTYPE_EVENT, &query);
  if (withD3DX.createFont == NULL || CreateFontSlot(0, "Arial", 24) != 0) {
    printf("text_bench: no d3dx9_43.dll to compare with; D3DX not measured\n");
  }
  D3DXEntries = {};
  CreateFontSlot(1, "Arial", 24);
  D3DXEntries = withD3DX;
  const double bare = MedianFrameMs(-1, query);
  printf("text_bench: %d strings of 30 characters a frame (Arial 24), median of %d frames\n",
         kStrings, kFrames);
  printf("frame without text: %.2f ms\n", bare);
  const char* names[2] = {"D3DX font", "built-in (GDI glyph atlas)"};
  for (int slot = 0; slot < 2; ++slot) {
    if (Gfx.fonts[slot] == NULL) continue;
    const double ms = MedianFrameMs(slot, query);
    printf("%-28s frame %.2f ms, text %.2f ms (%.1f us a string)\n", names[slot], ms, ms - bare,
           (ms - bare) * 1e3 / kStrings);
  }
  if (query != NULL) query->Release();
  ReleaseDirectX();
  return 0;
}
