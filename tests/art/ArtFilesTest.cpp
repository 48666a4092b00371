// Checks the committed art, font, sound and picture files: their formats, the parts of each image
// that the panel, button, cursor and text drawing sample, and that the generator remakes them.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/wait.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "ImageDecoders.h"

namespace {

using Bytes = std::vector<uint8_t>;

const std::string kRoot = GLGUI_SOURCE_DIR;

Bytes ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// A decoded 32-bit TGA with texel access by column and row counted from the bottom (t = 0).
struct Texels {
  DecodedImage Image;
  const uint8_t* At(int column, int rowFromBottom) const {
    return &Image.Pixels[(static_cast<size_t>(rowFromBottom) * Image.Width + column) * 4];
  }
  int Alpha(int column, int rowFromBottom) const { return At(column, rowFromBottom)[3]; }
  // Equal as far as drawing can tell: the same alpha and, unless both are fully transparent, the
  // same colour.
  bool Same(int c0, int r0, int c1, int r1) const {
    if (Alpha(c0, r0) == 0 && Alpha(c1, r1) == 0) return true;
    return std::memcmp(At(c0, r0), At(c1, r1), 4) == 0;
  }
};

// Loads a toolkit TGA, checking the header and footer the shipped images must carry.
Texels LoadArt(const std::string& relative, uint32_t width, uint32_t height) {
  Texels t;
  const Bytes file = ReadFile(kRoot + "/" + relative);
  EXPECT_GE(file.size(), 18u + 26u) << relative;
  if (file.size() < 18 + 26) return t;
  EXPECT_EQ(file[0], 0) << relative << ": image ID length";
  EXPECT_EQ(file[1], 0) << relative << ": colour-map type";
  EXPECT_EQ(file[2], 10) << relative << ": image type";
  EXPECT_EQ(file[16], 32) << relative << ": pixel depth";
  EXPECT_EQ(file[17], 8) << relative << ": image descriptor";
  const char footer[] = "TRUEVISION-XFILE.";
  EXPECT_EQ(0, std::memcmp(&file[file.size() - 18], footer, 18)) << relative << ": TGA 2.0 footer";
  EXPECT_EQ(DecodeTga(file.data(), file.size(), t.Image), TgaStatus::Ok) << relative;
  EXPECT_EQ(t.Image.Width, width) << relative;
  EXPECT_EQ(t.Image.Height, height) << relative;
  EXPECT_EQ(t.Image.BytesPerPixel, 4u) << relative;
  return t;
}

bool AllOpaque(const Texels& t, int c0, int c1, int r0, int r1) {
  for (int r = r0; r <= r1; ++r)
    for (int c = c0; c <= c1; ++c)
      if (t.Alpha(c, r) != 255) return false;
  return true;
}

// ---- Panel --------------------------------------------------------------------------------

class PanelArt : public ::testing::Test {
 protected:
  void SetUp() override {
    art = LoadArt("resources/panel.tga", 128, 128);
    ASSERT_TRUE(art.Image.Pixels);
  }
  Texels art;
};

TEST_F(PanelArt, FramePiecesAreOpaqueAndCornersRounded) {
  // Header band and footer band, away from the four rounded outer corners.
  EXPECT_TRUE(AllOpaque(art, 0, 127, 101, 120));
  EXPECT_TRUE(AllOpaque(art, 8, 119, 101, 127));
  EXPECT_TRUE(AllOpaque(art, 0, 127, 7, 26));
  EXPECT_TRUE(AllOpaque(art, 8, 119, 0, 26));
  // Side strips used with header and footer.
  EXPECT_TRUE(AllOpaque(art, 0, 6, 27, 100));
  EXPECT_TRUE(AllOpaque(art, 121, 127, 27, 100));
  // Small pieces for panels without header or footer, their outer corner aside.
  EXPECT_TRUE(AllOpaque(art, 28, 47, 31, 50));   // top left
  EXPECT_TRUE(AllOpaque(art, 36, 47, 31, 58));
  EXPECT_TRUE(AllOpaque(art, 22, 25, 31, 58));   // top middle
  EXPECT_TRUE(AllOpaque(art, 53, 72, 31, 50));   // top right
  EXPECT_TRUE(AllOpaque(art, 53, 64, 31, 58));
  EXPECT_TRUE(AllOpaque(art, 74, 93, 38, 57));   // bottom left
  EXPECT_TRUE(AllOpaque(art, 99, 118, 38, 57));  // bottom right
  EXPECT_TRUE(AllOpaque(art, 10, 18, 50, 57));   // side edge
  // The outermost corner texels are outside the rounded frame.
  EXPECT_EQ(art.Alpha(0, 127), 0);
  EXPECT_EQ(art.Alpha(127, 127), 0);
  EXPECT_EQ(art.Alpha(0, 0), 0);
  EXPECT_EQ(art.Alpha(127, 0), 0);
  EXPECT_EQ(art.Alpha(28, 58), 0);
  EXPECT_EQ(art.Alpha(72, 58), 0);
  EXPECT_EQ(art.Alpha(74, 30), 0);
  EXPECT_EQ(art.Alpha(118, 30), 0);
}

TEST_F(PanelArt, FillTexelAndItsNeighboursAreOneOpaqueColour) {
  // The inner quad spans texel boundaries 37..38 and 40..41, so linear filtering mixes in the
  // eight neighbours of texel (37, 40): they must all be the same opaque colour.
  EXPECT_EQ(art.Alpha(37, 40), 255);
  for (int r = 39; r <= 41; ++r)
    for (int c = 36; c <= 38; ++c) EXPECT_TRUE(art.Same(c, r, 37, 40)) << c << "," << r;
}

TEST_F(PanelArt, CloseIconIsARoundShapeInItsSquare) {
  EXPECT_EQ(art.Alpha(111, 87), 255);
  EXPECT_EQ(art.Alpha(112, 88), 255);
  EXPECT_EQ(art.Alpha(104, 80), 0);
  EXPECT_EQ(art.Alpha(119, 95), 0);
  // Its surroundings stay transparent, so that nothing of the fill shows around the icon.
  for (int r = 80; r <= 95; ++r) EXPECT_EQ(art.Alpha(120, r), 0) << r;
}

TEST_F(PanelArt, StretchedMiddlesAreUniformAndMeetTheirCaps) {
  for (int r = 0; r < 128; ++r) {
    if (r > 26 && r < 101) continue;
    // Header and footer middles are stretched horizontally: every column alike, and equal to the
    // last column of the left cap and the first of the right cap (sampled at the joins).
    for (int c = 63; c <= 96; ++c) EXPECT_TRUE(art.Same(c, r, 64, r)) << c << "," << r;
  }
  // Side strips stretch vertically, and continue the header's and footer's edge columns. Beside
  // the close icon (rows 79-96) column 120 belongs to the icon's transparent margin instead.
  for (int c : {0, 1, 2, 3, 4, 5, 6, 7, 120, 121, 122, 123, 124, 125, 126, 127})
    for (int r = 26; r <= 101; ++r) {
      if (c == 120 && r >= 79 && r <= 96) continue;
      EXPECT_TRUE(art.Same(c, r, c, 60)) << c << "," << r;
    }
  // Top middle of the small frame (columns 22-26, sampled with one texel either side).
  for (int r = 30; r <= 59; ++r)
    for (int c = 21; c <= 26; ++c) EXPECT_TRUE(art.Same(c, r, 22, r)) << c << "," << r;
  // ... and it meets the top left and top right pieces without a step.
  for (int r = 31; r <= 58; ++r) {
    EXPECT_TRUE(art.Same(47, r, 22, r)) << r;
    EXPECT_TRUE(art.Same(53, r, 22, r)) << r;
  }
  // Side edge: stretched vertically (rows 50-58 plus the texel above and below).
  for (int c = 9; c <= 19; ++c)
    for (int r = 49; r <= 58; ++r) EXPECT_TRUE(art.Same(c, r, c, 53)) << c << "," << r;
}

TEST_F(PanelArt, SmallPiecesJoinTheSideEdgeAndEachOther) {
  for (int k = 0; k < 9; ++k) {
    // Left: bottom row of the top left piece and top row of the bottom left piece continue the
    // side edge column for column.
    EXPECT_TRUE(art.Same(28 + k, 31, 10 + k, 53)) << k;
    EXPECT_TRUE(art.Same(74 + k, 57, 10 + k, 53)) << k;
    // Right: the side edge is used mirrored.
    EXPECT_TRUE(art.Same(72 - k, 31, 10 + k, 53)) << k;
    EXPECT_TRUE(art.Same(118 - k, 57, 10 + k, 53)) << k;
  }
  // The bottom middle is the top middle turned half a turn: at each height it must match the
  // inner columns of the bottom corner pieces.
  for (int j = 0; j < 28; ++j) {
    EXPECT_TRUE(art.Same(93, 57 - j, 22, 31 + j)) << j;
    EXPECT_TRUE(art.Same(99, 57 - j, 22, 31 + j)) << j;
  }
  // Header band and the edges used below it: the header's lowest rows continue the side profile.
  for (int c = 0; c < 7; ++c) EXPECT_TRUE(art.Same(c, 101, 10 + c, 53)) << c;
}

// ---- Button -------------------------------------------------------------------------------

class ButtonArt : public ::testing::Test {
 protected:
  void SetUp() override {
    art = LoadArt("resources/button.tga", 256, 384);
    ASSERT_TRUE(art.Image.Pixels);
  }
  // Mean luminance of a bar's centre area; bar 0 = normal (top third), 1 hover, 2 pressed.
  double Brightness(int bar) const {
    const int bottom = (2 - bar) * 128;
    double sum = 0;
    int n = 0;
    for (int r = bottom + 20; r < bottom + 108; ++r)
      for (int c = 40; c < 216; ++c, ++n) {
        const uint8_t* p = art.At(c, r);
        sum += 0.3 * p[0] + 0.59 * p[1] + 0.11 * p[2];
      }
    return sum / n;
  }
  Texels art;
};

TEST_F(ButtonArt, BarsAreOpaqueWithTransparentSurroundings) {
  for (int bar = 0; bar < 3; ++bar) {
    const int bottom = bar * 128;
    EXPECT_TRUE(AllOpaque(art, 10, 245, bottom + 32, bottom + 95)) << bar;
    EXPECT_TRUE(AllOpaque(art, 40, 215, bottom + 10, bottom + 117)) << bar;
    EXPECT_EQ(art.Alpha(0, bottom), 0) << bar;
    EXPECT_EQ(art.Alpha(255, bottom + 127), 0) << bar;
    for (int c = 0; c < 256; ++c) {
      EXPECT_EQ(art.Alpha(c, bottom), 0) << "bars must not touch: " << c;
      EXPECT_EQ(art.Alpha(c, bottom + 127), 0) << "bars must not touch: " << c;
    }
  }
}

TEST_F(ButtonArt, MiddleStretchesAndMeetsTheCaps) {
  for (int r = 0; r < 384; ++r)
    for (int c = 84; c <= 170; ++c) ASSERT_TRUE(art.Same(c, r, 128, r)) << c << "," << r;
}

TEST_F(ButtonArt, LooksDifferAndShareOneShape) {
  EXPECT_GT(Brightness(1), Brightness(0) + 10) << "hover is lighter than normal";
  EXPECT_LT(Brightness(2), Brightness(0) - 10) << "pressed is darker than normal";
  // One alpha mask for all three looks, so that the cross-fade leaves no halo.
  for (int r = 0; r < 128; ++r)
    for (int c = 0; c < 256; ++c) {
      ASSERT_EQ(art.Alpha(c, r), art.Alpha(c, r + 128)) << c << "," << r;
      ASSERT_EQ(art.Alpha(c, r), art.Alpha(c, r + 256)) << c << "," << r;
    }
}

// ---- Cursors ------------------------------------------------------------------------------

TEST(CursorArt, TipIsTheOpaqueTopLeftTexel) {
  for (const char* name : {"resources/cursor_normal.tga", "resources/cursor2_normal.tga"}) {
    const Texels cursor = LoadArt(name, 32, 32);
    ASSERT_TRUE(cursor.Image.Pixels);
    EXPECT_EQ(cursor.Alpha(0, 31), 255) << name << ": t = 1 is the top row";
    EXPECT_EQ(cursor.Alpha(31, 0), 0) << name;
    EXPECT_EQ(cursor.Alpha(31, 31), 0) << name;
    EXPECT_EQ(cursor.Alpha(5, 20), 255) << name << ": body of the arrow";
  }
  EXPECT_NE(ReadFile(kRoot + "/resources/cursor_normal.tga"), ReadFile(kRoot + "/resources/cursor2_normal.tga"));
}

// ---- Fonts --------------------------------------------------------------------------------

const uint8_t kBuiltinWidths[256] = {
    6, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6,
    4, 5, 4, 8, 6, 9, 6, 2, 4, 4, 6, 7, 3, 4, 3, 5, 8, 6, 8, 8, 8, 8, 8, 8, 8, 8, 2, 3, 7, 7, 8, 7,
    8, 7, 7, 6, 7, 6, 6, 7, 7, 5, 6, 6, 6, 12, 7, 6, 7, 7, 7, 7, 5, 6, 7, 11, 7, 7, 7, 3, 5, 4, 7, 27,
    2, 7, 7, 7, 7, 6, 6, 7, 7, 5, 7, 7, 6, 11, 8, 6, 7, 6, 7, 6, 5, 6, 6, 9, 6, 7, 7, 5, 3, 5, 7, 6,
    8, 6, 2, 9, 4, 10, 6, 6, 5, 13, 6, 4, 10, 6, 6, 6, 6, 3, 3, 5, 5, 4, 8, 12, 5, 11, 6, 4, 10, 6, 6, 7,
    6, 5, 5, 8, 6, 7, 3, 7, 5, 9, 5, 6, 11, 6, 9, 4, 6, 7, 4, 4, 2, 7, 9, 3, 3, 4, 4, 6, 7, 7, 7, 7,
    7, 7, 7, 7, 7, 7, 10, 6, 6, 6, 6, 6, 5, 5, 6, 6, 7, 7, 6, 6, 6, 6, 6, 7, 6, 6, 6, 6, 6, 7, 9, 6,
    7, 7, 7, 7, 7, 7, 10, 7, 6, 6, 6, 6, 5, 5, 6, 6, 7, 8, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6, 7, 9, 7,
};

// Codes that show a visible character in Windows code page 1252.
bool Printable1252(int code) {
  if (code <= 32 || code == 127 || code == 160 || code == 173) return false;
  return code != 0x81 && code != 0x8D && code != 0x8F && code != 0x90 && code != 0x9D;
}

uint32_t Read32(const Bytes& b, size_t at) {
  return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (static_cast<uint32_t>(b[at + 3]) << 24);
}

TEST(BuiltinFont, HeaderAndWidthTableAreExact) {
  const Bytes blob = ReadFile(kRoot + "/resources/builtinfont.bff");
  ASSERT_EQ(blob.size(), 276u + 256u * 256u * 4u);
  EXPECT_EQ(blob[0], 0xBF);
  EXPECT_EQ(blob[1], 0xF2);
  EXPECT_EQ(Read32(blob, 2), 256u);
  EXPECT_EQ(Read32(blob, 6), 256u);
  EXPECT_EQ(Read32(blob, 10), 17u);
  EXPECT_EQ(Read32(blob, 14), 17u);
  EXPECT_EQ(blob[18], 32);
  EXPECT_EQ(blob[19], 32);
  for (int c = 0; c < 256; ++c) EXPECT_EQ(blob[20 + c], kBuiltinWidths[c]) << "width of code " << c;
}

TEST(BuiltinFont, GlyphsAreWhiteAndStayInsideTheirCellAndAdvance) {
  const Bytes blob = ReadFile(kRoot + "/resources/builtinfont.bff");
  ASSERT_EQ(blob.size(), 276u + 256u * 256u * 4u);
  auto pixel = [&](int x, int y) { return &blob[276 + (static_cast<size_t>(y) * 256 + x) * 4]; };
  std::vector<bool> claimed(256 * 256, false);
  for (int code = 32; code < 256; ++code) {
    const int cell = code - 32, cellX = (cell % 15) * 17, cellY = (cell / 15) * 17;
    const int limit = std::min<int>(kBuiltinWidths[code], 16);
    int ink = 0;
    for (int y = 0; y < 17; ++y)
      for (int x = 0; x < 17; ++x) {
        claimed[(cellY + y) * 256 + cellX + x] = true;
        const uint8_t* p = pixel(cellX + x, cellY + y);
        if (p[3] == 0) continue;
        ++ink;
        EXPECT_TRUE(x >= 1 && x < limit && y >= 1 && y < 16)
            << "code " << code << " has ink at cell texel " << x << "," << y;
        EXPECT_EQ(p[0], 255);
        EXPECT_EQ(p[1], 255);
        EXPECT_EQ(p[2], 255);
      }
    if (Printable1252(code)) {
      EXPECT_GT(ink, 0) << "code " << code << " has no glyph";
    }
    if (code == 32) {
      EXPECT_EQ(ink, 0);
    }
  }
  for (int y = 0; y < 256; ++y)
    for (int x = 0; x < 256; ++x)
      if (!claimed[y * 256 + x]) {
        ASSERT_EQ(pixel(x, y)[3], 0) << x << "," << y;
      }
}

// Grid fonts: 16 x 16 cells from the top-left, code c in cell c - 32; a label advances by
// 500/760 of a cell, so the glyph keeps to the left part of the cell.
void CheckGridFont(const std::string& relative) {
  SCOPED_TRACE(relative);
  const Bytes file = ReadFile(kRoot + "/" + relative);
  DecodedImage image;
  ASSERT_EQ(DecodeTga(file.data(), file.size(), image), TgaStatus::Ok);
  ASSERT_EQ(image.BytesPerPixel, 4u);
  ASSERT_EQ(image.Width, image.Height);
  ASSERT_EQ(image.Width % 16, 0u);
  const int n = static_cast<int>(image.Width), cellSize = n / 16;
  const int advance = cellSize * 500 / 760;
  // Top-left origin for the cells; the image is stored bottom row first.
  auto alpha = [&](int x, int yFromTop) {
    return image.Pixels[(static_cast<size_t>(n - 1 - yFromTop) * n + x) * 4 + 3];
  };
  for (int code = 32; code < 256; ++code) {
    const int cell = code - 32, cellX = (cell % 16) * cellSize, cellY = (cell / 16) * cellSize;
    int ink = 0;
    for (int y = 0; y < cellSize; ++y)
      for (int x = 0; x < cellSize; ++x) {
        if (!alpha(cellX + x, cellY + y)) continue;
        ++ink;
        EXPECT_TRUE(x >= 1 && x <= advance && y >= 1 && y < cellSize - 1)
            << "code " << code << " has ink at cell texel " << x << "," << y;
      }
    if (code > 32 && code < 127) {
      EXPECT_GT(ink, 0) << "code " << code << " has no glyph";
    }
    if (code == 32) {
      EXPECT_EQ(ink, 0);
    }
  }
  for (int y = 14 * cellSize; y < n; ++y)
    for (int x = 0; x < n; ++x) ASSERT_EQ(alpha(x, y), 0) << "cells past code 255 stay empty";
}

TEST(GridFonts, GlyphsStayInsideTheirCells) {
  LoadArt("default/defaultfont.tga", 256, 256);
  LoadArt("default/font.tga", 256, 256);
  CheckGridFont("default/defaultfont.tga");
  CheckGridFont("default/font.tga");
  EXPECT_NE(ReadFile(kRoot + "/default/defaultfont.tga"), ReadFile(kRoot + "/default/font.tga"));
}

// ---- Sound and pictures ------------------------------------------------------------------

TEST(HoverSound, IsAShortQuietPcmWave) {
  const Bytes wav = ReadFile(kRoot + "/default/nvg_off.wav");
  ASSERT_GE(wav.size(), 44u);
  EXPECT_EQ(0, std::memcmp(&wav[0], "RIFF", 4));
  EXPECT_EQ(Read32(wav, 4), wav.size() - 8);
  EXPECT_EQ(0, std::memcmp(&wav[8], "WAVEfmt ", 8));
  EXPECT_EQ(wav[20] | (wav[21] << 8), 1) << "PCM";
  EXPECT_EQ(wav[22] | (wav[23] << 8), 1) << "mono";
  const uint32_t rate = Read32(wav, 24);
  EXPECT_EQ(wav[34] | (wav[35] << 8), 16) << "bits per sample";
  EXPECT_EQ(0, std::memcmp(&wav[36], "data", 4));
  const uint32_t dataBytes = Read32(wav, 40);
  ASSERT_EQ(dataBytes + 44, wav.size());
  const double seconds = dataBytes / 2.0 / rate;
  EXPECT_GE(seconds, 0.1);
  EXPECT_LE(seconds, 0.2);
  int peak = 0;
  for (uint32_t i = 0; i < dataBytes / 2; ++i) {
    const int s = static_cast<int16_t>(wav[44 + i * 2] | (wav[45 + i * 2] << 8));
    peak = std::max(peak, std::abs(s));
  }
  EXPECT_GT(peak, 2000);
  EXPECT_LT(peak, 16000) << "soft, well below full scale";
  const int16_t first = static_cast<int16_t>(wav[44] | (wav[45] << 8));
  const int16_t last = static_cast<int16_t>(wav[wav.size() - 2] | (wav[wav.size() - 1] << 8));
  EXPECT_LT(std::abs(first), 50) << "no click at the start";
  EXPECT_LT(std::abs(last), 50) << "no click at the end";
}

TEST(AboutPictures, AreSmallJpegs) {
  for (const char* name : {"resources/about.jpg", "resources/engineabout.jpg"}) {
    const Bytes jpeg = ReadFile(kRoot + "/" + name);
    DecodedImage image;
    ASSERT_EQ(DecodeJpeg(jpeg.data(), jpeg.size(), image), JpegStatus::Ok) << name;
    EXPECT_EQ(image.Width, 128u) << name;
    EXPECT_EQ(image.Height, 64u) << name;
  }
}

// ---- Reproduction ------------------------------------------------------------------------

TEST(Generator, RemakesEveryCommittedFileByteForByte) {
  char folder[] = "/tmp/artgen-test-XXXXXX";
  ASSERT_NE(mkdtemp(folder), nullptr);
  const std::string command = std::string("'") + ARTGEN_PATH + "' '" + folder + "'";
  const int status = std::system(command.c_str());
  const bool ran = status != -1 && WIFEXITED(status) && WEXITSTATUS(status) == 0;
  const char* files[] = {"resources/panel.tga",         "resources/button.tga",
                         "resources/cursor_normal.tga", "resources/cursor2_normal.tga",
                         "resources/builtinfont.bff",   "resources/about.jpg",
                         "resources/engineabout.jpg",   "default/defaultfont.tga",
                         "default/font.tga",            "default/nvg_off.wav",
                         "docs/art.png"};
  if (ran)
    for (const char* file : files) {
      const Bytes made = ReadFile(std::string(folder) + "/" + file);
      EXPECT_FALSE(made.empty()) << file;
      EXPECT_TRUE(made == ReadFile(kRoot + "/" + file)) << file << " differs from the generator's output";
    }
  std::error_code ignored;
  std::filesystem::remove_all(folder, ignored);
  ASSERT_TRUE(ran) << command << " failed";
}

}  // namespace
