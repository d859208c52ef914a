#include "fakes/fake_d3d9.h"

#include <stdarg.h>
#include <stdio.h>
#include <string.h>

namespace fake_d3d {

namespace {

struct World {
  std::vector<std::string> log;
  FakeScripts scripts;  // by method and by "method:object"
  std::vector<Tracked*> objects;     // this world's objects, in creation order
  std::map<const void*, Tracked*> byInterface;
  std::map<std::string, int> serial;  // naming counters per prefix
  Settings settings;
  std::vector<CreateDeviceCall> createDeviceCalls;
  Device* lastDevice = nullptr;
};

World& TheWorld() {
  static World* world = new World;  // never destroyed: objects may outlive a test
  return *world;
}

#if defined(__GNUC__)
std::string Format(const char* format, ...) __attribute__((format(printf, 1, 2)));
#endif
std::string Format(const char* format, ...) {
  char text[256];
  va_list args;
  va_start(args, format);
  vsnprintf(text, sizeof text, format, args);
  va_end(args);
  return text;
}

std::string NewName(const std::string& prefix) {
  return prefix + std::to_string(++TheWorld().serial[prefix]);
}

// `iface` is the interface pointer the code sees (the first base of the fake).
void Register(Tracked* object, const void* iface, const std::string& name, LONG refs) {
  object->name = name;
  object->refs = refs;
  TheWorld().objects.push_back(object);
  TheWorld().byInterface[iface] = object;
}

HRESULT GetUnknown(REFIID, void** object) {
  if (object != nullptr) *object = nullptr;
  return E_NOINTERFACE;
}

}  // namespace

ULONG Tracked::Add() {
  Record("AddRef", name, name);
  return (ULONG)++refs;
}

ULONG Tracked::Drop() {
  Record("Release", name, name);
  return (ULONG)--refs;
}

// ---------------------------------------------------------------- surface

// The resource methods that surfaces and textures share, none of them called.
#define FAKE_UNUSED_RESOURCE                                      \
  FAKE_UNUSED(GetDevice, IDirect3DDevice9**)                      \
  FAKE_UNUSED(SetPrivateData, REFGUID, const void*, DWORD, DWORD) \
  FAKE_UNUSED(GetPrivateData, REFGUID, void*, DWORD*)             \
  FAKE_UNUSED(FreePrivateData, REFGUID)                           \
  FAKE_UNUSED_R(DWORD, SetPriority, DWORD)                        \
  FAKE_UNUSED_R(DWORD, GetPriority)                               \
  FAKE_UNUSED_R(void, PreLoad)

class Surface : public IDirect3DSurface9, public Tracked {
 public:
  D3DSURFACE_DESC desc = {};

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
    return GetUnknown(riid, out);
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return Add(); }
  ULONG STDMETHODCALLTYPE Release() override { return Drop(); }
  FAKE_UNUSED_RESOURCE
  D3DRESOURCETYPE STDMETHODCALLTYPE GetType() override { return D3DRTYPE_SURFACE; }
  FAKE_UNUSED(GetContainer, REFIID, void**)
  HRESULT STDMETHODCALLTYPE GetDesc(D3DSURFACE_DESC* out) override {
    HRESULT hr = Record("GetDesc", name, name);
    if (hr == D3D_OK && out != nullptr) *out = desc;
    return hr;
  }
  FAKE_UNUSED(LockRect, D3DLOCKED_RECT*, const RECT*, DWORD)
  FAKE_UNUSED(UnlockRect)
  FAKE_UNUSED(GetDC, HDC*)
  FAKE_UNUSED(ReleaseDC, HDC)
};

static Surface* NewSurface(const std::string& name, LONG refs, UINT width, UINT height,
                           D3DFORMAT format, DWORD usage, D3DPOOL pool,
                           D3DMULTISAMPLE_TYPE multiSample, DWORD quality) {
  Surface* surface = new Surface;
  Register(surface, static_cast<IDirect3DSurface9*>(surface), name, refs);
  surface->defaultPool = pool == D3DPOOL_DEFAULT;
  surface->desc.Format = format;
  surface->desc.Type = D3DRTYPE_SURFACE;
  surface->desc.Usage = usage;
  surface->desc.Pool = pool;
  surface->desc.MultiSampleType = multiSample;
  surface->desc.MultiSampleQuality = quality;
  surface->desc.Width = width;
  surface->desc.Height = height;
  return surface;
}

// ---------------------------------------------------------------- texture

class Texture : public IDirect3DTexture9, public Tracked {
 public:
  Surface* level0 = nullptr;  // held by the texture, handed out by GetSurfaceLevel

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
    return GetUnknown(riid, out);
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return Add(); }
  ULONG STDMETHODCALLTYPE Release() override { return Drop(); }
  FAKE_UNUSED_RESOURCE
  D3DRESOURCETYPE STDMETHODCALLTYPE GetType() override { return D3DRTYPE_TEXTURE; }
  FAKE_UNUSED_R(DWORD, SetLOD, DWORD)
  FAKE_UNUSED_R(DWORD, GetLOD)
  DWORD STDMETHODCALLTYPE GetLevelCount() override { return 1; }
  FAKE_UNUSED(SetAutoGenFilterType, D3DTEXTUREFILTERTYPE)
  FAKE_UNUSED_R(D3DTEXTUREFILTERTYPE, GetAutoGenFilterType)
  FAKE_UNUSED_R(void, GenerateMipSubLevels)
  HRESULT STDMETHODCALLTYPE GetLevelDesc(UINT level, D3DSURFACE_DESC* out) override {
    HRESULT hr = Record("GetLevelDesc", name, Format("%s,%u", name.c_str(), level));
    if (hr != D3D_OK) return hr;
    if (level != 0 || out == nullptr) return D3DERR_INVALIDCALL;
    *out = level0->desc;
    return D3D_OK;
  }
  HRESULT STDMETHODCALLTYPE GetSurfaceLevel(UINT level, IDirect3DSurface9** out) override {
    HRESULT hr = Record("GetSurfaceLevel", name, Format("%s,%u", name.c_str(), level));
    if (out == nullptr) return D3DERR_INVALIDCALL;
    *out = nullptr;
    if (hr != D3D_OK) return hr;
    if (level != 0) return D3DERR_INVALIDCALL;
    ++level0->refs;  // a reference of the caller's, not logged as a call
    *out = level0;
    return D3D_OK;
  }
  FAKE_UNUSED(LockRect, UINT, D3DLOCKED_RECT*, const RECT*, DWORD)
  FAKE_UNUSED(UnlockRect, UINT)
  FAKE_UNUSED(AddDirtyRect, const RECT*)
};

static Texture* MakeTexture(UINT width, UINT height, DWORD usage, D3DFORMAT format,
                            D3DPOOL pool) {
  Texture* texture = new Texture;
  Register(texture, static_cast<IDirect3DTexture9*>(texture), NewName("tex"), 1);
  texture->defaultPool = pool == D3DPOOL_DEFAULT;
  const Settings& settings = TheWorld().settings;
  texture->level0 = NewSurface(texture->name + "/0", 0, width, height, format, usage, pool,
                               settings.textureMultiSample, settings.textureMultiSampleQuality);
  return texture;
}

IDirect3DTexture9* NewTexture(UINT width, UINT height, D3DFORMAT format, D3DPOOL pool) {
  return MakeTexture(width, height, 0, format, pool);
}

// ---------------------------------------------------------------- font

class Font : public ID3DXFont, public Tracked {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
    return GetUnknown(riid, out);
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return Add(); }
  ULONG STDMETHODCALLTYPE Release() override { return Drop(); }
  FAKE_UNUSED(GetDevice, IDirect3DDevice9**)
  FAKE_UNUSED(GetDescA, D3DXFONT_DESCA*)
  FAKE_UNUSED(GetDescW, D3DXFONT_DESCW*)
  FAKE_UNUSED_R(WINBOOL, GetTextMetricsA, TEXTMETRICA*)
  FAKE_UNUSED_R(WINBOOL, GetTextMetricsW, TEXTMETRICW*)
  FAKE_UNUSED_R(HDC, GetDC)
  FAKE_UNUSED(GetGlyphData, UINT, IDirect3DTexture9**, RECT*, POINT*)
  FAKE_UNUSED(PreloadCharacters, UINT, UINT)
  FAKE_UNUSED(PreloadGlyphs, UINT, UINT)
  FAKE_UNUSED(PreloadTextA, const char*, INT)
  FAKE_UNUSED(PreloadTextW, const WCHAR*, INT)
  INT STDMETHODCALLTYPE DrawTextA(ID3DXSprite* sprite, const char* text, INT count, RECT* rect,
                                  DWORD format, D3DCOLOR color) override {
    std::string shown = text == nullptr ? "null"
                        : count < 0     ? std::string(text)
                                        : std::string(text, strnlen(text, (size_t)count));
    RECT r = rect != nullptr ? *rect : RECT{0, 0, 0, 0};
    Record("DrawTextA", name,
           Format("%s,%s,%s,%d,%ld,%ld,%ld,%ld,0x%lx,0x%08lx", name.c_str(),
                  sprite ? "sprite" : "null", shown.c_str(), count, r.left, r.top, r.right,
                  r.bottom, format, color));
    return 1;
  }
  FAKE_UNUSED_R(INT, DrawTextW, ID3DXSprite*, const WCHAR*, INT, RECT*, DWORD, D3DCOLOR)
  HRESULT STDMETHODCALLTYPE OnLostDevice() override {
    HRESULT hr = Record("OnLostDevice", name, name);
    if (hr == D3D_OK) blocksReset = false;
    return hr;
  }
  HRESULT STDMETHODCALLTYPE OnResetDevice() override {
    HRESULT hr = Record("OnResetDevice", name, name);
    if (hr == D3D_OK) blocksReset = true;
    return hr;
  }
};

ID3DXFont* NewFont() {
  Font* font = new Font;
  Register(font, static_cast<ID3DXFont*>(font), NewName("font"), 1);
  font->blocksReset = true;  // until told of the loss
  return font;
}

// ---------------------------------------------------------------- Direct3D object

class Direct3D : public IDirect3D9, public Tracked {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
    return GetUnknown(riid, out);
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return Add(); }
  ULONG STDMETHODCALLTYPE Release() override {
    Device* device = TheWorld().lastDevice;
    if (refs == 1 && device != nullptr && device->refs > 0) device->outlivedDirect3D = true;
    return Drop();
  }
  FAKE_UNUSED(RegisterSoftwareDevice, void*)
  UINT STDMETHODCALLTYPE GetAdapterCount() override { return 1; }
  HRESULT STDMETHODCALLTYPE GetAdapterIdentifier(UINT adapter, DWORD flags,
                                                 D3DADAPTER_IDENTIFIER9* out) override {
    HRESULT hr = Record("GetAdapterIdentifier", name, Format("%u,%lu", adapter, flags));
    if (hr != D3D_OK || out == nullptr) return hr;
    memset(out, 0, sizeof *out);
    const Settings& settings = TheWorld().settings;
    snprintf(out->Driver, sizeof out->Driver, "%s", settings.driver.c_str());
    snprintf(out->Description, sizeof out->Description, "%s", settings.description.c_str());
    return D3D_OK;
  }
  FAKE_UNUSED_R(UINT, GetAdapterModeCount, UINT, D3DFORMAT)
  FAKE_UNUSED(EnumAdapterModes, UINT, D3DFORMAT, UINT, D3DDISPLAYMODE*)
  HRESULT STDMETHODCALLTYPE GetAdapterDisplayMode(UINT adapter, D3DDISPLAYMODE* out) override {
    HRESULT hr = Record("GetAdapterDisplayMode", name, Format("%u", adapter));
    if (hr != D3D_OK || out == nullptr) return hr;
    out->Width = 1280;
    out->Height = 1024;
    out->RefreshRate = 60;
    out->Format = TheWorld().settings.displayFormat;
    return D3D_OK;
  }
  FAKE_UNUSED(CheckDeviceType, UINT, D3DDEVTYPE, D3DFORMAT, D3DFORMAT, WINBOOL)
  FAKE_UNUSED(CheckDeviceFormat, UINT, D3DDEVTYPE, D3DFORMAT, DWORD, D3DRESOURCETYPE, D3DFORMAT)
  FAKE_UNUSED(CheckDeviceMultiSampleType, UINT, D3DDEVTYPE, D3DFORMAT, WINBOOL, D3DMULTISAMPLE_TYPE, DWORD*)
  FAKE_UNUSED(CheckDepthStencilMatch, UINT, D3DDEVTYPE, D3DFORMAT, D3DFORMAT, D3DFORMAT)
  FAKE_UNUSED(CheckDeviceFormatConversion, UINT, D3DDEVTYPE, D3DFORMAT, D3DFORMAT)
  FAKE_UNUSED(GetDeviceCaps, UINT, D3DDEVTYPE, D3DCAPS9*)
  FAKE_UNUSED_R(HMONITOR, GetAdapterMonitor, UINT)
  HRESULT STDMETHODCALLTYPE CreateDevice(UINT adapter, D3DDEVTYPE type, HWND window,
                                         DWORD behavior, D3DPRESENT_PARAMETERS* params,
                                         IDirect3DDevice9** out) override {
    CreateDeviceCall call = {adapter, type, window, behavior, {}};
    if (params != nullptr) call.params = *params;
    TheWorld().createDeviceCalls.push_back(call);
    HRESULT hr = Record("CreateDevice", name,
                        Format("%u,%d,0x%lx,%d", adapter, (int)type, behavior,
                               params ? (int)params->MultiSampleType : -1));
    if (out == nullptr || params == nullptr) return D3DERR_INVALIDCALL;
    *out = nullptr;
    // A success-class status hands out a device, as COM would.
    if (SUCCEEDED(hr)) *out = new Device(*params);
    return hr;
  }
};

// ---------------------------------------------------------------- device

Device::Device(const D3DPRESENT_PARAMETERS& params) {
  Register(this, static_cast<IDirect3DDevice9*>(this), "device", 1);
  backBuffer = NewSurface("back", 0, params.BackBufferWidth, params.BackBufferHeight,
                          params.BackBufferFormat, D3DUSAGE_RENDERTARGET, D3DPOOL_DEFAULT,
                          params.MultiSampleType, params.MultiSampleQuality);
  autoDepth = NewSurface("backz", 0, params.BackBufferWidth, params.BackBufferHeight,
                         params.AutoDepthStencilFormat, D3DUSAGE_DEPTHSTENCIL, D3DPOOL_DEFAULT,
                         params.MultiSampleType, params.MultiSampleQuality);
  owned.push_back(backBuffer);
  owned.push_back(autoDepth);
  renderTarget = backBuffer;
  depthStencil = params.EnableAutoDepthStencil ? autoDepth : nullptr;
  TheWorld().lastDevice = this;
}

void Device::ForgetStates() {
  renderStates.clear();
  stageStates.clear();
  samplerStates.clear();
  lights.clear();
  transforms.clear();
  texture0 = nullptr;
  fvf = 0;
}

HRESULT Device::QueryInterface(REFIID riid, void** out) { return GetUnknown(riid, out); }
ULONG Device::AddRef() { return Add(); }
ULONG Device::Release() {
  const ULONG left = Drop();
  for (Tracked* object : owned) heldAtRelease += left == 0 && object->refs > 0 ? 1 : 0;
  return left;
}

HRESULT Device::TestCooperativeLevel() { return Record("TestCooperativeLevel", "", ""); }

HRESULT Device::Reset(D3DPRESENT_PARAMETERS* params) {
  HRESULT hr = Record("Reset", "",
                      params ? Format("%u,%u,%d", params->BackBufferWidth,
                                      params->BackBufferHeight, (int)params->MultiSampleType)
                             : "null");
  if (params == nullptr) return hr == D3D_OK ? D3DERR_INVALIDCALL : hr;
  const D3DPRESENT_PARAMETERS asked = *params;
  resets.push_back(asked);
  // As documented: Reset writes into the record it is given.
  params->BackBufferCount = params->BackBufferWidth = params->BackBufferHeight = 0;
  if (params->Windowed) params->BackBufferFormat = D3DFMT_UNKNOWN;
  if (hr != D3D_OK) return hr;
  // As the real device: every default-pool object must have been released, and
  // a bound one is held by the device (the back buffer and its depth are its own).
  for (Tracked* object : owned) {
    if (object->defaultPool && object->refs > 0) return D3DERR_INVALIDCALL;
  }
  for (Tracked* object : TheWorld().objects) {
    if (object->blocksReset && object->refs > 0) return D3DERR_INVALIDCALL;
  }
  auto held = [](const void* bound) {
    auto it = TheWorld().byInterface.find(bound);
    return it != TheWorld().byInterface.end() && it->second->defaultPool;
  };
  if ((renderTarget != backBuffer && held(renderTarget)) ||
      (depthStencil != autoDepth && held(depthStencil)) || held(texture0)) {
    return D3DERR_INVALIDCALL;
  }
  ForgetStates();
  backBuffer->desc.Width = autoDepth->desc.Width = asked.BackBufferWidth;
  backBuffer->desc.Height = autoDepth->desc.Height = asked.BackBufferHeight;
  renderTarget = backBuffer;
  depthStencil = asked.EnableAutoDepthStencil ? autoDepth : nullptr;
  inScene = false;
  return D3D_OK;
}

HRESULT Device::Present(const RECT* src, const RECT* dst, HWND window, const RGNDATA* dirty) {
  bool allNull = src == nullptr && dst == nullptr && window == nullptr && dirty == nullptr;
  return Record("Present", "", allNull ? "" : "non-null");
}

HRESULT Device::CreateTexture(UINT width, UINT height, UINT levels, DWORD usage,
                              D3DFORMAT format, D3DPOOL pool, IDirect3DTexture9** out,
                              HANDLE* shared) {
  HRESULT hr = Record("CreateTexture", "",
                      Format("%u,%u,%u,0x%lx,%d,%d%s", width, height, levels, usage, (int)format,
                             (int)pool, shared ? ",shared" : ""));
  if (out == nullptr) return D3DERR_INVALIDCALL;
  *out = nullptr;
  if (hr != D3D_OK) return hr;
  Texture* texture = MakeTexture(width, height, usage, format, pool);
  owned.push_back(texture);
  owned.push_back(texture->level0);
  *out = texture;
  return D3D_OK;
}

HRESULT Device::CreateDepthStencilSurface(UINT width, UINT height, D3DFORMAT format,
                                          D3DMULTISAMPLE_TYPE multiSample, DWORD quality,
                                          WINBOOL discard, IDirect3DSurface9** out,
                                          HANDLE* shared) {
  HRESULT hr = Record("CreateDepthStencilSurface", "",
                      Format("%u,%u,%d,%d,%lu,%d%s", width, height, (int)format, (int)multiSample,
                             quality, (int)discard, shared ? ",shared" : ""));
  if (out == nullptr) return D3DERR_INVALIDCALL;
  *out = nullptr;
  if (hr != D3D_OK) return hr;
  Surface* surface = NewSurface(NewName("ds"), 1, width, height, format, D3DUSAGE_DEPTHSTENCIL,
                                D3DPOOL_DEFAULT, multiSample, quality);
  owned.push_back(surface);
  *out = surface;
  return D3D_OK;
}

HRESULT Device::SetRenderTarget(DWORD index, IDirect3DSurface9* surface) {
  HRESULT hr = Record("SetRenderTarget", "", Format("%lu,%s", index, NameOf(surface).c_str()));
  if (hr != D3D_OK) return hr;
  if (index != 0 || surface == nullptr) return D3DERR_INVALIDCALL;
  renderTarget = surface;
  return D3D_OK;
}

HRESULT Device::GetRenderTarget(DWORD index, IDirect3DSurface9** out) {
  HRESULT hr = Record("GetRenderTarget", "", Format("%lu", index));
  if (out == nullptr) return D3DERR_INVALIDCALL;
  *out = nullptr;
  if (hr != D3D_OK) return hr;
  if (index != 0 || renderTarget == nullptr) return D3DERR_NOTFOUND;
  auto it = TheWorld().byInterface.find(renderTarget);
  if (it == TheWorld().byInterface.end()) return D3DERR_INVALIDCALL;
  ++it->second->refs;  // a reference of the caller's
  *out = renderTarget;
  return D3D_OK;
}

HRESULT Device::SetDepthStencilSurface(IDirect3DSurface9* surface) {
  HRESULT hr = Record("SetDepthStencilSurface", "", NameOf(surface));
  if (hr == D3D_OK) depthStencil = surface;
  return hr;
}

HRESULT Device::GetDepthStencilSurface(IDirect3DSurface9** out) {
  HRESULT hr = Record("GetDepthStencilSurface", "", "");
  if (out == nullptr) return D3DERR_INVALIDCALL;
  *out = nullptr;
  if (hr != D3D_OK) return hr;
  if (depthStencil == nullptr) return D3DERR_NOTFOUND;
  auto it = TheWorld().byInterface.find(depthStencil);
  if (it == TheWorld().byInterface.end()) return D3DERR_INVALIDCALL;
  ++it->second->refs;  // a reference of the caller's
  *out = depthStencil;
  return D3D_OK;
}

HRESULT Device::BeginScene() {
  HRESULT hr = Record("BeginScene", "", "");
  if (hr != D3D_OK) return hr;
  if (inScene) return D3DERR_INVALIDCALL;  // a scene left open blocks every later one
  inScene = true;
  return D3D_OK;
}

HRESULT Device::EndScene() {
  HRESULT hr = Record("EndScene", "", "");
  if (hr != D3D_OK) return hr;
  if (!inScene) return D3DERR_INVALIDCALL;
  inScene = false;
  return D3D_OK;
}

HRESULT Device::Clear(DWORD count, const D3DRECT* rects, DWORD flags, D3DCOLOR color, float z,
                      DWORD stencil) {
  HRESULT hr = Record("Clear", "", Format("%lu,%s,%lu,0x%08lx,%g,%lu", count, rects ? "rects" : "null",
                                           flags, color, z, stencil));
  if (hr == D3D_OK && (flags & D3DCLEAR_TARGET)) cleared[renderTarget] |= D3DCLEAR_TARGET;
  if (hr == D3D_OK && (flags & D3DCLEAR_ZBUFFER)) cleared[depthStencil] |= D3DCLEAR_ZBUFFER;
  return hr;
}

HRESULT Device::SetTransform(D3DTRANSFORMSTATETYPE state, const D3DMATRIX* matrix) {
  HRESULT hr = Record("SetTransform", "", Format("%d", (int)state));
  if (hr == D3D_OK && matrix != nullptr) transforms[state] = *matrix;
  return hr;
}

HRESULT Device::LightEnable(DWORD index, WINBOOL enable) {
  HRESULT hr = Record("LightEnable", "", Format("%lu,%d", index, (int)enable));
  if (hr == D3D_OK) lights[index] = enable;
  return hr;
}

HRESULT Device::SetRenderState(D3DRENDERSTATETYPE state, DWORD value) {
  // Scripts may name the state: "SetRenderState:137".
  HRESULT hr = Record("SetRenderState", std::to_string(state), Format("%d,%lu", (int)state, value));
  if (hr == D3D_OK) renderStates[state] = value;
  return hr;
}

HRESULT Device::SetTexture(DWORD stage, IDirect3DBaseTexture9* texture) {
  HRESULT hr = Record("SetTexture", "", Format("%lu,%s", stage, NameOf(texture).c_str()));
  if (hr == D3D_OK && stage == 0) texture0 = texture;
  return hr;
}

HRESULT Device::SetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type, DWORD value) {
  HRESULT hr = Record("SetTextureStageState", "", Format("%lu,%d,%lu", stage, (int)type, value));
  if (hr == D3D_OK) stageStates[{stage, (DWORD)type}] = value;
  return hr;
}

HRESULT Device::SetSamplerState(DWORD sampler, D3DSAMPLERSTATETYPE type, DWORD value) {
  HRESULT hr = Record("SetSamplerState", "", Format("%lu,%d,%lu", sampler, (int)type, value));
  if (hr == D3D_OK) samplerStates[{sampler, (DWORD)type}] = value;
  return hr;
}

HRESULT Device::DrawPrimitiveUP(D3DPRIMITIVETYPE type, UINT count, const void* data,
                                UINT stride) {
  HRESULT hr = Record("DrawPrimitiveUP", "", Format("%d,%u,%u", (int)type, count, stride));
  if (hr != D3D_OK) return hr;
  if (data == nullptr || type != D3DPT_TRIANGLELIST) return D3DERR_INVALIDCALL;
  DrawCall draw = {type, count, stride, fvf, NameOf(renderTarget), NameOf(texture0),
                   inScene, {}};
  const BYTE* bytes = static_cast<const BYTE*>(data);
  draw.data.assign(bytes, bytes + (size_t)count * 3 * stride);
  draws.push_back(std::move(draw));
  return D3D_OK;
}

HRESULT Device::SetFVF(DWORD value) {
  HRESULT hr = Record("SetFVF", "", Format("0x%lx", value));
  if (hr == D3D_OK) fvf = value;
  return hr;
}

// ---------------------------------------------------------------- world

void Reset() {
  TheWorld() = World();
  FakeUnexpectedCalls().clear();
}

void Script(const std::string& method, std::vector<HRESULT> results, HRESULT thereafter) {
  TheWorld().scripts.Script(method, std::move(results), thereafter);
}

void FailCall(const std::string& method, int nth, HRESULT result) {
  TheWorld().scripts.FailNth(method, nth, result);
}

HRESULT Record(const std::string& method, const std::string& object, const std::string& args) {
  World& world = TheWorld();
  world.log.push_back(method + "(" + args + ")");
  HRESULT keyed, plain;
  if (!object.empty() && world.scripts.Next(method + ":" + object, &keyed)) {
    world.scripts.Next(method);
    return keyed;
  }
  return world.scripts.Next(method, &plain) ? plain : D3D_OK;
}

const std::vector<std::string>& Log() { return TheWorld().log; }

std::vector<std::string> Calls(const std::string& method) {
  std::vector<std::string> lines;
  const std::string prefix = method + "(";
  for (const std::string& line : TheWorld().log) {
    if (line.compare(0, prefix.size(), prefix) == 0) lines.push_back(line);
  }
  return lines;
}

int CallCount(const std::string& method) { return (int)Calls(method).size(); }

void ClearLog() { TheWorld().log.clear(); }

std::string Leaks() {
  std::string leaks;
  for (const Tracked* object : TheWorld().objects) {
    if (object->refs != 0) leaks += object->name + ":" + std::to_string(object->refs) + " ";
  }
  return leaks;
}

std::string NameOf(const void* object) {
  if (object == nullptr) return "null";
  auto it = TheWorld().byInterface.find(object);
  return it == TheWorld().byInterface.end() ? "?" : it->second->name;
}

Settings& Configure() { return TheWorld().settings; }
const std::vector<CreateDeviceCall>& CreateDeviceCalls() { return TheWorld().createDeviceCalls; }
Device* LastDevice() { return TheWorld().lastDevice; }

}  // namespace fake_d3d

// The link-time seam: test executables get the fake in place of d3d9.dll.
IDirect3D9* WINAPI Direct3DCreate9(UINT sdkVersion) {
  using namespace fake_d3d;
  if (FAILED(Record("Direct3DCreate9", "", Format("%u", sdkVersion)))) return nullptr;
  Direct3D* d3d = new Direct3D;
  Register(d3d, static_cast<IDirect3D9*>(d3d), "d3d", 1);
  return d3d;
}
