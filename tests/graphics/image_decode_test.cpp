// The TGA reader and the camera's matrices, natively under the sanitizers: the
// reader against Pillow's reading of the same files, on layouts Pillow lacks,
// on files that lie, and over damaged files (100, or LQ_IMAGE_FILES from
// LQ_IMAGE_FIRST).
#include <gtest/gtest.h>

#include <math.h>
#include <string.h>

#include <algorithm>
#include <sstream>

#include "graphics/camera_math.h"
#include "graphics/image_decode.h"
#include "image_cases.h"

namespace {

using namespace image_cases;

// Pillow's texels of every TGA of make_images.py (texels/NAME.argb), exactly.
TEST(DecodeTga, EveryLayoutReadsAsPillowReadsIt) {
  std::istringstream list(ReadFile(LQ_IMAGES "/texels.txt"));
  std::string path;
  int tolerance, files = 0;
  while (list >> path >> tolerance) {
    if (path.size() < 4 || path.compare(path.size() - 4, 4, ".tga") != 0) continue;
    const Bytes file = ReadFile(LQ_IMAGES "/" + path);
    const Bytes want = ReadFile(LQ_IMAGES "/texels/" + path + ".argb");
    ASSERT_GT(want.size(), 8u) << path;
    DecodedImage image;
    ASSERT_EQ(DecodeTga(file.data(), file.size(), 64, 64, &image), 0) << path;
    KeyOutBlack(image.texels, (size_t)image.width * image.height);
    const int size[2] = {image.width, image.height};
    EXPECT_EQ(memcmp(want.data(), size, 8), 0) << path;
    EXPECT_EQ(want.size(), 8 + (size_t)image.width * image.height * 4) << path;
    if (want.size() == 8 + (size_t)image.width * image.height * 4) {
      EXPECT_EQ(memcmp(want.data() + 8, image.texels, want.size() - 8), 0) << path;
    }
    FreeImage(&image);
    ++files;
  }
  EXPECT_EQ(files, 15);
}

// A TGA: the header's fields, then the rest as given.
Bytes Tga(int type, int bits, int width, int height, int descriptor, const Bytes& rest,
          int mapLength = 0, int mapBits = 0, int mapFirst = 0) {
  const uint8_t head[18] = {0, (uint8_t)(mapLength > 0), (uint8_t)type, (uint8_t)mapFirst, (uint8_t)(mapFirst >> 8),
                            (uint8_t)mapLength, (uint8_t)(mapLength >> 8), (uint8_t)mapBits, 0, 0, 0, 0,
                            (uint8_t)width, (uint8_t)(width >> 8), (uint8_t)height, (uint8_t)(height >> 8),
                            (uint8_t)bits, (uint8_t)descriptor};
  return Bytes((const char*)head, 18) + rest;
}

TEST(DecodeTga, ReadsWhatTheHeaderSaysAndRefusesWhatTheFileCannotHold) {
  const Bytes row24(32 * 3, '\x40'), rle = "\x81\x10\x20\x30";  // a run of 2 pixels
  struct Case {
    const char* what;
    Bytes file;
    std::vector<uint32_t> texels;  // empty: refused
  } cases[] = {
      {"right to left, top down", Tga(2, 24, 2, 1, 0x30, Bytes("\1\2\3\4\5\6", 6)), {0xFF060504, 0xFF030201}},
      {"right to left, bottom up", Tga(3, 8, 2, 2, 0x10, "\1\2\3\4"), {0xFF040404, 0xFF030303, 0xFF020202, 0xFF010101}},
      {"16-bit with an alpha bit", Tga(2, 16, 2, 1, 0x21, Bytes("\xFF\xFF\xFF\x7F", 4)), {0xFFFFFFFF, 0x00FFFFFF}},
      {"16-bit without", Tga(2, 16, 2, 1, 0x20, Bytes("\x1F\x00\xE0\x03", 4)), {0xFF0000FF, 0xFF00FF00}},
      {"map of 32-bit entries from entry 5", Tga(1, 8, 2, 1, 0x20, Bytes("\1\2\3\4\5\6\7\x80\6\5", 10), 2, 32, 5),
       {0x80070605, 0x04030201}},
      {"index below the map", Tga(1, 8, 1, 1, 0x20, Bytes("\1\2\3\4", 4), 1, 24, 5), {}},
      {"index past the map", Tga(1, 8, 1, 1, 0x20, Bytes("\1\2\3\1", 4), 1, 24), {}},
      {"mapped without a map", Tga(1, 8, 1, 1, 0x20, Bytes("\0", 1)), {}},
      {"map of 8-bit entries", Tga(1, 8, 1, 1, 0x20, Bytes("\1\0", 2), 1, 8), {}},
      {"true colour, a map of 8-bit entries", Tga(2, 24, 1, 1, 0x20, Bytes("\1\1\1\1", 4), 1, 8), {}},
      {"run across rows", Tga(10, 24, 1, 2, 0x20, rle), {0xFF302010, 0xFF302010}},
      {"run past the end, cut", Tga(10, 24, 1, 1, 0x20, rle), {0xFF302010}},
      {"raw packet past the end, cut", Tga(11, 8, 1, 1, 0x20, Bytes("\x7F\x09", 2)), {0xFF090909}},
      {"packet cut short", Tga(10, 24, 2, 1, 0x20, Bytes("\x01\x10\x20\x30\x40", 5)), {}},
      {"packets missing", Tga(10, 24, 1, 2, 0x20, Bytes("\x80\x10\x20\x30", 4)), {}},
      {"one row of 32", Tga(2, 24, 32, 32, 0x20, row24), {}},
      {"one byte short", Tga(2, 24, 2, 1, 0x20, Bytes(5, '\1')), {}},
      {"map cut short", Tga(1, 8, 1, 1, 0x20, Bytes("\1\2", 2), 1, 24), {}},
      {"grey of 16 bits", Tga(3, 16, 1, 1, 0x20, Bytes(2, '\1')), {}},
      {"true colour of 8 bits", Tga(2, 8, 1, 1, 0x20, Bytes(1, '\1')), {}},
      {"no image", Tga(0, 8, 1, 1, 0x20, Bytes(1, '\1')), {}},
      {"type 4", Tga(4, 8, 1, 1, 0x20, Bytes(1, '\1')), {}},
      {"no width", Tga(2, 24, 0, 1, 0x20, Bytes(3, '\1')), {}},
      {"as wide as the device", Tga(3, 8, 64, 1, 0x20, Bytes(64, '\1')), std::vector<uint32_t>(64, 0xFF010101)},
      {"wider than the device", Tga(2, 24, 65, 1, 0x20, Bytes(65 * 3, '\1')), {}},
      {"taller than the device", Tga(2, 24, 1, 65, 0x20, Bytes(65 * 3, '\1')), {}},
      {"a header alone", Tga(2, 24, 1, 1, 0x20, ""), {}},
      {"short of a header", Bytes("\0\0\2", 3), {}},
  };
  for (const Case& c : cases) {
    DecodedImage image;
    const int result = DecodeTga(c.file.data(), c.file.size(), 64, 64, &image);
    EXPECT_EQ(result, c.texels.empty() ? -1 : 0) << c.what;
    if (result == 0) {
      EXPECT_EQ(std::vector<uint32_t>(image.texels, image.texels + image.width * image.height), c.texels)
          << c.what;
    } else {
      EXPECT_TRUE(image.texels == NULL && image.width == 0) << c.what;
    }
    FreeImage(&image);
    EXPECT_TRUE(image.texels == NULL && image.width == 0 && image.height == 0) << c.what;
  }
  // A header of 65535 x 65535 (16 GiB of texels) in a few bytes: refused before
  // allocating (the test runs with no allocation over 64 MiB allowed).
  DecodedImage image;
  for (int type : {2, 10}) {
    const Bytes huge = Tga(type, 24, 0xFFFF, 0xFFFF, 0x20, Bytes(300, '\xFF'));
    EXPECT_EQ(DecodeTga(huge.data(), huge.size(), 0xFFFF, 0xFFFF, &image), -1) << type;
  }
  EXPECT_EQ(DecodeTga(NULL, 100, 64, 64, &image), -1);
  uint32_t keyed[] = {0xFF000000, 0x00000000, 0xFE000000, 0xFF000001, 0xFF010000, 0xFF000000};
  KeyOutBlack(keyed, 5);
  EXPECT_EQ(std::vector<uint32_t>(keyed, keyed + 6),
            (std::vector<uint32_t>{0, 0, 0xFE000000, 0xFF000001, 0xFF010000, 0xFF000000}));
}

TEST(DecodeTga, DamagedAndCraftedFilesAreRefusedOrReadWithinTheLimits) {
  const std::vector<Bytes> samples = Samples();
  const int first = EnvInt("LQ_IMAGE_FIRST", 0), count = EnvInt("LQ_IMAGE_FILES", 100);
  int loaded = 0;
  uint32_t texels = 0;
  for (int n = first; n < first + count; ++n) {
    Format format;
    const Bytes bytes = MakeCase(samples, (uint32_t)(n * FORMATS + TGA), &format);
    DecodedImage image;
    const bool ok = DecodeTga(bytes.data(), bytes.size(), 2048, 2048, &image) == 0;
    ASSERT_TRUE(ok ? image.width > 0 && image.width <= 2048 && image.height > 0 && image.height <= 2048
                   : image.texels == nullptr) << "case " << n;
    texels ^= ok ? image.texels[image.width * image.height - 1] : 0;  // the last one is there
    loaded += ok;
    FreeImage(&image);
  }
  printf("%d TGA files: %d loaded, %d refused (last texels read: %08x)\n", count, loaded, count - loaded, texels);
}

TEST(CameraMatrices, MatchTheirDefinitions) {
  // Arrays of exactly 16, NaN-filled: a float left unwritten, or one written past
  // the end (under ASan), fails.
  float p[16], v[16], w[16];
  for (float* a : {p, v, w}) std::fill(a, a + 16, NAN);
  PerspectiveFovLH(p, 2 * atanf(0.5f), 2.0f, 1.0f, 101.0f);  // tan(fov / 2) = 0.5
  // From (1, 2, 3) along +x: x becomes depth, z turns to -x.
  const float eye[3] = {1, 2, 3}, at[3] = {5, 2, 3}, up[3] = {0, 1, 0};
  LookAtLH(v, eye, at, up);
  // From the origin to (1, 2, 2), by hand: z = (1, 2, 2) / 3, x = (2, 0, -1) / sqrt 5,
  // y = z cross x = (-2, 5, -4) / (3 sqrt 5).
  const float origin[3] = {0, 0, 0}, target[3] = {1, 2, 2};
  LookAtLH(w, origin, target, up);
  const float r5 = 1 / sqrtf(5);
  const float want[3][16] = {
      {1, 0, 0, 0, 0, 2, 0, 0, 0, 0, 1.01f, 1, 0, 0, -1.01f, 0},
      {0, 0, 1, 0, 0, 1, 0, 0, -1, 0, 0, 0, 3, -2, -1, 1},
      {2 * r5, -2 * r5 / 3, 1.0f / 3, 0, 0, 5 * r5 / 3, 2.0f / 3, 0, -r5, -4 * r5 / 3, 2.0f / 3, 0,
       0, 0, 0, 1}};
  const float* got[3] = {p, v, w};
  for (int i = 0; i < 48; ++i) EXPECT_NEAR(got[i / 16][i % 16], want[i / 16][i % 16], 1e-5) << i;
  LookAtLH(v, eye, eye, up);  // nowhere to look: zero axes, no NaN
  for (float x : v) EXPECT_EQ(x, x);
}

}  // namespace
