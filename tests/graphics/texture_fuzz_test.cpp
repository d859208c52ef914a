// Damaged and crafted images through LoadTexture on Wine's device, as a game
// loads them (D3DX where it is there): refused or loaded, never a crash, no
// handle left.
#include <direct.h>
#include <stdio.h>

#include "graphics/d3dx_entry.h"
#include "graphics/internal.h"
#include "image_cases.h"
#include "real_device.h"
#include "tools/handle_count.h"

namespace {

using namespace image_cases;

void WriteFile(const std::string& name, const Bytes& bytes) {
  if (FILE* f = fopen(name.c_str(), "wb")) fwrite(bytes.data(), 1, bytes.size(), f), fclose(f);
}

// The sample JPEG with its segment of this marker replaced by body (size field added).
Bytes WithSegment(Bytes jpeg, uint8_t marker, const Bytes& body) {
  const size_t at = jpeg.find(std::string("\xFF") + (char)marker);
  if (at == Bytes::npos || at + 4 > jpeg.size()) return jpeg;
  const size_t length = (uint8_t)jpeg[at + 2] << 8 | (uint8_t)jpeg[at + 3];
  const size_t size = body.size() + 2;
  return jpeg.substr(0, at + 2) + (char)(size >> 8) + (char)size + body + jpeg.substr(at + 2 + length);
}

// Files that broke the earlier built-in decoder, and a TGA that lies about its size.
TEST_F(RealDevice, CraftedImagesAreRefusedOrLoadedSafely) {
  const Bytes jpeg = ReadFile(LQ_IMAGES "/sample.jpg");
  ASSERT_GT(jpeg.size(), 100u);
  // A Huffman table of 2040 codes (room is for 256), behind a fill byte.
  Bytes table(1, '\0');
  table += Bytes(8, '\xFF') + Bytes(8, '\0') + Bytes(2040, '\x01');
  // A scan naming tables that were never defined (3 of each kind).
  const size_t sos = jpeg.find("\xFF\xDA");
  ASSERT_NE(sos, Bytes::npos);
  Bytes scan = jpeg.substr(sos + 4, (uint8_t)jpeg[sos + 3] - 2);
  for (int c = 0; c < (uint8_t)scan[0]; ++c) scan[2 + 2 * c] = '\x33';
  // 32 x 32, 24-bit, uncompressed, one row of 32 there.
  Bytes tga("\0\0\2\0\0\0\0\0\0\0\0\0\x20\0\x20\0\x18\x20", 18);
  tga += Bytes(32 * 3, '\x40');
  const struct { const char* name; Bytes bytes; bool mayLoad; } cases[] = {
      {"huffman.jpg", "\xFF" + WithSegment(jpeg, 0xC4, table), true},
      {"scan.jpg", WithSegment(jpeg, 0xDA, scan), true},
      {"short.tga", tga, false},
  };
  for (const auto& c : cases) {
    WriteFile(c.name, c.bytes);
    const HRESULT loaded = LoadTexture(c.name);
    printf("%s: %s\n", c.name, loaded == 0 ? "loaded" : "refused");
    if (!c.mayLoad) {
      EXPECT_EQ(loaded, E_FAIL) << c.name;
    }
    ReleaseTexture(c.name);
    remove(c.name);
  }
  ASSERT_EQ(LoadTexture(LQ_IMAGES "/sample.jpg"), 0);  // and a sound one after them
  ReleaseTextures();
}

// Damaged samples of each format (100, or LQ_IMAGE_FILES from LQ_IMAGE_FIRST).
TEST_F(RealDevice, DamagedImagesAreRefusedOrLoadedWithoutLeavingHandles) {
  const std::vector<Bytes> samples = Samples();
  const int first = EnvInt("LQ_IMAGE_FIRST", 0), count = EnvInt("LQ_IMAGE_FILES", 100);
  _mkdir("image_fuzz");
  ASSERT_EQ(LoadTexture(LQ_IMAGES "/sample.png"), 0);  // what a first load keeps is no leak
  const long handles = CountProcessHandles(GetCurrentProcess(), GetCurrentProcessId());
  int loaded = 0;
  for (int n = first; n < first + count; ++n) {
    Format format;
    const Bytes bytes = MakeCase(samples, (uint32_t)n, &format);
    const std::string name = "image_fuzz/case-" + std::to_string(n);
    WriteFile(name, bytes);
    if (LoadTexture(name.c_str()) == 0) ++loaded, ReleaseTexture(name.c_str());
    remove(name.c_str());
  }
  const long after = CountProcessHandles(GetCurrentProcess(), GetCurrentProcessId());
  printf("%d images: %d loaded, %d refused; handles %ld before, %ld after\n", count, loaded,
         count - loaded, handles, after);
  EXPECT_EQ(after, handles);
  ReleaseTextures();
}

}  // namespace
