// Recording fakes of the Direct3D 9 objects (and the D3DX functions the framework
// calls), handed to the code under test through Direct3DCreate9 at link time.
//
// Unscripted, every call succeeds. A test scripts results per method (the shared
// FakeScripts), inspects the state of the fake device and objects, and checks
// that every reference the code took was given back; a log of calls with their
// arguments is kept for counts and argument checks.
// Objects are named in the log: "d3d", "device", "back" (back buffer), "backz"
// (automatic depth buffer), "tex1".. textures in creation order, "tex1/0" their
// level-0 surfaces, "ds1".. depth-stencil surfaces, "font1".. fonts.
#pragma once
#include <windows.h>
#include <d3d9.h>
#include <d3dx9.h>

#include "fakes/fake_script.h"

#include <map>
#include <string>
#include <utility>
#include <vector>

namespace fake_d3d {

// Forgets the log, the scripts, the settings and every object. Objects are never
// freed, so a pointer the code still holds stays safe to call.
void Reset();

// Results of the next calls of one method ("CreateDevice", "Present",
// "GetSurfaceLevel", "Direct3DCreate9" ...), counted from now: the listed ones in
// turn, then `thereafter` for every later call. Replaces the method's earlier
// script. A failing Direct3DCreate9 returns null.
void Script(const std::string& method, std::vector<HRESULT> results, HRESULT thereafter = D3D_OK);
// Only the nth call (1-based) of the method from now returns `result`.
void FailCall(const std::string& method, int nth, HRESULT result);

// Every call made so far, in order, as "Method(arg,arg)".
const std::vector<std::string>& Log();
std::vector<std::string> Calls(const std::string& method);  // the lines of one method
int CallCount(const std::string& method);                  // of those lines
void ClearLog();  // scripts keep counting from where they were

// "" when every reference handed out has been released exactly; otherwise a list
// of the objects still held (or released too often) with their counts.
std::string Leaks();
std::string NameOf(const void* object);  // "null" for null, "?" for a stranger

struct Settings {
  D3DFORMAT displayFormat = D3DFMT_X8R8G8B8;
  // Multisampling reported by the level-0 surfaces of new textures.
  D3DMULTISAMPLE_TYPE textureMultiSample = D3DMULTISAMPLE_NONE;
  DWORD textureMultiSampleQuality = 0;
  std::string driver = "fake9.dll";
  std::string description = "Fake Adapter";
};
Settings& Configure();

struct CreateDeviceCall {
  UINT adapter;
  D3DDEVTYPE type;
  HWND window;
  DWORD behavior;
  D3DPRESENT_PARAMETERS params;  // as passed, copied at the call
};
const std::vector<CreateDeviceCall>& CreateDeviceCalls();

struct DrawCall {
  D3DPRIMITIVETYPE type;
  UINT primitives;
  UINT stride;
  DWORD fvf;
  std::string target;   // render target bound at the draw
  std::string texture;  // stage-0 texture at the draw, "null" when none
  bool inScene;
  std::vector<BYTE> data;
  template <class V>
  const V* Vertices() const { return reinterpret_cast<const V*>(data.data()); }
  size_t VertexCount() const { return stride ? data.size() / stride : 0; }
};

// Base of every fake object: its name and the references handed out.
struct Tracked {
  std::string name;
  LONG refs = 1;
  bool defaultPool = false;  // must be released before the device's Reset
  bool blocksReset = false;  // a font not told of the loss
  ULONG Add();
  ULONG Drop();
};

class Surface;
class Texture;

class Device : public IDirect3DDevice9, public Tracked {
 public:
  explicit Device(const D3DPRESENT_PARAMETERS& params);

  // State the code set through the device. Render, stage and sampler states are
  // absent until set; Reset forgets them as the real device returns to defaults.
  std::map<DWORD, DWORD> renderStates;
  std::map<std::pair<DWORD, DWORD>, DWORD> stageStates;    // (stage, type)
  std::map<std::pair<DWORD, DWORD>, DWORD> samplerStates;  // (sampler, type)
  std::map<DWORD, BOOL> lights;
  std::map<DWORD, D3DMATRIX> transforms;
  IDirect3DSurface9* renderTarget = nullptr;
  IDirect3DSurface9* depthStencil = nullptr;
  IDirect3DBaseTexture9* texture0 = nullptr;
  DWORD fvf = 0;
  bool inScene = false;
  std::vector<DrawCall> draws;
  std::vector<D3DPRESENT_PARAMETERS> resets;  // parameters of each Reset call
  std::map<const void*, DWORD> cleared;  // by surface: D3DCLEAR_TARGET, D3DCLEAR_ZBUFFER
  // Its own objects still held when it was released; released after Direct3D.
  int heldAtRelease = 0;
  bool outlivedDirect3D = false;
  Surface* backBuffer;
  Surface* autoDepth;
  std::vector<Tracked*> owned;  // everything made by this device, back buffer included
  void ForgetStates();

  // IUnknown
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;
  // IDirect3DDevice9: the calls the framework makes are recorded and scripted.
  HRESULT STDMETHODCALLTYPE TestCooperativeLevel() override;
  HRESULT STDMETHODCALLTYPE Reset(D3DPRESENT_PARAMETERS* params) override;
  HRESULT STDMETHODCALLTYPE Present(const RECT* src, const RECT* dst, HWND window,
                                    const RGNDATA* dirty) override;
  HRESULT STDMETHODCALLTYPE CreateTexture(UINT width, UINT height, UINT levels, DWORD usage,
                                          D3DFORMAT format, D3DPOOL pool,
                                          IDirect3DTexture9** texture, HANDLE* shared) override;
  HRESULT STDMETHODCALLTYPE CreateDepthStencilSurface(UINT width, UINT height, D3DFORMAT format,
                                                      D3DMULTISAMPLE_TYPE multiSample,
                                                      DWORD quality, WINBOOL discard,
                                                      IDirect3DSurface9** surface,
                                                      HANDLE* shared) override;
  HRESULT STDMETHODCALLTYPE SetRenderTarget(DWORD index, IDirect3DSurface9* surface) override;
  HRESULT STDMETHODCALLTYPE GetRenderTarget(DWORD index, IDirect3DSurface9** surface) override;
  HRESULT STDMETHODCALLTYPE SetDepthStencilSurface(IDirect3DSurface9* surface) override;
  HRESULT STDMETHODCALLTYPE GetDepthStencilSurface(IDirect3DSurface9** surface) override;
  HRESULT STDMETHODCALLTYPE BeginScene() override;
  HRESULT STDMETHODCALLTYPE EndScene() override;
  HRESULT STDMETHODCALLTYPE Clear(DWORD count, const D3DRECT* rects, DWORD flags,
                                  D3DCOLOR color, float z, DWORD stencil) override;
  HRESULT STDMETHODCALLTYPE SetTransform(D3DTRANSFORMSTATETYPE state,
                                         const D3DMATRIX* matrix) override;
  HRESULT STDMETHODCALLTYPE LightEnable(DWORD index, WINBOOL enable) override;
  HRESULT STDMETHODCALLTYPE SetRenderState(D3DRENDERSTATETYPE state, DWORD value) override;
  HRESULT STDMETHODCALLTYPE SetTexture(DWORD stage, IDirect3DBaseTexture9* texture) override;
  HRESULT STDMETHODCALLTYPE SetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type,
                                                 DWORD value) override;
  HRESULT STDMETHODCALLTYPE SetSamplerState(DWORD sampler, D3DSAMPLERSTATETYPE type,
                                            DWORD value) override;
  HRESULT STDMETHODCALLTYPE DrawPrimitiveUP(D3DPRIMITIVETYPE type, UINT count, const void* data,
                                            UINT stride) override;
  HRESULT STDMETHODCALLTYPE SetFVF(DWORD fvf) override;

  // The rest of the interface, never called by the framework.
  FAKE_UNUSED_R(UINT, GetAvailableTextureMem)
  FAKE_UNUSED(EvictManagedResources)
  FAKE_UNUSED(GetDirect3D, IDirect3D9**)
  FAKE_UNUSED(GetDeviceCaps, D3DCAPS9*)
  FAKE_UNUSED(GetDisplayMode, UINT, D3DDISPLAYMODE*)
  FAKE_UNUSED(GetCreationParameters, D3DDEVICE_CREATION_PARAMETERS*)
  FAKE_UNUSED(SetCursorProperties, UINT, UINT, IDirect3DSurface9*)
  FAKE_UNUSED_R(void, SetCursorPosition, int, int, DWORD)
  FAKE_UNUSED_R(WINBOOL, ShowCursor, WINBOOL)
  FAKE_UNUSED(CreateAdditionalSwapChain, D3DPRESENT_PARAMETERS*, IDirect3DSwapChain9**)
  FAKE_UNUSED(GetSwapChain, UINT, IDirect3DSwapChain9**)
  FAKE_UNUSED_R(UINT, GetNumberOfSwapChains)
  FAKE_UNUSED(GetBackBuffer, UINT, UINT, D3DBACKBUFFER_TYPE, IDirect3DSurface9**)
  FAKE_UNUSED(GetRasterStatus, UINT, D3DRASTER_STATUS*)
  FAKE_UNUSED(SetDialogBoxMode, WINBOOL)
  FAKE_UNUSED_R(void, SetGammaRamp, UINT, DWORD, const D3DGAMMARAMP*)
  FAKE_UNUSED_R(void, GetGammaRamp, UINT, D3DGAMMARAMP*)
  FAKE_UNUSED(CreateVolumeTexture, UINT, UINT, UINT, UINT, DWORD, D3DFORMAT, D3DPOOL, IDirect3DVolumeTexture9**, HANDLE*)
  FAKE_UNUSED(CreateCubeTexture, UINT, UINT, DWORD, D3DFORMAT, D3DPOOL, IDirect3DCubeTexture9**, HANDLE*)
  FAKE_UNUSED(CreateVertexBuffer, UINT, DWORD, DWORD, D3DPOOL, IDirect3DVertexBuffer9**, HANDLE*)
  FAKE_UNUSED(CreateIndexBuffer, UINT, DWORD, D3DFORMAT, D3DPOOL, IDirect3DIndexBuffer9**, HANDLE*)
  FAKE_UNUSED(CreateRenderTarget, UINT, UINT, D3DFORMAT, D3DMULTISAMPLE_TYPE, DWORD, WINBOOL, IDirect3DSurface9**, HANDLE*)
  FAKE_UNUSED(UpdateSurface, IDirect3DSurface9*, const RECT*, IDirect3DSurface9*, const POINT*)
  FAKE_UNUSED(UpdateTexture, IDirect3DBaseTexture9*, IDirect3DBaseTexture9*)
  FAKE_UNUSED(GetRenderTargetData, IDirect3DSurface9*, IDirect3DSurface9*)
  FAKE_UNUSED(GetFrontBufferData, UINT, IDirect3DSurface9*)
  FAKE_UNUSED(StretchRect, IDirect3DSurface9*, const RECT*, IDirect3DSurface9*, const RECT*, D3DTEXTUREFILTERTYPE)
  FAKE_UNUSED(ColorFill, IDirect3DSurface9*, const RECT*, D3DCOLOR)
  FAKE_UNUSED(CreateOffscreenPlainSurface, UINT, UINT, D3DFORMAT, D3DPOOL, IDirect3DSurface9**, HANDLE*)
  FAKE_UNUSED(GetTransform, D3DTRANSFORMSTATETYPE, D3DMATRIX*)
  FAKE_UNUSED(MultiplyTransform, D3DTRANSFORMSTATETYPE, const D3DMATRIX*)
  FAKE_UNUSED(SetViewport, const D3DVIEWPORT9*)
  FAKE_UNUSED(GetViewport, D3DVIEWPORT9*)
  FAKE_UNUSED(SetMaterial, const D3DMATERIAL9*)
  FAKE_UNUSED(GetMaterial, D3DMATERIAL9*)
  FAKE_UNUSED(SetLight, DWORD, const D3DLIGHT9*)
  FAKE_UNUSED(GetLight, DWORD, D3DLIGHT9*)
  FAKE_UNUSED(GetLightEnable, DWORD, WINBOOL*)
  FAKE_UNUSED(SetClipPlane, DWORD, const float*)
  FAKE_UNUSED(GetClipPlane, DWORD, float*)
  FAKE_UNUSED(GetRenderState, D3DRENDERSTATETYPE, DWORD*)
  FAKE_UNUSED(CreateStateBlock, D3DSTATEBLOCKTYPE, IDirect3DStateBlock9**)
  FAKE_UNUSED(BeginStateBlock)
  FAKE_UNUSED(EndStateBlock, IDirect3DStateBlock9**)
  FAKE_UNUSED(SetClipStatus, const D3DCLIPSTATUS9*)
  FAKE_UNUSED(GetClipStatus, D3DCLIPSTATUS9*)
  FAKE_UNUSED(GetTexture, DWORD, IDirect3DBaseTexture9**)
  FAKE_UNUSED(GetTextureStageState, DWORD, D3DTEXTURESTAGESTATETYPE, DWORD*)
  FAKE_UNUSED(GetSamplerState, DWORD, D3DSAMPLERSTATETYPE, DWORD*)
  FAKE_UNUSED(ValidateDevice, DWORD*)
  FAKE_UNUSED(SetPaletteEntries, UINT, const PALETTEENTRY*)
  FAKE_UNUSED(GetPaletteEntries, UINT, PALETTEENTRY*)
  FAKE_UNUSED(SetCurrentTexturePalette, UINT)
  FAKE_UNUSED(GetCurrentTexturePalette, UINT*)
  FAKE_UNUSED(SetScissorRect, const RECT*)
  FAKE_UNUSED(GetScissorRect, RECT*)
  FAKE_UNUSED(SetSoftwareVertexProcessing, WINBOOL)
  FAKE_UNUSED_R(WINBOOL, GetSoftwareVertexProcessing)
  FAKE_UNUSED(SetNPatchMode, float)
  FAKE_UNUSED_R(float, GetNPatchMode)
  FAKE_UNUSED(DrawPrimitive, D3DPRIMITIVETYPE, UINT, UINT)
  FAKE_UNUSED(DrawIndexedPrimitive, D3DPRIMITIVETYPE, INT, UINT, UINT, UINT, UINT)
  FAKE_UNUSED(DrawIndexedPrimitiveUP, D3DPRIMITIVETYPE, UINT, UINT, UINT, const void*, D3DFORMAT, const void*, UINT)
  FAKE_UNUSED(ProcessVertices, UINT, UINT, UINT, IDirect3DVertexBuffer9*, IDirect3DVertexDeclaration9*, DWORD)
  FAKE_UNUSED(CreateVertexDeclaration, const D3DVERTEXELEMENT9*, IDirect3DVertexDeclaration9**)
  FAKE_UNUSED(SetVertexDeclaration, IDirect3DVertexDeclaration9*)
  FAKE_UNUSED(GetVertexDeclaration, IDirect3DVertexDeclaration9**)
  FAKE_UNUSED(GetFVF, DWORD*)
  FAKE_UNUSED(CreateVertexShader, const DWORD*, IDirect3DVertexShader9**)
  FAKE_UNUSED(SetVertexShader, IDirect3DVertexShader9*)
  FAKE_UNUSED(GetVertexShader, IDirect3DVertexShader9**)
  FAKE_UNUSED(SetVertexShaderConstantF, UINT, const float*, UINT)
  FAKE_UNUSED(GetVertexShaderConstantF, UINT, float*, UINT)
  FAKE_UNUSED(SetVertexShaderConstantI, UINT, const int*, UINT)
  FAKE_UNUSED(GetVertexShaderConstantI, UINT, int*, UINT)
  FAKE_UNUSED(SetVertexShaderConstantB, UINT, const WINBOOL*, UINT)
  FAKE_UNUSED(GetVertexShaderConstantB, UINT, WINBOOL*, UINT)
  FAKE_UNUSED(SetStreamSource, UINT, IDirect3DVertexBuffer9*, UINT, UINT)
  FAKE_UNUSED(GetStreamSource, UINT, IDirect3DVertexBuffer9**, UINT*, UINT*)
  FAKE_UNUSED(SetStreamSourceFreq, UINT, UINT)
  FAKE_UNUSED(GetStreamSourceFreq, UINT, UINT*)
  FAKE_UNUSED(SetIndices, IDirect3DIndexBuffer9*)
  FAKE_UNUSED(GetIndices, IDirect3DIndexBuffer9**)
  FAKE_UNUSED(CreatePixelShader, const DWORD*, IDirect3DPixelShader9**)
  FAKE_UNUSED(SetPixelShader, IDirect3DPixelShader9*)
  FAKE_UNUSED(GetPixelShader, IDirect3DPixelShader9**)
  FAKE_UNUSED(SetPixelShaderConstantF, UINT, const float*, UINT)
  FAKE_UNUSED(GetPixelShaderConstantF, UINT, float*, UINT)
  FAKE_UNUSED(SetPixelShaderConstantI, UINT, const int*, UINT)
  FAKE_UNUSED(GetPixelShaderConstantI, UINT, int*, UINT)
  FAKE_UNUSED(SetPixelShaderConstantB, UINT, const WINBOOL*, UINT)
  FAKE_UNUSED(GetPixelShaderConstantB, UINT, WINBOOL*, UINT)
  FAKE_UNUSED(DrawRectPatch, UINT, const float*, const D3DRECTPATCH_INFO*)
  FAKE_UNUSED(DrawTriPatch, UINT, const float*, const D3DTRIPATCH_INFO*)
  FAKE_UNUSED(DeletePatch, UINT)
  FAKE_UNUSED(CreateQuery, D3DQUERYTYPE, IDirect3DQuery9**)
};

// The device created last (null before any).
Device* LastDevice();

// A font for the loss notifications, held once by the caller: OnLostDevice and
// OnResetDevice are recorded as "OnLostDevice(font1)".
ID3DXFont* NewFont();
// A texture as the device would create it, held once by the caller.
IDirect3DTexture9* NewTexture(UINT width, UINT height, D3DFORMAT format, D3DPOOL pool);

// For the fakes' own files: logs "method(args)" and returns the scripted result.
// A script under "method:object" (e.g. "OnLostDevice:font2") takes precedence over
// one under the bare method name.
HRESULT Record(const std::string& method, const std::string& object, const std::string& args);

}  // namespace fake_d3d
