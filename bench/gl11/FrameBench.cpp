// The demonstration's frame (DrawScene and glFinish) per page, headless at 640 x 480: on the
// OpenGL 1.1 layer over Mesa's OpenGL ES 3 (gl11_frame_bench, which also counts the layer's draws
// and streamed bytes per frame) or on Mesa's OpenGL (gl11_frame_bench_gl), the same objects linked
// both ways. Run both to compare.
#include "DemoScene.h"
#include "DrawingApi.h"
#include "Offscreen.h"

#include <benchmark/benchmark.h>

#include <GL/gl.h>

#include <memory>

namespace {

constexpr int kWidth = 640, kHeight = 480;

// One context and one built scene for the whole run, as a window keeps them.
Offscreen& Context() {
  static std::unique_ptr<Offscreen> gl = [] {
    auto context = std::make_unique<Offscreen>(kWidth, kHeight);
    if (context->Ok()) demobench::BuildDemo(kWidth, kHeight);
    return context;
  }();
  return *gl;
}

void BM_Frame(benchmark::State& state) {
  if (!Context().Ok()) {
    state.SkipWithError(Context().Error().c_str());
    return;
  }
  demoframe::ShowPage(static_cast<int>(state.range(0)), 320, 239);
  DrawScene();
  glFinish();
  drawing_api::Counts a{}, b{};
  const bool counted = drawing_api::Counters(a);
  for (auto _ : state) {
    DrawScene();
    glFinish();
  }
  if (counted && drawing_api::Counters(b) && b.frames > a.frames) {
    const double frames = static_cast<double>(b.frames - a.frames);
    const auto perFrame = [&](unsigned long long after, unsigned long long before) {
      return static_cast<double>(after - before) / frames;
    };
    state.counters["draws"] = perFrame(b.draws, a.draws);
    state.counters["gles_calls"] = perFrame(b.glesCalls, a.glesCalls);
    state.counters["programs_made"] = perFrame(b.programsMade, a.programsMade);
    state.counters["program_switches"] = perFrame(b.programSwitches, a.programSwitches);
    state.counters["streamed_bytes"] = perFrame(b.streamedBytes, a.streamedBytes);
    }
}

BENCHMARK(BM_Frame)
    ->ArgName("page")
    ->Arg(demoframe::kStartPage)
    ->Arg(demoframe::kPanelPage)
    ->Arg(demoframe::kTextPage)
    ->Arg(demoframe::kButtonPage)
    ->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
