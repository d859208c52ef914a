// d3dx9_43.dll loaded at run time, never imported: a fresh Windows lacks it.
#include "graphics/d3dx_entry.h"

template <typename Function>
static bool Take(HMODULE module, const char* name, Function* out) {
  *out = reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
  return *out != NULL;
}

HRESULT LoadD3DX(D3DXEntryPoints* entries) {
  // Loaded once; a missing DLL makes LoadLibrary fail quietly (no box).
  static const HMODULE module = LoadLibraryA("d3dx9_43.dll");
  D3DXEntryPoints found = {};
  const bool all = module != NULL && Take(module, "D3DXCreateFontA", &found.createFont) &&
                   Take(module, "D3DXGetImageInfoFromFileA", &found.getImageInfo) &&
                   Take(module, "D3DXCreateTextureFromFileExA", &found.createTexture);
  *entries = all ? found : D3DXEntryPoints{};
  return all ? 0 : E_FAIL;
}
