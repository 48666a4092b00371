// Building a system outline font: 255 display lists of tessellated glyphs, as every scene build
// (and so every fullscreen toggle) does once. The peer is Dear ImGui 1.86 building a font atlas
// of the same 223 printable characters of the same face at the font's 14-pixel height and
// uploading it as a texture.
#include "FontTestSupport.h"
#include "GLGUI.h"
#include "WinFonts.h"

#include <benchmark/benchmark.h>
#include <imgui.h>

#include <string>

namespace {

testgl::HeadlessGL& Context() {
  static testgl::HeadlessGL gl(64, 64);
  return gl;
}

HDC BenchDC() { return reinterpret_cast<HDC>(uintptr_t{0xBE}); }

struct FaceArg {
  const char* face;
  int weight;
};
const FaceArg kFaces[] = {{"DejaVu Sans", 400}, {"Comic Sans MS", 700}};

// The first font of the process also pays for fontconfig's start-up and opening the face.
void BM_FirstSystemFont(benchmark::State& state) {
  if (!Context().Ok()) return state.SkipWithError(Context().Error().c_str());
  for (auto _ : state) {
    TGUISYSFONT font = 0;
    CreateSystemFont(font, "DejaVu Sans", 400, false, 0.0, BenchDC());
    glFinish();
    glDeleteLists(GLuint(font), 256);
  }
}
BENCHMARK(BM_FirstSystemFont)->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_CreateSystemFont(benchmark::State& state) {
  if (!Context().Ok()) return state.SkipWithError(Context().Error().c_str());
  const FaceArg& f = kFaces[state.range(0)];
  const bool outline = state.range(1) != 0;
  state.SetLabel(std::string(f.face) + (f.weight >= 700 ? " bold" : "") + (outline ? ", outline" : ", filled"));
  for (auto _ : state) {
    TGUISYSFONT font = 0;
    CreateSystemFont(font, f.face, f.weight, outline, 0.0, BenchDC());
    glFinish();
    glDeleteLists(GLuint(font), 256);
  }
  state.counters["glyphs"] = 255;
}
BENCHMARK(BM_CreateSystemFont)->Args({0, 0})->Args({1, 0})->Args({1, 1})->Unit(benchmark::kMillisecond);

void BM_ImGuiFontAtlas(benchmark::State& state) {
  if (!Context().Ok()) return state.SkipWithError(Context().Error().c_str());
  const FaceArg& f = kFaces[state.range(0)];
  const std::string file = fonttest::FontFileFor(f.face, f.weight);
  state.SetLabel(file);
  ImFontGlyphRangesBuilder builder;
  for (int c = 32; c < 255; ++c) {
    const uint32_t cp = Cp1250ToUnicode(uint8_t(c));
    if (cp != 0xFFFF && (cp < 0x7F || cp >= 0xA0)) builder.AddChar(ImWchar(cp));
  }
  ImVector<ImWchar> ranges;
  builder.BuildRanges(&ranges);
  for (auto _ : state) {
    ImFontAtlas atlas;
    atlas.AddFontFromFileTTF(file.c_str(), 14.0f, nullptr, ranges.Data);
    unsigned char* pixels = nullptr;
    int w = 0, h = 0;
    atlas.GetTexDataAsRGBA32(&pixels, &w, &h);
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, w, h, 0, GL_RGBA, GL_UNSIGNED_BYTE, pixels);
    glFinish();
    glDeleteTextures(1, &texture);
  }
}
BENCHMARK(BM_ImGuiFontAtlas)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
