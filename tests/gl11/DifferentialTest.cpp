// The OpenGL 1.1 layer against Mesa's OpenGL: each named scene is drawn through the toolkit and
// the demo built on the layer (here, on Mesa's OpenGL ES 3) and through the same code built on
// Mesa's OpenGL (the reference program, a process of its own), and the pixels are compared.
//
// Tolerance: at most 0.05 % of the pixels (154 of 640 x 480) may differ by more than 16 levels in
// any channel. What differs at all is single pixels on edges, where the layer's transform and
// per-fragment clip plane tests round a little differently from Mesa's fixed-function pipeline
// (the most seen is 16 pixels, 0.005 %, on the edges where the back plate's faces meet). With
// GL11_SHOTS set, or when a scene fails, both pictures are written as NAME-opengl.ppm and
// NAME-layer.ppm into the directory the test was started in.
#include "Gl11Context.h"
#include "Gl11Stats.h"
#include "Offscreen.h"
#include "Scenes.h"

#include <gtest/gtest.h>

#include <unistd.h>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace {

constexpr int kLevels = 16;
constexpr double kMaxDifferingShare = 0.0005;
const std::filesystem::path kStartDirectory = std::filesystem::current_path();

void WritePpm(const std::string& path, const std::vector<uint8_t>& rgba, int w, int h) {
  std::ofstream out(path, std::ios::binary);
  out << "P6\n" << w << ' ' << h << "\n255\n";
  for (int y = h - 1; y >= 0; --y)
    for (int x = 0; x < w; ++x)
      out.write(reinterpret_cast<const char*>(&rgba[(static_cast<size_t>(y) * w + x) * 4]), 3);
}

class LayerMatchesOpenGL : public ::testing::TestWithParam<std::string> {
 protected:
  void SetUp() override {
    std::error_code moved;
    std::filesystem::current_path(GLGUI_SOURCE_DIR, moved);
    ASSERT_FALSE(moved) << moved.message();
  }
};

TEST_P(LayerMatchesOpenGL, Scene) {
  const std::string name = GetParam();
  const int w = SceneWidth(), h = SceneHeight();
  const std::string file =
      (std::filesystem::temp_directory_path() / ("gl11-" + name + "-" + std::to_string(getpid()) + ".rgba")).string();
  const std::string command = std::string("'") + GL11_REFERENCE_PROGRAM + "' " + name + " '" + file + "'";
  ASSERT_EQ(std::system(command.c_str()), 0) << command;
  std::ifstream in(file, std::ios::binary);
  const std::vector<uint8_t> reference((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::filesystem::remove(file);
  ASSERT_EQ(reference.size(), static_cast<size_t>(w) * h * 4);

  std::vector<uint8_t> layer;
  {
    Offscreen gl(w, h);
    ASSERT_TRUE(gl.Ok()) << gl.Error();
    std::vector<std::string> messages;
    ASSERT_TRUE(DrawNamedScene(name, messages));
    for (const std::string& m : messages) ADD_FAILURE() << m;
    layer = gl.Pixels();
  }

  // The scene must show something: a blank reference would compare equal to a blank layer.
  std::vector<uint32_t> colours;
  for (size_t i = 0; i < reference.size(); i += 4 * 97)
    colours.push_back(uint32_t(reference[i]) << 16 | uint32_t(reference[i + 1]) << 8 | reference[i + 2]);
  std::sort(colours.begin(), colours.end());
  EXPECT_GT(std::unique(colours.begin(), colours.end()) - colours.begin(), 20) << "the reference is nearly blank";

  size_t differing = 0;
  int worst = 0;
  for (size_t i = 0; i < reference.size(); i += 4) {
    int d = 0;
    for (size_t c = 0; c < 4; ++c) d = std::max(d, std::abs(int(reference[i + c]) - int(layer[i + c])));
    worst = std::max(worst, d);
    if (d > kLevels) ++differing;
  }
  const double share = double(differing) / (double(w) * h);
  std::printf("%s: %zu pixels (%.3f %%) differ by more than %d levels; largest difference %d\n", name.c_str(),
              differing, share * 100, kLevels, worst);
  RecordProperty("differing_pixels", std::to_string(differing));
  EXPECT_LE(share, kMaxDifferingShare);
  if (share > kMaxDifferingShare || std::getenv("GL11_SHOTS")) {
    WritePpm((kStartDirectory / (name + "-opengl.ppm")).string(), reference, w, h);
    WritePpm((kStartDirectory / (name + "-layer.ppm")).string(), layer, w, h);
  }
}

// With programs made in the background, the general program draws the scene's first frame, and in
// those after it every state whose own program is not yet taken into use: the pixels must be the
// same to the bit. (A scene of one frame is the general program's alone.)
using GeneralProgram = LayerMatchesOpenGL;

TEST_P(GeneralProgram, DrawsTheSceneAsTheStatesOwnPrograms) {
  std::vector<uint8_t> pixels[2];
  unsigned long long made[2] = {};
  for (int background = 0; background < 2; ++background) {
    Offscreen gl(SceneWidth(), SceneHeight());
    ASSERT_TRUE(gl.Ok()) << gl.Error();
    gl11ProgramsInBackground(background != 0);
    std::vector<std::string> messages;
    ASSERT_TRUE(DrawNamedScene(GetParam(), messages));
    for (const std::string& m : messages) ADD_FAILURE() << m;
    pixels[background] = gl.Pixels();
    made[background] = gl11Stats().programsMade;
  }
  EXPECT_GE(made[0], 1u);
  ASSERT_EQ(pixels[0].size(), pixels[1].size());
  size_t differing = 0;
  for (size_t i = 0; i < pixels[0].size(); ++i) differing += pixels[0][i] != pixels[1][i];
  EXPECT_EQ(differing, 0u);
  if (differing) {
    WritePpm((kStartDirectory / (GetParam() + "-own.ppm")).string(), pixels[0], SceneWidth(), SceneHeight());
    WritePpm((kStartDirectory / (GetParam() + "-general.ppm")).string(), pixels[1], SceneWidth(), SceneHeight());
  }
}

INSTANTIATE_TEST_SUITE_P(Scenes, GeneralProgram, ::testing::ValuesIn(SceneNames()),
                         [](const ::testing::TestParamInfo<std::string>& info) { return info.param; });

INSTANTIATE_TEST_SUITE_P(Scenes, LayerMatchesOpenGL, ::testing::ValuesIn(SceneNames()),
                         [](const ::testing::TestParamInfo<std::string>& info) { return info.param; });

}  // namespace
