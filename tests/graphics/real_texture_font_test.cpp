// The texture cache and fonts on the real Direct3D 9 and D3DX: images written
// here are loaded, keyed out and read back; text is drawn and read back; both
// outlive a device reset; null and missing names take nothing.
#include <stdio.h>
#include <string.h>

#include <algorithm>
#include <string>

#include "graphics/d3dx_entry.h"
#include "graphics/internal.h"
#include "real_device.h"
#include "util/crc32.h"

namespace {

// A 24-bit top-down BMP of 0xRRGGBB pixels, in the working folder.
void WriteBmp(const std::string& path, int width, int height, const std::vector<DWORD>& rgb) {
  const int row = (width * 3 + 3) & ~3;
  std::vector<BYTE> data(row * height, 0);
  for (int i = 0; i < width * height; ++i) memcpy(&data[i / width * row + i % width * 3], &rgb[i], 3);
  BITMAPFILEHEADER head = {0x4D42, (DWORD)(54 + data.size()), 0, 0, 54};
  BITMAPINFOHEADER info = {40, width, -height, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
  if (FILE* f = fopen(path.c_str(), "wb")) {
    fwrite(&head, 14, 1, f), fwrite(&info, 40, 1, f), fwrite(data.data(), data.size(), 1, f);
    fclose(f);
  }
}

const TextureEntry* Entry(const std::string& name) {
  const DWORD hash = CalcCrc32(name.data(), (int32_t)name.size());
  for (const TextureEntry& e : Gfx.textures) {
    if (e.texture != NULL && e.hash == hash) return &e;
  }
  return NULL;
}
int InUse() {
  return std::count_if(Gfx.textures, Gfx.textures + TEXTURE_SLOTS, [](const TextureEntry& e) { return e.texture != NULL; });
}
ULONG Refs(IUnknown* object) { return object->AddRef(), object->Release(); }

TEST_F(RealDevice, ImagesLoadAtTheirOwnSizeKeyedOutAndCounted) {
  const std::vector<DWORD> rgb = {0x000000, 0xFF0000, 0x00FF00, 0x0000FF, 0x000000,
                                  0x010101, 0x000000, 0xFEDCBA, 0xFFFFFF, 0x000000};
  const char* n = "colours.bmp";
  WriteBmp(n, 5, 2, rgb);
  ASSERT_EQ(LoadTexture(n), 0);
  ASSERT_EQ(LoadTexture(n), 0);
  IDirect3DTexture9* texture = Entry(n)->texture;
  D3DSURFACE_DESC desc;
  D3DLOCKED_RECT locked;
  ASSERT_EQ(texture->GetLevelDesc(0, &desc), 0);
  EXPECT_EQ(desc.Width, 5u);
  EXPECT_EQ(desc.Height, 2u);
  EXPECT_EQ(desc.Format, D3DFMT_A8R8G8B8);
  ASSERT_EQ(texture->LockRect(0, &locked, NULL, D3DLOCK_READONLY), 0);
  for (int i = 0; i < 10; ++i) {
    const DWORD texel = ((const DWORD*)((BYTE*)locked.pBits + i / 5 * locked.Pitch))[i % 5];
    EXPECT_EQ(texel, rgb[i] == 0 ? 0u : 0xFF000000 | rgb[i]) << "texel " << i;
  }
  texture->UnlockRect(0);

  EXPECT_EQ(texture->AddRef(), 2u);  // the cache holds one reference, however often loaded
  ReleaseTexture(n);
  EXPECT_EQ(Refs(texture), 2u);
  ReleaseTexture(n);
  EXPECT_EQ(texture->Release(), 0u);  // the second release gave the cache's back
  int resident = 0;
  for (int round = 0; round < 259; ++round) {  // the program's warm-up
    LoadTexture(n), ReleaseTexture(n), ReleaseTexture(n), LoadTexture(n);
    resident += InUse() == 1 && Entry(n)->refCount == 1 && Refs(Entry(n)->texture) == 1;
  }
  EXPECT_EQ(resident, 259);
  for (const char* bad : {(const char*)NULL, "no such file.bmp"}) {
    EXPECT_EQ(LoadTexture(bad), E_FAIL);
    EXPECT_EQ(ReleaseTexture(bad), 0);
  }
  EXPECT_EQ(InUse(), 1);
  EXPECT_EQ(BindTexture(NULL), 0);
  IDirect3DBaseTexture9* bound = white;
  GetDevice()->GetTexture(0, &bound);
  EXPECT_EQ(bound, nullptr);
  ReleaseTextures();
}

TEST_F(RealDevice, TheTableIsKeyedByTheHashOfTheNameAsWritten) {
  WriteBmp("lumaquil.bmp", 1, 1, {0xFF0000});
  WriteBmp("uejgtcuo.bmp", 1, 1, {0x00FF00});
  std::vector<std::string> full;  // 256 spellings of one file: letter case counts
  for (int i = 0; i < TEXTURE_SLOTS; ++i) {
    std::string name = "lumaquil.bmp";
    for (int bit = 0; bit < 8; ++bit) name[bit] -= (i >> bit & 1) * ('a' - 'A');
    full.push_back(name);
  }
  ASSERT_EQ(CalcCrc32("uejgtcuo.bmp", 12), CalcCrc32("iiwucoup.bmp", 12));  // found by search
  struct Case {
    std::vector<std::string> before;
    std::string name;
    HRESULT result;
    int inUse;
    LONG count;  // of the name's entry
  } cases[] = {
      {full, "uejgtcuo.bmp", E_FAIL, 256, 0},           // full: a new name refused
      {full, full[37], 0, 256, 2},                       // full: a known one counted
      {{"uejgtcuo.bmp"}, "iiwucoup.bmp", 0, 1, 2},       // one hash: no such file needed
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ReleaseTextures();
    for (const std::string& name : c.before) ASSERT_EQ(LoadTexture(name.c_str()), 0) << name;
    EXPECT_EQ(LoadTexture(c.name.c_str()), c.result);
    EXPECT_EQ(InUse(), c.inUse);
    EXPECT_EQ(Entry(c.name) ? Entry(c.name)->refCount : 0, c.count);
  }
  ReleaseTextures();
}

TEST_F(RealDevice, FontsDrawTheirColourAtThePointAndOutliveAResetWithTheTextures) {
  BOOL smoothing = FALSE;
  SystemParametersInfoA(SPI_SETFONTSMOOTHING, FALSE, NULL, 0);
  SIZE size = {1, 1};
  for (int slot : {-1, 32, 6}) {
    EXPECT_EQ(MeasureString(slot, "HI", &size), E_FAIL);
    if (slot == 6) continue;  // an empty slot
    EXPECT_EQ(CreateFontSlot(slot, "Tahoma", 20), E_FAIL);
    EXPECT_EQ(DrawStringF(slot, 0, 0, 0xFFFFFFFF, "%d", 1), E_FAIL);
    EXPECT_EQ(InvalidateFont(slot), E_FAIL);
  }
  SystemParametersInfoA(SPI_GETFONTSMOOTHING, 0, &smoothing, 0);
  EXPECT_TRUE(smoothing);  // switched on even by a refused call
  ASSERT_EQ(CreateFontSlot(5, "Tahoma", 20), 0);
  EXPECT_EQ(DrawString(5, 0, 0, 0xFFFFFFFF, NULL), E_FAIL);
  EXPECT_EQ(MeasureString(5, NULL, &size), E_FAIL);
  EXPECT_EQ(MeasureString(5, "HI", NULL), E_FAIL);
  EXPECT_EQ(DrawStringF(5, 0, 0, 0xFFFFFFFF, NULL), 0);  // an empty text
  EXPECT_STREQ(Gfx.formatBuffer, "");
  WriteBmp("blue.bmp", 1, 1, {0x0000FF});
  ASSERT_EQ(LoadTexture("blue.bmp"), 0);
  ASSERT_EQ(HandlePresentParam(D3DERR_DEVICENOTRESET, 0), 0);  // a real reset

  const std::string text(5000, 'W');
  DrawInto(0, 0xFF000000, [&] {
    EXPECT_EQ(BindTexture("blue.bmp"), 0);
    SetDrawMode(DRAWMODE_TEXTURE_MODULATE);
    DrawRect(0, 0, 8, 8, 0xFFFFFFFF);
    EXPECT_EQ(DrawString(5, 20.9f, 10.2f, 0xFF00FF00, "HI"), 0);
    EXPECT_EQ(DrawStringF(5, 2, 40, 0xFFFF0000, "%s", text.c_str()), 0);
  });
  EXPECT_EQ(strlen(Gfx.formatBuffer), 4095u);
  const std::vector<DWORD> pixels = Read(Gfx.lpFlipSurface[0]);
  ASSERT_EQ(pixels.size(), (size_t)kSize * kSize);
  EXPECT_EQ(pixels[4 * kSize + 4], 0x0000FFu);  // the texture, bound by its name
  // Smoothed glyphs: pixels of the text's channel alone, none left of or above its point.
  int green = 0, brightest = 0, left = kSize, top = kSize, right = 0, bottom = 0, red = 0;
  for (int i = 0; i < kSize * kSize; ++i) {
    red += pixels[i] != 0 && (pixels[i] & 0x00FFFF) == 0;
    if (pixels[i] == 0 || (pixels[i] & 0xFF00FF) != 0) continue;
    ++green, brightest = std::max(brightest, Channel(pixels[i], 8));
    left = std::min(left, i % kSize), top = std::min(top, i / kSize);
    right = std::max(right, i % kSize), bottom = std::max(bottom, i / kSize);
  }
  // Inside the measured box placed at the text's point (20, 10), which is barely wider.
  ASSERT_EQ(MeasureString(5, "HI", &size), 0);
  EXPECT_TRUE(right < 20 + size.cx && bottom < 10 + size.cy) << size.cx << " x " << size.cy;
  EXPECT_LE(size.cx - (right - left + 1), 4) << size.cx;
  EXPECT_GT(green, 40);
  EXPECT_GT(brightest, 0xA0);
  EXPECT_GE(left, 20);
  EXPECT_LE(left, 21);  // D3DX starts at the point; GDI's H a pixel in (its left bearing)
  EXPECT_GE(top, 10);
  EXPECT_LE(top, 16);
  EXPECT_GT(red, 200);
  ReleaseTextures();
}

// Without D3DX (the built-in path, as on a Windows without the DLL) the same
// text gives the same box (its green pixels) and measured size, to 2 pixels.
// (Images read the same either way: real_image_test.cpp.)
TEST_F(RealDevice, WithoutD3DXTextComesOutAsWithIt) {
  const D3DXEntryPoints withD3DX = D3DXEntries;
  if (withD3DX.createFont == NULL) GTEST_SKIP() << "no d3dx9_43.dll here";
  ASSERT_EQ(CreateFontSlot(20, "Tahoma", 14), 0);
  D3DXEntries = {};
  ASSERT_EQ(CreateFontSlot(21, "Tahoma", 14), 0);
  D3DXEntries = withD3DX;
  for (const char* text : {"HI", "Wjg|_", "a.b,c", "fps 60.0 quads 8191 pad 0x0000", "two\nlines"}) {
    LONG box[2][6];  // measured width and height; left, top, right, bottom
    for (int path = 0; path < 2; ++path) {
      LONG* b = box[path];
      SIZE size;
      ASSERT_EQ(MeasureString(20 + path, text, &size), 0);
      b[0] = size.cx, b[1] = size.cy, b[2] = b[3] = kSize, b[4] = b[5] = -1;
      DrawInto(0, 0xFF000000, [&] { DrawString(20 + path, 3, 5, 0xFF00FF00, text); });
      const std::vector<DWORD> pixels = Read(Gfx.lpFlipSurface[0]);
      for (LONG i = 0; i < kSize * kSize; ++i) {
        if (Channel(pixels[i], 8) < 0x40 || (pixels[i] & 0xFF00FF) != 0) continue;
        b[2] = std::min(b[2], i % kSize), b[3] = std::min(b[3], i / kSize);
        b[4] = std::max(b[4], i % kSize), b[5] = std::max(b[5], i / kSize);
      }
    }
    printf("%-32s measured, box:", text);
    for (int k = 0; k < 6; ++k) printf(" %ld/%ld%s", box[0][k], box[1][k], k < 5 ? "" : "\n");
    for (int k = 0; k < 6; ++k) EXPECT_LE(abs(box[0][k] - box[1][k]), 2) << text << " measure " << k;
  }
}

}  // namespace
