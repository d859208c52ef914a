// The built-in image decoder, the camera's matrices and the text layout, run
// natively under the sanitizers; the decoder also over damaged and crafted files
// (100, or LQ_IMAGE_FILES from LQ_IMAGE_FIRST), which must be refused or read
// within the limits, never read or written out of bounds.
#include <gtest/gtest.h>

#include <math.h>

#include "graphics/camera_math.h"
#include "graphics/glyph_layout.h"
#include "graphics/image_decode.h"
#include "image_cases.h"

namespace {

using namespace image_cases;

std::vector<Bytes> Samples() {
  std::vector<Bytes> samples;
  for (const char* name : kNames) samples.push_back(ReadFile(std::string(LQ_IMAGES) + "/" + name));
  return samples;
}

TEST(DecodeImage, EachFormatGivesItsTexelsWithOpaqueBlackKeyedOut) {
  struct Case {
    const char* file;
    int tolerance;      // per colour channel: JPEG is lossy, GIF a palette
    bool alpha;         // the PNG's half-transparent band
  } cases[] = {{"sample.bmp", 0, false}, {"sample.png", 0, true}, {"sample.tga", 0, false},
               {"sample.gif", 40, false}, {"sample.jpg", 12, false}};  // GIF: 256 colours
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    const Bytes bytes = ReadFile(std::string(LQ_IMAGES) + "/" + c.file);
    DecodedImage image;
    ASSERT_EQ(DecodeImage(bytes.data(), bytes.size(), 64, 64, &image), 0);
    ASSERT_EQ(image.width, 37);
    ASSERT_EQ(image.height, 23);
    if (c.tolerance == 0) {
      EXPECT_EQ(image.texels[0], 0u);  // the black corner
    }
    for (int y = 0; y < 23; y += 11) {
      for (int x = 10; x < 37; x += 13) {
        const uint32_t texel = image.texels[y * 37 + x];
        const int want[4] = {c.alpha && x >= 20 && x < 26 ? 128 : 255, x * 7 % 256, y * 11 % 256,
                             (x + y) * 5 % 256};
        for (int ch = 0; ch < 4; ++ch) {
          EXPECT_NEAR((int)(texel >> (24 - 8 * ch) & 0xFF), want[ch], ch ? c.tolerance : 0)
              << x << "," << y << " channel " << ch;
        }
      }
    }
    FreeImage(&image);
    // Larger than the device takes, either way: refused before decoding.
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
  for (int n = first; n < first + count; ++n) {
    Format format;
    const Bytes bytes = MakeCase(samples, (uint32_t)n, &format);
    DecodedImage image;
    if (DecodeImage(bytes.data(), bytes.size(), 2048, 2048, &image) == 0) {
      ASSERT_TRUE(image.width > 0 && image.width <= 2048 && image.height > 0 && image.height <= 2048)
          << "case " << n;
      volatile uint32_t last = image.texels[image.width * image.height - 1];  // all there
      (void)last;
      ++loaded[format];
    } else {
      ASSERT_EQ(image.texels, nullptr) << "case " << n;
      ++refused[format];
    }
    FreeImage(&image);
  }
  for (int f = 0; f < FORMATS; ++f) {
    printf("%s: %d loaded, %d refused\n", kNames[f], loaded[f], refused[f]);
  }
}

TEST(CameraMatrices, MatchTheirDefinitions) {
  float m[16];
  PerspectiveFovLH(m, 2 * atanf(0.5f), 2.0f, 1.0f, 101.0f);  // tan(fov / 2) = 0.5
  const float projection[16] = {1, 0, 0, 0, 0, 2, 0, 0, 0, 0, 1.01f, 1, 0, 0, -1.01f, 0};
  for (int i = 0; i < 16; ++i) EXPECT_NEAR(m[i], projection[i], 1e-5) << i;
  struct Case {
    float eye[3], at[3], up[3], view[16];
  } cases[] = {
      // Looking along +z from z = -10: only the translation.
      {{0, 0, -10}, {0, 0, 0}, {0, 1, 0}, {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 10, 1}},
      // Looking along +x from (1, 2, 3): x becomes depth, z turns to -x.
      {{1, 2, 3}, {5, 2, 3}, {0, 1, 0}, {0, 0, 1, 0, 0, 1, 0, 0, -1, 0, 0, 0, 3, -2, -1, 1}},
      // Up along the view: the zero vectors stay zero, nothing is NaN.
      {{0, 0, 0}, {0, 1, 0}, {0, 1, 0}, {0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 1}},
  };
  for (const Case& c : cases) {
    LookAtLH(m, c.eye, c.at, c.up);
    for (int i = 0; i < 16; ++i) EXPECT_NEAR(m[i], c.view[i], 1e-6) << i;
  }
}

TEST(LayoutText, GlyphsFollowThePenAndLinesTheLineHeight) {
  GlyphAtlas atlas = {};
  atlas.cellWidth = 8, atlas.cellHeight = 10, atlas.lineHeight = 12;
  atlas.glyphs['A'] = {1, 2, 5, 7, 6};
  atlas.glyphs[' '] = {0, 0, 0, 0, 4};
  atlas.glyphs[0xE9] = {-1, 0, 6, 9, 7};  // a byte above 127 is a glyph too
  struct Case {
    const char* text;
    int quads, width, height;
    float firstX, firstY, lastX, lastY;  // top-left corners of the first and last quads
  } cases[] = {
      {"A A", 2, 16, 12, 11, 22, 21, 22},
      {"A\nA\r\n\xE9", 3, 7, 36, 11, 22, 9, 44},
      {"", 0, 0, 0, 0, 0, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    Vertex2D out[3 * QUAD_VERTICES];
    int width = -1, height = -1;
    const int count = (int)strlen(c.text);
    ASSERT_EQ(LayoutText(&atlas, c.text, count, 10, 20, 0xFF00FF00, out, 3, &width, &height), c.quads);
    EXPECT_EQ(width, c.width);
    EXPECT_EQ(height, c.height);
    if (c.quads == 0) continue;
    const Vertex2D* last = out + (c.quads - 1) * QUAD_VERTICES;
    EXPECT_EQ(out[0].x, c.firstX - 0.5f);
    EXPECT_EQ(out[0].y, c.firstY - 0.5f);
    EXPECT_EQ(last->x, c.lastX - 0.5f);
    EXPECT_EQ(last->y, c.lastY - 0.5f);
    EXPECT_EQ(out[0].diffuse, 0xFF00FF00u);
    EXPECT_EQ(out[4].u, ('A' % 16 * 8 + 5) / 128.0f);  // the bitmap's corner in its cell
    EXPECT_EQ(out[4].v, ('A' / 16 * 10 + 7) / 160.0f);
  }
  // No room: nothing written, the count still told.
  EXPECT_EQ(LayoutText(&atlas, "AAAA", 4, 0, 0, 0, NULL, 0, NULL, NULL), 4);
}

}  // namespace
