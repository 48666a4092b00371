// Frames per second of each demonstration page in a real 640 x 480 window (run it under Xvfb:
// DISPLAY must name a server), side by side with an empty frame (clear and swap only) in the
// same window, which is the ceiling the pages are measured against. Rates are per wall-clock
// second: Mesa's llvmpipe rasterises in threads of its own, outside this thread's CPU time.
#include "DemoScene.h"

#include <SDL.h>
#include <benchmark/benchmark.h>

namespace {

constexpr int kWidth = 640;
constexpr int kHeight = 480;

struct Window {
  SDL_Window* window = nullptr;
  SDL_GLContext context = nullptr;
  const char* error = nullptr;

  Window() {
    if (SDL_Init(SDL_INIT_VIDEO) != 0) {
      error = SDL_GetError();
      return;
    }
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 16);
    window = SDL_CreateWindow("GUI  DEMO", SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED, kWidth, kHeight,
                              SDL_WINDOW_OPENGL | SDL_WINDOW_SHOWN);
    if (window == nullptr) {
      error = SDL_GetError();
      return;
    }
    context = SDL_GL_CreateContext(window);
    if (context == nullptr) {
      error = SDL_GetError();
      return;
    }
    SDL_GL_SetSwapInterval(0);
    demobench::BuildDemo(kWidth, kHeight);
  }
  ~Window() {
    if (context != nullptr) {
      FreeScene();
      SDL_GL_DeleteContext(context);
    }
    if (window != nullptr) SDL_DestroyWindow(window);
    SDL_Quit();
  }
  void Pump() {
    SDL_Event event;
    while (SDL_PollEvent(&event)) {
    }
  }
};

Window& Shared() {
  static Window w;
  return w;
}

void BM_EmptyFrame(benchmark::State& state) {
  Window& w = Shared();
  if (w.error != nullptr) {
    state.SkipWithError(w.error);
    return;
  }
  for (auto _ : state) {
    w.Pump();
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    SDL_GL_SwapWindow(w.window);
  }
  state.SetItemsProcessed(state.iterations());
}

void BM_PageFrame(benchmark::State& state) {
  Window& w = Shared();
  if (w.error != nullptr) {
    state.SkipWithError(w.error);
    return;
  }
  demoframe::ShowPage(int(state.range(0)), 320, 240);
  for (auto _ : state) {
    w.Pump();
    DrawScene();
    SDL_GL_SwapWindow(w.window);
  }
  state.SetItemsProcessed(state.iterations());
}

}  // namespace

BENCHMARK(BM_EmptyFrame)->Unit(benchmark::kMicrosecond)->MinTime(2.0)->UseRealTime();
BENCHMARK(BM_PageFrame)
    ->ArgName("page")
    ->Arg(demoframe::kStartPage)
    ->Arg(demoframe::kPanelPage)
    ->Arg(demoframe::kTextPage)
    ->Arg(demoframe::kButtonPage)
    ->Unit(benchmark::kMicrosecond)
    ->MinTime(2.0)
    ->UseRealTime();
BENCHMARK(BM_EmptyFrame)->Unit(benchmark::kMicrosecond)->MinTime(2.0)->UseRealTime();

BENCHMARK_MAIN();
