// Drawing a GUI frame must not touch the heap once the scene is built. This program replaces the
// global allocation functions to count every allocation made between two points.
#include "GLHarness.h"
#include "GLGlobal.h"
#include "SampleScreen.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>

namespace {
std::atomic<long> allocations{0};
}

void* operator new(std::size_t size) {
  ++allocations;
  if (void* p = std::malloc(size ? size : 1)) return p;
  throw std::bad_alloc();
}
void* operator new[](std::size_t size) {
  ++allocations;
  if (void* p = std::malloc(size ? size : 1)) return p;
  throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }

TEST(GuiAllocation, SteadyStateFramesAllocateNothing) {
  testgl::HeadlessGL gl(640, 480);
  ASSERT_TRUE(gl.Ok()) << gl.Error();
  glEnable(GL_TEXTURE_2D);
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  testgl::UsePlaneCamera(gl);
  ScreenWidth = 640;
  ScreenHeight = 480;
  ObjectCount = 0;
  Dragging = false;
  SampleScreen scene;
  for (int i = 0; i < 200; ++i) {
    SampleScreen::MoveMouse(i);
    scene.Frame();
  }
  glFinish();
  const long before = allocations.load();
  int drags = 0, presses = 0;
  for (int i = 0; i < 1000; ++i) {
    SampleScreen::MoveMouse(i);
    scene.Frame();
    drags += Dragging ? 1 : 0;
    for (auto* b : scene.buttons) presses += b->State == TGUIButton::Pressed;
  }
  glFinish();
  EXPECT_EQ(allocations.load() - before, 0);
  // The path really exercised pressing and dragging.
  EXPECT_GT(drags, 0);
  EXPECT_GT(presses, 0);
}
