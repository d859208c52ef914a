// The demo's frame drawn with plain Direct3D 9 calls and nothing else: the floor
// that the demo's frame rate is measured against. Links only the platform
// libraries. One frame:
//   clear, switch to the other off-screen target, clear it, lay the previous
//   frame over it at half strength; the quads (one call, or one call per quad);
//   the glow (a half-resolution copy added back, tinted); the copy to the back
//   buffer; present.
//
//   frame_reference [--quads N] [--immediate] [--no-glow] [--no-texture]
//                   [--spread] [--seconds S]
// N quads of 4 x 4 pixels (default 8193: the 8191 enemies, the player's square
// and its dot), one of them the player's 32 x 32 square. --immediate draws each
// quad with its own call. --no-glow and --no-texture leave those parts out. It
// runs S seconds (0, the default: until Escape or closing) and then prints the
// median and the mean time between two presents, without the first half second.
// The mean is the steadier figure: Present returns as soon as the frame is
// queued, so single intervals come short and long in turn.
#include <windows.h>
#include <d3d9.h>
#include <d3dx9.h>
#include <math.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <algorithm>
#include <vector>

namespace {

const UINT kWidth = 800, kHeight = 600;
const DWORD kFvf = D3DFVF_XYZRHW | D3DFVF_DIFFUSE | D3DFVF_TEX1;

struct Vertex {
  float x, y, z, rhw;
  DWORD diffuse;
  float u, v;
};

struct Options {
  int quads = 8193;
  bool immediate = false, glow = true, texture = true, spread = false;
  double seconds = 0;
};

IDirect3D9* d3d;
IDirect3DDevice9* device;
IDirect3DSurface9 *backSurface, *backZ, *effectSurface;
IDirect3DTexture9* effectTexture;
IDirect3DTexture9* flipTexture[2];
IDirect3DSurface9 *flipSurface[2], *flipZ[2];
IDirect3DTexture9* image;
DWORD flipCount;
DWORD drawMode;

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if ((message == WM_KEYDOWN && wParam == VK_ESCAPE) || message == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

HWND MakeWindow() {
  WNDCLASSEXA wc = {};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = WindowProc;
  wc.hInstance = GetModuleHandleA(NULL);
  wc.hCursor = LoadCursor(NULL, IDC_ARROW);
  wc.lpszClassName = "LqFrameReference";
  RegisterClassExA(&wc);
  RECT rect = {0, 0, (LONG)kWidth, (LONG)kHeight};
  AdjustWindowRectEx(&rect, WS_OVERLAPPEDWINDOW, FALSE, 0);
  HWND window = CreateWindowExA(0, wc.lpszClassName, "frame_reference", WS_OVERLAPPEDWINDOW, 0, 0,
                                rect.right - rect.left, rect.bottom - rect.top, NULL, NULL,
                                wc.hInstance, NULL);
  if (window != NULL) ShowWindow(window, SW_SHOW);
  return window;
}

// The same device as the framework's: 4 samples if the adapter takes them.
bool CreateDevice(HWND window) {
  d3d = Direct3DCreate9(D3D_SDK_VERSION);
  if (d3d == NULL) return false;
  D3DDISPLAYMODE mode;
  if (d3d->GetAdapterDisplayMode(D3DADAPTER_DEFAULT, &mode) != D3D_OK) return false;
  D3DPRESENT_PARAMETERS pp = {};
  pp.BackBufferWidth = kWidth;
  pp.BackBufferHeight = kHeight;
  pp.BackBufferFormat = mode.Format;
  pp.BackBufferCount = 1;
  pp.SwapEffect = D3DSWAPEFFECT_DISCARD;
  pp.Windowed = TRUE;
  pp.EnableAutoDepthStencil = TRUE;
  pp.AutoDepthStencilFormat = D3DFMT_D16;
  pp.PresentationInterval = D3DPRESENT_INTERVAL_DEFAULT;
  const D3DMULTISAMPLE_TYPE samples[2] = {D3DMULTISAMPLE_4_SAMPLES, D3DMULTISAMPLE_NONMASKABLE};
  for (D3DMULTISAMPLE_TYPE type : samples) {
    pp.MultiSampleType = type;
    if (d3d->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, window,
                          D3DCREATE_HARDWARE_VERTEXPROCESSING, &pp, &device) == D3D_OK) {
      return true;
    }
  }
  return false;
}

bool CreateTargets() {
  if (device->GetRenderTarget(0, &backSurface) != D3D_OK) return false;
  if (device->GetDepthStencilSurface(&backZ) != D3D_OK) return false;
  D3DDISPLAYMODE mode;
  d3d->GetAdapterDisplayMode(D3DADAPTER_DEFAULT, &mode);
  if (device->CreateTexture(kWidth, kHeight, 1, D3DUSAGE_RENDERTARGET, mode.Format,
                            D3DPOOL_DEFAULT, &effectTexture, NULL) != D3D_OK) {
    return false;
  }
  effectTexture->GetSurfaceLevel(0, &effectSurface);
  for (int i = 0; i < 2; ++i) {
    if (device->CreateTexture(kWidth, kHeight, 1, D3DUSAGE_RENDERTARGET, mode.Format,
                              D3DPOOL_DEFAULT, &flipTexture[i], NULL) != D3D_OK) {
      return false;
    }
    flipTexture[i]->GetSurfaceLevel(0, &flipSurface[i]);
    D3DSURFACE_DESC desc;
    flipSurface[i]->GetDesc(&desc);
    if (device->CreateDepthStencilSurface(kWidth, kHeight, D3DFMT_D16, desc.MultiSampleType,
                                          desc.MultiSampleQuality, FALSE, &flipZ[i],
                                          NULL) != D3D_OK) {
      return false;
    }
    device->SetRenderTarget(0, flipSurface[i]);
    device->SetDepthStencilSurface(flipZ[i]);
    device->Clear(0, NULL, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0, 1.0f, 0);
  }
  device->SetRenderTarget(0, backSurface);
  device->SetDepthStencilSurface(backZ);
  return true;
}

// Loaded as the framework loads it: own size, no mips, opaque black keyed out;
// D3DX taken at run time, as the framework takes it (no exe imports it).
void LoadImage() {
  HMODULE d3dx = LoadLibraryA("d3dx9_43.dll");
  if (d3dx == NULL) return;
  auto getInfo = reinterpret_cast<decltype(&D3DXGetImageInfoFromFileA)>(
      reinterpret_cast<void*>(GetProcAddress(d3dx, "D3DXGetImageInfoFromFileA")));
  auto create = reinterpret_cast<decltype(&D3DXCreateTextureFromFileExA)>(
      reinterpret_cast<void*>(GetProcAddress(d3dx, "D3DXCreateTextureFromFileExA")));
  D3DXIMAGE_INFO info;
  if (getInfo == NULL || create == NULL || getInfo("test.bmp", &info) != D3D_OK) return;
  create(device, "test.bmp", info.Width, info.Height, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED,
         D3DX_FILTER_NONE, D3DX_FILTER_NONE, 0xFF000000, NULL, NULL, &image);
}

template <typename T>
void Release(T*& p) {
  if (p != NULL) p->Release();
  p = NULL;
}

void ReleaseAll() {
  Release(image);
  Release(effectSurface);
  Release(effectTexture);
  for (int i = 0; i < 2; ++i) {
    Release(flipZ[i]);
    Release(flipSurface[i]);
    Release(flipTexture[i]);
  }
  Release(backZ);
  Release(backSurface);
  Release(device);
  Release(d3d);
}

// The states of the framework's four draw modes (flag bits 0x1 alpha blend, 0x2
// additive blend, 0x10 modulate, 0x100 and 0x200 linear filtering).
void SetStates(DWORD flags) {
  drawMode = flags;
  if (flags & 0x3) {
    device->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
    device->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
    device->SetRenderState(D3DRS_DESTBLEND, flags & 0x2 ? D3DBLEND_ONE : D3DBLEND_INVSRCALPHA);
  }
  if (flags & 0x10) {
    device->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_MODULATE);
    device->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TEXTURE);
    device->SetTextureStageState(0, D3DTSS_COLORARG2, D3DTA_DIFFUSE);
  }
  if (flags & 0x300) {
    device->SetSamplerState(0, D3DSAMP_MAGFILTER, D3DTEXF_LINEAR);
    device->SetSamplerState(0, D3DSAMP_MINFILTER, D3DTEXF_LINEAR);
    device->SetSamplerState(0, D3DSAMP_MIPFILTER, D3DTEXF_LINEAR);
  }
  device->SetRenderState(D3DRS_ZWRITEENABLE, FALSE);
  device->SetRenderState(D3DRS_ZENABLE, D3DZB_FALSE);
  device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
  device->SetRenderState(D3DRS_FOGENABLE, FALSE);
  device->LightEnable(0, FALSE);
  device->SetRenderState(D3DRS_LIGHTING, FALSE);
}

void Layout(Vertex* q, float l, float t, float r, float b, DWORD color, float u1 = 1,
            float v1 = 1) {
  l -= 0.5f, t -= 0.5f, r -= 0.5f, b -= 0.5f;
  const Vertex corners[6] = {{l, t, 0.5f, 1, color, 0, 0},   {r, t, 0.5f, 1, color, u1, 0},
                             {l, b, 0.5f, 1, color, 0, v1},  {r, t, 0.5f, 1, color, u1, 0},
                             {r, b, 0.5f, 1, color, u1, v1}, {l, b, 0.5f, 1, color, 0, v1}};
  memcpy(q, corners, sizeof corners);
}

void Quad(float l, float t, float r, float b, DWORD color, float u1 = 1, float v1 = 1) {
  Vertex q[6];
  Layout(q, l, t, r, b, color, u1, v1);
  device->SetFVF(kFvf);
  device->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 2, q, sizeof(Vertex));
}

// The swarm: by default a tight clump circling the screen, as the demo's swarm
// flies after the player (the software rasteriser's cost depends on where the
// pixels fall, not on how the swarm steers); --spread scatters it over the whole
// screen instead, each quad moving in a straight line and bouncing off the edges.
struct Swarm {
  std::vector<float> x, y, vx, vy;
  std::vector<Vertex> batch;
  bool spread;
  float angle = 0;

  Swarm(int n, bool spreadOut)
      : x(n), y(n), vx(n), vy(n), batch((size_t)n * 6), spread(spreadOut) {
    uint32_t seed = 1;
    for (int i = 0; i < n; ++i) {
      seed = seed * 214013u + 2531011u;
      const float u = (float)((seed >> 16) & 0x7FFF) / 32768.0f;
      seed = seed * 214013u + 2531011u;
      const float v = (float)((seed >> 16) & 0x7FFF) / 32768.0f;
      if (spread) {
        x[i] = u * kWidth, y[i] = v * kHeight;
        vx[i] = (float)((int)(seed >> 8) % 5 - 2);
        vy[i] = (float)((int)(seed >> 4) % 5 - 2);
      } else {  // offsets in a sheared 110 x 60 patch
        vx[i] = (u - 0.5f) * 110.0f;
        vy[i] = (v - 0.5f) * 60.0f + 0.4f * vx[i];
      }
    }
  }

  void Update() {
    const size_t n = x.size();
    if (spread) {
      for (size_t i = 0; i < n; ++i) {
        x[i] += vx[i], y[i] += vy[i];
        if (x[i] < 0 || x[i] > kWidth) vx[i] = -vx[i];
        if (y[i] < 0 || y[i] > kHeight) vy[i] = -vy[i];
      }
      return;
    }
    angle += 0.01f;  // about 2 pixels a frame
    const float cx = 400.0f + 200.0f * cosf(angle), cy = 300.0f + 150.0f * sinf(angle);
    for (size_t i = 0; i < n; ++i) x[i] = cx + vx[i], y[i] = cy + vy[i];
    if (n >= 2) x[n - 2] = x[n - 1] = 400.0f, y[n - 2] = y[n - 1] = 300.0f;  // the player
  }

  void Draw(bool immediate) {
    const size_t n = x.size();
    for (size_t i = 0; i < n; ++i) {
      // The last two are the player: a 32 x 32 square and its white dot.
      const float half = i + 2 == n ? 16.0f : 2.0f;
      const DWORD color = i + 2 == n ? 0xFFFF0000 : i + 1 == n ? 0xFFFFFFFF : 0xEE5555FF;
      const float l = x[i] - half, t = y[i] - half, r = x[i] + half, b = y[i] + half;
      if (immediate) {
        Quad(l, t, r, b, color);
      } else {
        Layout(&batch[i * 6], l, t, r, b, color);
      }
    }
    if (!immediate && n > 0) {
      device->SetFVF(kFvf);
      device->DrawPrimitiveUP(D3DPT_TRIANGLELIST, (UINT)n * 2, batch.data(), sizeof(Vertex));
    }
  }
};

void Glow(DWORD current, DWORD color) {
  device->SetTexture(0, flipTexture[current]);
  device->SetRenderTarget(0, effectSurface);
  device->SetDepthStencilSurface(NULL);
  device->Clear(0, NULL, D3DCLEAR_TARGET, 0, 1.0f, 0);
  const DWORD saved = drawMode;
  SetStates(0x111);
  Quad(0, 0, kWidth / 2, kHeight / 2, 0xFFFFFFFF);
  device->SetRenderTarget(0, flipSurface[current]);
  device->SetDepthStencilSurface(flipZ[current]);
  device->SetTexture(0, effectTexture);
  SetStates(0x212);
  Quad(0, 0, kWidth, kHeight, color, 0.5f, 0.5f);
  SetStates(saved);
}

void DrawFrame(Swarm& swarm, const Options& options) {
  // Begin: the new target over a half-strength copy of the previous frame.
  device->Clear(0, NULL, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0, 1.0f, 0);
  const DWORD current = ++flipCount & 1, previous = current ^ 1;
  device->SetRenderTarget(0, flipSurface[current]);
  device->SetDepthStencilSurface(flipZ[current]);
  device->Clear(0, NULL, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0, 1.0f, 0);
  device->BeginScene();
  SetStates(0x211);
  device->SetTexture(0, flipTexture[previous]);
  Quad(0, 0, kWidth, kHeight, 0x80EEEEF9);
  device->EndScene();
  device->SetTexture(0, NULL);

  device->BeginScene();
  if (options.texture) device->SetTexture(0, image);
  swarm.Draw(options.immediate);
  if (options.glow) Glow(current, 0xFFFF8722);
  SetStates(0x200);
  device->EndScene();

  // Flip: the target onto the back buffer, then present.
  device->BeginScene();
  device->SetRenderTarget(0, backSurface);
  device->SetDepthStencilSurface(backZ);
  device->SetTexture(0, flipTexture[current]);
  Quad(0, 0, kWidth - 0.5f, kHeight - 0.5f, 0xFFFFFFFF);
  device->EndScene();
  device->Present(NULL, NULL, NULL, NULL);
}

bool ParseOptions(int argc, char** argv, Options* options) {
  for (int i = 1; i < argc; ++i) {
    const char* a = argv[i];
    if (strcmp(a, "--immediate") == 0) {
      options->immediate = true;
    } else if (strcmp(a, "--no-glow") == 0) {
      options->glow = false;
    } else if (strcmp(a, "--spread") == 0) {
      options->spread = true;
    } else if (strcmp(a, "--no-texture") == 0) {
      options->texture = false;
    } else if (strcmp(a, "--quads") == 0 && i + 1 < argc) {
      options->quads = atoi(argv[++i]);
      if (options->quads < 0 || options->quads > 1 << 20) return false;
    } else if (strcmp(a, "--seconds") == 0 && i + 1 < argc) {
      options->seconds = atof(argv[++i]);
    } else {
      return false;
    }
  }
  return true;
}

double Seconds(const LARGE_INTEGER& from, const LARGE_INTEGER& to) {
  static LARGE_INTEGER frequency;
  if (frequency.QuadPart == 0) QueryPerformanceFrequency(&frequency);
  return (double)(to.QuadPart - from.QuadPart) / (double)frequency.QuadPart;
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  if (!ParseOptions(argc, argv, &options)) {
    fprintf(stderr,
            "usage: frame_reference [--quads N] [--immediate] [--no-glow] [--no-texture] "
            "[--spread] [--seconds S]\n");
    return 2;
  }
  timeBeginPeriod(1);  // as the framework does
  HWND window = MakeWindow();
  if (window == NULL || !CreateDevice(window) || !CreateTargets()) {
    printf("frame_reference: no Direct3D 9 device (needs a display)\n");
    ReleaseAll();
    return 1;
  }
  if (options.texture) LoadImage();
  Swarm swarm(options.quads, options.spread);

  // Frame times after the first half second; at least three, however long.
  std::vector<double> frames;
  LARGE_INTEGER start, last, now;
  QueryPerformanceCounter(&start);
  last = start;
  bool running = true;
  while (running) {
    MSG msg;
    while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) running = false;
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
    Sleep(0);
    if (!running) break;
    swarm.Update();
    DrawFrame(swarm, options);
    QueryPerformanceCounter(&now);
    if (Seconds(start, last) >= 0.5) frames.push_back(Seconds(last, now));
    last = now;
    if (options.seconds > 0 && Seconds(start, now) >= options.seconds && frames.size() >= 3) {
      running = false;
    }
  }

  std::sort(frames.begin(), frames.end());
  const double median = frames.empty() ? 0 : frames[frames.size() / 2];
  double total = 0;
  for (double frame : frames) total += frame;
  const double mean = frames.empty() ? 0 : total / frames.size();
  printf("frame_reference quads %d mode %s glow %d texture %d spread %d frames %u median_ms %.3f "
         "mean_ms %.3f fps %.2f\n",
         options.quads, options.immediate ? "immediate" : "batched", options.glow ? 1 : 0,
         options.texture && image != NULL ? 1 : 0, options.spread ? 1 : 0,
         (unsigned)frames.size(), median * 1e3, mean * 1e3, mean > 0 ? 1.0 / mean : 0.0);
  fflush(stdout);
  ReleaseAll();
  DestroyWindow(window);
  timeEndPeriod(1);
  return 0;
}
