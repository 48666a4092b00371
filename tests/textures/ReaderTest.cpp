// The texture readers and the front end against real Mesa GL: what reaches level 0 of the texture,
// every message with its caption, and the caller's texture variable after each failure.
#include "Files.h"
#include "GLHarness.h"
#include "GLTextures.h"
#include "Resources.h"
#include "TextureTestUtil.h"
#include "Win32Api.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <tuple>

using namespace textest;

namespace {

// A resource registered for the life of the guard.
struct ResourceGuard {
  ResourceGuard(const char* t, const char* n, const Bytes& d) : type(t), name(n) {
    RegisterProgramResource(t, n, d.data(), d.size());
  }
  ~ResourceGuard() { UnregisterProgramResource(type, name); }
  const char *type, *name;
};

// Runs in a scratch folder as the working directory.
class Textures : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(gl_.Ok()) << gl_.Error();
    std::filesystem::current_path(dir_.path);
  }
  void TearDown() override { std::filesystem::current_path(oldDir_); }

  // A load that must fail, leave the texture variable alone and show exactly this box (an MB_OK
  // box), or none when `text` is empty.
  void ExpectFailure(const std::string& name, bool fromResource, const std::string& text = "",
                     const std::string& caption = "") {
    GLuint texture = 7;
    EXPECT_FALSE(LoadImageTexture(name, texture, fromResource)) << name;
    EXPECT_EQ(texture, 7u) << name;
    std::string shown;
    for (const auto& box : boxes_.Boxes()) shown += box.text + " | " + box.caption + " | " + std::to_string(box.type);
    EXPECT_EQ(shown, text.empty() ? "" : text + " | " + caption + " | " + std::to_string(MB_OK)) << name;
    boxes_.Clear();
  }
  // A load that must succeed with no box, leaving the new texture bound.
  GLuint ExpectLoad(const std::string& name, bool fromResource) {
    GLuint texture = 0;
    GLint bound = 0;
    EXPECT_TRUE(LoadImageTexture(name, texture, fromResource)) << name;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    EXPECT_TRUE(texture != 0 && static_cast<GLuint>(bound) == texture) << name;
    EXPECT_TRUE(boxes_.Boxes().empty()) << boxes_.Boxes()[0].text;
    return texture;
  }

  testgl::HeadlessGL gl_{64, 64};
  testgl::MessageBoxRecorder boxes_;
  TempDir dir_;
  std::filesystem::path oldDir_ = std::filesystem::current_path();
};

}  // namespace

// ---- TGA ----------------------------------------------------------------------------------------

TEST_F(Textures, RunLengthTgaResourceLoadsRgbaWithAlphaExact) {
  // 4 x 4 = 16 pixels: raw 4, a run of 6 crossing from row 1 into row 2, raw 6, then the footer.
  const Bytes px = DistinctBgra(11);
  const Bytes raw4(px.begin(), px.begin() + 16), run(px.begin() + 16, px.begin() + 20), raw6(px.begin() + 20, px.end());
  const std::string footer("\0\0\0\0\0\0\0\0TRUEVISION-XFILE.\0", 26);
  const Bytes body = Cat({{3}, raw4, {128 + 5}, run, {5}, raw6, Bytes(footer.begin(), footer.end())});
  ResourceGuard res("TGA", "RLEART", MakeTga(10, 4, 4, 32, body));
  const Bytes expected = Cat({raw4, Repeat(run, 6), raw6});
  GLint sides[2];
  EXPECT_EQ(ReadLevel0(ExpectLoad("rleart.tga", true), GL_RGBA, sides), SwapRedBlue(expected, 4));
  EXPECT_TRUE(sides[0] == 4 && sides[1] == 4);
}

TEST_F(Textures, Uncompressed24BitOfAnyWidthUploadsExactlyFromABackslashPath) {
  // Rows of 3 and 6 bytes are not 4-byte aligned. (Sides stay powers of two: the mipmap builder
  // rescales any other size, so level 0 would not hold the pixels as given.)
  std::filesystem::create_directory("default");
  // Whatever unpack alignment the caller has set is used for nothing and kept.
  for (int width : {1, 2, 4, 8}) {
    Bytes px;
    for (int i = 0; i < width * 2 * 3; ++i) px.push_back(static_cast<uint8_t>(i * 29 + width));
    dir_.Write("default/odd.tga", MakeTga(2, static_cast<uint16_t>(width), 2, 24, px));
    glPixelStorei(GL_UNPACK_ALIGNMENT, width);
    const GLuint texture = ExpectLoad("default\\odd.tga", false);
    GLint alignment = 0;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
    EXPECT_EQ(alignment, width);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    EXPECT_EQ(ReadLevel0(texture, GL_RGB), SwapRedBlue(px, 3)) << width;
  }
  EXPECT_TRUE(FileExists("default\\odd.tga"));
  EXPECT_FALSE(FileExists("default"));
}

TEST_F(Textures, TgaFailureMessages) {
  const std::string caption = "TGA File Error";
  ExpectFailure("default\\font.tga", false, "File not found  - default\\font.tga", "TGA Texture");
  std::filesystem::create_directory("folder.tga");
  ExpectFailure("folder.tga", false, "File not found  - folder.tga", "TGA Texture");
  GLint maxSize = 0;
  glGetIntegerv(GL_MAX_TEXTURE_SIZE, &maxSize);
  ASSERT_LT(maxSize, 65535);
  const uint16_t tooWide = static_cast<uint16_t>(maxSize + 1);
  // Wrong type, colour-mapped, wrong depth; then short pixel data, a short packet stream, a header
  // cut short, no pixels and a side above GL's maximum, all refused as unreadable.
  for (const auto& [name, data, problem] : {
           std::tuple<std::string, Bytes, std::string>{"type.tga", MakeTga(1, 1, 1, 16, Bytes(3, 0), 1),
                                                       "Only 24 and 32bit TGA supported."},
           {"map.tga", MakeTga(2, 1, 1, 16, Bytes(3, 0), 1), "Colormapped TGA files not supported."},
           {"depth.tga", MakeTga(2, 1, 1, 16, Bytes(3, 0)), "Only 24 and 32 bit TGA files supported."},
           {"short.tga", MakeTga(2, 2, 2, 24, Bytes(11, 0)), ""},
           {"stream.tga", MakeTga(10, 2, 2, 32, {129, 1, 2, 3, 4}), ""},
           {"header.tga", Bytes(17, 0), ""},
           {"empty.tga", MakeTga(10, 0, 5, 32, {255, 1, 2, 3, 4}), ""},
           {"wide.tga", MakeTga(10, tooWide, 1, 32, Repeat({255, 1, 2, 3, 4}, tooWide / 128 + 1)), ""}}) {
    dir_.Write(name, data);
    const std::string quoted = "\"" + name + "\"";
    const std::string text = problem.empty() ? "Couldn't read file " + quoted + "." : "Couldn't load " + quoted + ". ";
    ExpectFailure(name, false, text + problem, caption);
  }
  // From the resources.
  ExpectFailure("nosuchart.tga", true, "File not found in resource - nosuchart.tga", "TGA Texture");
  ResourceGuard tiny("TGA", "TINY", Bytes(10, 0)), cut("TGA", "CUT", MakeTga(2, 2, 2, 32, Bytes(15, 0)));
  ExpectFailure("tiny.tga", true, "Unable to read from resource - tiny.tga", "BMP Unit");
  ExpectFailure("cut.tga", true, "Unable to read from resource - cut.tga", "BMP Unit");
  ResourceGuard depth("TGA", "DEPTH", MakeTga(2, 1, 1, 8, Bytes(1, 0)));
  ExpectFailure("depth.tga", true, "Couldn't load \"depth.tga\". Only 24 and 32 bit TGA files supported.", caption);
  ResourceGuard stream("TGA", "STREAM", MakeTga(10, 3, 1, 24, {128, 1, 2, 3}));
  ExpectFailure("stream.tga", true, "Couldn't read file \"stream.tga\".", caption);
}

// ---- front end ----------------------------------------------------------------------------------

TEST_F(Textures, FrontEndPicksTheReaderByExtension) {
  ResourceGuard panel("TGA", "PANEL", MakeTga(2, 1, 1, 32, {1, 2, 3, 4}));
  ResourceGuard my("TGA", "MY", MakeTga(2, 1, 1, 32, {5, 6, 7, 8}));
  for (const char* name : {"panel.tga", "Panel.TGA", "panel.Tga"})
    EXPECT_EQ(ReadLevel0(ExpectLoad(name, true), GL_RGBA), (Bytes{3, 2, 1, 4})) << name;
  EXPECT_EQ(ReadLevel0(ExpectLoad("my.panel.tga", true), GL_RGBA), (Bytes{7, 6, 5, 8}));
  // Names the front end does not handle: no reader, no box, the variable untouched.
  dir_.Write("picture.jpeg", EncodeJpeg(8, 8, 3, Bytes(8 * 8 * 3, 9)));
  for (const char* name : {"picture.jpeg", "dir.old\\picture", "c.tga:stream", "noextension", "panel.png", "."})
    for (bool fromResource : {false, true}) ExpectFailure(name, fromResource);
}

// ---- BMP ----------------------------------------------------------------------------------------

TEST_F(Textures, BmpLoadsAsRgbInStoredRowOrder) {
  // One pixel a row: 3 bytes and 1 of fill in the file, tightly packed in the texture.
  const Bytes rgb{10, 20, 30, 40, 50, 60};
  dir_.Write("pic.bmp", MakeBmp24(1, 2, rgb));
  EXPECT_EQ(ReadLevel0(ExpectLoad("pic.bmp", false), GL_RGB), rgb);
  ResourceGuard res("BMP", "PICTURE", MakeBmp24(2, 2, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}));
  EXPECT_EQ(ReadLevel0(ExpectLoad("Picture.Bmp", true), GL_RGB), (Bytes{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}));
}

TEST_F(Textures, BmpFailureMessages) {
  ExpectFailure("missing.bmp", false);  // a missing file fails silently
  const Bytes good = MakeBmp24(4, 4, Bytes(48, 200));
  auto damaged = [&](size_t offset, uint8_t value) { Bytes b = good; b[offset] = value; return b; };
  for (const auto& [name, data, text] : {
           std::tuple<std::string, Bytes, std::string>{"cut.bmp", Bytes(good.begin(), good.end() - 5),
                                                       "Error reading bitmap data"},
           {"palette.bmp", damaged(46, 255), "Error reading palette"},
           {"text.bmp", {'h', 'e', 'l', 'l', 'o'}, "Couldn't load \"text.bmp\". Not a BMP file."},
           {"rle.bmp", damaged(30, 1), "Couldn't load \"rle.bmp\". Compressed BMP files not supported."},
           {"deep.bmp", damaged(28, 32), "Couldn't load \"deep.bmp\". Only 24 bit BMP files supported."},
           {"flat.bmp", damaged(22, 0), "Couldn't load \"flat.bmp\". Unsupported BMP image size."},
           {"core.bmp", damaged(14, 12), "Couldn't load \"core.bmp\". Unsupported BMP header."},
           {"head.bmp", Bytes(good.begin(), good.begin() + 30), "Error reading bitmap header"}}) {
    dir_.Write(name, data);
    ExpectFailure(name, false, text, "BMP Unit");
  }
  ExpectFailure("nothere.bmp", true, "File not found in resource - nothere.bmp", "BMP Texture");
  ResourceGuard cut("BMP", "CUTRES", Bytes(good.begin(), good.end() - 5));
  ResourceGuard head("BMP", "HEADRES", Bytes(good.begin(), good.begin() + 20));
  ExpectFailure("cutres.bmp", true, "Unable to read from resource - cutres.bmp", "BMP Unit");
  ExpectFailure("headres.bmp", true, "Unable to read from resource - headres.bmp", "BMP Unit");
}

// ---- JPEG ---------------------------------------------------------------------------------------

TEST_F(Textures, JpegLoadsBottomRowFirstWithOpaqueAlpha) {
  // White upper half, black lower half: texture row 0 is the bottom row.
  dir_.Write("halves.jpg", EncodeJpeg(16, 16, 3, Cat({Bytes(16 * 8 * 3, 255), Bytes(16 * 8 * 3, 0)})));
  const Bytes level = ReadLevel0(ExpectLoad("halves.jpg", false), GL_RGBA);
  ASSERT_EQ(level.size(), 16u * 16 * 4);
  for (int x = 0; x < 16; ++x) EXPECT_TRUE(level[4 * x] < 16 && level[(15 * 16 + x) * 4] > 239) << x;
  for (size_t i = 3; i < level.size(); i += 4) ASSERT_EQ(level[i], 255);
  // Grey goes through libjpeg's quantiser and comes out as grey pixels; a ramp keeps its course.
  Bytes ramp(32 * 8);
  for (size_t i = 0; i < ramp.size(); ++i) ramp[i] = static_cast<uint8_t>(i % 32 * 8);
  ResourceGuard res("JPG", "RAMPTEST", EncodeJpeg(32, 8, 1, ramp));
  const Bytes grey = ReadLevel0(ExpectLoad("ramptest.jpg", true), GL_RGBA);
  ASSERT_EQ(grey.size(), 32u * 8 * 4);
  for (size_t i = 0; i < grey.size(); i += 4)
    ASSERT_TRUE(grey[i] == grey[i + 1] && grey[i] == grey[i + 2] && grey[i + 3] == 255) << i;
  for (int y = 0; y < 8; ++y) {
    const uint8_t* row = &grey[y * 32 * 4];
    EXPECT_TRUE(row[0] < 20 && std::abs(row[16 * 4] - 128) <= 4 && row[31 * 4] > 230) << y << ": " << int(row[64]);
  }
}

TEST_F(Textures, JpegFailureMessages) {
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
  dir_.Write("late.jpg", jpg);
  ExpectFailure("late.jpg", false, "Couldn't load JPG - \"late.jpg\"", "BMP Unit");
  ResourceGuard late("JPG", "LATE", jpg);
  ExpectFailure("late.jpg", true, "Couldn't load JPG Resource - \"late.jpg\"", "BMP Unit");
}

// ---- resources ----------------------------------------------------------------------------------

TEST(ProgramResources, ShippedArtIsEmbeddedUnderItsTypeWhateverTheCase) {
  for (const auto& [file, type, name] :
       {std::tuple{"panel.tga", "TGA", "panel"}, {"button.tga", "TGA", "Button"}, {"about.jpg", "JPG", "about"},
        {"cursor_normal.tga", "TGA", "CURSOR_NORMAL"}, {"cursor2_normal.tga", "TGA", "cursor2_normal"},
        {"builtinfont.bff", "BFF", "BUILTINFONT"}, {"engineabout.jpg", "JPG", "EngineAbout"}}) {
    Bytes onDisk;
    ResourceBlob blob{};
    ASSERT_EQ(ReadWholeFile(std::string(GLGUI_SOURCE_DIR) + "/resources/" + file, onDisk), FileReadStatus::Ok);
    ASSERT_TRUE(FindProgramResource(type, name, &blob)) << file;
    EXPECT_EQ(Bytes(blob.Data, blob.Data + blob.Size), onDisk) << file;
    EXPECT_FALSE(FindProgramResource("BMP", name, &blob)) << file;
  }
}
