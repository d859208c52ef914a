// The real Direct3D 9 (Wine's, software-rendered under Xvfb) for the graphics
// tests that read pixels back: one window and device for the whole executable.
#pragma once
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "app/app_state.h"
#include "graphics/graphics.h"
#include "graphics/graphics_state.h"
#include "tools/device_window.h"
#include "tools/message_box_reader.h"
#include "util/release.h"

// Back buffer and flip targets: kSize x kSize (an executable may ask for more).
#ifdef LQ_REAL_DEVICE_SIZE
inline const int kSize = LQ_REAL_DEVICE_SIZE;
#else
inline const int kSize = 64;
#endif

// One window, device and white texture for the whole executable: windows are slow
// to destroy under Wine.
class RealDevice : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    boxes = new MessageBoxReader;
    started = StartDeviceWindow("LqGraphicsRealTest", kSize, kSize);
    window = App.window;
    if (started == 0) white = MakeWhiteTexture();
  }
  static void TearDownTestSuite() {
    ReleaseAndNull(&white);
    ReleaseDirectX();
    DestroyWindow(window);
    UnregisterClassA("LqGraphicsRealTest", GetModuleHandleA(NULL));
    delete boxes;
  }
  void SetUp() override {
    ASSERT_NE(window, nullptr);
    ASSERT_EQ(started, 0) << "no Direct3D device: " << (boxes->Texts().empty() ? "" : boxes->Texts()[0]);
    ASSERT_NE(white, nullptr);
  }
  void TearDown() override { EXPECT_TRUE(boxes->Boxes().empty()) << boxes->Boxes()[0].text; }

  // A 1 x 1 opaque white texture: with DRAWMODE_TEXTURE_MODULATE the quads show
  // their vertex colour.
  static IDirect3DTexture9* MakeWhiteTexture() {
    IDirect3DTexture9* texture = NULL;
    if (GetDevice()->CreateTexture(1, 1, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &texture, NULL) != 0)
      return NULL;
    D3DLOCKED_RECT locked;
    if (texture->LockRect(0, &locked, NULL, 0) == 0) {
      *static_cast<DWORD*>(locked.pBits) = 0xFFFFFFFF;
      texture->UnlockRect(0);
    }
    return texture;
  }

  // Binds flip target i with its depth buffer, clears it and draws inside a scene.
  static void DrawInto(int i, D3DCOLOR clearColor, const std::function<void()>& draw) {
    IDirect3DDevice9* device = GetDevice();
    ASSERT_EQ(device->SetRenderTarget(0, Gfx.lpFlipSurface[i]), 0);
    ASSERT_EQ(device->SetDepthStencilSurface(Gfx.lpFlipZBuffer[i]), 0);
    ASSERT_EQ(device->Clear(0, NULL, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, clearColor, 1.0f, 0), 0);
    ASSERT_EQ(device->BeginScene(), 0);
    device->SetTexture(0, white);
    draw();
    ASSERT_EQ(device->EndScene(), 0);
  }

  // The target's pixels as 0xRRGGBB words, row by row.
  static std::vector<DWORD> Read(IDirect3DSurface9* target) {
    std::vector<DWORD> pixels;
    D3DSURFACE_DESC desc;
    if (target == NULL || target->GetDesc(&desc) != 0) return pixels;
    IDirect3DSurface9* copy = NULL;
    if (GetDevice()->CreateOffscreenPlainSurface(desc.Width, desc.Height, desc.Format,
                                                 D3DPOOL_SYSTEMMEM, &copy, NULL) != 0) {
      return pixels;
    }
    D3DLOCKED_RECT locked;
    if (GetDevice()->GetRenderTargetData(target, copy) == 0 &&
        copy->LockRect(&locked, NULL, D3DLOCK_READONLY) == 0) {
      for (UINT y = 0; y < desc.Height; ++y) {
        const DWORD* row = reinterpret_cast<const DWORD*>(static_cast<BYTE*>(locked.pBits) +
                                                          y * locked.Pitch);
        for (UINT x = 0; x < desc.Width; ++x) pixels.push_back(row[x] & 0xFFFFFF);
      }
      copy->UnlockRect();
    }
    copy->Release();
    return pixels;
  }

  static HWND window;
  static HRESULT started;
  static IDirect3DTexture9* white;
  static MessageBoxReader* boxes;
};

inline HWND RealDevice::window = NULL;
inline HRESULT RealDevice::started = E_FAIL;
inline IDirect3DTexture9* RealDevice::white = NULL;
inline MessageBoxReader* RealDevice::boxes = NULL;

inline int Channel(DWORD pixel, int shift) { return (pixel >> shift) & 0xFF; }
