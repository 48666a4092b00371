// The built-in fonts' spacing as drawn: every pair of neighbouring letters in a few texts is
// rendered with the shipped art and read back, and the columns without ink between the two
// letters are counted. No pair may stand further apart than the font's usual gap.
#include "GLGUI.h"
#include "GLHarness.h"
#include "GLTextures.h"
#include "Resources.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

using namespace testgl;

namespace {

// The texts of the user trial (a button's caption and the demo's corner text) and every letter
// and digit.
const char* const kTexts[] = {"Sound: on", "GUI DEMO",
                              "ABCDEFGHIJKLMNOPQRSTUVWXYZ abcdefghijklmnopqrstuvwxyz 0123456789"};

// One pixel a texel, pixel centres on texel centres: the pixels are the texels themselves (a grid
// font's second letter, a fraction of a texel further, shares each texel between two pixels), and
// a column counts as empty when no pixel in it holds more than a trace of ink.
constexpr int kInk = 2;
// A pair may stand apart by less than one empty column more than the usual gap.
constexpr double kBound = 0.5;

class GlyphSpacingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(gl_.Ok()) << gl_.Error();
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glColor4f(1, 1, 1, 1);
  }

  // The widest run of empty columns between the first and the last inked column of what `draw`
  // draws (0 where two letters' ink touches or overlaps).
  int WidestGap(const std::function<void()>& draw) const {
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    draw();
    const std::vector<uint8_t> pixels = gl_.ReadPixels();
    std::vector<bool> inked(size_t(gl_.Width()), false);
    for (int y = 0; y < gl_.Height(); ++y)
      for (int x = 0; x < gl_.Width(); ++x)
        if (pixels[(size_t(y) * gl_.Width() + x) * 4] > kInk) inked[size_t(x)] = true;
    const auto first = std::find(inked.begin(), inked.end(), true);
    const auto last = std::find(inked.rbegin(), inked.rend(), true).base();
    int widest = 0, run = 0;
    for (auto column = first; column < last; ++column) {
      run = *column ? 0 : run + 1;
      widest = std::max(widest, run);
    }
    return widest;
  }

  // An orthographic view of `texelsPerUnit` pixels to the unit whose bottom left is (left, bottom).
  void View(double left, double bottom, double texelsPerUnit) const {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(left, left + gl_.Width() / texelsPerUnit, bottom, bottom + gl_.Height() / texelsPerUnit, -10, 10);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
  }

  HeadlessGL gl_{80, 24};
};

TEST_F(GlyphSpacingTest, NoPairOfLettersStandsFurtherApartThanTheFontsUsualGap) {
  ResourceBlob blob{};
  ASSERT_TRUE(FindProgramResource("BFF", "BUILTINFONT", &blob));
  LoadBFFont(BuiltinFont, blob.Data, blob.Size);
  GLuint defaultTexture = 0, altTexture = 0;
  ASSERT_TRUE(LoadImageTexture(GLGUI_SOURCE_DIR "/default/defaultfont.tga", defaultTexture, false));
  ASSERT_TRUE(LoadImageTexture(GLGUI_SOURCE_DIR "/default/font.tga", altTexture, false));
  TGUIBMPFONT grid;
  ASSERT_TRUE(CreateGridFont(grid, 16));

  // DrawText's text at (0, 0) starts at (-0.552, 350 * 0.395 / 358) with 600 texels to the unit;
  // a grid font of size 16 draws cells of 16 texels, 16/500 units wide, from the origin.
  const auto grid16 = [&](GLuint texture) {
    return [&, texture](const std::string& text) {
      View(0, 0, 500);
      glBindTexture(GL_TEXTURE_2D, texture);
      glListBase(GLuint(grid.ListBase - 32));
      glCallLists(GLsizei(text.size()), GL_UNSIGNED_BYTE, text.data());
    };
  };
  const struct {
    const char* Name;
    std::function<void(const std::string&)> Draw;
  } fonts[] = {
      {"resources/builtinfont.bff",
       [&](const std::string& text) {
         View(-0.552, 350 * 0.395 / 358, 600);
         DrawText(0, 0, text);
       }},
      {"default/defaultfont.tga", grid16(defaultTexture)},
      {"default/font.tga", grid16(altTexture)},
  };

  const auto letter = [](char c) { return std::isalnum(static_cast<unsigned char>(c)) != 0; };
  for (const auto& font : fonts) {
    std::vector<std::string> pairs;  // each a word with a bar between the two letters
    std::vector<int> gaps;
    for (const char* text : kTexts) {
      std::istringstream words(text);
      for (std::string word; words >> word;)
        for (size_t k = 0; k + 1 < word.size(); ++k) {
          if (!letter(word[k]) || !letter(word[k + 1])) continue;
          pairs.push_back(word.substr(0, k + 1) + "|" + word.substr(k + 1));
          gaps.push_back(WidestGap([&] { font.Draw(word.substr(k, 2)); }));
        }
    }
    std::vector<int> sorted = gaps;
    std::nth_element(sorted.begin(), sorted.begin() + sorted.size() / 2, sorted.end());
    const int usual = sorted[sorted.size() / 2];
    std::vector<std::string> apart;
    for (size_t k = 0; k < pairs.size(); ++k)
      if (gaps[k] > usual + kBound) apart.push_back(pairs[k] + ": " + std::to_string(gaps[k]));
    EXPECT_EQ(apart, std::vector<std::string>{}) << font.Name << ": texels between letters, usually " << usual;
  }
  glDeleteLists(GLuint(grid.ListBase), 256);
  glDeleteTextures(1, &defaultTexture);
  glDeleteTextures(1, &altTexture);
  glDeleteTextures(1, &BuiltinFont.Texture);
  BuiltinFont = TGUIBFFont{};
  EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

}  // namespace
