// Recording fakes of the Direct3D 9 objects (and the D3DX functions the framework
// calls), handed to the code under test through Direct3DCreate9 at link time.
//
// Unscripted, every call succeeds. A test scripts results per method and per call,
// reads the log of calls with their arguments, inspects the state of the fake
// device, and checks that every reference the code took was given back.
// Objects are named in the log: "d3d", "device", "back" (back buffer), "backz"
// (automatic depth buffer), "tex1".. textures in creation order, "tex1/0" their
// level-0 surfaces, "ds1".. depth-stencil surfaces, "font1".. fonts.
#pragma once
#include <windows.h>
#include <d3d9.h>
#include <d3dx9.h>

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

  // The rest of the interface: recorded as unexpected, E_NOTIMPL.
  UINT STDMETHODCALLTYPE GetAvailableTextureMem() override;
  HRESULT STDMETHODCALLTYPE EvictManagedResources() override;
  HRESULT STDMETHODCALLTYPE GetDirect3D(IDirect3D9**) override;
  HRESULT STDMETHODCALLTYPE GetDeviceCaps(D3DCAPS9*) override;
  HRESULT STDMETHODCALLTYPE GetDisplayMode(UINT, D3DDISPLAYMODE*) override;
  HRESULT STDMETHODCALLTYPE GetCreationParameters(D3DDEVICE_CREATION_PARAMETERS*) override;
  HRESULT STDMETHODCALLTYPE SetCursorProperties(UINT, UINT, IDirect3DSurface9*) override;
  void STDMETHODCALLTYPE SetCursorPosition(int, int, DWORD) override;
  WINBOOL STDMETHODCALLTYPE ShowCursor(WINBOOL) override;
  HRESULT STDMETHODCALLTYPE CreateAdditionalSwapChain(D3DPRESENT_PARAMETERS*,
                                                      IDirect3DSwapChain9**) override;
  HRESULT STDMETHODCALLTYPE GetSwapChain(UINT, IDirect3DSwapChain9**) override;
  UINT STDMETHODCALLTYPE GetNumberOfSwapChains() override;
  HRESULT STDMETHODCALLTYPE GetBackBuffer(UINT, UINT, D3DBACKBUFFER_TYPE,
                                          IDirect3DSurface9**) override;
  HRESULT STDMETHODCALLTYPE GetRasterStatus(UINT, D3DRASTER_STATUS*) override;
  HRESULT STDMETHODCALLTYPE SetDialogBoxMode(WINBOOL) override;
  void STDMETHODCALLTYPE SetGammaRamp(UINT, DWORD, const D3DGAMMARAMP*) override;
  void STDMETHODCALLTYPE GetGammaRamp(UINT, D3DGAMMARAMP*) override;
  HRESULT STDMETHODCALLTYPE CreateVolumeTexture(UINT, UINT, UINT, UINT, DWORD, D3DFORMAT,
                                                D3DPOOL, IDirect3DVolumeTexture9**,
                                                HANDLE*) override;
  HRESULT STDMETHODCALLTYPE CreateCubeTexture(UINT, UINT, DWORD, D3DFORMAT, D3DPOOL,
                                              IDirect3DCubeTexture9**, HANDLE*) override;
  HRESULT STDMETHODCALLTYPE CreateVertexBuffer(UINT, DWORD, DWORD, D3DPOOL,
                                               IDirect3DVertexBuffer9**, HANDLE*) override;
  HRESULT STDMETHODCALLTYPE CreateIndexBuffer(UINT, DWORD, D3DFORMAT, D3DPOOL,
                                              IDirect3DIndexBuffer9**, HANDLE*) override;
  HRESULT STDMETHODCALLTYPE CreateRenderTarget(UINT, UINT, D3DFORMAT, D3DMULTISAMPLE_TYPE, DWORD,
                                               WINBOOL, IDirect3DSurface9**, HANDLE*) override;
  HRESULT STDMETHODCALLTYPE UpdateSurface(IDirect3DSurface9*, const RECT*, IDirect3DSurface9*,
                                          const POINT*) override;
  HRESULT STDMETHODCALLTYPE UpdateTexture(IDirect3DBaseTexture9*,
                                          IDirect3DBaseTexture9*) override;
  HRESULT STDMETHODCALLTYPE GetRenderTargetData(IDirect3DSurface9*, IDirect3DSurface9*) override;
  HRESULT STDMETHODCALLTYPE GetFrontBufferData(UINT, IDirect3DSurface9*) override;
  HRESULT STDMETHODCALLTYPE StretchRect(IDirect3DSurface9*, const RECT*, IDirect3DSurface9*,
                                        const RECT*, D3DTEXTUREFILTERTYPE) override;
  HRESULT STDMETHODCALLTYPE ColorFill(IDirect3DSurface9*, const RECT*, D3DCOLOR) override;
  HRESULT STDMETHODCALLTYPE CreateOffscreenPlainSurface(UINT, UINT, D3DFORMAT, D3DPOOL,
                                                        IDirect3DSurface9**, HANDLE*) override;
  HRESULT STDMETHODCALLTYPE GetTransform(D3DTRANSFORMSTATETYPE, D3DMATRIX*) override;
  HRESULT STDMETHODCALLTYPE MultiplyTransform(D3DTRANSFORMSTATETYPE, const D3DMATRIX*) override;
  HRESULT STDMETHODCALLTYPE SetViewport(const D3DVIEWPORT9*) override;
  HRESULT STDMETHODCALLTYPE GetViewport(D3DVIEWPORT9*) override;
  HRESULT STDMETHODCALLTYPE SetMaterial(const D3DMATERIAL9*) override;
  HRESULT STDMETHODCALLTYPE GetMaterial(D3DMATERIAL9*) override;
  HRESULT STDMETHODCALLTYPE SetLight(DWORD, const D3DLIGHT9*) override;
  HRESULT STDMETHODCALLTYPE GetLight(DWORD, D3DLIGHT9*) override;
  HRESULT STDMETHODCALLTYPE GetLightEnable(DWORD, WINBOOL*) override;
  HRESULT STDMETHODCALLTYPE SetClipPlane(DWORD, const float*) override;
  HRESULT STDMETHODCALLTYPE GetClipPlane(DWORD, float*) override;
  HRESULT STDMETHODCALLTYPE GetRenderState(D3DRENDERSTATETYPE, DWORD*) override;
  HRESULT STDMETHODCALLTYPE CreateStateBlock(D3DSTATEBLOCKTYPE, IDirect3DStateBlock9**) override;
  HRESULT STDMETHODCALLTYPE BeginStateBlock() override;
  HRESULT STDMETHODCALLTYPE EndStateBlock(IDirect3DStateBlock9**) override;
  HRESULT STDMETHODCALLTYPE SetClipStatus(const D3DCLIPSTATUS9*) override;
  HRESULT STDMETHODCALLTYPE GetClipStatus(D3DCLIPSTATUS9*) override;
  HRESULT STDMETHODCALLTYPE GetTexture(DWORD, IDirect3DBaseTexture9**) override;
  HRESULT STDMETHODCALLTYPE GetTextureStageState(DWORD, D3DTEXTURESTAGESTATETYPE,
                                                 DWORD*) override;
  HRESULT STDMETHODCALLTYPE GetSamplerState(DWORD, D3DSAMPLERSTATETYPE, DWORD*) override;
  HRESULT STDMETHODCALLTYPE ValidateDevice(DWORD*) override;
  HRESULT STDMETHODCALLTYPE SetPaletteEntries(UINT, const PALETTEENTRY*) override;
  HRESULT STDMETHODCALLTYPE GetPaletteEntries(UINT, PALETTEENTRY*) override;
  HRESULT STDMETHODCALLTYPE SetCurrentTexturePalette(UINT) override;
  HRESULT STDMETHODCALLTYPE GetCurrentTexturePalette(UINT*) override;
  HRESULT STDMETHODCALLTYPE SetScissorRect(const RECT*) override;
  HRESULT STDMETHODCALLTYPE GetScissorRect(RECT*) override;
  HRESULT STDMETHODCALLTYPE SetSoftwareVertexProcessing(WINBOOL) override;
  WINBOOL STDMETHODCALLTYPE GetSoftwareVertexProcessing() override;
  HRESULT STDMETHODCALLTYPE SetNPatchMode(float) override;
  float STDMETHODCALLTYPE GetNPatchMode() override;
  HRESULT STDMETHODCALLTYPE DrawPrimitive(D3DPRIMITIVETYPE, UINT, UINT) override;
  HRESULT STDMETHODCALLTYPE DrawIndexedPrimitive(D3DPRIMITIVETYPE, INT, UINT, UINT, UINT,
                                                 UINT) override;
  HRESULT STDMETHODCALLTYPE DrawIndexedPrimitiveUP(D3DPRIMITIVETYPE, UINT, UINT, UINT,
                                                   const void*, D3DFORMAT, const void*,
                                                   UINT) override;
  HRESULT STDMETHODCALLTYPE ProcessVertices(UINT, UINT, UINT, IDirect3DVertexBuffer9*,
                                            IDirect3DVertexDeclaration9*, DWORD) override;
  HRESULT STDMETHODCALLTYPE CreateVertexDeclaration(const D3DVERTEXELEMENT9*,
                                                    IDirect3DVertexDeclaration9**) override;
  HRESULT STDMETHODCALLTYPE SetVertexDeclaration(IDirect3DVertexDeclaration9*) override;
  HRESULT STDMETHODCALLTYPE GetVertexDeclaration(IDirect3DVertexDeclaration9**) override;
  HRESULT STDMETHODCALLTYPE GetFVF(DWORD*) override;
  HRESULT STDMETHODCALLTYPE CreateVertexShader(const DWORD*, IDirect3DVertexShader9**) override;
  HRESULT STDMETHODCALLTYPE SetVertexShader(IDirect3DVertexShader9*) override;
  HRESULT STDMETHODCALLTYPE GetVertexShader(IDirect3DVertexShader9**) override;
  HRESULT STDMETHODCALLTYPE SetVertexShaderConstantF(UINT, const float*, UINT) override;
  HRESULT STDMETHODCALLTYPE GetVertexShaderConstantF(UINT, float*, UINT) override;
  HRESULT STDMETHODCALLTYPE SetVertexShaderConstantI(UINT, const int*, UINT) override;
  HRESULT STDMETHODCALLTYPE GetVertexShaderConstantI(UINT, int*, UINT) override;
  HRESULT STDMETHODCALLTYPE SetVertexShaderConstantB(UINT, const WINBOOL*, UINT) override;
  HRESULT STDMETHODCALLTYPE GetVertexShaderConstantB(UINT, WINBOOL*, UINT) override;
  HRESULT STDMETHODCALLTYPE SetStreamSource(UINT, IDirect3DVertexBuffer9*, UINT, UINT) override;
  HRESULT STDMETHODCALLTYPE GetStreamSource(UINT, IDirect3DVertexBuffer9**, UINT*,
                                            UINT*) override;
  HRESULT STDMETHODCALLTYPE SetStreamSourceFreq(UINT, UINT) override;
  HRESULT STDMETHODCALLTYPE GetStreamSourceFreq(UINT, UINT*) override;
  HRESULT STDMETHODCALLTYPE SetIndices(IDirect3DIndexBuffer9*) override;
  HRESULT STDMETHODCALLTYPE GetIndices(IDirect3DIndexBuffer9**) override;
  HRESULT STDMETHODCALLTYPE CreatePixelShader(const DWORD*, IDirect3DPixelShader9**) override;
  HRESULT STDMETHODCALLTYPE SetPixelShader(IDirect3DPixelShader9*) override;
  HRESULT STDMETHODCALLTYPE GetPixelShader(IDirect3DPixelShader9**) override;
  HRESULT STDMETHODCALLTYPE SetPixelShaderConstantF(UINT, const float*, UINT) override;
  HRESULT STDMETHODCALLTYPE GetPixelShaderConstantF(UINT, float*, UINT) override;
  HRESULT STDMETHODCALLTYPE SetPixelShaderConstantI(UINT, const int*, UINT) override;
  HRESULT STDMETHODCALLTYPE GetPixelShaderConstantI(UINT, int*, UINT) override;
  HRESULT STDMETHODCALLTYPE SetPixelShaderConstantB(UINT, const WINBOOL*, UINT) override;
  HRESULT STDMETHODCALLTYPE GetPixelShaderConstantB(UINT, WINBOOL*, UINT) override;
  HRESULT STDMETHODCALLTYPE DrawRectPatch(UINT, const float*, const D3DRECTPATCH_INFO*) override;
  HRESULT STDMETHODCALLTYPE DrawTriPatch(UINT, const float*, const D3DTRIPATCH_INFO*) override;
  HRESULT STDMETHODCALLTYPE DeletePatch(UINT) override;
  HRESULT STDMETHODCALLTYPE CreateQuery(D3DQUERYTYPE, IDirect3DQuery9**) override;
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
