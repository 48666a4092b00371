// Checks the committed art, font, sound and picture files: their formats, the parts of each image
// that the panel, button, cursor and text drawing sample, and that the generator remakes them.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/wait.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "ImageDecoders.h"

namespace {

using Bytes = std::vector<uint8_t>;

const std::string kRoot = GLGUI_SOURCE_DIR "/";

Bytes ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// A little-endian value of `n` bytes at `at`.
uint32_t Le(const Bytes& b, size_t at, int n = 4) {
  uint32_t v = 0;
  for (int i = n - 1; i >= 0; --i) v = v << 8 | b[at + i];
  return v;
}

// A decoded 32-bit TGA with texel access by column and row counted from the bottom (t = 0).
struct Texels {
  DecodedImage Image;
  const uint8_t* At(int column, int row) const { return &Image.Pixels[(size_t(row) * Image.Width + column) * 4]; }
  int Alpha(int column, int row) const { return At(column, row)[3]; }
  // Equal as far as drawing can tell: the same alpha and, unless both are fully transparent, the
  // same colour.
  bool Same(int c0, int r0, int c1, int r1) const {
    return (Alpha(c0, r0) == 0 && Alpha(c1, r1) == 0) || std::memcmp(At(c0, r0), At(c1, r1), 4) == 0;
  }
  bool AllOpaque(int c0, int c1, int r0, int r1) const {
    for (int r = r0; r <= r1; ++r)
      for (int c = c0; c <= c1; ++c)
        if (Alpha(c, r) != 255) return false;
    return true;
  }
};

// Loads a toolkit TGA, checking the header and footer the shipped images must carry: no image ID,
// no colour map, run-length type 10, 32 bits with 8 alpha bits, the TGA 2.0 footer. The pixels
// stay empty unless the image decodes with the expected size.
Texels LoadArt(const std::string& relative, uint32_t width, uint32_t height) {
  SCOPED_TRACE(relative);
  Texels t;
  const Bytes file = ReadFile(kRoot + relative);
  EXPECT_GE(file.size(), 18u + 26u);
  if (file.size() < 18 + 26) return t;
  EXPECT_EQ((Bytes{file[0], file[1], file[2], file[16], file[17]}), (Bytes{0, 0, 10, 32, 8}));
  EXPECT_EQ(std::string(file.end() - 18, file.end()), std::string("TRUEVISION-XFILE.", 18));
  EXPECT_EQ(DecodeTga(file.data(), file.size(), t.Image), TgaStatus::Ok);
  const bool expected = t.Image.Width == width && t.Image.Height == height && t.Image.BytesPerPixel == 4;
  EXPECT_TRUE(expected) << t.Image.Width << " x " << t.Image.Height << " x " << t.Image.BytesPerPixel;
  if (!expected) t.Image.Pixels.reset();
  return t;
}

// ---- Panel --------------------------------------------------------------------------------

TEST(PanelArt, PiecesAreOpaqueCornersRoundedFillFlatAndIconClear) {
  const Texels art = LoadArt("resources/panel.tga", 128, 128);
  ASSERT_TRUE(art.Image.Pixels);
  // Columns c0..c1, rows r0..r1: header and footer bands away from the four rounded outer corners,
  // the side strips used with them, then the small pieces for panels without header or footer
  // (top left, top middle, top right, bottom left, bottom right, side edge), their outer corner aside.
  const int opaque[][4] = {{0, 127, 101, 120}, {8, 119, 101, 127}, {0, 127, 7, 26}, {8, 119, 0, 26}, {0, 6, 27, 100},
                           {121, 127, 27, 100}, {28, 47, 31, 50}, {36, 47, 31, 58}, {22, 25, 31, 58}, {53, 72, 31, 50},
                           {53, 64, 31, 58}, {74, 93, 38, 57}, {99, 118, 38, 57}, {10, 18, 50, 57}};
  for (const auto& q : opaque) EXPECT_TRUE(art.AllOpaque(q[0], q[1], q[2], q[3])) << q[0] << "," << q[2];
  // The outermost corner texels of the frame and of the small pieces are outside the rounding.
  const int clear[][2] = {{0, 127}, {127, 127}, {0, 0}, {127, 0}, {28, 58}, {72, 58}, {74, 30}, {118, 30}};
  for (const auto& p : clear) EXPECT_EQ(art.Alpha(p[0], p[1]), 0) << p[0] << "," << p[1];
  // The inner quad spans texel boundaries 37..38 and 40..41, so linear filtering mixes in the
  // eight neighbours of texel (37, 40): they must all be the same opaque colour.
  EXPECT_EQ(art.Alpha(37, 40), 255);
  for (int r = 39; r <= 41; ++r)
    for (int c = 36; c <= 38; ++c) EXPECT_TRUE(art.Same(c, r, 37, 40)) << c << "," << r;
  EXPECT_EQ(art.Alpha(111, 87), 255);
  EXPECT_EQ(art.Alpha(112, 88), 255);
  EXPECT_EQ(art.Alpha(104, 80), 0);
  EXPECT_EQ(art.Alpha(119, 95), 0);
  // The icon's surroundings stay transparent, so that nothing of the fill shows around it.
  for (int r = 80; r <= 95; ++r) EXPECT_EQ(art.Alpha(120, r), 0) << r;
}

TEST(PanelArt, StretchedPiecesAreUniformAndJoinWithoutASeam) {
  const Texels art = LoadArt("resources/panel.tga", 128, 128);
  ASSERT_TRUE(art.Image.Pixels);
  // Header and footer middles are stretched horizontally: every column alike, and equal to the
  // last column of the left cap and the first of the right cap (sampled at the joins).
  for (int r = 0; r < 128; ++r)
    for (int c = 63; c <= 96; ++c) EXPECT_TRUE((r > 26 && r < 101) || art.Same(c, r, 64, r)) << c << "," << r;
  // Side strips stretch vertically, and continue the header's and footer's edge columns. Beside
  // the close icon (rows 79-96) column 120 belongs to the icon's transparent margin instead.
  for (int c : {0, 1, 2, 3, 4, 5, 6, 7, 120, 121, 122, 123, 124, 125, 126, 127})
    for (int r = 26; r <= 101; ++r)
      EXPECT_TRUE((c == 120 && r >= 79 && r <= 96) || art.Same(c, r, c, 60)) << c << "," << r;
  // Top middle of the small frame (columns 22-26, sampled with one texel either side), meeting the
  // top left and top right pieces without a step.
  for (int r = 30; r <= 59; ++r)
    for (int c = 21; c <= 26; ++c) EXPECT_TRUE(art.Same(c, r, 22, r)) << c << "," << r;
  for (int r = 31; r <= 58; ++r) EXPECT_TRUE(art.Same(47, r, 22, r) && art.Same(53, r, 22, r)) << r;
  // Side edge: stretched vertically (rows 50-58 plus the texel above and below).
  for (int c = 9; c <= 19; ++c)
    for (int r = 49; r <= 58; ++r) EXPECT_TRUE(art.Same(c, r, c, 53)) << c << "," << r;
  // Bottom row of the top left piece and top row of the bottom left piece continue the side edge
  // column for column; on the right the side edge is used mirrored.
  for (int k = 0; k < 9; ++k) {
    EXPECT_TRUE(art.Same(28 + k, 31, 10 + k, 53)) << k;
    EXPECT_TRUE(art.Same(74 + k, 57, 10 + k, 53)) << k;
    EXPECT_TRUE(art.Same(72 - k, 31, 10 + k, 53)) << k;
    EXPECT_TRUE(art.Same(118 - k, 57, 10 + k, 53)) << k;
  }
  // The bottom middle is the top middle turned half a turn: at each height it must match the
  // inner columns of the bottom corner pieces.
  for (int j = 0; j < 28; ++j) EXPECT_TRUE(art.Same(93, 57 - j, 22, 31 + j) && art.Same(99, 57 - j, 22, 31 + j)) << j;
  // The header's lowest rows continue the side profile.
  for (int c = 0; c < 7; ++c) EXPECT_TRUE(art.Same(c, 101, 10 + c, 53)) << c;
}

// ---- Button -------------------------------------------------------------------------------

TEST(ButtonArt, ThreeLooksOfOneShapeWithAStretchableMiddle) {
  const Texels art = LoadArt("resources/button.tga", 256, 384);
  ASSERT_TRUE(art.Image.Pixels);
  // Bars of 128 rows, bottom to top: pressed, hover, normal. Opaque inside, clear at their edges.
  for (int bottom = 0; bottom < 384; bottom += 128) {
    EXPECT_TRUE(art.AllOpaque(10, 245, bottom + 32, bottom + 95)) << bottom;
    EXPECT_TRUE(art.AllOpaque(40, 215, bottom + 10, bottom + 117)) << bottom;
    for (int c = 0; c < 256; ++c) EXPECT_TRUE(art.Alpha(c, bottom) == 0 && art.Alpha(c, bottom + 127) == 0) << c;
  }
  // The middle stretches and meets the caps.
  for (int r = 0; r < 384; ++r)
    for (int c = 84; c <= 170; ++c) ASSERT_TRUE(art.Same(c, r, 128, r)) << c << "," << r;
  // One alpha mask for all three looks, so that the cross-fade leaves no halo.
  for (int r = 0; r < 256; ++r)
    for (int c = 0; c < 256; ++c) ASSERT_EQ(art.Alpha(c, r), art.Alpha(c, r + 128)) << c << "," << r;
  // Mean luminance of a bar's centre area: hover is lighter than normal, pressed darker.
  auto brightness = [&](int bottom) {
    double sum = 0;
    for (int r = bottom + 20; r < bottom + 108; ++r)
      for (int c = 40; c < 216; ++c) sum += 0.3 * art.At(c, r)[0] + 0.59 * art.At(c, r)[1] + 0.11 * art.At(c, r)[2];
    return sum / (88 * 176);
  };
  EXPECT_GT(brightness(128), brightness(256) + 10);
  EXPECT_LT(brightness(0), brightness(256) - 10);
}

// ---- Cursors ------------------------------------------------------------------------------

TEST(CursorArt, TipIsTheOpaqueTopLeftTexel) {
  for (const char* name : {"resources/cursor_normal.tga", "resources/cursor2_normal.tga"}) {
    const Texels cursor = LoadArt(name, 32, 32);
    ASSERT_TRUE(cursor.Image.Pixels);
    EXPECT_EQ(cursor.Alpha(0, 31), 255) << name << ": t = 1 is the top row";
    EXPECT_EQ(cursor.Alpha(5, 20), 255) << name << ": body of the arrow";
    EXPECT_EQ(cursor.Alpha(31, 0) + cursor.Alpha(31, 31), 0) << name;
  }
  EXPECT_NE(ReadFile(kRoot + "resources/cursor_normal.tga"), ReadFile(kRoot + "resources/cursor2_normal.tga"));
}

// ---- Fonts --------------------------------------------------------------------------------

// Advance widths of codes 0..255, one base-36 digit each.
const char kBuiltinWidths[] =
    "6666666666666666666666666666666645486962446734358688888888237787"
    "8776766775666c767777567b7773547r2777766775776b867676566967753576"
    "86294a665d64a6666335548c5b64a667655867375956b6946744279334467777"
    "777777a6666655667766666766666796777777a7666655667866666666666797";
int BuiltinWidth(int code) { return std::stoi(std::string(1, kBuiltinWidths[code]), nullptr, 36); }

// Glyph cells of codes 32..255 laid out from the top-left, `perRow` to a row and `pitch` texels
// apart. Ink may lie only in columns 1..maxX(code) and rows 1..maxY of its cell; every code
// `printable` names has some, the space none, and every texel outside the cells is clear.
void CheckGlyphCells(int side, int perRow, int pitch, int maxY, const std::function<int(int)>& maxX,
                     const std::function<bool(int)>& printable, const std::function<int(int, int)>& alpha) {
  std::vector<bool> inCell(static_cast<size_t>(side) * side, false);
  for (int code = 32; code < 256; ++code) {
    const int cellX = (code - 32) % perRow * pitch, cellY = (code - 32) / perRow * pitch;
    int ink = 0;
    for (int y = 0; y < pitch; ++y)
      for (int x = 0; x < pitch; ++x) {
        inCell[(cellY + y) * side + cellX + x] = true;
        if (!alpha(cellX + x, cellY + y)) continue;
        ++ink;
        EXPECT_TRUE(x >= 1 && x <= maxX(code) && y >= 1 && y <= maxY) << "code " << code << " ink at " << x << "," << y;
      }
    EXPECT_TRUE(code == 32 ? ink == 0 : ink > 0 || !printable(code)) << "code " << code << ": " << ink << " ink texels";
  }
  for (int y = 0; y < side; ++y)
    for (int x = 0; x < side; ++x)
      ASSERT_TRUE(inCell[y * side + x] || alpha(x, y) == 0) << x << "," << y;
}

TEST(BuiltinFont, HeaderWidthsAndWhiteGlyphsInsideTheirCells) {
  const Bytes blob = ReadFile(kRoot + "resources/builtinfont.bff");
  ASSERT_EQ(blob.size(), 276u + 256u * 256u * 4u);
  // Signature BF F2, a 256 x 256 image of 17 x 17 cells, 32 bits, first code 32, then the widths.
  EXPECT_EQ(Bytes(blob.begin(), blob.begin() + 20),
            (Bytes{0xBF, 0xF2, 0, 1, 0, 0, 0, 1, 0, 0, 17, 0, 0, 0, 17, 0, 0, 0, 32, 32}));
  for (int c = 0; c < 256; ++c) EXPECT_EQ(blob[20 + c], BuiltinWidth(c)) << "width of code " << c;
  for (size_t i = 276; i < blob.size(); i += 4)
    ASSERT_TRUE(!blob[i + 3] || (blob[i] == 255 && blob[i + 1] == 255 && blob[i + 2] == 255)) << "byte " << i;
  // Visible characters of Windows code page 1252.
  const auto printable = [](int c) {
    return c > 32 && c != 127 && c != 160 && c != 173 && c != 0x81 && c != 0x8D && c != 0x8F && c != 0x90 && c != 0x9D;
  };
  CheckGlyphCells(
      256, 15, 17, 15, [](int code) { return std::min(BuiltinWidth(code), 16) - 1; }, printable,
      [&](int x, int y) { return blob[276 + (static_cast<size_t>(y) * 256 + x) * 4 + 3]; });
}

TEST(GridFonts, GlyphsStayInsideTheirCells) {
  // 16 x 16 cells from the top-left; a label advances by 500/760 of a cell, so the glyph keeps to
  // the left part of the cell. The images are stored bottom row first.
  for (const char* name : {"default/defaultfont.tga", "default/font.tga"}) {
    SCOPED_TRACE(name);
    const Texels font = LoadArt(name, 256, 256);
    ASSERT_TRUE(font.Image.Pixels);
    CheckGlyphCells(
        256, 16, 16, 14, [](int) { return 16 * 500 / 760; }, [](int c) { return c > 32 && c < 127; },
        [&](int x, int y) { return font.Alpha(x, 255 - y); });
  }
  EXPECT_NE(ReadFile(kRoot + "default/defaultfont.tga"), ReadFile(kRoot + "default/font.tga"));
}

// ---- Sound and pictures ------------------------------------------------------------------

TEST(HoverSound, IsAShortQuietPcmWave) {
  const Bytes wav = ReadFile(kRoot + "default/nvg_off.wav");
  ASSERT_GE(wav.size(), 44u);
  // "RIFF" with the size of the rest, "WAVEfmt ", PCM mono at 16 bits, then the "data" chunk.
  EXPECT_EQ(std::string(&wav[0], &wav[4]) + std::string(&wav[8], &wav[16]) + std::string(&wav[36], &wav[40]),
            "RIFFWAVEfmt data");
  EXPECT_EQ(Le(wav, 4), wav.size() - 8);
  EXPECT_EQ((Bytes{wav[20], wav[21], wav[22], wav[23], wav[34], wav[35]}), (Bytes{1, 0, 1, 0, 16, 0}));
  const uint32_t dataBytes = Le(wav, 40);
  ASSERT_EQ(dataBytes + 44, wav.size());
  const double seconds = dataBytes / 2.0 / Le(wav, 24);
  EXPECT_TRUE(seconds >= 0.1 && seconds <= 0.2) << seconds;
  int peak = 0;
  for (size_t at = 44; at < wav.size(); at += 2) peak = std::max(peak, std::abs(int(int16_t(Le(wav, at, 2)))));
  EXPECT_TRUE(peak > 2000 && peak < 16000) << peak << ": soft, well below full scale";
  EXPECT_LT(std::abs(int16_t(Le(wav, 44, 2))), 50) << "no click at the start";
  EXPECT_LT(std::abs(int16_t(Le(wav, wav.size() - 2, 2))), 50) << "no click at the end";
}

TEST(AboutPictures, AreSmallJpegs) {
  for (const char* name : {"resources/about.jpg", "resources/engineabout.jpg"}) {
    const Bytes jpeg = ReadFile(kRoot + name);
    DecodedImage image;
    ASSERT_EQ(DecodeJpeg(jpeg.data(), jpeg.size(), image), JpegStatus::Ok) << name;
    EXPECT_EQ(image.Width * 1000 + image.Height, 128u * 1000 + 64u) << name << ": 128 x 64";
  }
}

// ---- Reproduction ------------------------------------------------------------------------

TEST(Generator, RemakesEveryCommittedFileByteForByte) {
  char folder[] = "/tmp/artgen-test-XXXXXX";
  ASSERT_NE(mkdtemp(folder), nullptr);
  const std::string command = std::string("'") + ARTGEN_PATH + "' '" + folder + "'";
  const int status = std::system(command.c_str());
  const bool ran = status != -1 && WIFEXITED(status) && WEXITSTATUS(status) == 0;
  if (ran)
    for (const char* file : {"resources/panel.tga", "resources/button.tga", "resources/cursor_normal.tga",
                             "resources/cursor2_normal.tga", "resources/builtinfont.bff", "resources/about.jpg",
                             "resources/engineabout.jpg", "default/defaultfont.tga", "default/font.tga",
                             "default/nvg_off.wav", "docs/art.png"}) {
      const Bytes made = ReadFile(std::string(folder) + "/" + file);
      EXPECT_FALSE(made.empty()) << file;
      EXPECT_TRUE(made == ReadFile(kRoot + file)) << file << " differs from the generator's output";
    }
  std::error_code ignored;
  std::filesystem::remove_all(folder, ignored);
  ASSERT_TRUE(ran) << command << " failed";
}

}  // namespace
