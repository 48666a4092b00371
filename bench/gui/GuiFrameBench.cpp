// One GUI frame of a typical screen (3 panels with header and footer, 4 buttons, 10 labels, the
// cursor) in a 640 x 480 headless context, with the mouse moving, pressing and dragging, against
// the same screen made with Dear ImGui 1.86 (new frame, widgets, OpenGL 2 backend render).
// Each variant is measured twice: submitting the frame only, and submitting plus glFinish (so
// the software rasteriser's work is included). The keyboard's and the screen reader's part of the
// frame is also measured alone, and on Linux with the tree kept as ATK objects as well.
#include "GLGUI.h"
#include "GLGlobal.h"
#include "GLHarness.h"
#include "GUIShared.h"
#include "SampleScreen.h"

#ifdef GLGUI_BENCH_ATK
#include "AtkTree.h"
#endif

#include <benchmark/benchmark.h>
#include <imgui.h>
#include <backends/imgui_impl_opengl2.h>

#include <memory>

namespace {

constexpr int kWidth = 640, kHeight = 480;

struct Context {
  testgl::HeadlessGL gl{kWidth, kHeight};
  bool imgui = false;
  Context() {
    if (!gl.Ok()) return;
    IMGUI_CHECKVERSION();
    ImGui::CreateContext();
    ImGui::GetIO().IniFilename = nullptr;
    ImGui::GetIO().DisplaySize = ImVec2(kWidth, kHeight);
    imgui = ImGui_ImplOpenGL2_Init();
  }
  ~Context() {
    if (imgui) ImGui_ImplOpenGL2_Shutdown();
    if (ImGui::GetCurrentContext()) ImGui::DestroyContext();
  }
};

Context& Shared() {
  static Context context;
  return context;
}

void GuiState() {
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  testgl::UseGuiState(Shared().gl);
  ScreenWidth = kWidth;
  ScreenHeight = kHeight;
}

void BM_GuiFrame(benchmark::State& state) {
  if (!Shared().gl.Ok()) {
    state.SkipWithError("no headless GL");
    return;
  }
  const bool finish = state.range(0) != 0;
  GuiState();
  ObjectCount = 0;
  Dragging = false;
  auto scene = std::make_unique<SampleScreen>();
  int step = 0;
  for (auto _ : state) {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    SampleScreen::MoveMouse(step++);
    scene->Frame();
    if (finish) glFinish();
  }
  glFinish();
  state.SetLabel(finish ? "submit+finish" : "submit");
}
BENCHMARK(BM_GuiFrame)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// The keyboard's and the screen reader's part of that frame, alone: what DrawCursor does over the
// screen the frame drew (the focus order, the keys, the accessibility tree with every element's
// rectangle projected, the comparison with the last frame's), with the mouse moving as above and an
// element focused. Its time beside BM_GuiFrame/0's is its share of a frame. With argument 1 (Linux)
// each frame's tree is also brought into the ATK objects that atk-bridge shows to AT-SPI.
void BM_GuiFrameAccessibility(benchmark::State& state) {
  if (!Shared().gl.Ok()) {
    state.SkipWithError("no headless GL");
    return;
  }
  GuiState();
  ObjectCount = 0;
  Dragging = false;
  auto scene = std::make_unique<SampleScreen>();
#ifdef GLGUI_BENCH_ATK
  const bool atk = state.range(0) != 0;
  if (atk) atk_tree::Install([] { return atk_tree::WindowFacts{"bench", 0, 0, kWidth, kHeight, true, true}; });
#endif
  PushKeyPress(VK_TAB, false);
  scene->Frame();
  int step = 0;
  for (auto _ : state) {
    SampleScreen::MoveMouse(step++);
    gui_detail::NoteScreenDrawn(*scene->screen);
    gui_detail::EndGUIFrame();
#ifdef GLGUI_BENCH_ATK
    if (atk) atk_tree::Update(AccessibilityTree());
#endif
  }
#ifdef GLGUI_BENCH_ATK
  if (atk) atk_tree::Update(TAccessTree{});
  state.SetLabel(atk ? "with ATK objects" : "tree");
#endif
}
#ifdef GLGUI_BENCH_ATK
BENCHMARK(BM_GuiFrameAccessibility)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);
#else
BENCHMARK(BM_GuiFrameAccessibility)->Arg(0)->Unit(benchmark::kMicrosecond);
#endif

// The same screen in ImGui: three titled windows with a status line at the bottom (header and
// footer), two buttons on the screen and one in each of two windows, 8 texts in the windows and 2
// on the screen, and ImGui's software cursor.
void ImGuiScreen(int step) {
  const int phase = step % 200;
  ImGuiIO& io = ImGui::GetIO();
  io.DeltaTime = 0.002f;
  io.MousePos = ImVec2(40.0f + (phase * 5) % 560, 30.0f + (phase * 7) % 420);
  io.MouseDown[0] = phase >= 120 && phase < 170;
  io.MouseDrawCursor = true;
  ImGui_ImplOpenGL2_NewFrame();
  ImGui::NewFrame();
  const float sx = kWidth / 1024.0f, sy = kHeight / 768.0f;
  ImGui::SetNextWindowPos(ImVec2(0, 0));
  ImGui::SetNextWindowSize(ImVec2(kWidth, kHeight));
  ImGui::Begin("##screen", nullptr,
               ImGuiWindowFlags_NoDecoration | ImGuiWindowFlags_NoBackground | ImGuiWindowFlags_NoMove |
                   ImGuiWindowFlags_NoBringToFrontOnFocus);
  ImGui::SetCursorPos(ImVec2(40 * sx, 30 * sy));
  ImGui::Button("button", ImVec2(160 * sx, 30 * sy));
  ImGui::SetCursorPos(ImVec2(840 * sx, 30 * sy));
  ImGui::Button("button##2", ImVec2(160 * sx, 30 * sy));
  for (int i = 0; i < 2; ++i) {
    ImGui::SetCursorPos(ImVec2(400 * sx, (650 + i * 40) * sy));
    ImGui::TextUnformatted("outline text");
  }
  ImGui::End();
  static const char* names[3] = {"panel 1", "panel 2", "panel 3"};
  for (int i = 0; i < 3; ++i) {
    ImGui::SetNextWindowPos(ImVec2((60 + i * 300) * sx, (120 + i * 60) * sy), ImGuiCond_Once);
    ImGui::SetNextWindowSize(ImVec2(280 * sx, 300 * sy), ImGuiCond_Once);
    ImGui::Begin(names[i]);
    for (int k = i; k < 8; k += 3) ImGui::TextUnformatted("label text");
    if (i > 0) ImGui::Button("button", ImVec2(180 * sx, 32 * sy));
    ImGui::SetCursorPosY(ImGui::GetWindowHeight() - ImGui::GetFrameHeight());
    ImGui::Separator();
    ImGui::TextUnformatted("footer");
    ImGui::End();
  }
  ImGui::Render();
  ImGui_ImplOpenGL2_RenderDrawData(ImGui::GetDrawData());
}

void BM_ImGuiFrame(benchmark::State& state) {
  if (!Shared().gl.Ok() || !Shared().imgui) {
    state.SkipWithError("no headless GL or ImGui backend");
    return;
  }
  const bool finish = state.range(0) != 0;
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  int step = 0;
  for (auto _ : state) {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    ImGuiScreen(step++);
    if (finish) glFinish();
  }
  glFinish();
  state.SetLabel(finish ? "submit+finish" : "submit");
}
BENCHMARK(BM_ImGuiFrame)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
