// UTF-8 text, point sampling and the game's render targets on the real
// Direct3D 9 (and D3DX where the run has it), read back from the targets.
#include <stdio.h>

#include <algorithm>
#include <set>
#include <string>

#include "graphics/d3dx_entry.h"
#include "graphics/internal.h"
#include "real_device.h"

namespace {

// UTF-8 of a code point below U+10000.
std::string Utf8(uint32_t c) {
  std::string s;
  if (c < 0x80) return s += (char)c, s;
  if (c < 0x800) return s += (char)(0xC0 | c >> 6), s += (char)(0x80 | (c & 0x3F)), s;
  s += (char)(0xE0 | c >> 12), s += (char)(0x80 | (c >> 6 & 0x3F)), s += (char)(0x80 | (c & 0x3F));
  return s;
}

int Lit(const std::vector<DWORD>& pixels) {
  return (int)std::count_if(pixels.begin(), pixels.end(), [](DWORD p) { return p != 0; });
}
int Differing(const std::vector<DWORD>& a, const std::vector<DWORD>& b) {
  int n = 0;
  for (size_t i = 0; i < a.size() && i < b.size(); ++i) n += a[i] != b[i];
  return n;
}

class RealText : public RealDevice {
 protected:
  void TearDown() override {
    SetUtf8Text(0);
    RealDevice::TearDown();
  }
  // The text in green at (2, 4) on black, in the encoding given; flip target 0 read back.
  static std::vector<DWORD> Draw(int slot, const std::string& text, int utf8) {
    SetUtf8Text(utf8);
    DrawInto(0, 0xFF000000, [&] { EXPECT_EQ(DrawString(slot, 2, 4, 0xFF00FF00, text.c_str()), 0); });
    SetUtf8Text(0);
    return Read(Gfx.lpFlipSurface[0]);
  }
};

// Both text paths in one run where D3DX is there: slot 24 through it (or built
// in without it), slot 25 built in.
TEST_F(RealText, Utf8TextDrawsWhatTheCodePageDrawsAndLettersBeyondIt) {
  WCHAR e = 0;
  if (MultiByteToWideChar(CP_ACP, 0, "\xEB", 1, &e, 1) != 1 || e != 0xEB) {
    GTEST_SKIP() << "the code page has no \\xEB for e with diaeresis";
  }
  const D3DXEntryPoints withD3DX = D3DXEntries;
  ASSERT_EQ(CreateFontSlot(24, "Tahoma", 16), 0);
  D3DXEntries = {};
  ASSERT_EQ(CreateFontSlot(25, "Tahoma", 16), 0);
  D3DXEntries = withD3DX;
  const std::string cyrillic = "\xD0\x96\xD0\xB8\xD0\xB7\xD0\xBD\xD1\x8C";  // Жизнь
  for (int slot : {24, 25}) {
    SCOPED_TRACE(slot == 24 && withD3DX.createFont != NULL ? "D3DX" : "built in");
    const std::vector<DWORD> codePage = Draw(slot, "Zo\xEB", 0);
    const std::vector<DWORD> utf8 = Draw(slot, "Zo\xC3\xAB", 1);
    const std::vector<DWORD> garbled = Draw(slot, "Zo\xC3\xAB", 0);  // as before: two letters
    EXPECT_EQ(Differing(codePage, utf8), 0);
    EXPECT_GT(Differing(codePage, garbled), 10);
    SIZE a = {}, b = {};
    EXPECT_EQ(MeasureString(slot, "Zo\xEB", &a), 0);
    SetUtf8Text(1);
    EXPECT_EQ(MeasureString(slot, "Zo\xC3\xAB", &b), 0);
    SetUtf8Text(0);
    EXPECT_TRUE(a.cx == b.cx && a.cy == b.cy) << a.cx << " x " << a.cy << ", " << b.cx << " x " << b.cy;

    const std::vector<DWORD> letters = Draw(slot, cyrillic, 1);
    const std::vector<DWORD> marks = Draw(slot, "?????", 1);
    const std::vector<DWORD> missing = Draw(slot, "\xCD\xB8\xCD\xB8\xCD\xB8\xCD\xB8\xCD\xB8", 1);  // U+0378
    printf("%s: Zo\\xEB %d lit, identical in UTF-8; garbled %d differ; Cyrillic %d lit, %d differ "
           "from '?', %d from the missing glyph\n", slot == 24 ? "slot 24" : "slot 25",
           Lit(codePage), Differing(codePage, garbled), Lit(letters), Differing(letters, marks),
           Differing(letters, missing));
    EXPECT_GT(Lit(letters), 40);
    EXPECT_GT(Differing(letters, marks), 40);
    EXPECT_GT(Differing(letters, missing), 40);
    if (slot == 25) {  // past U+FFFF, where GDI takes no code: the missing glyph
      EXPECT_EQ(Differing(Draw(slot, "\xF0\x9F\x98\x80", 1), Draw(slot, "\xCD\xB8", 1)), 0);
    }
    // Ill-formed bytes draw as U+FFFD would.
    EXPECT_EQ(Differing(Draw(slot, "a\xFF" "b\xE2\x82", 1),
                        Draw(slot, "a\xEF\xBF\xBD" "b\xEF\xBF\xBD", 1)), 0);
  }
}

// 260 distinct characters on two lines, more than the built-in atlas has cells:
// drawn in one call they come out as drawn line by line.
TEST_F(RealText, TheBuiltInAtlasStartsAgainWhenFull) {
  const D3DXEntryPoints withD3DX = D3DXEntries;
  D3DXEntries = {};
  const HRESULT made = CreateFontSlot(26, "Tahoma", 11);
  D3DXEntries = withD3DX;
  ASSERT_EQ(made, 0);
  ASSERT_EQ(CreateTargetSlot(15, 1024, 40), 0);
  std::string first, second;
  for (uint32_t c = 0; c < 130; ++c) first += Utf8(0x100 + c), second += Utf8(0x410 + c);
  std::vector<DWORD> drawn[2];
  SetUtf8Text(1);
  for (int way = 0; way < 2; ++way) {
    ASSERT_EQ(BeginTarget(15), 0);  // outside a frame: its own scene
    if (way == 0) {
      EXPECT_EQ(DrawString(26, 1, 1, 0xFFFFFFFF, (first + "\n" + second).c_str()), 0);
    } else {
      EXPECT_EQ(DrawString(26, 1, 1, 0xFFFFFFFF, first.c_str()), 0);
      EXPECT_EQ(DrawString(26, 1, 1, 0xFFFFFFFF, ("\n" + second).c_str()), 0);
    }
    ASSERT_EQ(EndTarget(), 0);
    drawn[way] = Read(Gfx.targets[15].surface);
  }
  SetUtf8Text(0);
  printf("260 characters: %d pixels lit, %d differ between one call and two\n", Lit(drawn[0]),
         Differing(drawn[0], drawn[1]));
  EXPECT_GT(Lit(drawn[0]), 2000);
  EXPECT_EQ(Differing(drawn[0], drawn[1]), 0);
  EXPECT_EQ(ReleaseTargetSlot(15), 0);
}

TEST_F(RealDevice, PointSamplingKeepsATexturesFourColours) {
  IDirect3DTexture9* texture = NULL;
  ASSERT_EQ(GetDevice()->CreateTexture(2, 2, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &texture, NULL), 0);
  D3DLOCKED_RECT locked;
  ASSERT_EQ(texture->LockRect(0, &locked, NULL, 0), 0);
  const DWORD colours[4] = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFFFFFFFF};
  for (int i = 0; i < 4; ++i) ((DWORD*)((BYTE*)locked.pBits + i / 2 * locked.Pitch))[i % 2] = colours[i];
  texture->UnlockRect(0);
  size_t distinct[2];
  for (DWORD mode : {DRAWMODE_TEXTURE_MODULATE | DRAWMODE_LINEAR2 | DRAWMODE_POINT,
                     DRAWMODE_TEXTURE_MODULATE | DRAWMODE_LINEAR2}) {
    DrawInto(0, 0xFF000000, [&] {
      SetDrawMode(mode);
      GetDevice()->SetTexture(0, texture);
      DrawRect(0, 0, 64, 64, 0xFFFFFFFF);  // 32 times the texture
    });
    const std::vector<DWORD> pixels = Read(Gfx.lpFlipSurface[0]);
    const std::set<DWORD> seen(pixels.begin(), pixels.end());
    distinct[(mode & DRAWMODE_POINT) ? 0 : 1] = seen.size();
    if (mode & DRAWMODE_POINT) {
      for (int i = 0; i < kSize * kSize; ++i) {
        const int texel = (i / kSize / 32) * 2 + i % kSize / 32;
        ASSERT_EQ(pixels[i], colours[texel] & 0xFFFFFF) << "pixel " << i % kSize << ", " << i / kSize;
      }
    }
  }
  printf("2x2 texture at 32x: %zu colours point-sampled, %zu filtered\n", distinct[0], distinct[1]);
  EXPECT_EQ(distinct[0], 4u);
  EXPECT_GT(distinct[1], 4u);

  // Off again by a call without it; back after a reset with RestoreDrawMode.
  DWORD filter = 0;
  SetDrawMode(DRAWMODE_POINT);
  SetDrawMode(DRAWMODE_TEXTURE_MODULATE);
  GetDevice()->GetSamplerState(0, D3DSAMP_MAGFILTER, &filter);
  EXPECT_EQ(filter, (DWORD)D3DTEXF_LINEAR);
  SetDrawMode(DRAWMODE_POINT | DRAWMODE_LINEAR);
  ASSERT_EQ(HandlePresentParam(D3DERR_DEVICENOTRESET, 0), 0);
  GetDevice()->SetSamplerState(0, D3DSAMP_MINFILTER, D3DTEXF_LINEAR);
  EXPECT_EQ(RestoreDrawMode(), 0);
  GetDevice()->GetSamplerState(0, D3DSAMP_MINFILTER, &filter);
  EXPECT_EQ(filter, (DWORD)D3DTEXF_POINT);
  SetDrawMode(0);
  texture->Release();
}

TEST_F(RealDevice, TargetsAreDrawnIntoShownAndEmptiedByALoss) {
  D3DCAPS9 caps;
  ASSERT_EQ(GetDevice()->GetDeviceCaps(&caps), 0);
  EXPECT_EQ(CreateTargetSlot(-1, 8, 8), E_FAIL);
  EXPECT_EQ(CreateTargetSlot(16, 8, 8), E_FAIL);
  EXPECT_EQ(CreateTargetSlot(2, 0, 8), E_FAIL);
  EXPECT_EQ(CreateTargetSlot(2, caps.MaxTextureWidth + 1, 8), E_FAIL);
  EXPECT_EQ(BeginTarget(2), E_FAIL);  // empty
  EXPECT_EQ(EndTarget(), E_FAIL);     // none begun
  EXPECT_EQ(BindTargetTexture(16), E_FAIL);
  EXPECT_EQ(ReleaseTargetSlot(16), E_FAIL);
  EXPECT_EQ(IsTargetContentLost(-1), 0);
  IDirect3DDevice9* const device = Gfx.lpDevice;
  Gfx.lpDevice = NULL;
  EXPECT_EQ(CreateTargetSlot(2, 16, 16), E_FAIL);
  Gfx.lpDevice = device;
  ASSERT_EQ(CreateTargetSlot(2, 16, 16), 0);
  EXPECT_EQ(CreateTargetSlot(2, 16, 16), E_FAIL);  // in use
  ASSERT_EQ(CreateTargetSlot(3, 8, 8), 0);
  Gfx.lpDevice = NULL;
  EXPECT_EQ(BeginTarget(2), E_FAIL);
  Gfx.lpDevice = device;

  // Green pushed for the frame, red pushed inside the target: each where it belongs.
  auto frame = [&](bool drawTarget) {
    DrawInto(0, 0xFF000000, [&] {
      SetDrawMode(DRAWMODE_BLEND_ALPHA | DRAWMODE_TEXTURE_MODULATE);
      if (drawTarget) {
        PushRect(0, 0, 8, 8, 0xFF00FF00);
        ASSERT_EQ(BeginTarget(2), 0);
        EXPECT_EQ(BeginTarget(3), E_FAIL);  // nested
        EXPECT_EQ(BindTargetTexture(2), E_FAIL);  // being drawn into
        EXPECT_EQ(DrawEffectGaussianBlur(0xFFFFFFFF), E_FAIL);
        PushRect(4, 4, 12, 12, 0xFFFF0000);
        ASSERT_EQ(EndTarget(), 0);
      }
      EXPECT_EQ(BindTargetTexture(2), 0);
      DrawRect(32, 32, 48, 48, 0xFFFFFFFF);
      GetDevice()->SetTexture(0, white);
    });
    return Read(Gfx.lpFlipSurface[0]);
  };
  auto at = [](const std::vector<DWORD>& p, int x, int y) { return p[y * kSize + x]; };
  std::vector<DWORD> shown = frame(true);
  EXPECT_EQ(at(shown, 2, 2), 0x00FF00u);    // flushed into the frame before the target began
  EXPECT_EQ(at(shown, 10, 10), 0u);         // the target's quad is not in the frame
  EXPECT_EQ(at(shown, 40, 40), 0xFF0000u);  // the target drawn with a quad: (4..12) + 32
  EXPECT_EQ(at(shown, 34, 34), 0u);         // its transparent part
  int red = 0;
  for (DWORD p : shown) red += p == 0xFF0000u;
  EXPECT_EQ(red, 64);
  EXPECT_EQ(IsTargetContentLost(2), 0);

  ASSERT_EQ(HandlePresentParam(D3DERR_DEVICENOTRESET, 0), 0);  // a real reset
  EXPECT_EQ(IsTargetContentLost(2), 1);
  EXPECT_EQ(IsTargetContentLost(3), 1);
  shown = frame(false);
  EXPECT_EQ(at(shown, 40, 40), 0u);  // emptied
  shown = frame(true);
  EXPECT_EQ(at(shown, 40, 40), 0xFF0000u);
  EXPECT_EQ(IsTargetContentLost(2), 0);
  EXPECT_EQ(IsTargetContentLost(3), 1);  // until its own BeginTarget
  printf("target: %d red pixels shown before the loss; lost %d/%d after it\n", red, 1, 1);

  EXPECT_EQ(ReleaseTargetSlot(2), 0);
  EXPECT_EQ(ReleaseTargetSlot(3), 0);
  EXPECT_EQ(BindTargetTexture(2), E_FAIL);
  EXPECT_EQ(IsTargetContentLost(3), 0);
}

}  // namespace
