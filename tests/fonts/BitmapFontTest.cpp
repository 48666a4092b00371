// The built-in bitmap font: loading BFF blobs (good, odd and hostile) and DrawText's quads.
#include "FontTestSupport.h"
#include "GLGUI.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <memory>
#include <random>
#include <vector>

using namespace testgl;
using fonttest::MakeBffBlob;

namespace {

class BitmapFontTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(gl_.Ok()) << gl_.Error();
    view_ = UseOrthoView(gl_, -0.6, 0.04, 0.3, 0.78, -10, 10);
    BuiltinFont = TGUIBFFont{};
  }
  void TearDown() override { BuiltinFont = TGUIBFFont{}; }

  // Loads a 256 x 256, 17 x 17 cell, 32-bit font starting at `base` into BuiltinFont.
  void LoadStandardFont(uint8_t base = 32, const uint8_t* widths = nullptr) {
    const auto blob = MakeBffBlob(256, 256, 17, 17, 32, base, widths);
    LoadBFFont(BuiltinFont, blob.data(), blob.size());
    ASSERT_NE(BuiltinFont.Texture, 0u);
  }
  std::vector<Quad> Draw(int32_t x, int32_t y, const std::string& text) {
    return Quads(CaptureFeedback([&] { DrawText(x, y, text); }), view_);
  }
  // The texels of the bound texture as RGBA.
  static std::vector<uint8_t> BoundTexels(int w, int h) {
    std::vector<uint8_t> px(size_t(w) * h * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, px.data());
    return px;
  }
  // Loads `length` bytes of `blob` from a copy with no slack behind it for a stray read.
  static void LoadExact(TGUIBFFont& font, const std::vector<uint8_t>& blob, size_t length) {
    std::unique_ptr<uint8_t[]> exact(new uint8_t[length ? length : 1]);
    std::memcpy(exact.get(), blob.data(), length);
    LoadBFFont(font, exact.get(), length);
  }

  HeadlessGL gl_{640, 480};
  OrthoView view_{};
};

TEST_F(BitmapFontTest, LoadsHeaderWidthsAndTextureRowsAsStored) {
  const auto blob = MakeBffBlob(256, 256, 17, 17, 32, 32, nullptr);
  TGUIBFFont font;
  LoadBFFont(font, blob.data(), blob.size());
  EXPECT_EQ((std::vector<int32_t>{font.BaseChar, font.CellsPerRow, font.CellWidth, font.CellHeight, font.GlyphHeight}),
            (std::vector<int32_t>{32, 15, 17, 17, 17}));
  ExpectNear({font.CellTexWidth, font.CellTexHeight}, {17.0 / 256, 17.0 / 256}, 1e-15);
  ASSERT_EQ(font.Widths.size(), 256u);
  EXPECT_EQ(0, std::memcmp(font.Widths.data(), kBuiltinWidths, 256));
  ASSERT_NE(font.Texture, 0u);
  GLint bound = 0, w1 = -1;
  glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
  EXPECT_EQ(GLuint(bound), font.Texture) << "the texture stays bound";
  std::vector<GLint> params;
  for (GLenum p : {GL_TEXTURE_MIN_FILTER, GL_TEXTURE_MAG_FILTER, GL_TEXTURE_WRAP_S, GL_TEXTURE_WRAP_T}) {
    glGetTexParameteriv(GL_TEXTURE_2D, p, &params.emplace_back());
  }
  for (GLenum p : {GL_TEXTURE_WIDTH, GL_TEXTURE_HEIGHT}) glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, p, &params.emplace_back());
  EXPECT_EQ(params, (std::vector<GLint>{GL_LINEAR, GL_LINEAR, 0x812F, 0x812F, 256, 256}));
  glGetTexLevelParameteriv(GL_TEXTURE_2D, 1, GL_TEXTURE_WIDTH, &w1);
  EXPECT_EQ(w1, 0) << "level 0 only";
  // The blob's first stored row is texture row t = 0, byte for byte.
  const auto px = BoundTexels(256, 256);
  EXPECT_EQ(0, std::memcmp(px.data(), blob.data() + 276, px.size()));
  EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST_F(BitmapFontTest, TexelsTheBlobLacksAreZeroAndOddRowLengthsLoadExactly) {
  // Like the real built-in blob may: the pixel block ends five texels early.
  const auto blob = MakeBffBlob(256, 256, 17, 17, 32, 32, nullptr);
  TGUIBFFont font;
  LoadExact(font, blob, blob.size() - 20);
  ASSERT_NE(font.Texture, 0u);
  auto px = BoundTexels(256, 256);
  EXPECT_EQ(0, std::memcmp(px.data(), blob.data() + 276, px.size() - 20));
  for (size_t k = px.size() - 20; k < px.size(); ++k) EXPECT_EQ(px[k], 0) << k;
  // Rows of 5 RGB or 7 luminance texels are not 4-byte aligned; every byte must land where it belongs.
  for (const auto& [w, bits] : {std::pair{5, 24}, std::pair{7, 8}}) {
    const auto small = MakeBffBlob(w, 3, 1, 1, uint8_t(bits), 0, nullptr);
    TGUIBFFont f;
    LoadBFFont(f, small.data(), small.size());
    ASSERT_NE(f.Texture, 0u);
    px = BoundTexels(w, 3);
    for (int i = 0; i < w * 3; ++i)
      for (int c : bits == 8 ? std::vector<int>{0, 3} : std::vector<int>{0, 1, 2, 3})  // luminance reads back as red
        EXPECT_EQ(px[i * 4 + c], c == 3 ? 255 : small[276 + i * (bits / 8) + c]) << w << ":" << i;
  }
  GLint alignment = 0;
  glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
  EXPECT_EQ(alignment, 4) << "unpacking state is restored";
}

TEST_F(BitmapFontTest, UnusableBlobsSetOnlyWhatTheyCanAndNeverDivideByZero) {
  // An unknown bit depth: the geometry, but no widths or texture; a used record keeps its own.
  const auto odd = MakeBffBlob(256, 128, 16, 8, 16, 40, nullptr);
  TGUIBFFont font, used;
  used.Texture = 77;
  used.Widths.assign(256, 3);
  LoadBFFont(font, odd.data(), odd.size());
  LoadBFFont(used, odd.data(), odd.size());
  EXPECT_EQ((std::vector<int32_t>{font.BaseChar, font.CellsPerRow, font.GlyphHeight}),
            (std::vector<int32_t>{40, 16, 8}));
  ExpectNear({font.CellTexWidth, font.CellTexHeight}, {16.0 / 256, 8.0 / 128}, 1e-15);
  EXPECT_TRUE(font.Widths.empty());
  EXPECT_EQ(font.Texture, 0u);
  EXPECT_EQ(used.Texture, 77u);
  EXPECT_EQ(used.Widths, std::vector<uint8_t>(256, 3));

  TGUIBFFont untouched;
  untouched.CellsPerRow = 9;
  untouched.Texture = 5;
  const auto good = MakeBffBlob(64, 64, 8, 8, 32, 32, nullptr);
  // Shorter than the fixed header: nothing can be read, nothing changes.
  TGUIBFFont f = untouched;
  LoadBFFont(f, good.data(), 19);
  LoadBFFont(f, nullptr, 0);
  EXPECT_EQ(f.CellsPerRow, 9);
  EXPECT_EQ(f.CellWidth, 0);
  // Header present but the width table cut short: geometry only.
  LoadBFFont(f, good.data(), 100);
  EXPECT_EQ(f.CellsPerRow, 8);
  EXPECT_TRUE(f.Widths.empty());
  EXPECT_EQ(f.Texture, 5u);
  const std::array<int32_t, 4> cases[] = {{64, 64, 0, 8},         {64, 64, 8, 0},         {0, 64, 8, 8},
                                          {64, 0, 8, 8},          {-64, 64, 8, 8},        {64, 64, -8, 8},
                                          {INT32_MIN, 64, -1, 8}, {100000, 100000, 8, 8}, {INT32_MAX, INT32_MAX, 1, 1},
                                          {1 << 16, 1 << 16, 1, 1}};
  for (const auto& [w, h, cw, ch] : cases) {
    auto blob = MakeBffBlob(0, 0, cw, ch, 32, 32, nullptr);
    std::memcpy(blob.data() + 2, &w, 4);
    std::memcpy(blob.data() + 6, &h, 4);
    TGUIBFFont g = untouched;
    LoadBFFont(g, blob.data(), blob.size());
    EXPECT_TRUE(g.Widths.empty()) << w << "x" << h << " cells " << cw << "x" << ch;
    EXPECT_EQ(g.Texture, 5u);
    EXPECT_TRUE(cw != 0 || g.CellsPerRow == 9) << "no division by a zero cell width";
  }
  EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST_F(BitmapFontTest, RandomBlobsNeverReadOutOfBounds) {
  std::mt19937 rng(12345);
  for (int round = 0; round < 400; ++round) {
    const int32_t w = int32_t(rng() % 40) - 4, h = int32_t(rng() % 40) - 4;
    const int32_t cw = int32_t(rng() % 10) - 2, ch = int32_t(rng() % 10) - 2;
    const uint8_t bits = std::array<uint8_t, 5>{8, 24, 32, 16, uint8_t(rng())}[rng() % 5];
    const auto blob = MakeBffBlob(w, h, cw, ch, bits, uint8_t(rng()), nullptr);
    TGUIBFFont font;
    LoadExact(font, blob, rng() % (blob.size() + 1));
    BuiltinFont = font;
    CaptureFeedback([] { DrawText(3, 4, std::string("\x00 Az\xff", 5)); });
    if (font.Texture) glDeleteTextures(1, &font.Texture);
  }
  EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST_F(BitmapFontTest, DrawTextPlacesCellsFromTheTopLeftAndWrapsRows) {
  LoadStandardFont();
  const double cell = 17.0 / 600, top = 350 * 0.395 / 358, tw = 17.0 / 256;
  const auto quads = Draw(0, 0, "GUI./");
  ASSERT_EQ(quads.size(), 5u);
  const double left[3] = {-0.552, -0.552 + 7.0 / 600, -0.552 + 13.0 / 600};
  for (int k = 0; k < 3; ++k) {
    SCOPED_TRACE(k);
    ExpectNear({quads[k].MinX(), quads[k].MaxX(), quads[k].MinY(), quads[k].MaxY()},
               {left[k], left[k] + cell, top, top + cell}, 1e-5);
  }
  // By corner from the bottom left, counter-clockwise: the cell's top texel row is at the top of
  // the quad. "G" (71) is cell 39: row 2, column 9; "." is cell 14, the last of row 0; "/" wraps.
  const double cells[3][3] = {{0, 9, 2}, {3, 14, 0}, {4, 0, 1}};  // quad, column, row
  for (const auto& [q, column, row] : cells) {
    const auto& v = quads[size_t(q)].v;
    ExpectNear({v[0].s, v[0].t, v[1].s, v[1].t, v[2].s, v[2].t, v[3].s, v[3].t},
               {column * tw, (row + 1) * tw, (column + 1) * tw, (row + 1) * tw, (column + 1) * tw, row * tw,
                column * tw, row * tw},
               1e-6);
  }
  const auto at = Draw(100, 50, "x");
  ASSERT_EQ(at.size(), 1u);
  ExpectNear({at[0].MinX(), at[0].MinY()}, {(100.0 - 522) * 0.552 / 522, (350.0 - 50) * 0.395 / 358}, 1e-5);
}

TEST_F(BitmapFontTest, AdvanceComesFromTheCharactersOwnCode) {
  uint8_t widths[256] = {};
  widths['A'] = 10;      // the character's own code
  widths['A' - 32] = 3;  // what a cell-indexed table would give
  widths['A' - 40] = 5;
  LoadStandardFont(32, widths);
  const auto a = Draw(0, 0, "AA");
  // Another base character, same table: same advances, other cells.
  LoadStandardFont(40, widths);
  const auto b = Draw(0, 0, "AA");
  ASSERT_EQ(a.size(), 2u);
  ASSERT_EQ(b.size(), 2u);
  EXPECT_NEAR(a[1].MinX() - a[0].MinX(), 10.0 / 600, 1e-5);
  EXPECT_NEAR(b[1].MinX() - b[0].MinX(), 10.0 / 600, 1e-5);
  EXPECT_NE(a[0].v[0].s, b[0].v[0].s);
}

TEST_F(BitmapFontTest, DrawTextIgnoresTheCallersModelviewAndKeepsState) {
  LoadStandardFont();
  const auto plain = Draw(0, 0, "Hi");
  glTranslated(0.3, -0.2, -0.5);
  glRotated(25, 1, 1, 0);
  GLdouble before[16], after[16];
  glGetDoublev(GL_MODELVIEW_MATRIX, before);
  glColor4f(0.25f, 0.5f, 0.75f, 1.0f);
  glDisable(GL_DEPTH_TEST);
  glEnable(GL_BLEND);
  glMatrixMode(GL_PROJECTION);  // even from the projection matrix mode
  const auto moved = Draw(0, 0, "Hi");
  GLint mode = 0;
  glGetIntegerv(GL_MATRIX_MODE, &mode);
  EXPECT_EQ(mode, GL_PROJECTION);
  glMatrixMode(GL_MODELVIEW);
  glGetDoublev(GL_MODELVIEW_MATRIX, after);
  EXPECT_EQ(std::vector<GLdouble>(before, before + 16), std::vector<GLdouble>(after, after + 16));
  GLfloat colour[4];
  glGetFloatv(GL_CURRENT_COLOR, colour);
  EXPECT_FLOAT_EQ(colour[2], 0.75f);
  EXPECT_FALSE(glIsEnabled(GL_DEPTH_TEST));
  EXPECT_TRUE(glIsEnabled(GL_BLEND));
  ASSERT_EQ(moved.size(), plain.size());
  for (size_t k = 0; k < plain.size(); ++k)
    ExpectNear({moved[k].MinX(), moved[k].MinY()}, {plain[k].MinX(), plain[k].MinY()}, 1e-5);
  EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST_F(BitmapFontTest, AnUnloadedFontDrawsWithoutAdvancing) {
  // All fields zero: no rows, no widths; nothing may divide by zero or index out of range.
  CaptureFeedback([] { DrawText(0, 0, "ab\xff"); });
  BuiltinFont.CellWidth = BuiltinFont.GlyphHeight = 17;
  const auto q = Draw(0, 0, "ab");
  ASSERT_EQ(q.size(), 2u);
  EXPECT_NEAR(q[0].MinX(), q[1].MinX(), 1e-9);
}

}  // namespace
