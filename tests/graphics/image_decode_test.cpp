// The built-in image decoder and the camera's matrices, natively under the
// sanitizers; the decoder also over damaged and crafted files (100, or
// LQ_IMAGE_FILES from LQ_IMAGE_FIRST): each refused or read within the limits.
#include <gtest/gtest.h>

#include <math.h>

#include "graphics/camera_math.h"
#include "graphics/image_decode.h"
#include "image_cases.h"

namespace {

using namespace image_cases;

TEST(DecodeImage, EachFormatGivesItsTexelsWithOpaqueBlackKeyedOut) {
  // Per colour channel: JPEG is lossy, GIF a palette of 256.
  const std::pair<const char*, int> cases[] = {
      {"sample.bmp", 0}, {"sample.png", 0}, {"sample.tga", 0}, {"sample.gif", 40}, {"sample.jpg", 12}};
  for (const auto& [file, tolerance] : cases) {
    SCOPED_TRACE(file);
    const Bytes bytes = ReadFile(std::string(LQ_IMAGES) + "/" + file);
    DecodedImage image;
    ASSERT_EQ(DecodeImage(bytes.data(), bytes.size(), 64, 64, &image), 0);
    ASSERT_EQ(image.width * 100 + image.height, 3723);
    EXPECT_TRUE(tolerance > 0 || image.texels[0] == 0u) << "the black corner";
    for (int i = 10; i < 37 * 23; i += 97) {
      const int x = i % 37, y = i / 37, png = file[7] == 'p';
      const int want[4] = {png && x >= 20 && x < 26 ? 128 : 255, x * 7 % 256, y * 11 % 256, (x + y) * 5 % 256};
      for (int ch = 0; ch < 4; ++ch)
        EXPECT_NEAR((int)(image.texels[i] >> (24 - 8 * ch) & 0xFF), want[ch], ch ? tolerance : 0) << i;
    }
    FreeImage(&image);
    // Beyond the device's size either way: refused from the header.
    EXPECT_EQ(DecodeImage(bytes.data(), bytes.size(), 36, 64, &image), -1);
    EXPECT_EQ(DecodeImage(bytes.data(), bytes.size(), 64, 22, &image), -1);
    EXPECT_EQ(image.texels, nullptr);
  }
  DecodedImage image;
  for (size_t size : {0, 1, 8}) EXPECT_EQ(DecodeImage("\x89PNG\r\n\x1a\n", size, 64, 64, &image), -1);
  EXPECT_EQ(DecodeImage(NULL, 10, 64, 64, &image), -1);
}

TEST(DecodeImage, DamagedAndCraftedFilesAreRefusedOrReadWithinTheLimits) {
  const std::vector<Bytes> samples = Samples();
  const int first = EnvInt("LQ_IMAGE_FIRST", 0), count = EnvInt("LQ_IMAGE_FILES", 100);
  int loaded[FORMATS] = {}, refused[FORMATS] = {};
  uint32_t texels = 0;
  for (int n = first; n < first + count; ++n) {
    Format format;
    const Bytes bytes = MakeCase(samples, (uint32_t)n, &format);
    DecodedImage image;
    const bool ok = DecodeImage(bytes.data(), bytes.size(), 2048, 2048, &image) == 0;
    ASSERT_TRUE(ok ? image.width > 0 && image.width <= 2048 && image.height > 0 && image.height <= 2048
                   : image.texels == nullptr) << "case " << n;
    texels ^= ok ? image.texels[image.width * image.height - 1] : 0;  // the last one is there
    ++(ok ? loaded : refused)[format];
    FreeImage(&image);
  }
  for (int f = 0; f < FORMATS; ++f) printf("%s: %d loaded, %d refused\n", kNames[f], loaded[f], refused[f]);
  printf("(last texels read: %08x)\n", texels);
}

TEST(CameraMatrices, MatchTheirDefinitions) {
  struct Case {
    float eye[3], at[3], up[3], view[16];
  } cases[] = {
      // Along +z from z = -10: only the translation.
      {{0, 0, -10}, {0, 0, 0}, {0, 1, 0}, {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 10, 1}},
      // Along +x from (1, 2, 3): x becomes depth, z turns to -x.
      {{1, 2, 3}, {5, 2, 3}, {0, 1, 0}, {0, 0, 1, 0, 0, 1, 0, 0, -1, 0, 0, 0, 3, -2, -1, 1}},
      // Up along the view: zero axes stay zero, nothing is NaN.
      {{0, 0, 0}, {0, 1, 0}, {0, 1, 0}, {0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 1}},
      // The projection: tan(fov / 2) = 0.5, aspect 2, depths 1 and 101.
      {{}, {}, {}, {1, 0, 0, 0, 0, 2, 0, 0, 0, 0, 1.01f, 1, 0, 0, -1.01f, 0}},
  };
  for (const Case& c : cases) {
    float m[16];
    if (&c == &cases[3]) PerspectiveFovLH(m, 2 * atanf(0.5f), 2.0f, 1.0f, 101.0f);
    else LookAtLH(m, c.eye, c.at, c.up);
    for (int i = 0; i < 16; ++i) EXPECT_NEAR(m[i], c.view[i], 1e-5) << i;
  }
}

}  // namespace
