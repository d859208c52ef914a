// Cost per quad of appending 8,192 quads to the batch and of flushing them,
// through the real Direct3D 9 device (Wine's under Xvfb on the test machines),
// then the same at 1,024 to 65,536 quads ("scaling" lines, read by
// scripts/bench-frame.sh for its plot). Prints figures only; nothing is asserted.
#include <windows.h>

#include <stdio.h>

#include <algorithm>
#include <vector>

#include "bench/bench_device.h"
#include "graphics/graphics.h"
#include "graphics/graphics_state.h"

namespace {

const int kQuads = 8192;
const int kRounds = 100;
const DWORD kWidth = kBenchWidth, kHeight = kBenchHeight;

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

double PerQuadNs(double seconds, int quads = kQuads) { return seconds * 1e9 / quads; }

// The demo's enemies: 8 x 8 squares spread over the screen.
double PushFrame(int quads = kQuads) {
  uint32_t seed = 7;
  const LONGLONG start = Ticks();
  for (int i = 0; i < quads; ++i) {
    seed = seed * 1664525u + 1013904223u;
    const float x = (float)(seed % kWidth), y = (float)((seed >> 12) % kHeight);
    PushRectCenter(x, y, 4, 4, 0xC0FFFFFF ^ (seed & 0xFFFF));
  }
  return Seconds(start, Ticks());
}

// Waits until the device has executed everything submitted so far.
void WaitForDevice(IDirect3DQuery9* query) {
  if (query == NULL) return;
  query->Issue(D3DISSUE_END);
  while (query->GetData(NULL, 0, D3DGETDATA_FLUSH) == S_FALSE) {}
}

// "Wine x.y" when running under Wine, else "Windows".
const char* Platform() {
  typedef const char*(CDECL * VersionProc)();
  HMODULE ntdll = GetModuleHandleA("ntdll.dll");
  FARPROC proc = ntdll ? GetProcAddress(ntdll, "wine_get_version") : NULL;
  VersionProc version = reinterpret_cast<VersionProc>(reinterpret_cast<void*>(proc));
  static char text[64];
  snprintf(text, sizeof text, version ? "Wine %s" : "Windows", version ? version() : "");
  return text;
}

// Appending at each power of two from 1,024 to 65,536 quads, CPU only (the
// frame these quads make is timed by scripts/bench-frame.sh):
// "scaling QUADS APPEND_NS_PER_QUAD APPEND_US" (medians of 30 frames).
void Scaling() {
  printf("scaling: quads, append ns/quad, append us/frame\n");
  for (int quads = 1024; quads <= 65536; quads *= 2) {
    PushFrame(quads);  // grow the batch first
    QuadBatchEmpty(&Gfx.batch);
    std::vector<double> push;
    for (int round = 0; round < 30; ++round) {
      push.push_back(PushFrame(quads));
      QuadBatchEmpty(&Gfx.batch);
    }
    printf("scaling %d %.2f %.1f\n", quads, PerQuadNs(Median(push), quads), Median(push) * 1e6);
  }
}

// Appending kQuads quads without a camera, then through a turned, zoomed one,
// alternately: "camera NS_WITHOUT NS_WITH RATIO" per quad (medians of 100 frames).
void CameraCost() {
  const Camera2D camera = {400, 300, 400, 300, 1.5f, 700};
  std::vector<double> without, with;
  for (int round = 0; round < kRounds; ++round) {
    without.push_back(PushFrame());
    QuadBatchEmpty(&Gfx.batch);
    SetCamera2D(&camera);
    with.push_back(PushFrame());
    SetCamera2D(NULL);
    QuadBatchEmpty(&Gfx.batch);
  }
  const double a = PerQuadNs(Median(without)), b = PerQuadNs(Median(with));
  printf("append (PushRectCenter), without and with a 2D camera:  %.2f, %.2f ns/quad\n", a, b);
  printf("camera %.2f %.2f %.2f\n", a, b, b / a);
}

}  // namespace

int main() {
  if (!StartBenchDevice("quad_bench")) return 1;
  IDirect3DDevice9* device = GetDevice();
  IDirect3DQuery9* query = NULL;
  device->CreateQuery(D3DQUERYTYPE_EVENT, &query);

  printf("quad_bench: %d quads of 8 x 8 pixels per frame, %lu x %lu target, %d frames\n", kQuads,
         kWidth, kHeight, kRounds);
  printf("device: the real Direct3D 9 of %s (adapter \"%s\"), alpha-blended, untextured%s\n",
         Platform(), GetAdapterDescription(),
         query ? "" : "; no event query, completion not measured");

  const double firstPush = PushFrame();  // the batch grows to its size here
  QuadBatchEmpty(&Gfx.batch);

  std::vector<double> push, submit, complete;
  for (int round = 0; round < kRounds; ++round) {
    push.push_back(PushFrame());
    // Draw as a frame does: into the current flip target, inside a scene.
    BeginRender(0);
    SetDrawMode(DRAWMODE_BLEND_ALPHA | DRAWMODE_TEXTURE_MODULATE);
    WaitForDevice(query);
    const LONGLONG start = Ticks();
    FlushRects();
    submit.push_back(Seconds(start, Ticks()));
    WaitForDevice(query);
    complete.push_back(Seconds(start, Ticks()));
    EndRender();
    Flip(0xFFFFFFFF);
  }

  printf("append (PushRectCenter), first frame, batch growing: %8.1f ns/quad\n",
         PerQuadNs(firstPush));
  printf("append (PushRectCenter), median frame:                %8.1f ns/quad\n",
         PerQuadNs(Median(push)));
  printf("flush (FlushRects call, one draw call), median:       %8.1f ns/quad\n",
         PerQuadNs(Median(submit)));
  if (query != NULL) {
    printf("flush until the device has drawn the quads, median:   %8.1f ns/quad\n",
           PerQuadNs(Median(complete)));
  }
  fflush(stdout);
  CameraCost();
  Scaling();
  if (query != NULL) query->Release();
  ReleaseDirectX();
  DestroyWindow(App.window);
  return 0;
}
