// Texture-grid fonts: 256 lists of textured squares read from a 16 x 16 grid, top-left first.
#include "FontTestSupport.h"
#include "GLGUI.h"

#include <gtest/gtest.h>

#include <cstdlib>

using namespace testgl;

namespace {

class GridFontTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(gl_.Ok()) << gl_.Error();
    view_ = UseOrthoView(gl_, -0.01, 0.054, -0.01, 0.038, -10, 10);
  }
  HeadlessGL gl_{640, 480};
  OrthoView view_{};
};

TEST_F(GridFontTest, SizeTenGivesTwoHundredthSquaresReadFromTheTopLeftThatAdvance) {
  TGUIBMPFONT font;
  CreateGridFont(font, 10);
  EXPECT_EQ(font.Size, 10);
  ASSERT_NE(font.ListBase, 0);
  for (int cell : {0, 17, 95, 255}) {
    SCOPED_TRACE(cell);
    const auto prims = CaptureFeedback([&] { glCallList(font.ListBase + cell); });
    const auto quads = Quads(prims, view_);
    ASSERT_EQ(quads.size(), 1u);
    const auto& v = quads[0].v;
    const double cx = (cell % 16) / 16.0, cy = (cell / 16) / 16.0, e = 0.0625;
    ExpectNear({v[0].x, v[0].y, v[2].x, v[2].y}, {0, 0, 0.02, 0.02}, 1e-6);
    ExpectNear({v[0].s, v[0].t, v[1].s, v[1].t, v[2].s, v[2].t, v[3].s, v[3].t},
               {cx, 1 - cy - e, cx + e, 1 - cy - e, cx + e, 1 - cy, cx, 1 - cy}, 1e-6);
    // Counter-clockwise as seen from the camera.
    double smallest = 0;
    EXPECT_GT(fonttest::SignedArea(prims, &smallest), 0);
    EXPECT_GT(smallest, 0);
    // Each list leaves the pen after its glyph.
    GLdouble m[16];
    glGetDoublev(GL_MODELVIEW_MATRIX, m);
    EXPECT_NEAR(m[12], 10.0 / 760, 1e-9);
    glLoadIdentity();
  }
  const auto two = Quads(CaptureFeedback([&] {
    glCallList(font.ListBase + 33);
    glCallList(font.ListBase + 34);
  }), view_);
  ASSERT_EQ(two.size(), 2u);
  EXPECT_NEAR(two[1].MinX(), 10.0 / 760, 1e-6);
  glLoadIdentity();
  // Each font gets its own block of lists.
  TGUIBMPFONT a, b;
  CreateGridFont(a, 16);
  CreateGridFont(b, 16);
  EXPECT_GE(std::abs(b.ListBase - a.ListBase), 256);
  EXPECT_NEAR(Bounds(CaptureFeedback([&] { glCallList(b.ListBase + 255); }), view_).maxX, 16.0 / 500, 1e-6);
  // No lists to be had (GL refuses glGenLists between glBegin and glEnd): the font stays empty
  // and compiles nothing over lists it does not own.
  TGUIBMPFONT none;
  glBegin(GL_POINTS);
  const bool made = CreateGridFont(none, 10);
  glEnd();
  while (glGetError() != GL_NO_ERROR) {
  }
  EXPECT_FALSE(made);
  EXPECT_EQ(none.ListBase, 0);
  glLoadIdentity();
  EXPECT_NEAR(Bounds(CaptureFeedback([&] { glCallList(b.ListBase + 255); }), view_).maxX, 16.0 / 500, 1e-6);
}

}  // namespace
