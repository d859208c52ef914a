// The texture cache: image files loaded once by name into managed textures, kept
// with a count of the loads not yet released, bound to stage 0 by name. Entries
// are keyed by the CRC-32 of the name; the names themselves are not kept. The
// files are read by texture_file.cpp.
#include <string.h>

#include "graphics/graphics.h"
#include "graphics/graphics_state.h"
#include "util/crc32.h"

static DWORD HashName(const char* name) { return CalcCrc32(name, (int32_t)strlen(name)); }

// The entry in use with this hash, or -1. When firstFree is given it receives the
// lowest free entry (or -1): a match wins even when it lies after a free entry.
static int FindTexture(DWORD hash, int* firstFree) {
  int match = -1, vacant = -1;
  for (int i = 0; i < TEXTURE_SLOTS && match < 0; ++i) {
    const TextureEntry& entry = Gfx.textures[i];
    if (entry.texture == NULL) {
      if (vacant < 0) vacant = i;
    } else if (entry.hash == hash) {
      match = i;
    }
  }
  if (firstFree != NULL) *firstFree = vacant;
  return match;
}

HRESULT LoadTexture(const char* name) {
  if (name == NULL) return E_FAIL;
  const DWORD hash = HashName(name);
  int freeEntry;
  const int match = FindTexture(hash, &freeEntry);
  if (match >= 0) {
    ++Gfx.textures[match].refCount;  // the file is not read again
    return 0;
  }
  if (freeEntry < 0) return E_FAIL;
  TextureEntry& entry = Gfx.textures[freeEntry];
  entry.texture = CreateTextureFromFile(name);
  if (entry.texture == NULL) return E_FAIL;  // the entry stays free
  entry.refCount = 1;
  entry.hash = hash;
  return 0;
}

HRESULT ReleaseTexture(const char* name) {
  if (name == NULL) return 0;
  const int match = FindTexture(HashName(name), NULL);
  if (match < 0) return 0;
  TextureEntry& entry = Gfx.textures[match];
  if (--entry.refCount <= 0) {
    entry.texture->Release();
    entry = TextureEntry{};
  }
  return 0;
}

HRESULT BindTexture(const char* name) {
  if (Gfx.lpDevice == NULL) return 0;
  if (name == NULL) return Gfx.lpDevice->SetTexture(0, NULL);
  const int match = FindTexture(HashName(name), NULL);
  if (match < 0) return 0;  // stage 0 keeps what it had
  return Gfx.lpDevice->SetTexture(0, Gfx.textures[match].texture);
}
