// Null and missing names, null texts and formats on the real device: refused or
// ignored, nothing taken, nothing bound that was not asked for.
#include "real_device.h"

namespace {

int EntriesInUse() {
  int used = 0;
  for (const TextureEntry& e : Gfx.textures) used += e.texture != NULL;
  return used;
}

TEST_F(RealDevice, NullAndMissingNamesAreRefusedAndTakeNothing) {
  const int used = EntriesInUse();
  EXPECT_EQ(LoadTexture(NULL), E_FAIL);
  EXPECT_EQ(LoadTexture("no such file.bmp"), E_FAIL);
  EXPECT_EQ(ReleaseTexture(NULL), 0);
  EXPECT_EQ(ReleaseTexture("no such file.bmp"), 0);
  EXPECT_EQ(EntriesInUse(), used);
  EXPECT_EQ(BindTexture(NULL), 0);
  IDirect3DBaseTexture9* bound = white;
  GetDevice()->GetTexture(0, &bound);
  EXPECT_EQ(bound, nullptr);

  // A null face: D3DX picks one or refuses; either way the slot tells the truth.
  const HRESULT font = CreateFontSlot(30, NULL, 16);
  EXPECT_EQ(font == 0, Gfx.fonts[30] != NULL);
  if (font != 0) {
    ASSERT_EQ(CreateFontSlot(30, "Tahoma", 16), 0);
  }
  EXPECT_EQ(DrawString(30, 0, 0, 0xFFFFFFFF, NULL), E_FAIL);
  EXPECT_EQ(DrawStringF(30, 0, 0, 0xFFFFFFFF, NULL), 0);  // an empty text
  EXPECT_STREQ(Gfx.formatBuffer, "");
}

}  // namespace
