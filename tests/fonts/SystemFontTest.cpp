// System outline fonts: faces found by fontconfig, glyph lists in em units compared with what
// FreeType itself says about the same face, filled and outlined, extruded, in code page 1250.
#include "FontTestSupport.h"
#include "GLGUI.h"

#include <gtest/gtest.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_BBOX_H
#include FT_OUTLINE_H

#include <iconv.h>
#ifndef _WIN32
#include "sdl/GlyphCache.h"

#include <unistd.h>

#include <filesystem>
#include <fstream>
#endif

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstring>
#include <set>

using namespace testgl;
using fonttest::Count;
using fonttest::FontFileFor;

namespace {

HDC TestDC() { return reinterpret_cast<HDC>(uintptr_t{0x5EED}); }

// What FreeType reports for one character of a font file, in em units.
struct FtGlyph {
  double minX = 0, minY = 0, maxX = 0, maxY = 0, advance = 0;
  unsigned index = 0;
};

FtGlyph ReadGlyph(const std::string& file, uint32_t codePoint) {
  FtGlyph g;
  FT_Library lib = nullptr;
  if (FT_Init_FreeType(&lib) != 0) return g;
  FT_Face face = nullptr;
  if (FT_New_Face(lib, file.c_str(), 0, &face) == 0) {
    g.index = FT_Get_Char_Index(face, codePoint);
    if (FT_Load_Glyph(face, g.index, FT_LOAD_NO_SCALE | FT_LOAD_NO_HINTING) == 0) {
      FT_BBox box;
      FT_Outline_Get_BBox(&face->glyph->outline, &box);
      const double em = face->units_per_EM;
      g.minX = box.xMin / em;
      g.minY = box.yMin / em;
      g.maxX = box.xMax / em;
      g.maxY = box.yMax / em;
      g.advance = face->glyph->metrics.horiAdvance / em;
    }
    FT_Done_Face(face);
  }
  FT_Done_FreeType(lib);
  return g;
}

class SystemFontTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(gl_.Ok()) << gl_.Error();
    view_ = UseOrthoView(gl_, -0.5, 2.7, -0.5, 1.9, -10, 10);
  }

  std::vector<FeedbackPrimitive> Capture(TGUISYSFONT font, const std::string& text) {
    return CaptureFeedback([&] {
      glPushMatrix();
      glListBase(static_cast<GLuint>(font));
      glCallLists(static_cast<GLsizei>(text.size()), GL_UNSIGNED_BYTE, text.data());
      glListBase(0);
      glPopMatrix();
    });
  }
  Box Bounds(TGUISYSFONT font, const std::string& text) { return testgl::Bounds(Capture(font, text), view_); }
  static void ExpectBoundsLike(const Box& b, const FtGlyph& g) {
    ExpectNear({b.minX, b.maxX, b.minY, b.maxY}, {g.minX, g.maxX, g.minY, g.maxY}, 2e-3);
  }
  // The translation the lists left in the modelview, which is reset.
  static double PenX() {
    GLdouble m[16];
    glGetDoublev(GL_MODELVIEW_MATRIX, m);
    glLoadIdentity();
    return m[12];
  }

  HeadlessGL gl_{640, 480};
  OrthoView view_{};
};

TEST_F(SystemFontTest, GlyphsAreInEmUnitsLikeFreeTypeSaysForTrueTypeAndCff) {
  struct FaceCase {
    const char* face;
    int weight;
  };
  for (const FaceCase& fc : {FaceCase{"DejaVu Sans", 400}, FaceCase{"Comic Sans MS", 700}}) {
    const std::string file = FontFileFor(fc.face, fc.weight);
    ASSERT_FALSE(file.empty());
    TGUISYSFONT font = 0;
    CreateSystemFont(font, fc.face, fc.weight, false, 0.0, TestDC());
    ASSERT_NE(font, 0);
    for (const char ch : std::string("H|Og")) {
      const FtGlyph g = ReadGlyph(file, uint8_t(ch));
      ASSERT_NE(g.index, 0u);
      SCOPED_TRACE(file + " " + ch);
      const Box drawn = Bounds(font, std::string(1, ch));
      ExpectBoundsLike(drawn, g);
      // The metrics describe what the list draws.
      const GLYPHMETRICSFLOAT& m = SystemFontMetrics[uint8_t(ch)];
      ExpectNear({m.gmfBlackBoxX, m.gmfBlackBoxY, m.gmfptGlyphOrigin.x, m.gmfptGlyphOrigin.y},
                 {drawn.maxX - drawn.minX, drawn.maxY - drawn.minY, drawn.minX, drawn.maxY}, 1e-5);
      EXPECT_NEAR(m.gmfCellIncX, g.advance, 1e-6);
      EXPECT_EQ(m.gmfCellIncY, 0.0f);
    }
    // A bar runs from below the baseline to the ascender: about one em.
    const Box bar = Bounds(font, "|");
    EXPECT_GT(bar.maxY - bar.minY, 0.9) << file;
    EXPECT_LT(bar.maxY - bar.minY, 1.3) << file;
  }
}

TEST_F(SystemFontTest, FilledFontsDrawCounterClockwisePolygonsOutlinedFontsLines) {
  TGUISYSFONT filled = 0, outlined = 0;
  CreateSystemFont(filled, "DejaVu Sans", 400, false, 0.0, TestDC());
  CreateSystemFont(outlined, "DejaVu Sans", 400, true, 0.0, TestDC());

  const auto f = Capture(filled, "A8");
  EXPECT_GT(Count(f, FeedbackPrimitive::Polygon), 10u);
  EXPECT_EQ(Count(f, FeedbackPrimitive::Line), 0u);
  double smallest = 0;
  EXPECT_GT(fonttest::SignedArea(f, &smallest), 0);
  EXPECT_GE(smallest, -1e-3) << "every triangle faces the camera";

  const auto o = Capture(outlined, "A8");
  EXPECT_GT(Count(o, FeedbackPrimitive::Line), 10u);
  EXPECT_EQ(Count(o, FeedbackPrimitive::Polygon), 0u);
  FtGlyph a = ReadGlyph(FontFileFor("DejaVu Sans", 400), 'A'), e = ReadGlyph(FontFileFor("DejaVu Sans", 400), '8');
  a.maxX = a.advance + e.maxX;
  a.minY = std::min(a.minY, e.minY);
  a.maxY = std::max(a.maxY, e.maxY);
  ExpectBoundsLike(testgl::Bounds(o, view_), a);
}

TEST_F(SystemFontTest, CountersStayOpenInBothContourDirections) {
  // TrueType and CFF wind their outer contours in opposite directions; non-zero winding must
  // fill the ring of an "O" and leave its middle empty for both.
  for (const char* face : {"DejaVu Sans", "Comic Sans MS"}) {
    TGUISYSFONT font = 0;
    CreateSystemFont(font, face, 700, false, 0.0, TestDC());
    glDisable(GL_TEXTURE_2D);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glColor4f(1, 1, 1, 1);
    glCallList(static_cast<GLuint>(font) + 'O');
    glLoadIdentity();
    const auto px = gl_.ReadPixels();
    const GLYPHMETRICSFLOAT& m = SystemFontMetrics['O'];
    auto lit = [&](double x, double y) {
      const int wx = int((x - view_.left) * view_.scaleX), wy = int((y - view_.bottom) * view_.scaleY);
      return px[(size_t(wy) * gl_.Width() + wx) * 4] > 128;
    };
    const double midY = m.gmfptGlyphOrigin.y - m.gmfBlackBoxY / 2;
    EXPECT_FALSE(lit(m.gmfptGlyphOrigin.x + m.gmfBlackBoxX / 2, midY)) << face << ": the counter is empty";
    EXPECT_TRUE(lit(m.gmfptGlyphOrigin.x + 0.03, midY)) << face << ": the stroke is filled";
  }
}

TEST_F(SystemFontTest, EachListAdvancesByItsGlyphsAdvance) {
  const std::string file = FontFileFor("DejaVu Sans", 400);
  TGUISYSFONT font = 0;
  CreateSystemFont(font, "DejaVu Sans", 400, false, 0.0, TestDC());
  const FtGlyph a = ReadGlyph(file, 'A'), v = ReadGlyph(file, 'V');

  const auto prims = Capture(font, "AV");
  const auto onlyA = Capture(font, "A");
  const std::vector<FeedbackPrimitive> second(prims.begin() + long(onlyA.size()), prims.end());
  EXPECT_NEAR(testgl::Bounds(second, view_).minX, a.advance + v.minX, 2e-3);
  glCallList(static_cast<GLuint>(font) + 'A');
  GLdouble m[16];
  glGetDoublev(GL_MODELVIEW_MATRIX, m);
  EXPECT_EQ(m[13], 0.0);
  EXPECT_NEAR(PenX(), a.advance, 1e-6);
}

TEST_F(SystemFontTest, ListTwoFiftyFiveIsEmptyAndControlCodesDrawTheDefaultGlyph) {
  TGUISYSFONT font = 0;
  CreateSystemFont(font, "DejaVu Sans", 400, false, 0.0, TestDC());
  EXPECT_TRUE(Capture(font, "\xff").empty());
  glCallList(static_cast<GLuint>(font) + 255);
  EXPECT_EQ(PenX(), 0.0) << "list 255 stays empty";
  // As WGL draws them: the face's default glyph, with its advance.
  const Box notdef = Bounds(font, std::string(1, '\0'));
  ASSERT_FALSE(notdef.Empty());
  for (const char c : {'\t', '\x1f', '\x7f', '\x81'}) {
    const Box b = Bounds(font, std::string(1, c));
    testgl::ExpectNear({b.minX, b.minY, b.maxX, b.maxY}, {notdef.minX, notdef.minY, notdef.maxX, notdef.maxY}, 1e-6);
  }
}

TEST_F(SystemFontTest, HungarianLettersOfCodePage1250DrawTheirOwnGlyphs) {
  TGUISYSFONT font = 0;
  CreateSystemFont(font, "DejaVu Sans", 400, false, 0.0, TestDC());
  // The face's default glyph, as an unmapped character shows it.
  const GLuint notdefList = glGenLists(1);
  ASSERT_TRUE(wglUseFontOutlinesA(TestDC(), 0xE000, 1, notdefList, 0.0f, 0.0f, WGL_FONT_POLYGONS, nullptr));
  const Box notdef = testgl::Bounds(CaptureFeedback([&] { glCallList(notdefList); }), view_);
  ASSERT_FALSE(notdef.Empty());

  const std::string accented = "\xE9\xE1\xFB\xFA\xF5\xF3\xFC\xF6";  // é á ű ú ő ó ü ö
  const std::string plain = "eauuoouo";
  for (size_t k = 0; k < accented.size(); ++k) {
    const Box acc = Bounds(font, accented.substr(k, 1));
    const Box base = Bounds(font, plain.substr(k, 1));
    ASSERT_FALSE(acc.Empty()) << k;
    EXPECT_GT(acc.maxY, base.maxY + 0.1) << "letter " << k << " carries its accent";
    EXPECT_NEAR(acc.minY, base.minY, 0.02) << k;
    EXPECT_LT(acc.minX, base.maxX) << k;
    EXPECT_GT(acc.maxX, base.minX) << k;
    EXPECT_FALSE(std::abs(acc.minX - notdef.minX) < 1e-3 && std::abs(acc.maxY - notdef.maxY) < 1e-3)
        << "letter " << k << " is not the default box";
  }
  // The double acute accent has two marks: more geometry than the single acute.
  EXPECT_GT(Capture(font, "\xF5").size(), Capture(font, "\xF3").size());
  glDeleteLists(notdefList, 1);
}

TEST_F(SystemFontTest, AFaceTheSystemLacksStillGivesAWorkingFont) {
  TGUISYSFONT font = 0;
  CreateSystemFont(font, "No Such Face 4711", 400, false, 0.0, TestDC());
  ASSERT_NE(font, 0);
  EXPECT_GT(Count(Capture(font, "A"), FeedbackPrimitive::Polygon), 3u);
  EXPECT_GT(SystemFontMetrics['A'].gmfCellIncX, 0.3f);
  EXPECT_LT(SystemFontMetrics['A'].gmfCellIncX, 1.5f);
}

TEST_F(SystemFontTest, WeightSevenHundredPicksTheBoldFaceAndNoWeightTheRegular) {
  // The width of 'l' at each weight; 0 is Win32's "don't care", and DejaVu Sans has a lighter face
  // that a weight taken as it stands would pick.
  std::vector<float> stems;
  for (const int weight : {400, 700, 0}) {
    TGUISYSFONT font = 0;
    CreateSystemFont(font, "DejaVu Sans", weight, false, 0.0, TestDC());
    stems.push_back(SystemFontMetrics['l'].gmfBlackBoxX);
  }
  EXPECT_GT(stems[1], stems[0] * 1.3f);
  const FtGlyph l = ReadGlyph(FontFileFor("DejaVu Sans", 700), 'l');
  EXPECT_NEAR(stems[1], l.maxX - l.minX, 1e-3);
  EXPECT_EQ(stems[2], stems[0]) << "no weight: the regular face";
}

TEST_F(SystemFontTest, ExtrusionAddsABackFaceAndWalls) {
  for (const bool outline : {false, true}) {
    const char* what = outline ? "lines" : "polygons";
    TGUISYSFONT font = 0;
    CreateSystemFont(font, "DejaVu Sans", 400, outline, 0.5, TestDC());
    // Seen head-on: the front at eye z 0 (window depth 0.5) and the back at z -0.5 (0.525).
    std::set<int> depths;
    for (const auto& p : Capture(font, "I"))
      for (const auto& v : p.vertices) depths.insert(int(std::lround(v.z * 4000)));
    EXPECT_EQ(depths, (std::set<int>{2000, 2100})) << what;

    // Seen from the side, only what joins front and back has any width: walls or connecting edges.
    glLoadIdentity();
    glTranslated(0.2, 0, 0);
    glRotated(90, 0, 1, 0);
    const auto side = Capture(font, "I");
    glLoadIdentity();
    const Box b = testgl::Bounds(side, view_);
    ASSERT_FALSE(b.Empty()) << what;
    EXPECT_NEAR(b.minX, 0.2 - 0.5, 1e-4) << what;
    EXPECT_NEAR(b.maxX, 0.2, 1e-4) << what;
    EXPECT_NEAR(b.maxY, SystemFontMetrics['I'].gmfptGlyphOrigin.y, 1e-4) << what;
    size_t spanning = 0;
    for (const auto& p : side) {
      Box own;
      for (const auto& v : p.vertices) own.Add(view_.X(v.x), 0);
      spanning += own.maxX - own.minX > 0.49;
    }
    EXPECT_GE(spanning, 4u) << what;

    if (!outline) {
      // Walls face outwards: from this side only the left wall of the "I" faces the camera.
      glEnable(GL_CULL_FACE);
      glTranslated(0.2, 0, 0);
      glRotated(90, 0, 1, 0);
      const auto culled = Capture(font, "I");
      glLoadIdentity();
      glDisable(GL_CULL_FACE);
      size_t facing = 0;
      for (const auto& p : culled) {
        Box own;
        for (const auto& v : p.vertices) own.Add(view_.X(v.x), 0);
        if (own.maxX - own.minX < 0.49) continue;
        ++facing;
        // The left wall at x = left edge of the black box lies at window depth 0.5 + x / 20.
        for (const auto& v : p.vertices) EXPECT_NEAR(v.z, 0.5 + SystemFontMetrics['I'].gmfptGlyphOrigin.x / 20, 1e-5);
      }
      EXPECT_EQ(facing, 2u);
    }
  }
}

TEST_F(SystemFontTest, FinerDeviationGivesMoreGeometry) {
  TGUISYSFONT probe = 0;
  CreateSystemFont(probe, "DejaVu Sans", 400, false, 0.0, TestDC());
  const GLuint lists = glGenLists(2);
  ASSERT_TRUE(wglUseFontOutlinesA(TestDC(), 'O', 1, lists, 0.05f, 0.0f, WGL_FONT_POLYGONS, nullptr));
  ASSERT_TRUE(wglUseFontOutlinesA(TestDC(), 'O', 1, lists + 1, 0.0f, 0.0f, WGL_FONT_POLYGONS, nullptr));
  const size_t coarse = CaptureFeedback([&] { glCallList(lists); }).size();
  const size_t fine = CaptureFeedback([&] { glCallList(lists + 1); }).size();
  EXPECT_GT(coarse, 8u);
  EXPECT_GT(fine, 2 * coarse);
  glDeleteLists(lists, 2);
}

TEST_F(SystemFontTest, DeviceContextsKeepTheirOwnSelection) {
  const HDC other = reinterpret_cast<HDC>(uintptr_t{0xD0D0});
  const GLuint list = glGenLists(1);
  EXPECT_FALSE(wglUseFontOutlinesA(other, 'A', 1, list, 0, 0, WGL_FONT_POLYGONS, nullptr)) << "nothing selected";
  HFONT a = CreateFontA(-14, 0, 0, 0, 400, 0, 0, 0, ANSI_CHARSET, OUT_TT_PRECIS, CLIP_DEFAULT_PRECIS,
                        ANTIALIASED_QUALITY, DEFAULT_PITCH | FF_DONTCARE, "DejaVu Sans");
  HFONT b = CreateFontA(-14, 0, 0, 0, 700, 0, 0, 0, ANSI_CHARSET, OUT_TT_PRECIS, CLIP_DEFAULT_PRECIS,
                        ANTIALIASED_QUALITY, DEFAULT_PITCH | FF_DONTCARE, nullptr);
  EXPECT_EQ(SelectObject(other, a), nullptr);
  SelectObject(nullptr, b);
  EXPECT_EQ(SelectObject(nullptr, b), b) << "the null DC is a DC like any other";
  EXPECT_EQ(SelectObject(other, b), a);
  SelectObject(other, a);
  EXPECT_TRUE(wglUseFontOutlinesA(other, 'A', 1, list, 0, 0, WGL_FONT_POLYGONS, nullptr));
  EXPECT_TRUE(wglUseFontOutlinesA(nullptr, 'A', 1, list, 0, 0, WGL_FONT_LINES, nullptr)) << "default face";
  int notAFont = 0;
  SelectObject(other, &notAFont);
  EXPECT_FALSE(wglUseFontOutlinesA(other, 'A', 1, list, 0, 0, WGL_FONT_POLYGONS, nullptr));
  glDeleteLists(list, 1);
}

#ifndef _WIN32
TEST_F(SystemFontTest, KeptAndStoredGlyphGeometryGiveTheSameListsAsAFreshBuild) {
  const std::filesystem::path folder = std::filesystem::temp_directory_path() / ("glyph-cache-" + std::to_string(getpid()));
  std::filesystem::remove_all(folder);
  SetGlyphCacheFolder(folder.string());
  struct Build {
    std::vector<double> lists;
    std::vector<GLYPHMETRICSFLOAT> metrics;
  };
  auto build = [](const char* face, bool outline, double depth) {
    TGUISYSFONT font = 0;
    std::fill(SystemFontMetrics, SystemFontMetrics + 256, GLYPHMETRICSFLOAT{});
    CreateSystemFont(font, face, 700, outline, depth, TestDC());
    Build b{ListGeometry(static_cast<GLuint>(font), 256), {SystemFontMetrics, SystemFontMetrics + 256}};
    glDeleteLists(static_cast<GLuint>(font), 256);
    return b;
  };
  auto expectSame = [](const Build& got, const Build& want, const char* how) {
    SCOPED_TRACE(how);
    EXPECT_EQ(std::memcmp(got.metrics.data(), want.metrics.data(), sizeof(GLYPHMETRICSFLOAT) * 256), 0);
    ExpectNear(got.lists, want.lists, 0.0);
  };
  // CFF (Comic Neue) and TrueType (DejaVu), outlined and filled, flat and extruded. A face's
  // cases share the folder: the filled font is built beside the outline font's stored glyphs.
  for (const char* face : {"Comic Sans MS", "DejaVu Sans"}) {
    std::filesystem::remove_all(folder);
    for (const bool outline : {true, false}) {
      for (const double depth : {0.0, 0.2}) {
        SCOPED_TRACE(std::string(face) + (outline ? " lines" : " polygons") + (depth != 0 ? " extruded" : ""));
        ForgetGlyphOutlines();
        const Build fresh = build(face, outline, depth);
        EXPECT_GT(fresh.lists.size(), 10000u);
        expectSame(build(face, outline, depth), fresh, "kept in memory");
        ForgetGlyphOutlines();
        expectSame(build(face, outline, depth), fresh, "from the disk cache");
        // A damaged file is passed over, and the glyphs are made anew.
        for (const auto& entry : std::filesystem::directory_iterator(folder)) {
          std::fstream file(entry.path(), std::ios::in | std::ios::out | std::ios::binary);
          file.seekp(200);
          file.put('\x5A');
        }
        ForgetGlyphOutlines();
        expectSame(build(face, outline, depth), fresh, "the disk cache damaged");
      }
    }
  }
  SetGlyphCacheFolder("");
  std::filesystem::remove_all(folder);
}

// A two-glyph set: 'A' a triangle advancing by `advance`, 'B' a glyph the face could not load.
GlyphSet SmallSet(double advance) {
  GlyphSet set;
  GlyphGeometry& a = set[65];
  a.loaded = true;
  a.advance = advance;
  a.metrics = GLYPHMETRICSFLOAT{0.5f, 0.7f, {0.05f, 0.7f}, 0.625f, 0};
  a.points = {{0, 0}, {0.5, 0}, {0.25, 0.7}};
  a.contourStarts = {0};
  a.triangles = a.points;
  set[66];
  return set;
}

TEST(GlyphCacheFile, TakesOnlyAWholeFileOfItsOwnKey) {
  GlyphSet set = SmallSet(0.625);
  const GlyphGeometry& a = set[65];
  const std::vector<uint8_t> bytes = EncodeGlyphSet("face A", set);
  GlyphSet read;
  ASSERT_TRUE(DecodeGlyphSet(bytes.data(), bytes.size(), "face A", read));
  ASSERT_EQ(read.size(), 2u);
  EXPECT_EQ(std::memcmp(&read[65].metrics, &a.metrics, sizeof a.metrics), 0);
  EXPECT_EQ(read[65].points.size(), 3u);
  EXPECT_EQ(read[65].triangles[2].y, 0.7);
  EXPECT_FALSE(read[66].loaded);
  EXPECT_FALSE(DecodeGlyphSet(bytes.data(), bytes.size(), "face B", read));
  EXPECT_TRUE(read.empty());
  for (size_t size = 0; size < bytes.size(); ++size)
    EXPECT_FALSE(DecodeGlyphSet(bytes.data(), size, "face A", read)) << size << " bytes";
  for (size_t at = 0; at < bytes.size(); ++at) {
    std::vector<uint8_t> damaged = bytes;
    damaged[at] ^= 0x10;
    EXPECT_FALSE(DecodeGlyphSet(damaged.data(), damaged.size(), "face A", read)) << "byte " << at;
  }
}

// Measures are made in the build's folder and read from the page's /fonts: the face's file name
// counts, its folder does not; the face index and the deviation do.
TEST(MeasuredGlyphs, AreTakenForTheirFacesFileNameIndexAndDeviationOnly) {
  namespace fs = std::filesystem;
  const fs::path folder = fs::temp_directory_path() / ("glyph-measures-" + std::to_string(getpid()));
  fs::create_directories(folder);
  const std::string face = (folder / "Face.ttf").string();
  const std::vector<uint8_t> bytes = EncodeGlyphSet(MeasuredGlyphsKey("/elsewhere/Face.ttf", 0, 0.001), SmallSet(0.5));
  std::ofstream(MeasuredGlyphsFile(face), std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  GlyphSet set;
  ASSERT_TRUE(LoadMeasuredGlyphs(face, 0, 0.001, set));
  EXPECT_EQ(set[65].advance, 0.5);
  EXPECT_FALSE(LoadMeasuredGlyphs(face, 1, 0.001, set));
  EXPECT_FALSE(LoadMeasuredGlyphs(face, 0, 0.002, set));
  EXPECT_TRUE(set.empty());
  EXPECT_FALSE(LoadMeasuredGlyphs((folder / "Other.ttf").string(), 0, 0.001, set));
  fs::remove_all(folder);
}

TEST(GlyphCacheFolder, IsInTheXdgCacheOrElseInHomesAndNeverARelativeOne) {
  struct Case {
    const char *xdg, *home, *folder;
  };
  for (const Case& c :
       {Case{"/x", "/h", "/x/glgui"}, Case{"/x", nullptr, "/x/glgui"}, Case{"x", "/h", "/h/.cache/glgui"},
        Case{"", "/h", "/h/.cache/glgui"}, Case{nullptr, "/h", "/h/.cache/glgui"}, Case{"x", "h", ""},
        Case{nullptr, "", ""}, Case{nullptr, nullptr, ""}})
    EXPECT_EQ(GlyphCacheFolderOf(c.xdg, c.home), c.folder)
        << (c.xdg ? c.xdg : "none") << ", " << (c.home ? c.home : "none");
}

TEST(GlyphCacheFolder, KeepsTheSixtyFourFilesWrittenLastAndReplacesAKeysFileWhole) {
  namespace fs = std::filesystem;
  const fs::path folder = fs::temp_directory_path() / ("glyph-prune-" + std::to_string(getpid()));
  fs::remove_all(folder);
  SetGlyphCacheFolder((folder / "sub").string());  // made with its parents
  auto advance = [](const std::string& key) {
    GlyphSet set = SmallSet(-1);
    return LoadGlyphSet(key, set) ? set[65].advance : (set.empty() ? -1.0 : -2.0);
  };
  auto files = [&] {
    std::set<fs::path> names;
    std::error_code none;
    for (const auto& entry : fs::directory_iterator(folder / "sub", none)) names.insert(entry.path());
    return names;
  };
  EXPECT_EQ(advance("key 0"), -1.0);  // none stored yet
  // Sixty-four sets, each written a second after the one before (an hour ago), beside an older
  // file of another name that pruning leaves alone.
  const auto hourAgo = fs::file_time_type::clock::now() - std::chrono::hours(1);
  for (int k = 0; k < 64; ++k) {
    const auto before = files();
    StoreGlyphSet("key " + std::to_string(k), SmallSet(k));
    for (const fs::path& name : files())
      if (!before.count(name)) fs::last_write_time(name, hourAgo + std::chrono::seconds(k));
  }
  std::ofstream((folder / "sub" / "glyphs-notes.txt").string()) << "keep";
  fs::last_write_time(folder / "sub" / "glyphs-notes.txt", hourAgo - std::chrono::hours(1));
  ASSERT_EQ(files().size(), 65u);
  // A second store of a key replaces its file, which becomes the newest; then one more set makes
  // sixty-five, and the oldest ("key 1", since "key 0" was written again) goes.
  StoreGlyphSet("key 0", SmallSet(100));
  EXPECT_EQ(files().size(), 65u);
  StoreGlyphSet("key 64", SmallSet(64));
  EXPECT_EQ(files().size(), 65u);
  std::vector<double> got;
  for (int k : {0, 1, 2, 63, 64}) got.push_back(advance("key " + std::to_string(k)));
  EXPECT_EQ(got, (std::vector<double>{100, -1, 2, 63, 64}));
  EXPECT_TRUE(fs::exists(folder / "sub" / "glyphs-notes.txt"));
  // A file cut short is passed over, leaving the set empty; with no folder nothing is stored.
  for (const fs::path& name : files())
    if (name.extension() == ".bin") fs::resize_file(name, fs::file_size(name) - 1);
  EXPECT_EQ(advance("key 2"), -1.0);
  SetGlyphCacheFolder("");
  StoreGlyphSet("key 2", SmallSet(2));
  EXPECT_EQ(advance("key 2"), -1.0);
  fs::remove_all(folder);
}
#endif

TEST(CodePage1250, MatchesTheSystemsConverter) {
  iconv_t cd = iconv_open("UTF-32LE", "CP1250");
  if (cd == reinterpret_cast<iconv_t>(-1)) GTEST_SKIP() << "no CP1250 converter";
  for (int c = 0; c < 256; ++c) {
    char in = char(c);
    uint32_t out = 0xFFFF;
    char* ip = &in;
    char* op = reinterpret_cast<char*>(&out);
    size_t il = 1, ol = 4;
    // The bytes the converter rejects are the unassigned ones: Windows gives the C1 control.
    if (iconv(cd, &ip, &il, &op, &ol) == size_t(-1)) out = uint32_t(c);
    EXPECT_EQ(Cp1250ToUnicode(uint8_t(c)), out) << "byte " << c;
  }
  iconv_close(cd);
}

}  // namespace
