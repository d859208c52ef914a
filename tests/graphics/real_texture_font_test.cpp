// The texture cache and fonts on the real Direct3D 9 and D3DX: images loaded from
// files written here, text drawn and read back, both kept across a device reset.
#include <stdio.h>
#include <string.h>

#include <algorithm>
#include <string>

#include "real_device.h"
#include "util/crc32.h"

namespace {

// A folder of its own under the temporary folder, made once.
std::string Dir() {
  static std::string dir;
  if (dir.empty()) {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    dir = std::string(temp) + "lq_texture_test\\";
    CreateDirectoryA(dir.c_str(), NULL);
  }
  return dir;
}

// Writes a bottom-up 24-bit BMP of 0xRRGGBB pixels given row by row from the top.
std::string WriteBmp(const char* file, int width, int height, const std::vector<DWORD>& rgb) {
  const int rowBytes = (width * 3 + 3) & ~3, dataBytes = rowBytes * height;
  std::vector<BYTE> bmp(54 + dataBytes, 0);
  BITMAPFILEHEADER file_header = {0x4D42, (DWORD)bmp.size(), 0, 0, 54};
  BITMAPINFOHEADER info = {40, width, height, 1, 24, BI_RGB, (DWORD)dataBytes, 2835, 2835, 0, 0};
  memcpy(&bmp[0], &file_header, 14);
  memcpy(&bmp[14], &info, 40);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      BYTE* p = &bmp[54 + (height - 1 - y) * rowBytes + x * 3];
      const DWORD c = rgb[y * width + x];
      p[0] = c & 0xFF, p[1] = (c >> 8) & 0xFF, p[2] = (c >> 16) & 0xFF;
    }
  }
  const std::string path = Dir() + file;
  FILE* f = fopen(path.c_str(), "wb");
  if (f != NULL) {
    fwrite(bmp.data(), 1, bmp.size(), f);
    fclose(f);
  }
  return path;
}

const TextureEntry* Entry(const std::string& name) {
  const DWORD hash = CalcCrc32(name.data(), (int32_t)name.size());
  for (const TextureEntry& e : Gfx.textures) {
    if (e.texture != NULL && e.hash == hash) return &e;
  }
  return NULL;
}

int EntriesInUse() {
  int used = 0;
  for (const TextureEntry& e : Gfx.textures) used += e.texture != NULL;
  return used;
}

ULONG Refs(IUnknown* object) {
  object->AddRef();
  return object->Release();
}

// The texture's pixels as ARGB words, row by row.
std::vector<DWORD> Texels(IDirect3DTexture9* texture) {
  std::vector<DWORD> texels;
  D3DSURFACE_DESC desc;
  D3DLOCKED_RECT locked;
  if (texture->GetLevelDesc(0, &desc) != 0 || texture->LockRect(0, &locked, NULL, D3DLOCK_READONLY) != 0)
    return texels;
  for (UINT y = 0; y < desc.Height; ++y) {
    const DWORD* row = reinterpret_cast<const DWORD*>(static_cast<BYTE*>(locked.pBits) + y * locked.Pitch);
    texels.insert(texels.end(), row, row + desc.Width);
  }
  texture->UnlockRect(0);
  return texels;
}

TEST_F(RealDevice, AnImageLoadsAtItsOwnSizeWithItsBlackTransparent) {
  const std::vector<DWORD> rgb = {0x000000, 0xFF0000, 0x00FF00, 0x0000FF, 0x000000,
                                  0x123456, 0x000000, 0xFFFFFF, 0x010101, 0x808080,
                                  0x000000, 0x000000, 0xFEDCBA, 0x000000, 0x0000FF};
  const std::string name = WriteBmp("colours.bmp", 5, 3, rgb);
  ASSERT_EQ(LoadTexture(name.c_str()), 0);
  const TextureEntry* entry = Entry(name);
  ASSERT_NE(entry, nullptr);
  D3DSURFACE_DESC desc;
  ASSERT_EQ(entry->texture->GetLevelDesc(0, &desc), 0);
  EXPECT_EQ(desc.Width, 5u);
  EXPECT_EQ(desc.Height, 3u);
  EXPECT_EQ(desc.Format, D3DFMT_A8R8G8B8);
  EXPECT_EQ(desc.Pool, D3DPOOL_MANAGED);
  EXPECT_EQ(entry->texture->GetLevelCount(), 1u);
  const std::vector<DWORD> texels = Texels(entry->texture);
  ASSERT_EQ(texels.size(), rgb.size());
  for (size_t i = 0; i < rgb.size(); ++i) {
    EXPECT_EQ(texels[i], rgb[i] == 0 ? 0u : 0xFF000000 | rgb[i]) << "texel " << i;
  }
  ReleaseTexture(name.c_str());
  EXPECT_EQ(EntriesInUse(), 0);

  const std::string missing = Dir() + "missing.bmp";
  EXPECT_EQ(LoadTexture(missing.c_str()), E_FAIL);
  EXPECT_EQ(EntriesInUse(), 0);
  EXPECT_EQ(ReleaseTexture(NULL), 0);
}

TEST_F(RealDevice, TheSecondReleaseOfTwoLoadsFreesTheTextureAndTheWarmUpKeepsOne) {
  const std::string name = WriteBmp("disc.bmp", 2, 2, {0, 0xFFFFFF, 0xFFFFFF, 0});
  const char* n = name.c_str();
  ASSERT_EQ(LoadTexture(n), 0);
  ASSERT_EQ(LoadTexture(n), 0);
  IDirect3DTexture9* texture = Entry(name)->texture;
  EXPECT_EQ(Entry(name)->refCount, 2);
  EXPECT_EQ(texture->AddRef(), 2u);  // one reference of the cache's, however often loaded
  ReleaseTexture(n);
  EXPECT_EQ(Refs(texture), 2u);
  ReleaseTexture(n);
  EXPECT_EQ(Entry(name), nullptr);
  EXPECT_EQ(texture->Release(), 0u);  // ours was the last

  for (int round = 1; round <= 259; ++round) {
    LoadTexture(n);
    ReleaseTexture(n);
    ReleaseTexture(n);
    LoadTexture(n);
    if (round > 3 && round < 259) continue;
    SCOPED_TRACE(round);
    ASSERT_NE(Entry(name), nullptr);
    EXPECT_EQ(Entry(name)->refCount, 1);
    EXPECT_EQ(Refs(Entry(name)->texture), 1u);
    EXPECT_EQ(EntriesInUse(), 1);
  }
  ReleaseTextures();
}

// The name with the letters of i's bits in upper case: 256 names of one file.
std::string CaseVariant(const std::string& dir, int i) {
  std::string file = "lumaquil.bmp";
  for (int bit = 0; bit < 8; ++bit) {
    if (i & (1 << bit)) file[bit] = (char)(file[bit] - 'a' + 'A');
  }
  return dir + file;
}

TEST_F(RealDevice, TheTableIsKeyedByTheHashOfTheNameAsWritten) {
  const std::string dir = Dir();
  WriteBmp("lumaquil.bmp", 1, 1, {0xFF0000});
  WriteBmp("uejgtcuo.bmp", 1, 1, {0x00FF00});
  std::vector<std::string> full;
  for (int i = 0; i < TEXTURE_SLOTS; ++i) full.push_back(CaseVariant(dir, i));
  struct Case {
    const char* what;
    std::vector<std::string> first;  // loaded before
    std::string last;
    HRESULT result;
    int entries;
    LONG count;  // of the last name's entry
  };
  const Case cases[] = {
      {"a full table refuses a new name", full, dir + "uejgtcuo.bmp", E_FAIL, 256, 0},
      {"a full table still counts a known name", full, full[37], 0, 256, 2},
      {"names differing in case only", {dir + "lumaquil.bmp"}, dir + "LUMAQUIL.bmp", 0, 2, 1},
      // One CRC-32, also after a common folder: the second name is no file at all.
      {"two names with one hash", {dir + "uejgtcuo.bmp"}, dir + "iiwucoup.bmp", 0, 1, 2},
  };
  ASSERT_EQ(CalcCrc32("uejgtcuo.bmp", 12), CalcCrc32("iiwucoup.bmp", 12));
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ReleaseTextures();
    for (const std::string& name : c.first) ASSERT_EQ(LoadTexture(name.c_str()), 0) << name;
    EXPECT_EQ(LoadTexture(c.last.c_str()), c.result);
    EXPECT_EQ(EntriesInUse(), c.entries);
    const TextureEntry* entry = Entry(c.last);
    EXPECT_EQ(entry ? entry->refCount : 0, c.count);
  }
  ReleaseTextures();
}

// Pixels in the channels of the mask only (the glyphs' edges are smoothed), the
// brightest of them, and their top-left corner.
struct Found {
  int count = 0, left = kSize, top = kSize;
  DWORD brightest = 0;
};
Found Find(const std::vector<DWORD>& pixels, DWORD mask) {
  Found f;
  for (int i = 0; i < (int)pixels.size(); ++i) {
    if (pixels[i] == 0 || (pixels[i] & ~mask) != 0) continue;
    ++f.count;
    f.brightest = std::max(f.brightest, pixels[i]);
    f.left = std::min(f.left, i % kSize);
    f.top = std::min(f.top, i / kSize);
  }
  return f;
}

TEST_F(RealDevice, AFontDrawsItsColourAtThePointAndRefusesSlotsOutsideTheTable) {
  ASSERT_EQ(CreateFontSlot(5, "Tahoma", 20), 0);
  EXPECT_EQ(CreateFontSlot(5, "Tahoma", 30), E_FAIL);
  for (int slot : {-1, 32}) {
    SCOPED_TRACE(slot);
    EXPECT_EQ(CreateFontSlot(slot, "Tahoma", 20), E_FAIL);
    EXPECT_EQ(DrawString(slot, 0, 0, 0xFFFFFFFF, "x"), E_FAIL);
    EXPECT_EQ(DrawStringF(slot, 0, 0, 0xFFFFFFFF, "%d", 1), E_FAIL);
    EXPECT_EQ(InvalidateFont(slot), E_FAIL);
    EXPECT_EQ(RestoreFont(slot), E_FAIL);
  }
  EXPECT_EQ(DrawString(6, 0, 0, 0xFFFFFFFF, "x"), E_FAIL);  // empty slot

  const std::string text(5000, 'W');
  DrawInto(0, 0xFF000000, [&] {
    EXPECT_EQ(DrawString(5, 20.9f, 10.2f, 0xFF00FF00, "HI"), 0);
    EXPECT_EQ(DrawStringF(5, 2, 40, 0xFFFF0000, "%s", text.c_str()), 0);
  });
  EXPECT_EQ(strlen(Gfx.formatBuffer), 4095u);
  const std::vector<DWORD> pixels = Read(Gfx.lpFlipSurface[0]);
  const Found green = Find(pixels, 0x00FF00), red = Find(pixels, 0xFF0000);
  EXPECT_GT(green.count, 40);
  EXPECT_GT(green.brightest, 0x00A000u);
  EXPECT_GE(green.left, 20);  // laid out from (20, 10): nothing left of or above it
  EXPECT_LE(green.left, 23);
  EXPECT_GE(green.top, 10);
  EXPECT_LE(green.top, 16);
  EXPECT_EQ(green.count + red.count, std::count_if(pixels.begin(), pixels.end(), [](DWORD p) { return p != 0; }));
  EXPECT_GT(red.count, 200);
  EXPECT_GE(red.top, 40);
}

TEST_F(RealDevice, AResetKeepsTheFontUsableAndTheTextureBoundByName) {
  if (Gfx.fonts[5] == NULL) {
    ASSERT_EQ(CreateFontSlot(5, "Tahoma", 20), 0);
  }
  const std::string name = WriteBmp("blue.bmp", 1, 1, {0x0000FF});
  ASSERT_EQ(LoadTexture(name.c_str()), 0);
  ASSERT_EQ(HandlePresentParam(D3DERR_DEVICENOTRESET, 0), 0);

  DrawInto(1, 0xFF000000, [&] {
    EXPECT_EQ(BindTexture(name.c_str()), 0);
    IDirect3DBaseTexture9* bound = NULL;
    GetDevice()->GetTexture(0, &bound);
    if (bound != NULL) bound->Release();
    EXPECT_EQ(bound, Entry(name)->texture);
    SetDrawMode(DRAWMODE_TEXTURE_MODULATE);
    DrawRect(0, 0, 8, 8, 0xFFFFFFFF);
    EXPECT_EQ(DrawString(5, 20, 10, 0xFF00FF00, "HI"), 0);
  });
  const std::vector<DWORD> pixels = Read(Gfx.lpFlipSurface[1]);
  ASSERT_EQ(pixels.size(), (size_t)kSize * kSize);
  EXPECT_EQ(pixels[4 * kSize + 4], 0x0000FFu);
  EXPECT_GT(Find(pixels, 0x00FF00).count, 40);
  ReleaseTextures();
}

}  // namespace
