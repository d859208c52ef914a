// Textures from image files without D3DX: the file read whole, decoded by the
// built-in decoder and copied into a texture made as D3DX makes it (own size, one
// level, A8R8G8B8, managed pool, opaque black made transparent).
#include "graphics/graphics.h"
#include "graphics/graphics_state.h"
#include "graphics/image_decode.h"

#include <stdlib.h>
#include <string.h>

enum : DWORD { MAX_IMAGE_FILE = 256u << 20 };  // no image the device can hold is larger

// The whole file in a buffer of malloc's (the caller frees it), or null.
static BYTE* ReadWholeFile(const char* name, DWORD* size) {
  HANDLE file = CreateFileA(name, GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, NULL);
  if (file == INVALID_HANDLE_VALUE) return NULL;
  LARGE_INTEGER length;
  BYTE* bytes = NULL;
  DWORD got = 0;
  if (GetFileSizeEx(file, &length) && length.QuadPart > 0 && length.QuadPart <= MAX_IMAGE_FILE) {
    bytes = static_cast<BYTE*>(malloc((size_t)length.QuadPart));
    if (bytes != NULL && (!ReadFile(file, bytes, (DWORD)length.QuadPart, &got, NULL) ||
                          got != (DWORD)length.QuadPart)) {
      free(bytes);
      bytes = NULL;
    }
  }
  CloseHandle(file);
  *size = got;
  return bytes;
}

IDirect3DTexture9* CreateTextureFromImageFile(IDirect3DDevice9* device, const char* name) {
  if (device == NULL || name == NULL) return NULL;
  D3DCAPS9 caps;
  if (device->GetDeviceCaps(&caps) != D3D_OK) return NULL;
  DWORD size = 0;
  BYTE* bytes = ReadWholeFile(name, &size);
  if (bytes == NULL) return NULL;
  DecodedImage image;
  const int decoded = DecodeImage(bytes, size, (int)caps.MaxTextureWidth,
                                  (int)caps.MaxTextureHeight, &image);
  free(bytes);
  if (decoded != 0) return NULL;

  IDirect3DTexture9* texture = NULL;
  D3DLOCKED_RECT locked;
  if (device->CreateTexture(image.width, image.height, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED,
                            &texture, NULL) == D3D_OK &&
      texture->LockRect(0, &locked, NULL, 0) == D3D_OK) {
    for (int y = 0; y < image.height; ++y) {
      memcpy(static_cast<BYTE*>(locked.pBits) + (size_t)y * locked.Pitch,
             image.texels + (size_t)y * image.width, (size_t)image.width * 4);
    }
    texture->UnlockRect(0);
  } else if (texture != NULL) {
    texture->Release();
    texture = NULL;
  }
  FreeImage(&image);
  return texture;
}
