// System outline fonts drawn for real and read back as pixels from the harness's framebuffer, so
// that the same checks hold for WGL's own glyph lists on Windows and for our stand-in: black box
// and origin against the ink, the advance, outlines against fills, empty glyphs, extrusion.
#include "GLGUI.h"
#include "Readback.h"

#include <gtest/gtest.h>

#include <string>

using namespace testgl;

namespace {

// The glyphs are drawn 200 pixels to the em, from (0.25, 0.25).
constexpr double kX = 0.25, kY = 0.25, kPixel = 1.0 / 200;
const char kFace[] = "DejaVu Sans";  // the same file on both platforms (fonts-dejavu-core)

class OutlinePixels : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(gl_.Ok()) << gl_.Error();
    view_ = UseOrthoView(gl_, 0, 2, 0, 1.5, -10, 10);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_CULL_FACE);
    glDisable(GL_BLEND);
    glColor4f(1, 1, 1, 1);
  }
  TGUISYSFONT Build(int weight, bool outline, double extrusion = 0.0) {
    TGUISYSFONT font = 0;
    CreateSystemFont(font, kFace, weight, outline, extrusion, static_cast<HDC>(gl_.DeviceContext()));
    return font;
  }
  Box Draw(const std::string& text, TGUISYSFONT font, Ink* ink = nullptr) {
    const Ink drawn = DrawAndFindInk(gl_, [&] {
      glPushMatrix();
      glTranslated(kX, kY, 0);
      glListBase(static_cast<GLuint>(font));
      glCallLists(static_cast<GLsizei>(text.size()), GL_UNSIGNED_BYTE, text.data());
      glPopMatrix();
    });
    if (ink) *ink = drawn;
    return InkBounds(drawn, view_);
  }
  static std::vector<double> Corners(const Box& b) { return {b.minX, b.minY, b.maxX, b.maxY}; }

  HeadlessGL gl_{400, 300};
  OrthoView view_{};
};

TEST_F(OutlinePixels, FilledGlyphInksItsBlackBoxAndTheListAdvancesByItsCellIncrement) {
  const TGUISYSFONT font = Build(700, false);
  const GLYPHMETRICSFLOAT h = SystemFontMetrics['H'];
  // DejaVu Sans Bold's H: 1714 of 2048 units wide, standing on the baseline.
  EXPECT_NEAR(h.gmfCellIncX, 1714.0 / 2048, 0.002);
  EXPECT_EQ(h.gmfCellIncY, 0.0f);
  EXPECT_NEAR(h.gmfptGlyphOrigin.y, h.gmfBlackBoxY, 0.002);
  Ink ink;
  const Box one = Draw("H", font, &ink);
  ExpectNear(Corners(one),
             {kX + h.gmfptGlyphOrigin.x, kY + h.gmfptGlyphOrigin.y - h.gmfBlackBoxY,
              kX + h.gmfptGlyphOrigin.x + h.gmfBlackBoxX, kY + h.gmfptGlyphOrigin.y},
             2 * kPixel);
  // Two stems and a bar fill well over a third of the box.
  EXPECT_GT(ink.count, 0.35 * h.gmfBlackBoxX * h.gmfBlackBoxY / (kPixel * kPixel));
  const Box two = Draw("HH", font);
  EXPECT_NEAR(two.maxX - one.maxX, h.gmfCellIncX, 2 * kPixel);
  RecordProperty("H", std::to_string(h.gmfBlackBoxX) + " " + std::to_string(h.gmfBlackBoxY) + " " +
                          std::to_string(h.gmfptGlyphOrigin.x) + " " + std::to_string(h.gmfptGlyphOrigin.y) + " " +
                          std::to_string(h.gmfCellIncX));
}

TEST_F(OutlinePixels, CodePage1250BytesGiveTheHungarianLetters) {
  Build(700, false);
  // \xF5 is o with a double acute (0.814 em tall in DejaVu Sans Bold), not o with a tilde (0.792).
  EXPECT_NEAR(SystemFontMetrics[0xF5].gmfBlackBoxY, 0.814, 0.005);
}

TEST_F(OutlinePixels, OutlinesInkOnlyTheEdgesOfTheBoxTheFillCovers) {
  Ink filled, outlined;
  const Box fill = Draw("O", Build(400, false), &filled);
  const Box line = Draw("O", Build(400, true), &outlined);
  ExpectNear(Corners(line), Corners(fill), 2 * kPixel);
  EXPECT_LT(outlined.count * 3, filled.count);
  EXPECT_GT(outlined.count, 0u);
}

TEST_F(OutlinePixels, SpaceAndCode255InkNothingTheSpaceAdvancesControlCodesShowTheDefaultGlyph) {
  const TGUISYSFONT font = Build(400, false);
  const GLYPHMETRICSFLOAT space = SystemFontMetrics[' '], h = SystemFontMetrics['H'];
  // DejaVu Sans's space: 651 of 2048 units.
  EXPECT_NEAR(space.gmfCellIncX, 651.0 / 2048, 0.002);
  Ink ink;
  Draw(" ", font, &ink);
  EXPECT_TRUE(ink.Empty());
  Draw("\xFF", font, &ink);
  EXPECT_TRUE(ink.Empty());
  EXPECT_NEAR(Draw(" H", font).minX, kX + space.gmfCellIncX + h.gmfptGlyphOrigin.x, 2 * kPixel);
  // Control codes and the code page's unassigned bytes: the face's default glyph, and its advance.
  const GLYPHMETRICSFLOAT notdef = SystemFontMetrics[1];
  EXPECT_GT(notdef.gmfCellIncX, 0.3f);
  const Box box = Draw(std::string(1, '\x01'), font);
  ASSERT_FALSE(box.Empty());
  for (char c : {'\t', '\x7f', '\x81'}) ExpectNear(Corners(Draw(std::string(1, c), font)), Corners(box), kPixel / 2);
  EXPECT_NEAR(SystemFontMetrics[0x81].gmfCellIncX, notdef.gmfCellIncX, 1e-6);
}

TEST_F(OutlinePixels, ExtrudedGlyphsShowTheSameFaceFromTheFront) {
  const Box flat = Draw("A", Build(400, false));
  const Box deep = Draw("A", Build(400, false, 0.2));
  ExpectNear(Corners(deep), Corners(flat), 2 * kPixel);
}

}  // namespace
