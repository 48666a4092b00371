#include "DemoScene.h"

#include "PlatformHooks.h"

#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <new>

namespace {

std::atomic<size_t> gAllocations{0};

int QuietBox(const char* text, const char* caption, UINT) {
  std::fprintf(stderr, "[%s] %s\n", caption, text);
  return IDOK;
}

}  // namespace

void* operator new(size_t size) {
  ++gAllocations;
  if (void* p = std::malloc(size == 0 ? 1 : size)) return p;
  throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, size_t) noexcept { std::free(p); }

namespace demobench {

size_t AllocationCount() { return gAllocations.load(); }

void BuildDemo(int width, int height) {
  static bool inCheckout = false;
  if (!inCheckout) {
    if (chdir(GLGUI_SOURCE_DIR) != 0) std::perror(GLGUI_SOURCE_DIR);
    SetMessageBoxHook(QuietBox);
    inCheckout = true;
  }
  demoframe::BuildDemo(width, height);
}

}  // namespace demobench
