// Damaged images through LoadTexture without D3DX on Wine's device: no handle left.
#include <direct.h>
#include <stdio.h>

#include "graphics/d3dx_entry.h"
#include "graphics/internal.h"
#include "image_cases.h"
#include "real_device.h"
#include "tools/handle_count.h"

namespace {

TEST_F(RealDevice, DamagedImagesAreRefusedOrLoadedWithoutLeavingHandles) {
  using namespace image_cases;
  const D3DXEntryPoints withD3DX = D3DXEntries;
  D3DXEntries = {};  // as on a Windows without the DLL
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
    if (FILE* f = fopen(name.c_str(), "wb")) fwrite(bytes.data(), 1, bytes.size(), f), fclose(f);
    if (LoadTexture(name.c_str()) == 0) ++loaded, ReleaseTexture(name.c_str());
    remove(name.c_str());
  }
  const long after = CountProcessHandles(GetCurrentProcess(), GetCurrentProcessId());
  printf("%d images: %d loaded, %d refused; handles %ld before, %ld after\n", count, loaded,
         count - loaded, handles, after);
  EXPECT_EQ(after, handles);
  ReleaseTextures();
  D3DXEntries = withD3DX;
}

}  // namespace
