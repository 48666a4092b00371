// Drawing a GUI frame must not touch the heap once the scene is built. This program replaces the
// global allocation functions to count every allocation made between two points.
#include "GLHarness.h"
#include "GLGlobal.h"
#include "SampleScreen.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstddef>
#include <cstdlib>
#include <new>

namespace {
std::atomic<long> allocations{0};
}

// These replacements pair malloc with free on purpose; GCC cannot see that through the inlining.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
#endif

// Every form of the allocation functions is replaced, so that whatever a library in the process
// pairs (plain, sized, aligned, nothrow) ends up in malloc/aligned_alloc and free consistently.
static void* Allocate(std::size_t size, std::size_t alignment, bool nothrow) {
  ++allocations;
  if (size == 0) size = 1;
  void* p = nullptr;
  if (alignment <= alignof(std::max_align_t)) {
    p = std::malloc(size);
  } else {
    const std::size_t rounded = (size + alignment - 1) / alignment * alignment;
    p = std::aligned_alloc(alignment, rounded);
  }
  if (!p && !nothrow) throw std::bad_alloc();
  return p;
}

void* operator new(std::size_t n) { return Allocate(n, 0, false); }
void* operator new[](std::size_t n) { return Allocate(n, 0, false); }
void* operator new(std::size_t n, const std::nothrow_t&) noexcept { return Allocate(n, 0, true); }
void* operator new[](std::size_t n, const std::nothrow_t&) noexcept { return Allocate(n, 0, true); }
void* operator new(std::size_t n, std::align_val_t a) { return Allocate(n, static_cast<std::size_t>(a), false); }
void* operator new[](std::size_t n, std::align_val_t a) { return Allocate(n, static_cast<std::size_t>(a), false); }
void* operator new(std::size_t n, std::align_val_t a, const std::nothrow_t&) noexcept {
  return Allocate(n, static_cast<std::size_t>(a), true);
}
void* operator new[](std::size_t n, std::align_val_t a, const std::nothrow_t&) noexcept {
  return Allocate(n, static_cast<std::size_t>(a), true);
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { std::free(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { std::free(p); }
void operator delete(void* p, std::align_val_t) noexcept { std::free(p); }
void operator delete[](void* p, std::align_val_t) noexcept { std::free(p); }
void operator delete(void* p, std::size_t, std::align_val_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t, std::align_val_t) noexcept { std::free(p); }
void operator delete(void* p, std::align_val_t, const std::nothrow_t&) noexcept { std::free(p); }
void operator delete[](void* p, std::align_val_t, const std::nothrow_t&) noexcept { std::free(p); }

TEST(GuiAllocation, SteadyStateFramesAllocateNothing) {
  testgl::HeadlessGL gl(640, 480);
  ASSERT_TRUE(gl.Ok()) << gl.Error();
  testgl::UseGuiState(gl);
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
