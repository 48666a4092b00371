// Per-frame CPU cost of the demonstration's DrawScene on each page, in a headless Mesa context,
// side by side with the same page built with Dear ImGui and its OpenGL 2 backend in the same
// context; heap allocations per frame; the time to build the scene on a fresh context and draw
// its first frame (what a fullscreen toggle redoes).
#include "DemoScene.h"
#include "GLHarness.h"

#include <benchmark/benchmark.h>
#include <imgui.h>
#include <backends/imgui_impl_opengl2.h>

#include <cstdio>
#include <memory>

namespace {

constexpr int kWidth = 640;
constexpr int kHeight = 480;
constexpr float kScale = float(kWidth) / 1024.0f;  // virtual pixels to window pixels

// One context for the whole run, with both the demo scene and an ImGui context in it.
struct Context {
  testgl::HeadlessGL gl{kWidth, kHeight};
  bool imgui = false;

  Context() {
    if (!gl.Ok()) return;
    demobench::BuildDemo(kWidth, kHeight);
    IMGUI_CHECKVERSION();
    ImGui::CreateContext();
    ImGuiIO& io = ImGui::GetIO();
    io.IniFilename = nullptr;
    io.DisplaySize = ImVec2(float(kWidth), float(kHeight));
    imgui = ImGui_ImplOpenGL2_Init();
  }
  ~Context() {
    if (imgui) ImGui_ImplOpenGL2_Shutdown();
    if (ImGui::GetCurrentContext() != nullptr) ImGui::DestroyContext();
    FreeScene();
  }
};

Context& Shared() {
  static Context context;
  return context;
}

// ---- the ImGui pages -------------------------------------------------------------------------------

ImVec2 V(float x, float y) { return ImVec2(x * kScale, y * kScale); }

const ImVec4 kDescription(0, 1, 0, 0.8f);
constexpr ImGuiWindowFlags kOverlay = ImGuiWindowFlags_NoDecoration | ImGuiWindowFlags_NoBackground |
                                      ImGuiWindowFlags_NoMove | ImGuiWindowFlags_NoSavedSettings |
                                      ImGuiWindowFlags_NoBringToFrontOnFocus;

void Panel(const char* name, float l, float t, float r, float b, ImGuiWindowFlags flags) {
  ImGui::SetNextWindowPos(V(l, t), ImGuiCond_Always);
  ImGui::SetNextWindowSize(V(r - l, b - t), ImGuiCond_Always);
  ImGui::Begin(name, nullptr, flags | ImGuiWindowFlags_NoSavedSettings);
}

void Text(float x, float y, const ImVec4& colour, const char* text, float scale = 1.0f) {
  ImGui::SetCursorPos(V(x, y));
  ImGui::SetWindowFontScale(scale);
  ImGui::TextColored(colour, "%s", text);
  ImGui::SetWindowFontScale(1.0f);
}

void Button(float l, float t, float r, float b, const char* caption) {
  ImGui::SetCursorPos(V(l, t));
  ImGui::Button(caption, V(r - l, b - t));
  ImGui::IsItemHovered();
}

void ImGuiPage(int page) {
  // The screen of the page and the always-shown navigation buttons share one full-view overlay.
  ImGui::SetNextWindowPos(ImVec2(0, 0));
  ImGui::SetNextWindowSize(ImVec2(float(kWidth), float(kHeight)));
  ImGui::Begin("##screen", nullptr, kOverlay);
  switch (page) {
    case demoframe::kButtonPage:
      Text(30, 30, kDescription, "- atmossa a ket texturat");
      Text(30, 50, kDescription, "- lehet szoveget beiirni");
      Text(30, 70, kDescription, "- onClick, MouseUp, MouseDown esemenyek");
      Button(100, 130, 300, 170, "button 1");
      Button(100, 170, 300, 210, "button 2");
      Button(100, 210, 300, 250, "button 3");
      Button(100, 250, 300, 290, "button 4");
      break;
    case demoframe::kTextPage:
      Text(30, 30, kDescription, "- ket fele static szoveg megoldas");
      Text(30, 50, kDescription, "- szinezhetok, meretezhetok");
      Text(30, 70, kDescription, "- TGUISYSFONT: rendszer betutipusbol letrehozott betukeszlet");
      Text(100, 120, ImVec4(1, 0, 1, 1), "Normal text (outline).  \xC3\xA9\xC3\xA1\xC5\xB1\xC3\xBA\xC5\x91\xC3\xB3\xC3\xBC\xC3\xB6", 2.0f);
      Text(130, 180, ImVec4(1, 0.5f, 1, 1), "Comic Sans MS (filled)", 2.0f);
      Text(160, 240, ImVec4(1, 0.2f, 1, 1), "scaled ", 3.0f);
      Text(30, 382, kDescription, "- TGUIBMPFONT: egy kulso texturat felhasznalva letrehozott betutipus");
      Text(100, 422, ImVec4(1, 0, 1, 1), "normal bitmap text");
      Text(130, 462, ImVec4(1, 0, 0.5f, 1), "change font size", 1.5f);
      Text(160, 502, ImVec4(1, 0, 0.8f, 1), "change font texture", 1.5f);
      break;
    case demoframe::kPanelPage:
      Text(30, 30, kDescription, "- a panelek mozgathatok");
      Text(30, 50, kDescription, "- lehet fejlecuk, lablecuk");
      Text(30, 70, kDescription, "- egyedi texturazas is megoldhato. szinezes rgba szerint");
      Text(30, 90, kDescription, "- szulo-gyermek kapcsolat");
      break;
    default:
      break;
  }
  Button(10, 10, 200, 40, "panel demo");
  Button(804, 10, 1014, 40, "text demo");
  Button(10, 718, 200, 758, "button demo");
  Button(804, 718, 1014, 758, "exit");
  ImGui::End();

  if (page == demoframe::kStartPage) {
    Panel("##welcome", 212, 278, 812, 478, ImGuiWindowFlags_NoTitleBar | ImGuiWindowFlags_NoMove);
    Text(30, 30, ImVec4(1, 1, 0, 1), "wellcome to the veltro demo", 1.5f);
    Text(30, 100, ImVec4(1, 1, 0, 0.6f), "version 0.15", 1.5f);
    ImGui::End();
  } else if (page == demoframe::kPanelPage) {
    Panel("##A", 40, 300, 240, 500, ImGuiWindowFlags_NoTitleBar);
    ImGui::End();
    Panel("B", 330, 300, 540, 500, 0);
    ImGui::End();
    Panel("C", 630, 300, 840, 500, ImGuiWindowFlags_MenuBar);
    ImGui::BeginMenuBar();
    ImGui::EndMenuBar();
    ImGui::SetCursorPos(V(30, 30));
    ImGui::PushStyleColor(ImGuiCol_ChildBg, ImVec4(1, 0, 0, 1));
    ImGui::BeginChild("D", V(100, 100), true);
    ImGui::EndChild();
    ImGui::PopStyleColor();
    ImGui::End();
  }
  ImGui::GetForegroundDrawList()->AddText(ImVec2(0, 0), IM_COL32_WHITE, "GUI DEMO     1234 FPS");
}

void ImGuiFrame(int page, float mouseX, float mouseY) {
  ImGuiIO& io = ImGui::GetIO();
  io.DeltaTime = 1.0f / 1000.0f;
  io.MousePos = ImVec2(mouseX, mouseY);
  ImGui_ImplOpenGL2_NewFrame();
  ImGui::NewFrame();
  ImGuiPage(page);
  ImGui::Render();
  glViewport(0, 0, kWidth, kHeight);
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  ImGui_ImplOpenGL2_RenderDrawData(ImGui::GetDrawData());
}

// ---- benchmarks -----------------------------------------------------------------------------------

// The mouse rests over the first button of a page (so hover work is done) or mid-view.
void MouseFor(int page, int& x, int& y) {
  x = page == demoframe::kButtonPage ? 125 : 320;
  y = page == demoframe::kButtonPage ? 95 : 240;
}

void BM_DrawScene(benchmark::State& state) {
  Context& context = Shared();
  if (!context.gl.Ok()) {
    state.SkipWithError(context.gl.Error().c_str());
    return;
  }
  const int page = int(state.range(0));
  int x, y;
  MouseFor(page, x, y);
  demoframe::ShowPage(page, x, y);
  for (int i = 0; i < 20; ++i) DrawScene();  // settle the hover fades
  glFinish();
  const size_t before = demobench::AllocationCount();
  for (auto _ : state) {
    DrawScene();
    glFinish();
  }
  state.counters["allocs/frame"] =
      double(demobench::AllocationCount() - before) / double(state.iterations());
  state.SetItemsProcessed(state.iterations());
}

void BM_ImGui(benchmark::State& state) {
  Context& context = Shared();
  if (!context.gl.Ok() || !context.imgui) {
    state.SkipWithError("no GL context or no ImGui backend");
    return;
  }
  const int page = int(state.range(0));
  int x, y;
  MouseFor(page, x, y);
  for (int i = 0; i < 20; ++i) ImGuiFrame(page, float(x), float(y));
  glFinish();
  for (auto _ : state) {
    ImGuiFrame(page, float(x), float(y));
    glFinish();
  }
  state.SetItemsProcessed(state.iterations());
}

// A fresh context, the whole scene built on it and its first frame drawn: the part of a
// fullscreen toggle (and of the start) that is the program's own work.
void BM_BuildAndFirstFrame(benchmark::State& state) {
  for (auto _ : state) {
    testgl::HeadlessGL gl(kWidth, kHeight);
    if (!gl.Ok()) {
      state.SkipWithError(gl.Error().c_str());
      return;
    }
    demobench::BuildDemo(kWidth, kHeight);
    DrawScene();
    glFinish();
    state.PauseTiming();
    FreeScene();
    state.ResumeTiming();
  }
}

void Pages(benchmark::internal::Benchmark* b) {
  b->ArgName("page");
  for (int page : {demoframe::kStartPage, demoframe::kPanelPage, demoframe::kTextPage, demoframe::kButtonPage})
    b->Arg(page);
  b->Unit(benchmark::kMicrosecond);
}

}  // namespace

// Rebuild first: it makes and drops its own contexts before the shared one exists.
BENCHMARK(BM_BuildAndFirstFrame)->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(BM_DrawScene)->Apply(Pages);
BENCHMARK(BM_ImGui)->Apply(Pages);

BENCHMARK_MAIN();
