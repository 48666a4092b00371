// Texture-grid fonts: 256 lists of textured squares read from a 16 x 16 grid, top-left first.
#include "FontTestSupport.h"
#include "GLGUI.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace testgl;
using namespace fonttest;

namespace {

class GridFontTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(gl_.Ok()) << gl_.Error();
    view_ = UseOrthoPlane(gl_, -0.01, -0.01, 10000);
  }
  HeadlessGL gl_{640, 480};
  PlaneView view_{};
};

TEST_F(GridFontTest, SizeTenGivesTwoHundredthSquaresReadFromTheTopLeft) {
  TGUIBMPFONT font;
  CreateGridFont(font, 10);
  EXPECT_EQ(font.Size, 10);
  ASSERT_NE(font.ListBase, 0);

  for (int cell : {0, 17, 95, 255}) {
    const auto prims = Polygons(CaptureFeedback([&] {
      glPushMatrix();
      glCallList(font.ListBase + cell);
      glPopMatrix();
    }));
    ASSERT_FALSE(prims.empty()) << cell;
    const Box b = PlaneBounds(prims, view_);
    EXPECT_NEAR(b.minX, 0, 1e-6);
    EXPECT_NEAR(b.minY, 0, 1e-6);
    EXPECT_NEAR(b.maxX, 0.02, 1e-6);
    EXPECT_NEAR(b.maxY, 0.02, 1e-6);
    const double cx = (cell % 16) / 16.0, cy = (cell / 16) / 16.0;
    for (const auto& p : prims)
      for (const auto& v : p.vertices) {
        const bool right = view_.PlaneX(v.x) > 0.01, top = view_.PlaneY(v.y) > 0.01;
        EXPECT_NEAR(v.s, right ? cx + 0.0625 : cx, 1e-6) << cell;
        EXPECT_NEAR(v.t, top ? 1 - cy : 1 - cy - 0.0625, 1e-6) << cell;
      }
    // Counter-clockwise as seen from the camera.
    double smallest = 0;
    EXPECT_GT(SignedArea(prims, &smallest), 0);
    EXPECT_GT(smallest, 0);
  }
}

TEST_F(GridFontTest, EachListAdvancesBySizeOver760) {
  TGUIBMPFONT font;
  CreateGridFont(font, 10);
  const auto prims = Polygons(CaptureFeedback([&] {
    glCallList(font.ListBase + 33);
    glCallList(font.ListBase + 34);
  }));
  ASSERT_EQ(prims.size(), 4u);  // two quads, each split in two
  const std::vector<FeedbackPrimitive> second(prims.begin() + 2, prims.end());
  EXPECT_NEAR(PlaneBounds(second, view_).minX, 10.0 / 760, 1e-6);

  GLdouble m[16];
  glGetDoublev(GL_MODELVIEW_MATRIX, m);
  EXPECT_NEAR(m[12], 2 * 10.0 / 760, 1e-9) << "lists leave the pen after the glyph";
}

TEST_F(GridFontTest, FontsGetTheirOwnBlocksOfLists) {
  TGUIBMPFONT a, b;
  CreateGridFont(a, 16);
  CreateGridFont(b, 16);
  EXPECT_GE(std::abs(b.ListBase - a.ListBase), 256);
  glLoadIdentity();
  const Box box = PlaneBounds(Polygons(CaptureFeedback([&] { glCallList(b.ListBase + 255); })), view_);
  EXPECT_NEAR(box.maxX, 16.0 / 500, 1e-6);
}

}  // namespace
