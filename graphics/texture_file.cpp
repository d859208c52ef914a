// Textures from image files, each made the same way whatever reads the file: its
// own size, one level, A8R8G8B8, managed pool, opaque black made transparent.
// BMP, PNG, JPEG and GIF are the Windows Imaging Component's (every Windows since
// Vista has it, with or without D3DX); TGA, which that component does not read on
// Windows, is our reader's; D3DX, where it is there, reads only the rest (DDS and
// the like).
#include <windows.h>
#include <wincodec.h>

#include <stdlib.h>
#include <string.h>

#include "graphics/d3dx_entry.h"
#include "graphics/graphics_state.h"
#include "graphics/image_decode.h"
#include "graphics/internal.h"
#include "util/release.h"

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

// A texture as the cache makes them, width x height, locked for writing; null
// (nothing held) when the device refuses it.
static IDirect3DTexture9* CreateLockedTexture(UINT width, UINT height, D3DLOCKED_RECT* locked) {
  IDirect3DTexture9* texture = NULL;
  if (Gfx.lpDevice->CreateTexture(width, height, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &texture,
                                  NULL) != D3D_OK) {
    return NULL;
  }
  if (texture->LockRect(0, locked, NULL, 0) != D3D_OK) ReleaseAndNull(&texture);
  return texture;
}

// Unlocks the texture after keying out its black; the texture, or null (released)
// when its texels were not all written.
static IDirect3DTexture9* FinishTexture(IDirect3DTexture9* texture, const D3DLOCKED_RECT& locked,
                                        UINT width, UINT height, bool written) {
  for (UINT y = 0; written && y < height; ++y) {
    KeyOutBlack(reinterpret_cast<uint32_t*>(static_cast<BYTE*>(locked.pBits) + (size_t)y * locked.Pitch),
                width);
  }
  texture->UnlockRect(0);
  if (!written) ReleaseAndNull(&texture);
  return texture;
}

enum WicResult { WIC_NOT_MINE, WIC_REFUSED, WIC_DONE };

// The first frame of a BMP, PNG, JPEG or GIF file through the Imaging Component,
// converted to 32-bit BGRA (A8R8G8B8's own layout) straight into the texture.
// Files of other containers (Wine's component also reads TGA, which ours does on
// every system) are not its to read.
static WicResult CreateTextureWithWic(BYTE* bytes, DWORD size, const D3DCAPS9& caps,
                                      IDirect3DTexture9** out) {
  // Textures are loaded on the main thread, which joins a single-threaded
  // apartment as the sound device does, and leaves it again: each call balances
  // its own. A thread already in the multithreaded apartment stays there
  // (RPC_E_CHANGED_MODE): the component's objects live in either.
  const HRESULT com = CoInitializeEx(NULL, COINIT_APARTMENTTHREADED);
  if (FAILED(com) && com != RPC_E_CHANGED_MODE) return WIC_REFUSED;
  WicResult result = WIC_NOT_MINE;
  IWICImagingFactory* factory = NULL;
  IWICStream* stream = NULL;
  IWICBitmapDecoder* decoder = NULL;
  IWICBitmapFrameDecode* frame = NULL;
  IWICFormatConverter* converter = NULL;
  GUID container;
  UINT width = 0, height = 0;
  if (SUCCEEDED(CoCreateInstance(CLSID_WICImagingFactory, NULL, CLSCTX_INPROC_SERVER,
                                 IID_IWICImagingFactory, reinterpret_cast<void**>(&factory))) &&
      SUCCEEDED(factory->CreateStream(&stream)) &&
      SUCCEEDED(stream->InitializeFromMemory(bytes, size)) &&
      SUCCEEDED(factory->CreateDecoderFromStream(stream, NULL, WICDecodeMetadataCacheOnDemand, &decoder)) &&
      SUCCEEDED(decoder->GetContainerFormat(&container)) &&
      (container == GUID_ContainerFormatBmp || container == GUID_ContainerFormatPng ||
       container == GUID_ContainerFormatJpeg || container == GUID_ContainerFormatGif)) {
    result = WIC_REFUSED;
    // The size the decoder reports is checked before any texel is allocated.
    if (SUCCEEDED(decoder->GetFrame(0, &frame)) && SUCCEEDED(frame->GetSize(&width, &height)) &&
        width > 0 && height > 0 && width <= caps.MaxTextureWidth && height <= caps.MaxTextureHeight &&
        SUCCEEDED(factory->CreateFormatConverter(&converter)) &&
        SUCCEEDED(converter->Initialize(frame, GUID_WICPixelFormat32bppBGRA, WICBitmapDitherTypeNone,
                                        NULL, 0.0, WICBitmapPaletteTypeCustom))) {
      D3DLOCKED_RECT locked;
      if (IDirect3DTexture9* texture = CreateLockedTexture(width, height, &locked)) {
        const bool copied = SUCCEEDED(converter->CopyPixels(NULL, (UINT)locked.Pitch,
                                                            (UINT)locked.Pitch * height,
                                                            static_cast<BYTE*>(locked.pBits)));
        *out = FinishTexture(texture, locked, width, height, copied);
        if (*out != NULL) result = WIC_DONE;
      }
    }
  }
  ReleaseAndNull(&converter);
  ReleaseAndNull(&frame);
  ReleaseAndNull(&decoder);
  ReleaseAndNull(&stream);
  ReleaseAndNull(&factory);
  if (SUCCEEDED(com)) CoUninitialize();
  return result;
}

// A TGA file through our reader; null when it is none or is damaged.
static IDirect3DTexture9* CreateTextureFromTga(const BYTE* bytes, DWORD size, const D3DCAPS9& caps) {
  DecodedImage image;
  if (DecodeTga(bytes, size, (int)caps.MaxTextureWidth, (int)caps.MaxTextureHeight, &image) != 0) {
    return NULL;
  }
  D3DLOCKED_RECT locked;
  IDirect3DTexture9* texture = CreateLockedTexture(image.width, image.height, &locked);
  if (texture != NULL) {
    for (int y = 0; y < image.height; ++y) {
      memcpy(static_cast<BYTE*>(locked.pBits) + (size_t)y * locked.Pitch,
             image.texels + (size_t)y * image.width, (size_t)image.width * 4);
    }
    texture = FinishTexture(texture, locked, image.width, image.height, true);
  }
  FreeImage(&image);
  return texture;
}

// D3DX, where it is there, for the formats read above by neither: the formats
// it names as the component's or ours (a TGA our reader refused among them) stay
// refused.
static IDirect3DTexture9* CreateTextureWithD3DX(const char* name) {
  D3DXIMAGE_INFO info;
  if (D3DXEntries.getImageInfo == NULL || D3DXEntries.getImageInfo(name, &info) != D3D_OK) return NULL;
  switch (info.ImageFileFormat) {
    case D3DXIFF_BMP: case D3DXIFF_JPG: case D3DXIFF_TGA: case D3DXIFF_PNG: return NULL;
    default: break;
  }
  IDirect3DTexture9* texture = NULL;
  D3DXEntries.createTexture(Gfx.lpDevice, name, info.Width, info.Height, 1, 0, D3DFMT_A8R8G8B8,
                             D3DPOOL_MANAGED, D3DX_FILTER_NONE, D3DX_FILTER_NONE, 0xFF000000, NULL,
                             NULL, &texture);
  return texture;
}

IDirect3DTexture9* CreateTextureFromFile(const char* name) {
  D3DCAPS9 caps;
  if (Gfx.lpDevice == NULL || name == NULL || Gfx.lpDevice->GetDeviceCaps(&caps) != D3D_OK) return NULL;
  DWORD size = 0;
  BYTE* bytes = ReadWholeFile(name, &size);
  if (bytes == NULL) return NULL;
  IDirect3DTexture9* texture = NULL;
  const WicResult wic = CreateTextureWithWic(bytes, size, caps, &texture);
  if (wic == WIC_NOT_MINE) texture = CreateTextureFromTga(bytes, size, caps);
  free(bytes);
  if (wic == WIC_NOT_MINE && texture == NULL) texture = CreateTextureWithD3DX(name);
  return texture;
}
