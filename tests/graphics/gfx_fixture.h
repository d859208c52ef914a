// Shared set-up of the graphics tests against the recording fakes: a fresh fake
// world and graphics state per test, an 800 x 600 windowed device, the failure
// reports kept, and a check at the end that every reference the code took was
// released.
#pragma once
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fakes/fake_d3d9.h"
#include "graphics/graphics.h"
#include "graphics/graphics_state.h"
#include "tools/failure_log.h"

inline std::string N(const void* object) { return fake_d3d::NameOf(object); }

// Removes this thread's queued messages; true when a quit message was among them.
inline bool TakeQuit() {
  bool quit = false;
  MSG msg;
  while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) quit |= msg.message == WM_QUIT;
  return quit;
}

class GfxTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fake_d3d::Reset();
    QuadBatchFree(&Gfx.batch);
    Gfx = GraphicsState{};
    TakeQuit();
  }
  void TearDown() override {
    EXPECT_EQ(FakeUnexpectedCalls(), std::vector<std::string>{});  // outside what we rely on
    ReleaseDirectX();
    EXPECT_EQ(fake_d3d::Leaks(), "");
    TakeQuit();
  }
  // InitDirectX for an 800 x 600 window.
  static HRESULT Init(HWND window = NULL, int windowed = 1) {
    return InitDirectXFor(window, 800, 600, windowed);
  }
  // Starts the device and forgets the start-up calls.
  void Start() {
    ASSERT_EQ(Init(), 0);
    fake_d3d::ClearLog();
  }
  fake_d3d::Device& Dev() { return *fake_d3d::LastDevice(); }

  FailureLog boxes;
};
