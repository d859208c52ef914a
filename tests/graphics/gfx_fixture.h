// Shared set-up of the graphics tests against the recording fakes: a fresh fake
// world and graphics state per test, an 800 x 600 windowed application, and a
// check at the end that every reference the code took was released.
#pragma once
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/app_state.h"
#include "fakes/fake_d3d9.h"
#include "graphics/graphics.h"
#include "graphics/graphics_state.h"
#include "tools/message_box_reader.h"

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
    App.window = NULL;
    App.width = 800;
    App.height = 600;
    App.windowed = 1;
    TakeQuit();
  }
  void TearDown() override {
    EXPECT_EQ(FakeUnexpectedCalls(), std::vector<std::string>{});  // outside what we rely on
    ReleaseDirectX();
    EXPECT_EQ(fake_d3d::Leaks(), "");
    TakeQuit();
  }
  // Starts the device and forgets the start-up calls.
  void Start() {
    ASSERT_EQ(InitDirectX(), 0);
    fake_d3d::ClearLog();
  }
  fake_d3d::Device& Dev() { return *fake_d3d::LastDevice(); }

  MessageBoxReader boxes;
};
