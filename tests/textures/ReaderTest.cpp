// The texture readers and the front end against real Mesa GL: what reaches level 0 of the texture,
// every message with its caption, and the caller's texture variable after each failure.
#include "Files.h"
#include "GLHarness.h"
#include "GLTextures.h"
#include "ImageDecoders.h"
#include "Resources.h"
#include "TextureTestUtil.h"
#include "Win32Api.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

using namespace textest;

namespace {

class Textures : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(gl_.Ok()) << gl_.Error();
    oldDir_ = std::filesystem::current_path();
    std::filesystem::current_path(dir_.Path());
  }
  void TearDown() override { std::filesystem::current_path(oldDir_); }

  // Exactly one box with this text and caption since the last check.
  void ExpectBox(const std::string& text, const std::string& caption) {
    ASSERT_EQ(boxes_.Boxes().size(), 1u) << (boxes_.Boxes().empty() ? "no box" : boxes_.Boxes()[0].text);
    EXPECT_EQ(boxes_.Boxes()[0].text, text);
    EXPECT_EQ(boxes_.Boxes()[0].caption, caption);
    EXPECT_EQ(boxes_.Boxes()[0].type, MB_OK);
    boxes_.Clear();
  }
  // A load that must fail with that box and leave the texture variable alone.
  void ExpectFailure(const std::string& name, bool fromResource, const std::string& text,
                     const std::string& caption) {
    GLuint texture = 7;
    EXPECT_FALSE(LoadImageTexture(name, texture, fromResource)) << name;
    EXPECT_EQ(texture, 7u) << name;
    ExpectBox(text, caption);
  }
  GLuint ExpectLoad(const std::string& name, bool fromResource) {
    GLuint texture = 0;
    EXPECT_TRUE(LoadImageTexture(name, texture, fromResource)) << name;
    EXPECT_NE(texture, 0u);
    GLint bound = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    EXPECT_EQ(static_cast<GLuint>(bound), texture);
    EXPECT_TRUE(boxes_.Boxes().empty()) << boxes_.Boxes()[0].text;
    return texture;
  }

  testgl::HeadlessGL gl_{64, 64};
  testgl::MessageBoxRecorder boxes_;
  TempDir dir_;
  std::filesystem::path oldDir_;
};

Bytes Bgra(int n, int seed) {
  Bytes b;
  for (int i = 0; i < n; ++i) {
    b.push_back(static_cast<uint8_t>(seed + i * 3));
    b.push_back(static_cast<uint8_t>(seed * 5 + i));
    b.push_back(static_cast<uint8_t>(i * 17));
    b.push_back(static_cast<uint8_t>(i % 3 == 0 ? 0 : i % 3 == 1 ? 255 : 128));
  }
  return b;
}

struct ResourceGuard {
  std::string type, name;
  ResourceGuard(const std::string& t, const std::string& n, const Bytes& data) : type(t), name(n) {
    RegisterProgramResource(t.c_str(), n.c_str(), data.data(), data.size());
  }
  ~ResourceGuard() { UnregisterProgramResource(type.c_str(), name.c_str()); }
};

}  // namespace

// ---- TGA ----------------------------------------------------------------------------------------

TEST_F(Textures, RunLengthTgaResourceLoadsRgbaWithAlphaExact) {
  // 4 x 4 = 16 pixels: raw 4, a run of 6 crossing from row 1 into row 2, raw 6, then the footer.
  const Bytes px = Bgra(11, 40);
  Bytes body{3};
  body.insert(body.end(), px.begin(), px.begin() + 16);
  body.push_back(128 + 5);
  body.insert(body.end(), px.begin() + 16, px.begin() + 20);
  body.push_back(5);
  body.insert(body.end(), px.begin() + 20, px.end());
  const std::string footer("\0\0\0\0\0\0\0\0TRUEVISION-XFILE.\0", 26);
  body.insert(body.end(), footer.begin(), footer.end());
  ResourceGuard res("TGA", "RLEART", MakeTga(10, 4, 4, 32, body));

  const GLuint tex = ExpectLoad("rleart.tga", true);
  int w = 0, h = 0;
  const Bytes level = ReadLevel0(tex, GL_RGBA, &w, &h);
  EXPECT_EQ(w, 4);
  EXPECT_EQ(h, 4);
  Bytes expected(px.begin(), px.begin() + 16);
  for (int i = 0; i < 6; ++i) expected.insert(expected.end(), px.begin() + 16, px.begin() + 20);
  expected.insert(expected.end(), px.begin() + 20, px.end());
  EXPECT_EQ(level, SwapRedBlue(expected, 4));
}

TEST_F(Textures, Uncompressed24BitOfAnyWidthUploadsExactly) {
  // Rows of 3 and 6 bytes are not 4-byte aligned. (Sides stay powers of two: the mipmap builder
  // rescales any other size, so level 0 would not hold the pixels as given.)
  for (int width : {1, 2, 4, 8}) {
    Bytes px;
    for (int i = 0; i < width * 2 * 3; ++i) px.push_back(static_cast<uint8_t>(i * 29 + width));
    dir_.Write("odd.tga", MakeTga(2, static_cast<uint16_t>(width), 2, 24, px));
    const GLuint tex = ExpectLoad("odd.tga", false);
    EXPECT_EQ(ReadLevel0(tex, GL_RGB), SwapRedBlue(px, 3)) << width;
    GLint alignment = 0;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
    EXPECT_EQ(alignment, 4);
  }
}

TEST_F(Textures, TgaPathsUseTheBackslash) {
  std::filesystem::create_directory("default");
  dir_.Write("default/font.tga", MakeTga(2, 1, 1, 32, {1, 2, 3, 4}));
  const GLuint tex = ExpectLoad("default\\font.tga", false);
  EXPECT_EQ(ReadLevel0(tex, GL_RGBA), (Bytes{3, 2, 1, 4}));
  EXPECT_TRUE(FileExists("default\\font.tga"));
  EXPECT_FALSE(FileExists("default"));
}

TEST_F(Textures, TgaFailureMessages) {
  ExpectFailure("default\\font.tga", false, "File not found  - default\\font.tga", "TGA Texture");
  dir_.Write("type.tga", MakeTga(1, 1, 1, 16, Bytes(3, 0), 1));
  ExpectFailure("type.tga", false, "Couldn't load \"type.tga\". Only 24 and 32bit TGA supported.", "TGA File Error");
  dir_.Write("map.tga", MakeTga(2, 1, 1, 16, Bytes(3, 0), 1));
  ExpectFailure("map.tga", false, "Couldn't load \"map.tga\". Colormapped TGA files not supported.",
                "TGA File Error");
  dir_.Write("depth.tga", MakeTga(2, 1, 1, 16, Bytes(3, 0)));
  ExpectFailure("depth.tga", false, "Couldn't load \"depth.tga\". Only 24 and 32 bit TGA files supported.",
                "TGA File Error");
  // Short pixel data, short packet stream, a header cut short, no pixels, a side above GL's maximum.
  GLint maxSize = 0;
  glGetIntegerv(GL_MAX_TEXTURE_SIZE, &maxSize);
  ASSERT_LT(maxSize, 65535);
  const uint16_t tooWide = static_cast<uint16_t>(maxSize + 1);
  Bytes wideRuns;
  for (int i = 0; i <= tooWide / 128; ++i) wideRuns.insert(wideRuns.end(), {255, 1, 2, 3, 4});
  const std::pair<std::string, Bytes> shortOnes[] = {
      {"short.tga", MakeTga(2, 2, 2, 24, Bytes(11, 0))},
      {"stream.tga", MakeTga(10, 2, 2, 32, {129, 1, 2, 3, 4})},
      {"header.tga", Bytes(17, 0)},
      {"empty.tga", MakeTga(10, 0, 5, 32, {255, 1, 2, 3, 4})},
      {"wide.tga", MakeTga(10, tooWide, 1, 32, wideRuns)},
  };
  for (const auto& [name, data] : shortOnes) {
    dir_.Write(name, data);
    ExpectFailure(name, false, "Couldn't read file \"" + name + "\".", "TGA File Error");
  }
  std::filesystem::create_directory("folder.tga");
  ExpectFailure("folder.tga", false, "File not found  - folder.tga", "TGA Texture");
}

TEST_F(Textures, TgaResourceFailureMessages) {
  ExpectFailure("nosuchart.tga", true, "File not found in resource - nosuchart.tga", "TGA Texture");
  ResourceGuard tiny("TGA", "TINY", Bytes(10, 0));
  ExpectFailure("tiny.tga", true, "Unable to read from resource - tiny.tga", "BMP Unit");
  ResourceGuard cut("TGA", "CUT", MakeTga(2, 2, 2, 32, Bytes(15, 0)));
  ExpectFailure("cut.tga", true, "Unable to read from resource - cut.tga", "BMP Unit");
  ResourceGuard depth("TGA", "DEPTH", MakeTga(2, 1, 1, 8, Bytes(1, 0)));
  ExpectFailure("depth.tga", true, "Couldn't load \"depth.tga\". Only 24 and 32 bit TGA files supported.",
                "TGA File Error");
  ResourceGuard stream("TGA", "STREAM", MakeTga(10, 3, 1, 24, {128, 1, 2, 3}));
  ExpectFailure("stream.tga", true, "Couldn't read file \"stream.tga\".", "TGA File Error");
}

TEST(ConvertTgaPixel, SwapsRedAndBlueAndKeepsAlpha) {
  const uint8_t bgra[4] = {1, 2, 3, 4};
  uint8_t out[4] = {9, 9, 9, 9};
  ConvertTgaPixel(bgra, out, 3);
  EXPECT_EQ(Bytes(out, out + 4), (Bytes{3, 2, 1, 9}));  // exactly one 3-byte pixel written
  ConvertTgaPixel(bgra, out, 4);
  EXPECT_EQ(Bytes(out, out + 4), (Bytes{3, 2, 1, 4}));
  uint8_t inPlace[4] = {10, 20, 30, 40};
  ConvertTgaPixel(inPlace, inPlace, 4);
  EXPECT_EQ(Bytes(inPlace, inPlace + 4), (Bytes{30, 20, 10, 40}));
}

TEST(FileLayer, ReadsWholeFilesAndTellsFailuresApart) {
  TempDir dir;
  dir.Write("data.bin", {1, 2, 3});
  Bytes data{9};
  EXPECT_EQ(ReadWholeFile(dir.Path() + "\\data.bin", data), FileReadStatus::Ok);
  EXPECT_EQ(data, (Bytes{1, 2, 3}));
  EXPECT_EQ(ReadWholeFile(dir.Path() + "/missing.bin", data), FileReadStatus::NotFound);
  EXPECT_TRUE(data.empty());
  EXPECT_EQ(ReadWholeFile(dir.Path(), data), FileReadStatus::OpenFailed);
  EXPECT_EQ(NativePath("default\\font.tga"), "default/font.tga");
}

// ---- front end ----------------------------------------------------------------------------------

TEST_F(Textures, FrontEndPicksTheReaderByExtension) {
  ResourceGuard panel("TGA", "PANEL", MakeTga(2, 1, 1, 32, {1, 2, 3, 4}));
  ResourceGuard my("TGA", "MY", MakeTga(2, 1, 1, 32, {5, 6, 7, 8}));
  for (const char* name : {"panel.tga", "Panel.TGA", "panel.Tga"}) {
    EXPECT_EQ(ReadLevel0(ExpectLoad(name, true), GL_RGBA), (Bytes{3, 2, 1, 4})) << name;
  }
  EXPECT_EQ(ReadLevel0(ExpectLoad("my.panel.tga", true), GL_RGBA), (Bytes{7, 6, 5, 8}));
  // Names the front end does not handle: no reader, no box, the variable untouched.
  dir_.Write("picture.jpeg", EncodeJpeg(8, 8, 3, Bytes(8 * 8 * 3, 9)));
  for (const char* name : {"picture.jpeg", "dir.old\\picture", "c.tga:stream", "noextension", "panel.png", "."}) {
    for (bool fromResource : {false, true}) {
      GLuint texture = 7;
      EXPECT_FALSE(LoadImageTexture(name, texture, fromResource)) << name;
      EXPECT_EQ(texture, 7u);
      EXPECT_TRUE(boxes_.Boxes().empty()) << name;
    }
  }
}

// ---- BMP ----------------------------------------------------------------------------------------

TEST_F(Textures, BmpLoadsAsRgbInStoredRowOrder) {
  for (int width : {4, 1, 2, 8}) {
    Bytes rgb;
    for (int i = 0; i < width * 2 * 3; ++i) rgb.push_back(static_cast<uint8_t>(i * 37 + width));
    dir_.Write("pic.bmp", MakeBmp24(width, 2, rgb));
    EXPECT_EQ(ReadLevel0(ExpectLoad("pic.bmp", false), GL_RGB), rgb) << width;
  }
  ResourceGuard res("BMP", "PICTURE", MakeBmp24(2, 2, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}));
  EXPECT_EQ(ReadLevel0(ExpectLoad("Picture.Bmp", true), GL_RGB), (Bytes{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}));
}

TEST_F(Textures, BmpFailures) {
  // A missing file fails silently.
  GLuint texture = 7;
  EXPECT_FALSE(LoadImageTexture("missing.bmp", texture, false));
  EXPECT_EQ(texture, 7u);
  EXPECT_TRUE(boxes_.Boxes().empty());

  const Bytes good = MakeBmp24(4, 4, Bytes(48, 200));
  dir_.Write("cut.bmp", Bytes(good.begin(), good.end() - 5));
  ExpectFailure("cut.bmp", false, "Error reading bitmap data", "BMP Unit");
  Bytes palette = good;
  Poke32(palette, 46, 256);
  dir_.Write("palette.bmp", palette);
  ExpectFailure("palette.bmp", false, "Error reading palette", "BMP Unit");
  dir_.Write("text.bmp", {'h', 'e', 'l', 'l', 'o'});
  ExpectFailure("text.bmp", false, "Couldn't load \"text.bmp\". Not a BMP file.", "BMP Unit");
  Bytes rle = good;
  Poke32(rle, 30, 1);
  dir_.Write("rle.bmp", rle);
  ExpectFailure("rle.bmp", false, "Couldn't load \"rle.bmp\". Compressed BMP files not supported.", "BMP Unit");
  Bytes deep = good;
  deep[28] = 32;
  dir_.Write("deep.bmp", deep);
  ExpectFailure("deep.bmp", false, "Couldn't load \"deep.bmp\". Only 24 bit BMP files supported.", "BMP Unit");
  Bytes flat = good;
  Poke32(flat, 22, 0);
  dir_.Write("flat.bmp", flat);
  ExpectFailure("flat.bmp", false, "Couldn't load \"flat.bmp\". Unsupported BMP image size.", "BMP Unit");
  Bytes core = good;
  Poke32(core, 14, 12);
  dir_.Write("core.bmp", core);
  ExpectFailure("core.bmp", false, "Couldn't load \"core.bmp\". Unsupported BMP header.", "BMP Unit");
  dir_.Write("head.bmp", Bytes(good.begin(), good.begin() + 30));
  ExpectFailure("head.bmp", false, "Error reading bitmap header", "BMP Unit");

  ExpectFailure("nothere.bmp", true, "File not found in resource - nothere.bmp", "BMP Texture");
  ResourceGuard cut("BMP", "CUTRES", Bytes(good.begin(), good.end() - 5));
  ExpectFailure("cutres.bmp", true, "Unable to read from resource - cutres.bmp", "BMP Unit");
  ResourceGuard head("BMP", "HEADRES", Bytes(good.begin(), good.begin() + 20));
  ExpectFailure("headres.bmp", true, "Unable to read from resource - headres.bmp", "BMP Unit");
}

// ---- JPEG ---------------------------------------------------------------------------------------

TEST_F(Textures, JpegLoadsBottomRowFirstWithOpaqueAlpha) {
  const int w = 8, h = 8;
  Bytes top(w * h * 3, 0);
  std::fill(top.begin(), top.begin() + top.size() / 2, 255);
  dir_.Write("halves.jpg", EncodeJpeg(w, h, 3, top));
  const Bytes level = ReadLevel0(ExpectLoad("halves.jpg", false), GL_RGBA);
  ASSERT_EQ(level.size(), size_t(w * h * 4));
  EXPECT_LT(level[0], 16);
  EXPECT_GT(level[(w * (h - 1)) * 4], 239);
  for (size_t i = 3; i < level.size(); i += 4) ASSERT_EQ(level[i], 255);

  ResourceGuard res("JPG", "ABOUTTEST", EncodeJpeg(4, 4, 1, Bytes(16, 100)));
  const Bytes grey = ReadLevel0(ExpectLoad("abouttest.jpg", true), GL_RGBA);
  for (size_t i = 0; i < grey.size(); i += 4) {
    EXPECT_NEAR(grey[i], 100, 2);
    EXPECT_EQ(grey[i], grey[i + 2]);
  }
}

TEST_F(Textures, JpegFailures) {
  ExpectFailure("missing.jpg", false, "File not found  - missing.jpg", "JPG Texture");
  dir_.Write("text.jpg", {'n', 'o', 't', ' ', 'j', 'p', 'e', 'g'});
  ExpectFailure("text.jpg", false, "Couldn't load JPG - \"text.jpg\"", "BMP Unit");
  ExpectFailure("nothere.jpg", true, "File not found in resource - nothere.jpg", "JPG Texture");
  ResourceGuard bad("JPG", "BADRES", {0xFF, 0xD8, 0xFF, 0xE0, 0, 2});
  ExpectFailure("badres.jpg", true, "Couldn't load JPG Resource - \"badres.jpg\"", "BMP Unit");

  // A sound header whose frame asks for a quantisation table that is never defined: libjpeg fails
  // only when the full decode starts.
  Bytes jpg = EncodeJpeg(16, 16, 3, Bytes(16 * 16 * 3, 50));
  size_t sof = 0;
  while (sof + 1 < jpg.size() && !(jpg[sof] == 0xFF && jpg[sof + 1] == 0xC0)) ++sof;
  ASSERT_LT(sof + 12, jpg.size());
  jpg[sof + 12] = 3;
  DecodedImage img;
  EXPECT_EQ(DecodeJpeg(jpg.data(), jpg.size(), img), JpegStatus::DecodeError);
  dir_.Write("late.jpg", jpg);
  ExpectFailure("late.jpg", false, "Couldn't load JPG - \"late.jpg\"", "BMP Unit");
  ResourceGuard late("JPG", "LATE", jpg);
  ExpectFailure("late.jpg", true, "Couldn't load JPG Resource - \"late.jpg\"", "BMP Unit");
}

// ---- resources ----------------------------------------------------------------------------------

TEST(ProgramResources, FoundWithoutRegardToCaseAndRemovable) {
  const Bytes data{1, 2, 3};
  RegisterProgramResource("tga", "Mixed_Case", data.data(), data.size());
  ResourceBlob blob{};
  ASSERT_TRUE(FindProgramResource("TGA", "mixed_case", &blob));
  EXPECT_EQ(Bytes(blob.Data, blob.Data + blob.Size), data);
  EXPECT_FALSE(FindProgramResource("BMP", "MIXED_CASE", &blob));
  UnregisterProgramResource("Tga", "MIXED_CASE");
  EXPECT_FALSE(FindProgramResource("TGA", "MIXED_CASE", &blob));
}

TEST(ProgramResources, ShippedArtIsEmbedded) {
  const std::string dir = std::string(GLGUI_SOURCE_DIR) + "/resources/";
  int found = 0;
  for (const auto& [file, type, name] : {std::tuple{"panel.tga", "TGA", "panel"}, {"button.tga", "TGA", "Button"},
                                         {"cursor_normal.tga", "TGA", "CURSOR_NORMAL"},
                                         {"cursor2_normal.tga", "TGA", "cursor2_normal"},
                                         {"builtinfont.bff", "BFF", "BUILTINFONT"}, {"about.jpg", "JPG", "about"},
                                         {"engineabout.jpg", "JPG", "EngineAbout"}}) {
    Bytes onDisk;
    if (ReadWholeFile(dir + file, onDisk) != FileReadStatus::Ok) continue;
    ++found;
    ResourceBlob blob{};
    ASSERT_TRUE(FindProgramResource(type, name, &blob)) << file;
    EXPECT_EQ(Bytes(blob.Data, blob.Data + blob.Size), onDisk) << file;
  }
  if (found == 0) GTEST_SKIP() << "no art under resources/ yet";
}

TEST(ProgramResources, ShippedArtLoadsAsRgba) {
  testgl::HeadlessGL gl(16, 16);
  ASSERT_TRUE(gl.Ok());
  testgl::MessageBoxRecorder boxes;
  int found = 0;
  for (const char* name : {"panel.tga", "button.tga", "cursor_normal.tga", "cursor2_normal.tga"}) {
    if (!FindProgramResource("TGA", std::string(name).substr(0, std::string(name).find('.')).c_str(), nullptr)) {
      continue;
    }
    ++found;
    GLuint texture = 0;
    EXPECT_TRUE(LoadImageTexture(name, texture, true)) << name;
    EXPECT_NE(texture, 0u);
    GLint format = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_INTERNAL_FORMAT, &format);
    EXPECT_EQ(format, GL_RGBA) << name;
  }
  for (const char* name : {"about.jpg", "engineabout.jpg"}) {
    if (!FindProgramResource("JPG", std::string(name).substr(0, std::string(name).find('.')).c_str(), nullptr)) {
      continue;
    }
    ++found;
    GLuint texture = 0;
    EXPECT_TRUE(LoadImageTexture(name, texture, true)) << name;
  }
  EXPECT_TRUE(boxes.Boxes().empty());
  if (found == 0) GTEST_SKIP() << "no art under resources/ yet";
}
