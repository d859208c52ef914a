// Fonts in 32 numbered slots, drawn at a point in one colour. A slot number
// outside the table is refused and nothing is touched. Text is in the code page,
// or UTF-8 after a start with START_UTF8_TEXT (drawn through the wide calls).
#include <limits.h>
#include <stdarg.h>
#include <string.h>

#include <vector>

#include "graphics/d3dx_entry.h"
#include "graphics/graphics.h"
#include "graphics/graphics_state.h"
#include "graphics/text_format.h"
#include "util/release.h"
#include "util/utf8.h"

static bool IsSlot(int slot) { return slot >= 0 && slot < FONT_SLOTS; }

void SetUtf8Text(int utf8) { Gfx.utf8Text = utf8 != 0; }

// UTF-8 text as UTF-16 for the fonts' wide calls; on the stack when short.
class WideText {
 public:
  explicit WideText(const char* text) {
    const uint32_t bytes = (uint32_t)strlen(text);
    units_ = Utf8ToUtf16(text, bytes, local_, LOCAL_UNITS);
    if (units_ > LOCAL_UNITS) {
      heap_.resize(units_);
      Utf8ToUtf16(text, bytes, heap_.data(), units_);
    }
  }
  const WCHAR* Units() const {
    return reinterpret_cast<const WCHAR*>(units_ > LOCAL_UNITS ? heap_.data() : local_);
  }
  INT Count() const { return (INT)units_; }

 private:
  enum { LOCAL_UNITS = 512 };
  uint16_t local_[LOCAL_UNITS];
  std::vector<uint16_t> heap_;
  uint32_t units_;
};

// The text laid out from the rectangle's corner, in the encoding the start chose.
static void DrawFontText(ID3DXFont* font, const char* text, RECT* rect, DWORD format,
                     D3DCOLOR color) {
  if (!Gfx.utf8Text) {
    font->DrawTextA(NULL, text, (INT)strlen(text), rect, format, color);
    return;
  }
  const WideText wide(text);
  font->DrawTextW(NULL, wide.Units(), wide.Count(), rect, format, color);
}

// Truncation toward zero; NaN and values beyond a LONG are pinned instead of
// converted with undefined results.
static LONG ToPixel(float value) {
  if (value != value) return 0;
  if (value <= (float)LONG_MIN) return LONG_MIN;
  if (value >= (float)LONG_MAX) return LONG_MAX;
  return (LONG)value;
}

HRESULT CreateFontSlot(int slot, const char* face, INT height) {
  // Smoothed glyphs for every font; for this session only, nobody is told.
  SystemParametersInfoA(SPI_SETFONTSMOOTHING, TRUE, NULL, 0);
  if (!IsSlot(slot) || Gfx.lpDevice == NULL || Gfx.fonts[slot] != NULL) return E_FAIL;
  HRESULT hr;
  if (D3DXEntries.createFont != NULL) {
    hr = D3DXEntries.createFont(Gfx.lpDevice, height, 0, FW_NORMAL, 1, FALSE, DEFAULT_CHARSET,
                                OUT_OUTLINE_PRECIS, PROOF_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                                face, &Gfx.fonts[slot]);
  } else {  // the same font drawn through GDI
    D3DXFONT_DESCA desc = {height, 0, FW_NORMAL, 1, FALSE, DEFAULT_CHARSET, OUT_OUTLINE_PRECIS,
                           PROOF_QUALITY, DEFAULT_PITCH | FF_DONTCARE, ""};
    if (face != NULL) lstrcpynA(desc.FaceName, face, LF_FACESIZE);
    hr = CreateGdiFont(Gfx.lpDevice, &desc, &Gfx.fonts[slot]);
  }
  if (hr != D3D_OK || Gfx.fonts[slot] == NULL) {
    ReleaseAndNull(&Gfx.fonts[slot]);
    return E_FAIL;
  }
  return 0;
}

HRESULT DrawString(int slot, float x, float y, D3DCOLOR color, const char* text) {
  if (!IsSlot(slot) || Gfx.fonts[slot] == NULL || text == NULL) return E_FAIL;
  // An empty rectangle with no clipping: the text is laid out from its corner.
  RECT rect = {ToPixel(x), ToPixel(y), 0, 0};
  DrawFontText(Gfx.fonts[slot], text, &rect, DT_NOCLIP, color);
  return 0;
}

// DT_CALCRECT: the font lays the text out as DrawString would and only reports the
// rectangle it covers.
HRESULT MeasureString(int slot, const char* text, SIZE* size) {
  if (!IsSlot(slot) || Gfx.fonts[slot] == NULL || text == NULL || size == NULL) {
    if (size != NULL) size->cx = size->cy = 0;
    return E_FAIL;
  }
  RECT rect = {0, 0, 0, 0};
  DrawFontText(Gfx.fonts[slot], text, &rect, DT_NOCLIP | DT_CALCRECT, 0);
  size->cx = rect.right - rect.left;
  size->cy = rect.bottom - rect.top;
  return 0;
}

HRESULT DrawStringF(int slot, float x, float y, D3DCOLOR color, const char* format, ...) {
  if (!IsSlot(slot) || Gfx.fonts[slot] == NULL) return E_FAIL;
  va_list args;
  va_start(args, format);
  FormatText(Gfx.formatBuffer, sizeof Gfx.formatBuffer, format, args);
  va_end(args);
  return DrawString(slot, x, y, color, Gfx.formatBuffer);
}

HRESULT InvalidateFont(int slot) {
  if (!IsSlot(slot)) return E_FAIL;
  return Gfx.fonts[slot] == NULL ? 0 : Gfx.fonts[slot]->OnLostDevice();
}

HRESULT RestoreFont(int slot) {
  if (!IsSlot(slot)) return E_FAIL;
  return Gfx.fonts[slot] == NULL ? 0 : Gfx.fonts[slot]->OnResetDevice();
}
