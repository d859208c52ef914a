// Fonts without D3DX: the slot's GDI font rendered glyph by glyph, on first use,
// into a glyph atlas (a managed texture, so a device reset leaves it alone), text
// drawn as one batch of quads over it in the text's colour. When the atlas is
// full the quads laid out so far are drawn and it starts again empty. It offers
// the ID3DXFont interface, so the font table and the device-loss handling treat
// both kinds alike.
#include <stdlib.h>
#include <string.h>

#include <new>
#include <vector>

#include "graphics/d3dx_entry.h"
#include "graphics/glyph_layout.h"
#include "util/utf8.h"

namespace {

struct StateValue {
  DWORD state, value;
};

// What the text's drawing sets: blended by the atlas's alpha in the vertex colour,
// sampled texel for texel, nothing else in the way. Saved before and put back
// after, as D3DX's own text drawing does.
const StateValue kRenderStates[] = {
    {D3DRS_ALPHABLENDENABLE, TRUE},     {D3DRS_SRCBLEND, D3DBLEND_SRCALPHA},
    {D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA}, {D3DRS_BLENDOP, D3DBLENDOP_ADD},
    {D3DRS_SEPARATEALPHABLENDENABLE, FALSE}, {D3DRS_ALPHATESTENABLE, FALSE},
    {D3DRS_ZENABLE, D3DZB_FALSE},       {D3DRS_CULLMODE, D3DCULL_NONE},
    {D3DRS_FOGENABLE, FALSE},           {D3DRS_LIGHTING, FALSE},
};
const StateValue kStageStates[] = {
    {D3DTSS_COLOROP, D3DTOP_MODULATE}, {D3DTSS_COLORARG1, D3DTA_TEXTURE},
    {D3DTSS_COLORARG2, D3DTA_DIFFUSE}, {D3DTSS_ALPHAOP, D3DTOP_MODULATE},
    {D3DTSS_ALPHAARG1, D3DTA_TEXTURE}, {D3DTSS_ALPHAARG2, D3DTA_DIFFUSE},
};
const StateValue kSamplerStates[] = {
    {D3DSAMP_MINFILTER, D3DTEXF_POINT}, {D3DSAMP_MAGFILTER, D3DTEXF_POINT},
    {D3DSAMP_MIPFILTER, D3DTEXF_NONE},  {D3DSAMP_ADDRESSU, D3DTADDRESS_CLAMP},
    {D3DSAMP_ADDRESSV, D3DTADDRESS_CLAMP},
};
enum {
  RENDER_STATES = sizeof kRenderStates / sizeof kRenderStates[0],
  STAGE_STATES = sizeof kStageStates / sizeof kStageStates[0],
  SAMPLER_STATES = sizeof kSamplerStates / sizeof kSamplerStates[0],
  QUADS_PER_CALL = 10000,  // well under any device's primitive limit
};

class GdiFont final : public ID3DXFont {
 public:
  GdiFont(IDirect3DDevice9* device, const D3DXFONT_DESCA& desc) : device_(device), desc_(desc) {
    device_->AddRef();  // as D3DX's fonts hold theirs
  }

  HRESULT Init() {
    LOGFONTA font = {};
    font.lfHeight = desc_.Height;
    font.lfWidth = desc_.Width;
    font.lfWeight = desc_.Weight;
    font.lfItalic = (BYTE)desc_.Italic;
    font.lfCharSet = desc_.CharSet;
    font.lfOutPrecision = desc_.OutputPrecision;
    font.lfQuality = desc_.Quality;
    font.lfPitchAndFamily = desc_.PitchAndFamily;
    memcpy(font.lfFaceName, desc_.FaceName, sizeof font.lfFaceName);
    font.lfFaceName[LF_FACESIZE - 1] = 0;
    dc_ = CreateCompatibleDC(NULL);
    font_ = CreateFontIndirectA(&font);
    if (dc_ == NULL || font_ == NULL) return E_FAIL;
    oldFont_ = SelectObject(dc_, font_);
    if (!::GetTextMetricsA(dc_, &metrics_)) return E_FAIL;
    atlas_.cellWidth = metrics_.tmMaxCharWidth + 2;
    atlas_.cellHeight = metrics_.tmHeight + 2;
    atlas_.lineHeight = metrics_.tmHeight;
    return MakeAtlas();
  }

  // IUnknown
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
    if (out == NULL) return E_POINTER;
    // The font interface's id, written here: taking it from the D3DX import
    // library would bring the DLL back.
    static const GUID font = {0xd79dbb70, 0x5f21, 0x4d36, {0xbb, 0xc2, 0xff, 0x52, 0x5c, 0x21, 0x3c, 0xdc}};
    if (IsEqualGUID(riid, IID_IUnknown) || IsEqualGUID(riid, font)) {
      *out = this;
      AddRef();
      return S_OK;
    }
    *out = NULL;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return (ULONG)InterlockedIncrement(&refs_); }
  ULONG STDMETHODCALLTYPE Release() override {
    const LONG refs = InterlockedDecrement(&refs_);
    if (refs == 0) delete this;
    return (ULONG)refs;
  }

  // ID3DXFont: what a game may ask of a font; glyph-level access is D3DX's alone.
  HRESULT STDMETHODCALLTYPE GetDevice(IDirect3DDevice9** device) override {
    if (device == NULL) return D3DERR_INVALIDCALL;
    device_->AddRef();
    *device = device_;
    return D3D_OK;
  }
  HRESULT STDMETHODCALLTYPE GetDescA(D3DXFONT_DESCA* desc) override {
    if (desc == NULL) return D3DERR_INVALIDCALL;
    *desc = desc_;
    return D3D_OK;
  }
  HRESULT STDMETHODCALLTYPE GetDescW(D3DXFONT_DESCW*) override { return E_NOTIMPL; }
  WINBOOL STDMETHODCALLTYPE GetTextMetricsA(TEXTMETRICA* metrics) override {
    if (metrics == NULL) return FALSE;
    *metrics = metrics_;
    return TRUE;
  }
  WINBOOL STDMETHODCALLTYPE GetTextMetricsW(TEXTMETRICW*) override { return FALSE; }
  HDC STDMETHODCALLTYPE GetDC() override { return dc_; }
  HRESULT STDMETHODCALLTYPE GetGlyphData(UINT, IDirect3DTexture9**, RECT*, POINT*) override {
    return E_NOTIMPL;
  }
  // Glyphs are rendered when first drawn or measured.
  HRESULT STDMETHODCALLTYPE PreloadCharacters(UINT, UINT) override { return D3D_OK; }
  HRESULT STDMETHODCALLTYPE PreloadGlyphs(UINT, UINT) override { return D3D_OK; }
  HRESULT STDMETHODCALLTYPE PreloadTextA(const char*, INT) override { return D3D_OK; }
  HRESULT STDMETHODCALLTYPE PreloadTextW(const WCHAR*, INT) override { return D3D_OK; }
  // The atlas is managed: nothing to give up before a reset or to make after it.
  HRESULT STDMETHODCALLTYPE OnLostDevice() override { return D3D_OK; }
  HRESULT STDMETHODCALLTYPE OnResetDevice() override { return D3D_OK; }

  // Laid out from the rectangle's top-left corner, left aligned, not clipped
  // (the only layout the framework asks for); DT_CALCRECT only measures. Returns
  // the text's height, 0 when nothing was done.
  INT STDMETHODCALLTYPE DrawTextW(ID3DXSprite*, const WCHAR* text, INT count, RECT* rect,
                                  DWORD format, D3DCOLOR color) override {
    if (text == NULL || rect == NULL) return 0;
    if (count < 0) count = lstrlenW(text);
    return Layout(reinterpret_cast<const uint16_t*>(text), (uint32_t)count, rect, format, color);
  }
  // The code page's text read as D3DX reads it: turned into UTF-16 first.
  INT STDMETHODCALLTYPE DrawTextA(ID3DXSprite*, const char* text, INT count, RECT* rect,
                                  DWORD format, D3DCOLOR color) override {
    if (text == NULL || rect == NULL) return 0;
    if (count < 0) count = (INT)strlen(text);
    if (count == 0) return Layout(NULL, 0, rect, format, color);
    // One unit for each byte at most.
    if (wide_.size() < (size_t)count) wide_.resize((size_t)count);
    const int units = MultiByteToWideChar(CP_ACP, 0, text, count, wide_.data(), count);
    return Layout(reinterpret_cast<const uint16_t*>(wide_.data()), (uint32_t)units, rect, format,
                  color);
  }

 private:
  ~GdiFont() {
    if (texture_ != NULL) texture_->Release();
    if (dc_ != NULL && oldFont_ != NULL) SelectObject(dc_, oldFont_);
    if (font_ != NULL) DeleteObject(font_);
    if (dc_ != NULL) DeleteDC(dc_);
    device_->Release();
  }

  INT Layout(const uint16_t* text, uint32_t count, RECT* rect, DWORD format, D3DCOLOR color) {
    const bool measure = (format & DT_CALCRECT) != 0;
    // Every unit gives at most one quad.
    if (!measure && vertices_.size() < (size_t)count * QUAD_VERTICES) {
      vertices_.resize((size_t)count * QUAD_VERTICES);
    }
    TextPen pen = {rect->left, rect->top, 0, 0, 0};
    int quads = 0;
    for (uint32_t i = 0; i < count;) {
      const uint32_t code = NextUtf16(text, count, &i);
      const GlyphMetrics* glyph = code == '\n' || code == '\r' ? NULL : Glyph(code, &quads);
      Vertex2D* out = measure ? NULL : &vertices_[(size_t)quads * QUAD_VERTICES];
      quads += AdvancePen(&pen, &atlas_, code, glyph, color, out);
    }
    if (!measure && quads > 0) Draw(quads);
    int width = 0, height = 0;
    PenExtent(&pen, &atlas_, &width, &height);
    if (measure) {
      rect->right = rect->left + width;
      rect->bottom = rect->top + height;
    }
    return height;
  }

  // The atlas, every texel transparent white until glyphs are rendered into it.
  HRESULT MakeAtlas() {
    const UINT width = atlas_.cellWidth * GLYPH_GRID, height = atlas_.cellHeight * GLYPH_GRID;
    if (device_->CreateTexture(width, height, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &texture_,
                               NULL) != D3D_OK) {
      texture_ = NULL;
      return E_FAIL;
    }
    D3DLOCKED_RECT locked;
    if (texture_->LockRect(0, &locked, NULL, 0) != D3D_OK) return E_FAIL;
    for (UINT y = 0; y < height; ++y) {
      DWORD* row = reinterpret_cast<DWORD*>(static_cast<BYTE*>(locked.pBits) + y * locked.Pitch);
      for (UINT x = 0; x < width; ++x) row[x] = 0x00FFFFFF;
    }
    texture_->UnlockRect(0);
    return D3D_OK;
  }

  // The code point's glyph, rendered into the atlas if it is not there yet. A
  // full atlas is emptied first, after drawing the *pending quads that use it.
  const GlyphMetrics* Glyph(uint32_t code, int* pending) {
    const GlyphMetrics* found = FindGlyph(&atlas_, code);
    if (found != NULL) return found;
    GlyphMetrics glyph = {};
    Outline(code, &glyph);
    const GlyphMetrics* kept = AddGlyph(&atlas_, code, &glyph);
    if (kept == NULL) {
      if (*pending > 0) Draw(*pending);
      *pending = 0;
      ClearGlyphs(&atlas_);
      kept = AddGlyph(&atlas_, code, &glyph);
    }
    if (kept != NULL && kept->width > 0 && kept->height > 0) WriteCell(*kept);
    return kept;
  }

  // The glyph's metrics as GDI renders it in 65 levels of grey, its bitmap left
  // in bitmap_. A character the face lacks comes out as the face's missing
  // glyph; one past the 16-bit range, which GDI takes no code for, is that glyph.
  void Outline(uint32_t code, GlyphMetrics* glyph) {
    const MAT2 identity = {{0, 1}, {0, 0}, {0, 0}, {0, 1}};
    const bool missing = code > 0xFFFF;
    const UINT format = missing ? GGO_GRAY8_BITMAP | GGO_GLYPH_INDEX : GGO_GRAY8_BITMAP;
    const UINT what = missing ? 0 : code;  // glyph 0: the missing glyph
    GLYPHMETRICS gm;
    DWORD size = GetGlyphOutlineW(dc_, what, format, &gm, 0, NULL, &identity);
    if (size == GDI_ERROR) {
      SIZE extent;  // no outline: at least the pen's step
      const WCHAR one = (WCHAR)code;
      if (!missing && code >= ' ' && GetTextExtentPoint32W(dc_, &one, 1, &extent)) {
        glyph->advance = (int16_t)extent.cx;
      }
      return;
    }
    glyph->advance = (int16_t)gm.gmCellIncX;
    if (size == 0 || code < ' ') return;  // a blank (space), or a control character
    bitmap_.resize(size);
    if (GetGlyphOutlineW(dc_, what, format, &gm, size, bitmap_.data(), &identity) == GDI_ERROR) {
      return;
    }
    pitch_ = (gm.gmBlackBoxX + 3) & ~3u;  // rows are DWORD aligned
    const UINT w = gm.gmBlackBoxX < (UINT)atlas_.cellWidth ? gm.gmBlackBoxX : atlas_.cellWidth;
    const UINT h = gm.gmBlackBoxY < (UINT)atlas_.cellHeight ? gm.gmBlackBoxY : atlas_.cellHeight;
    if ((size_t)pitch_ * h > bitmap_.size()) return;
    glyph->left = (int16_t)gm.gmptGlyphOrigin.x;
    glyph->top = (int16_t)(metrics_.tmAscent - gm.gmptGlyphOrigin.y);
    glyph->width = (uint16_t)w;
    glyph->height = (uint16_t)h;
  }

  // The glyph's cell: cleared of what it held, then bitmap_ as alpha over white.
  void WriteCell(const GlyphMetrics& glyph) {
    const LONG cellX = glyph.cell % GLYPH_GRID * atlas_.cellWidth;
    const LONG cellY = glyph.cell / GLYPH_GRID * atlas_.cellHeight;
    const RECT cell = {cellX, cellY, cellX + atlas_.cellWidth, cellY + atlas_.cellHeight};
    D3DLOCKED_RECT locked;
    if (texture_->LockRect(0, &locked, &cell, 0) != D3D_OK) return;
    for (int y = 0; y < atlas_.cellHeight; ++y) {
      DWORD* row = reinterpret_cast<DWORD*>(static_cast<BYTE*>(locked.pBits) + y * locked.Pitch);
      for (int x = 0; x < atlas_.cellWidth; ++x) {
        const UINT level = x < glyph.width && y < glyph.height ? bitmap_[y * pitch_ + x] : 0;
        row[x] = (DWORD)(((level > 64 ? 64 : level) * 255 + 32) / 64) << 24 | 0x00FFFFFF;
      }
    }
    texture_->UnlockRect(0);
  }

  void Draw(int quads) {
    IDirect3DDevice9* device = device_;
    DWORD saved[RENDER_STATES + STAGE_STATES + SAMPLER_STATES + 1] = {};
    IDirect3DBaseTexture9* oldTexture = NULL;
    device->GetTexture(0, &oldTexture);
    int n = 0;
    for (const StateValue& s : kRenderStates) device->GetRenderState((D3DRENDERSTATETYPE)s.state, &saved[n++]);
    for (const StateValue& s : kStageStates) device->GetTextureStageState(0, (D3DTEXTURESTAGESTATETYPE)s.state, &saved[n++]);
    for (const StateValue& s : kSamplerStates) device->GetSamplerState(0, (D3DSAMPLERSTATETYPE)s.state, &saved[n++]);
    device->GetFVF(&saved[n]);

    for (const StateValue& s : kRenderStates) device->SetRenderState((D3DRENDERSTATETYPE)s.state, s.value);
    for (const StateValue& s : kStageStates) device->SetTextureStageState(0, (D3DTEXTURESTAGESTATETYPE)s.state, s.value);
    for (const StateValue& s : kSamplerStates) device->SetSamplerState(0, (D3DSAMPLERSTATETYPE)s.state, s.value);
    device->SetTexture(0, texture_);
    device->SetFVF(VERTEX2D_FVF);
    for (int first = 0; first < quads; first += QUADS_PER_CALL) {
      const int part = quads - first < QUADS_PER_CALL ? quads - first : QUADS_PER_CALL;
      device->DrawPrimitiveUP(D3DPT_TRIANGLELIST, part * 2, &vertices_[first * QUAD_VERTICES],
                              VERTEX2D_STRIDE);
    }

    n = 0;
    for (const StateValue& s : kRenderStates) device->SetRenderState((D3DRENDERSTATETYPE)s.state, saved[n++]);
    for (const StateValue& s : kStageStates) device->SetTextureStageState(0, (D3DTEXTURESTAGESTATETYPE)s.state, saved[n++]);
    for (const StateValue& s : kSamplerStates) device->SetSamplerState(0, (D3DSAMPLERSTATETYPE)s.state, saved[n++]);
    device->SetFVF(saved[n]);
    device->SetTexture(0, oldTexture);
    if (oldTexture != NULL) oldTexture->Release();  // GetTexture added a reference
  }

  LONG refs_ = 1;
  IDirect3DDevice9* device_;
  D3DXFONT_DESCA desc_;
  HDC dc_ = NULL;
  HFONT font_ = NULL;
  HGDIOBJ oldFont_ = NULL;
  TEXTMETRICA metrics_ = {};
  GlyphAtlas atlas_ = {};
  IDirect3DTexture9* texture_ = NULL;
  std::vector<Vertex2D> vertices_;
  std::vector<WCHAR> wide_;     // DrawTextA's text as UTF-16
  std::vector<BYTE> bitmap_;    // the last glyph rendered, rows pitch_ bytes apart
  UINT pitch_ = 0;
};

}  // namespace

HRESULT CreateGdiFont(IDirect3DDevice9* device, const D3DXFONT_DESCA* desc, ID3DXFont** font) {
  if (font == NULL) return D3DERR_INVALIDCALL;
  *font = NULL;
  if (device == NULL || desc == NULL) return D3DERR_INVALIDCALL;
  GdiFont* made = new (std::nothrow) GdiFont(device, *desc);
  if (made == NULL) return E_OUTOFMEMORY;
  if (made->Init() != D3D_OK) {
    made->Release();
    return E_FAIL;
  }
  *font = made;
  return D3D_OK;
}
