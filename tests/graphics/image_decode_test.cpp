// The image decoder and the camera's matrices, natively under the sanitizers; the
// decoder over damaged files (100, or LQ_IMAGE_FILES from LQ_IMAGE_FIRST) too.
#include <gtest/gtest.h>

#include <math.h>

#include "graphics/camera_math.h"
#include "graphics/image_decode.h"
#include "image_cases.h"

namespace {

using namespace image_cases;

// Their texels are compared with D3DX's on the real device (graphics_real_test).
TEST(DecodeImage, EachFormatDecodesWithBlackKeyedOutAndSizesBeyondTheLimitsRefused) {
  DecodedImage image;
  for (const char* file : {"sample.bmp", "sample.png", "sample.tga", "sample.gif", "sample.jpg"}) {
    const Bytes bytes = ReadFile(std::string(LQ_IMAGES) + "/" + file);
    ASSERT_EQ(DecodeImage(bytes.data(), bytes.size(), 37, 23, &image), 0) << file;
    EXPECT_TRUE(file[7] == 'j' || image.texels[0] == 0u) << file << ": the black corner (JPEG aside)";
    FreeImage(&image);
    EXPECT_EQ(DecodeImage(bytes.data(), bytes.size(), 36, 64, &image), -1) << file;
    EXPECT_EQ(DecodeImage(bytes.data(), bytes.size(), 64, 22, &image) + (image.texels != NULL), -1) << file;
  }
  EXPECT_EQ(DecodeImage("\x89PNG\r\n\x1a\n", 8, 64, 64, &image) + DecodeImage(NULL, 8, 64, 64, &image), -2);
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
  float m[2][16];
  PerspectiveFovLH(m[0], 2 * atanf(0.5f), 2.0f, 1.0f, 101.0f);  // tan(fov / 2) = 0.5
  // From (1, 2, 3) along +x: x becomes depth, z turns to -x.
  const float eye[3] = {1, 2, 3}, at[3] = {5, 2, 3}, up[3] = {0, 1, 0};
  LookAtLH(m[1], eye, at, up);
  const float want[2][16] = {{1, 0, 0, 0, 0, 2, 0, 0, 0, 0, 1.01f, 1, 0, 0, -1.01f, 0},
                             {0, 0, 1, 0, 0, 1, 0, 0, -1, 0, 0, 0, 3, -2, -1, 1}};
  for (int i = 0; i < 32; ++i) EXPECT_NEAR(m[i / 16][i % 16], want[i / 16][i % 16], 1e-5) << i;
  LookAtLH(m[1], eye, eye, up);  // nowhere to look: zero axes, no NaN
  for (float v : m[1]) EXPECT_EQ(v, v);
}

}  // namespace
