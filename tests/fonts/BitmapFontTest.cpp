// The built-in bitmap font: loading BFF blobs (good, odd and hostile) and DrawText's quads.
#include "FontTestSupport.h"
#include "GLGUI.h"
#include "Resources.h"

#include <gtest/gtest.h>

#include <cmath>
#include <array>
#include <cstring>
#include <memory>
#include <random>

using namespace testgl;
using namespace fonttest;

namespace {

// One DrawText glyph quad: its plane bounds and the texture coordinate found at each corner.
struct GlyphQuad {
  Box box;
  float s[4], t[4];  // lower-left, lower-right, upper-right, upper-left
};

// Mesa reports each quad as two triangles; every pair of polygons is one glyph.
std::vector<GlyphQuad> Quads(const std::vector<FeedbackPrimitive>& prims, const PlaneView& view) {
  std::vector<GlyphQuad> out;
  const auto polys = Polygons(prims);
  for (size_t i = 0; i + 1 < polys.size(); i += 2) {
    GlyphQuad q;
    for (size_t k = i; k < i + 2; ++k)
      for (const auto& v : polys[k].vertices) q.box.Add(view.PlaneX(v.x), view.PlaneY(v.y));
    for (size_t k = i; k < i + 2; ++k)
      for (const auto& v : polys[k].vertices) {
        const bool right = std::abs(view.PlaneX(v.x) - q.box.maxX) < 1e-6;
        const bool top = std::abs(view.PlaneY(v.y) - q.box.maxY) < 1e-6;
        const int corner = top ? (right ? 2 : 3) : (right ? 1 : 0);
        q.s[corner] = v.s;
        q.t[corner] = v.t;
      }
    out.push_back(q);
  }
  return out;
}

class BitmapFontTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(gl_.Ok()) << gl_.Error();
    view_ = UseOrthoPlane(gl_, -0.6, 0.3, 1000);
    BuiltinFont = TGUIBFFont{};
  }
  void TearDown() override { BuiltinFont = TGUIBFFont{}; }

  // Loads a 256 x 256, 17 x 17 cell, 32-bit font starting at `base` into BuiltinFont.
  void LoadStandardFont(uint8_t base = 32, const uint8_t* widths = nullptr) {
    const auto blob = MakeBffBlob(256, 256, 17, 17, 32, base, widths);
    LoadBFFont(BuiltinFont, blob.data(), blob.size());
    ASSERT_NE(BuiltinFont.Texture, 0u);
  }

  std::vector<GlyphQuad> Draw(int32_t x, int32_t y, const std::string& text) {
    return Quads(CaptureFeedback([&] { DrawText(x, y, text); }), view_);
  }

  std::vector<uint8_t> BoundTextureRGBA(int w, int h) {
    std::vector<uint8_t> px(size_t(w) * h * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, px.data());
    return px;
  }

  HeadlessGL gl_{640, 480};
  PlaneView view_{};
};

TEST_F(BitmapFontTest, LoadsHeaderWidthsAndTexture) {
  const auto blob = MakeBffBlob(256, 256, 17, 17, 32, 32, nullptr);
  TGUIBFFont font;
  LoadBFFont(font, blob.data(), blob.size());

  EXPECT_EQ(font.BaseChar, 32);
  EXPECT_EQ(font.CellsPerRow, 15);
  EXPECT_EQ(font.CellWidth, 17);
  EXPECT_EQ(font.CellHeight, 17);
  EXPECT_EQ(font.GlyphHeight, 17);
  EXPECT_DOUBLE_EQ(font.CellTexWidth, 17.0 / 256);
  EXPECT_DOUBLE_EQ(font.CellTexHeight, 17.0 / 256);
  ASSERT_EQ(font.Widths.size(), 256u);
  EXPECT_EQ(0, std::memcmp(font.Widths.data(), kBuiltinWidths, 256));
  ASSERT_NE(font.Texture, 0u);

  GLint bound = 0, minF = 0, magF = 0, wrapS = 0, wrapT = 0, w0 = 0, h0 = 0, w1 = -1;
  glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
  EXPECT_EQ(GLuint(bound), font.Texture) << "the texture stays bound";
  glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &minF);
  glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &magF);
  glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, &wrapS);
  glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, &wrapT);
  EXPECT_EQ(minF, GL_LINEAR);
  EXPECT_EQ(magF, GL_LINEAR);
  EXPECT_EQ(wrapS, 0x812F);
  EXPECT_EQ(wrapT, 0x812F);
  glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &w0);
  glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &h0);
  glGetTexLevelParameteriv(GL_TEXTURE_2D, 1, GL_TEXTURE_WIDTH, &w1);
  EXPECT_EQ(w0, 256);
  EXPECT_EQ(h0, 256);
  EXPECT_EQ(w1, 0) << "level 0 only";

  // The blob's first stored row is texture row t = 0, byte for byte.
  const auto px = BoundTextureRGBA(256, 256);
  EXPECT_EQ(0, std::memcmp(px.data(), blob.data() + 276, px.size()));
  EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST_F(BitmapFontTest, TexelsTheBlobLacksAreZero) {
  // Like the real built-in blob: the pixel block ends five texels early.
  auto blob = MakeBffBlob(256, 256, 17, 17, 32, 32, nullptr);
  blob.resize(blob.size() - 20);
  std::unique_ptr<uint8_t[]> exact(new uint8_t[blob.size()]);  // no slack for a stray read
  std::memcpy(exact.get(), blob.data(), blob.size());
  TGUIBFFont font;
  LoadBFFont(font, exact.get(), blob.size());
  ASSERT_NE(font.Texture, 0u);
  const auto px = BoundTextureRGBA(256, 256);
  EXPECT_EQ(0, std::memcmp(px.data(), blob.data() + 276, px.size() - 20));
  for (size_t k = px.size() - 20; k < px.size(); ++k) EXPECT_EQ(px[k], 0) << k;
}

TEST_F(BitmapFontTest, LuminanceAndRgbBlobsWithOddRowLengths) {
  // Rows of 5 texels are not 4-byte aligned; every byte must land where it belongs.
  const auto rgb = MakeBffBlob(5, 3, 1, 1, 24, 0, nullptr);
  TGUIBFFont font;
  LoadBFFont(font, rgb.data(), rgb.size());
  ASSERT_NE(font.Texture, 0u);
  auto px = BoundTextureRGBA(5, 3);
  for (int i = 0; i < 15; ++i)
    for (int c = 0; c < 3; ++c) EXPECT_EQ(px[i * 4 + c], rgb[276 + i * 3 + c]) << i;

  const auto lum = MakeBffBlob(7, 3, 7, 3, 8, 0, nullptr);
  TGUIBFFont grey;
  LoadBFFont(grey, lum.data(), lum.size());
  ASSERT_NE(grey.Texture, 0u);
  px = BoundTextureRGBA(7, 3);
  for (int i = 0; i < 21; ++i) {
    EXPECT_EQ(px[i * 4], lum[276 + i]) << i;
    EXPECT_EQ(px[i * 4 + 3], 255) << i;
  }
  GLint alignment = 0;
  glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
  EXPECT_EQ(alignment, 4) << "unpacking state is restored";
}

TEST_F(BitmapFontTest, UnknownBitDepthSetsTheGeometryButNoWidthsOrTexture) {
  const auto blob = MakeBffBlob(256, 128, 16, 8, 16, 40, nullptr);
  TGUIBFFont font;
  LoadBFFont(font, blob.data(), blob.size());
  EXPECT_EQ(font.BaseChar, 40);
  EXPECT_EQ(font.CellsPerRow, 16);
  EXPECT_EQ(font.GlyphHeight, 8);
  EXPECT_DOUBLE_EQ(font.CellTexWidth, 16.0 / 256);
  EXPECT_DOUBLE_EQ(font.CellTexHeight, 8.0 / 128);
  EXPECT_TRUE(font.Widths.empty());
  EXPECT_EQ(font.Texture, 0u);

  // A record that already had a texture and widths keeps them.
  TGUIBFFont used;
  used.Texture = 77;
  used.Widths.assign(256, 3);
  LoadBFFont(used, blob.data(), blob.size());
  EXPECT_EQ(used.Texture, 77u);
  EXPECT_EQ(used.Widths, std::vector<uint8_t>(256, 3));
}

TEST_F(BitmapFontTest, HostileHeadersLoadNothing) {
  TGUIBFFont untouched;
  untouched.CellsPerRow = 9;
  untouched.Texture = 5;
  const auto good = MakeBffBlob(64, 64, 8, 8, 32, 32, nullptr);

  // Shorter than the fixed header: nothing can be read, nothing changes.
  TGUIBFFont f = untouched;
  LoadBFFont(f, good.data(), 19);
  EXPECT_EQ(f.CellsPerRow, 9);
  EXPECT_EQ(f.CellWidth, 0);
  LoadBFFont(f, nullptr, 0);
  EXPECT_EQ(f.CellsPerRow, 9);

  // Header present but the width table cut short: geometry only.
  f = untouched;
  LoadBFFont(f, good.data(), 100);
  EXPECT_EQ(f.CellsPerRow, 8);
  EXPECT_TRUE(f.Widths.empty());
  EXPECT_EQ(f.Texture, 5u);

  struct Case {
    int32_t w, h, cw, ch;
  };
  const Case cases[] = {{64, 64, 0, 8},          {64, 64, 8, 0},         {0, 64, 8, 8},
                        {64, 0, 8, 8},           {-64, 64, 8, 8},        {64, 64, -8, 8},
                        {INT32_MIN, 64, -1, 8},  {100000, 100000, 8, 8}, {INT32_MAX, INT32_MAX, 1, 1},
                        {1 << 16, 1 << 16, 1, 1}};
  for (const Case& c : cases) {
    auto blob = MakeBffBlob(0, 0, c.cw, c.ch, 32, 32, nullptr);
    std::memcpy(blob.data() + 2, &c.w, 4);
    std::memcpy(blob.data() + 6, &c.h, 4);
    TGUIBFFont g = untouched;
    LoadBFFont(g, blob.data(), blob.size());
    EXPECT_TRUE(g.Widths.empty()) << c.w << "x" << c.h << " cells " << c.cw << "x" << c.ch;
    EXPECT_EQ(g.Texture, 5u);
    if (c.cw == 0) {
      EXPECT_EQ(g.CellsPerRow, 9) << "no division by a zero cell width";
    }
  }
  EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST_F(BitmapFontTest, RandomBlobsNeverReadOutOfBounds) {
  std::mt19937 rng(12345);
  for (int round = 0; round < 400; ++round) {
    const int32_t w = int32_t(rng() % 40) - 4, h = int32_t(rng() % 40) - 4;
    const int32_t cw = int32_t(rng() % 10) - 2, ch = int32_t(rng() % 10) - 2;
    const uint8_t bits = std::array<uint8_t, 5>{8, 24, 32, 16, uint8_t(rng())}[rng() % 5];
    auto blob = MakeBffBlob(w, h, cw, ch, bits, uint8_t(rng()), nullptr);
    const size_t length = rng() % (blob.size() + 1);
    std::unique_ptr<uint8_t[]> exact(new uint8_t[length ? length : 1]);
    std::memcpy(exact.get(), blob.data(), length);
    TGUIBFFont font;
    LoadBFFont(font, exact.get(), length);
    BuiltinFont = font;
    CaptureFeedback([] { DrawText(3, 4, std::string("\x00 Az\xff", 5)); });
    if (font.Texture) glDeleteTextures(1, &font.Texture);
  }
  EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST_F(BitmapFontTest, DrawTextPlacesGuiAtTheTopLeft) {
  LoadStandardFont();
  const auto quads = Draw(0, 0, "GUI");
  ASSERT_EQ(quads.size(), 3u);
  const double cell = 17.0 / 600;
  const double expectLeft[3] = {-0.552, -0.552 + 7.0 / 600, -0.552 + 13.0 / 600};
  for (int k = 0; k < 3; ++k) {
    EXPECT_NEAR(quads[k].box.minX, expectLeft[k], 1e-5) << k;
    EXPECT_NEAR(quads[k].box.maxX - quads[k].box.minX, cell, 1e-5) << k;
    EXPECT_NEAR(quads[k].box.minY, 350 * 0.395 / 358, 1e-5) << k;
    EXPECT_NEAR(quads[k].box.maxY - quads[k].box.minY, cell, 1e-5) << k;
  }
  // "G" (71) is cell 39: row 2, column 9; the cell's top texel row is at the top of the quad.
  const float tw = 17.0f / 256;
  const GlyphQuad& g = quads[0];
  EXPECT_NEAR(g.s[0], 9 * tw, 1e-6);
  EXPECT_NEAR(g.t[0], 3 * tw, 1e-6);
  EXPECT_NEAR(g.s[1], 10 * tw, 1e-6);
  EXPECT_NEAR(g.t[1], 3 * tw, 1e-6);
  EXPECT_NEAR(g.s[2], 10 * tw, 1e-6);
  EXPECT_NEAR(g.t[2], 2 * tw, 1e-6);
  EXPECT_NEAR(g.s[3], 9 * tw, 1e-6);
  EXPECT_NEAR(g.t[3], 2 * tw, 1e-6);
}

TEST_F(BitmapFontTest, CellsWrapIntoTheNextRow) {
  LoadStandardFont();
  const auto quads = Draw(0, 0, "./");  // 46 is cell 14 (row 0, last column), 47 cell 15
  ASSERT_EQ(quads.size(), 2u);
  const float tw = 17.0f / 256;
  EXPECT_NEAR(quads[0].s[3], 14 * tw, 1e-6);
  EXPECT_NEAR(quads[0].t[3], 0, 1e-6);
  EXPECT_NEAR(quads[1].s[3], 0, 1e-6);
  EXPECT_NEAR(quads[1].t[3], tw, 1e-6);
  EXPECT_NEAR(quads[1].t[0], 2 * tw, 1e-6);
}

TEST_F(BitmapFontTest, AdvanceComesFromTheCharactersOwnCode) {
  uint8_t widths[256] = {};
  widths['A'] = 10;       // the character's own code
  widths['A' - 32] = 3;   // what a cell-indexed table would give
  widths['A' - 40] = 5;
  LoadStandardFont(32, widths);
  auto a = Draw(0, 0, "AA");
  ASSERT_EQ(a.size(), 2u);
  EXPECT_NEAR(a[1].box.minX - a[0].box.minX, 10.0 / 600, 1e-5);

  // Another base character, same table: same advances, other cells.
  LoadStandardFont(40, widths);
  auto b = Draw(0, 0, "AA");
  ASSERT_EQ(b.size(), 2u);
  EXPECT_NEAR(b[1].box.minX - b[0].box.minX, 10.0 / 600, 1e-5);
  EXPECT_NE(a[0].s[0], b[0].s[0]);
}

TEST_F(BitmapFontTest, PositionFollowsThePixelArguments) {
  LoadStandardFont();
  const auto q = Draw(100, 50, "x");
  ASSERT_EQ(q.size(), 1u);
  EXPECT_NEAR(q[0].box.minX, (100.0 - 522) * 0.552 / 522, 1e-5);
  EXPECT_NEAR(q[0].box.minY, (350.0 - 50) * 0.395 / 358, 1e-5);
}

TEST_F(BitmapFontTest, DrawTextIgnoresTheCallersModelviewAndKeepsState) {
  LoadStandardFont();
  const auto plain = Draw(0, 0, "Hi");

  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  glTranslated(0.3, -0.2, -0.5);
  glRotated(25, 1, 1, 0);
  GLdouble before[16], after[16];
  glGetDoublev(GL_MODELVIEW_MATRIX, before);
  glColor4f(0.25f, 0.5f, 0.75f, 1.0f);
  glDisable(GL_DEPTH_TEST);
  glEnable(GL_BLEND);
  glMatrixMode(GL_PROJECTION);  // even from the projection matrix mode
  const auto moved = Quads(CaptureFeedback([] { DrawText(0, 0, "Hi"); }), view_);

  GLint mode = 0;
  glGetIntegerv(GL_MATRIX_MODE, &mode);
  EXPECT_EQ(mode, GL_PROJECTION);
  glMatrixMode(GL_MODELVIEW);
  glGetDoublev(GL_MODELVIEW_MATRIX, after);
  for (int k = 0; k < 16; ++k) EXPECT_DOUBLE_EQ(before[k], after[k]);
  GLfloat colour[4];
  glGetFloatv(GL_CURRENT_COLOR, colour);
  EXPECT_FLOAT_EQ(colour[2], 0.75f);
  EXPECT_FALSE(glIsEnabled(GL_DEPTH_TEST));
  EXPECT_TRUE(glIsEnabled(GL_BLEND));

  ASSERT_EQ(moved.size(), plain.size());
  for (size_t k = 0; k < plain.size(); ++k) {
    EXPECT_NEAR(moved[k].box.minX, plain[k].box.minX, 1e-5);
    EXPECT_NEAR(moved[k].box.minY, plain[k].box.minY, 1e-5);
  }
  EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST_F(BitmapFontTest, AnUnloadedFontDrawsWithoutAdvancing) {
  // All fields zero: no rows, no widths; nothing may divide by zero or index out of range.
  Draw(0, 0, "ab\xff");
  BuiltinFont.CellWidth = BuiltinFont.GlyphHeight = 17;
  const auto q = Draw(0, 0, "ab");
  ASSERT_EQ(q.size(), 2u);
  EXPECT_NEAR(q[0].box.minX, q[1].box.minX, 1e-9);
}

// Real built-in font of the program image, once the art exists.
TEST_F(BitmapFontTest, BuiltinResourceHasTheExpectedHeaderAndWidths) {
  ResourceBlob blob{};
  if (!FindProgramResource("BFF", "BUILTINFONT", &blob)) GTEST_SKIP() << "resources/builtinfont.bff not present yet";
  ASSERT_GE(blob.Size, 276u);
  const auto expected = MakeBffBlob(256, 256, 17, 17, 32, 32, nullptr);
  EXPECT_EQ(0, std::memcmp(blob.Data, expected.data(), 276)) << "identifier, header and width table";
  // The pixel block may end up to five texels early (in the bottom row, which no cell covers).
  EXPECT_GE(blob.Size, expected.size() - 20);
  EXPECT_LE(blob.Size, expected.size());

  LoadBFFont(BuiltinFont, blob.Data, blob.Size);
  EXPECT_EQ(BuiltinFont.CellsPerRow, 15);
  EXPECT_EQ(BuiltinFont.Widths.size(), 256u);
  ASSERT_NE(BuiltinFont.Texture, 0u);
  // Glyph shapes live in the alpha channel: "M" (cell 45) has ink, space (cell 0) none.
  const auto px = BoundTextureRGBA(256, 256);
  auto inkIn = [&](int cell) {
    int ink = 0;
    const int cx = (cell % 15) * 17, cy = (cell / 15) * 17;
    for (int y = cy; y < cy + 17; ++y)
      for (int x = cx; x < cx + 17; ++x) ink += px[(size_t(y) * 256 + x) * 4 + 3] > 128;
    return ink;
  };
  EXPECT_GT(inkIn('M' - 32), 10);
  EXPECT_EQ(inkIn(0), 0);
}

}  // namespace
