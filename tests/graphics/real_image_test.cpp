// Every image of make_images.py through LoadTexture on the real device, every
// texel against Pillow's reading of the same file after the black key (the
// texels/*.argb files): exact for lossless formats, within the listed tolerance
// for JPEG. Run with D3DX and without it (wine.graphics_real_test_without_d3dx):
// the texels must be the same either way.
#include <stdio.h>
#include <stdlib.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>
#include <string>

#include "graphics/d3dx_entry.h"
#include "graphics/internal.h"
#include "real_device.h"
#include "util/crc32.h"

namespace {

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

IDirect3DTexture9* Loaded(const std::string& name) {
  const DWORD hash = CalcCrc32(name.data(), (int32_t)name.size());
  for (const TextureEntry& e : Gfx.textures) {
    if (e.texture != NULL && e.hash == hash) return e.texture;
  }
  return NULL;
}

// A texel's brightness, 0..255 (BT.601 weights).
int Luma(DWORD argb) { return (299 * Channel(argb, 16) + 587 * Channel(argb, 8) + 114 * Channel(argb, 0) + 500) / 1000; }

// Per file format (extension): images, refused, wrong, exact, within tolerance.
struct Tally {
  int images, refused, wrong, exact, within;
};

// LQ_TEXEL_FOLDER names another folder laid out as make_images.py lays out its
// own (texels.txt, texels/PATH.argb), for runs over other images.
TEST_F(RealDevice, ImagesGiveTheTexelsAnotherDecoderReadsFromThem) {
  const char* other = getenv("LQ_TEXEL_FOLDER");
  const std::string folder = other != NULL ? other : LQ_IMAGES;
  printf("D3DX %s\n", D3DXEntries.getImageInfo != NULL ? "present" : "absent");
  std::istringstream list(ReadAll(folder + "/texels.txt"));
  std::string path;
  int tolerance;
  std::map<std::string, Tally> tallies;
  while (list >> path >> tolerance) {
    SCOPED_TRACE(path);
    Tally& tally = tallies[path.substr(path.rfind('.') + 1)];
    ++tally.images;
    const std::string name = folder + "/" + path;
    const std::string want = ReadAll(folder + "/texels/" + path + ".argb");
    ASSERT_GT(want.size(), 8u);
    const UINT* size = reinterpret_cast<const UINT*>(want.data());
    const DWORD* expected = reinterpret_cast<const DWORD*>(want.data() + 8);
    ASSERT_EQ(want.size(), 8 + (size_t)size[0] * size[1] * 4);
    EXPECT_EQ(LoadTexture(name.c_str()), 0);
    IDirect3DTexture9* texture = Loaded(name);
    if (texture == NULL) {
      ++tally.refused;
      continue;
    }
    D3DSURFACE_DESC desc;
    D3DLOCKED_RECT locked;
    ASSERT_EQ(texture->GetLevelDesc(0, &desc), 0);
    EXPECT_EQ(texture->GetLevelCount(), 1u);
    EXPECT_EQ(desc.Format, D3DFMT_A8R8G8B8);
    EXPECT_EQ(desc.Pool, D3DPOOL_MANAGED);
    EXPECT_TRUE(desc.Width == size[0] && desc.Height == size[1]) << desc.Width << " x " << desc.Height;
    int worst = 0, wrong = 0, beyond2 = 0, worstLuma = 0;
    UINT firstX = 0, firstY = 0;
    DWORD got = 0, wanted = 0;
    if (desc.Width == size[0] && desc.Height == size[1] &&
        texture->LockRect(0, &locked, NULL, D3DLOCK_READONLY) == 0) {
      for (UINT y = 0; y < desc.Height; ++y) {
        const DWORD* row = reinterpret_cast<const DWORD*>(static_cast<BYTE*>(locked.pBits) + y * locked.Pitch);
        for (UINT x = 0; x < desc.Width; ++x) {
          DWORD texel = row[x], want = expected[y * desc.Width + x];
          if (tolerance > 0) {  // lossy: near-black texels may fall either side of the key
            texel = texel ? texel : 0xFF000000;
            want = want ? want : 0xFF000000;
          }
          int apart = 0;
          for (int shift = 0; shift < 32; shift += 8) apart = std::max(apart, abs(Channel(texel, shift) - Channel(want, shift)));
          if (apart > tolerance && wrong++ == 0) firstX = x, firstY = y, got = texel, wanted = want;
          beyond2 += apart > 2;
          worstLuma = std::max(worstLuma, abs(Luma(texel) - Luma(want)));
          worst = std::max(worst, apart);
        }
      }
      texture->UnlockRect(0);
    } else {
      wrong = 1;
    }
    ReleaseTexture(name.c_str());
    EXPECT_EQ(wrong, 0) << wrong << " texels wrong; the first, (" << firstX << ", " << firstY << "): 0x"
                        << std::hex << got << " instead of 0x" << wanted;
    printf("%-28s %4u x %-4u at most %d apart in a channel (%d in luma), %d texels more than 2%s\n", path.c_str(),
           desc.Width, desc.Height, worst, worstLuma, beyond2, wrong ? " (WRONG)" : "");
    tally.wrong += wrong > 0;
    tally.exact += wrong == 0 && worst == 0;
    tally.within += wrong == 0 && worst > 0;
  }
  int images = 0;
  for (const auto& [format, t] : tallies) {
    printf("%s: %d images: %d exact, %d within tolerance, %d wrong, %d refused\n", format.c_str(), t.images,
           t.exact, t.within, t.wrong, t.refused);
    images += t.images;
  }
  if (other == NULL) {
    EXPECT_EQ(images, 27);
  }
  ReleaseTextures();
}

}  // namespace
