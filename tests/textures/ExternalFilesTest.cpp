// Files written by a tool no one here wrote (ImageMagick's convert), loaded through the readers and
// compared with what convert itself decodes from the same files.
#include "Files.h"
#include "ImageDecoders.h"
#include "TextureTestUtil.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ostream>
#include <string>
#include <tuple>

using namespace textest;

namespace {

// Output name ("BMP3:" asks for the classic 40-byte BMP info header), convert's options for
// writing it, bytes a pixel the reader hands on (3 = RGB, 4 = RGBA), and the largest difference
// allowed (both sides decode JPEG through libjpeg but may pick another IDCT).
struct Format {
  const char* output;
  const char* options;
  int bytesPerPixel;
  int tolerance;
};
// Printed as the file's name, which names the case: readable, and the same in every build.
void PrintTo(const Format& format, std::ostream* out) {
  const std::string output = format.output;
  *out << output.substr(output.find(':') + 1);
}
class ConvertFiles : public ::testing::TestWithParam<Format> {};

// A picture with flat areas, edges and an alpha ramp, as a PAM file (top row first).
Bytes SourcePam(int w, int h) {
  const std::string head = "P7\nWIDTH " + std::to_string(w) + "\nHEIGHT " + std::to_string(h) +
                           "\nDEPTH 4\nMAXVAL 255\nTUPLTYPE RGB_ALPHA\nENDHDR\n";
  Bytes out(head.begin(), head.end());
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      out.insert(out.end(), {uint8_t(x < 12 ? 200 : x * 7), uint8_t(x < 12 ? 30 : y * 11), uint8_t(x * y),
                             uint8_t(y < 5 ? 0 : y > 18 ? 255 : x * 6)});
  return out;
}

// At odd sides BMP rows carry fill and 24-bit rows are not 4-aligned. (The GL upload of every
// reader's output is checked in ReaderTest.)
TEST_P(ConvertFiles, DecoderMatchesConvertsOwnDecoding) {
  bool ok = false;
  RunCommand("command -v convert", ok);
  if (!ok) GTEST_SKIP() << "ImageMagick's convert is not installed";
  const auto [output, options, bytesPerPixel, tolerance] = GetParam();
  const std::string spec = output, name = spec.substr(spec.find(':') + 1);
  const bool tga = name.find(".tga") != std::string::npos, bmp = name.find(".bmp") != std::string::npos;
  const int w = 37, h = 23;
  TempDir dir;
  const std::string source = dir.Write("source.pam", SourcePam(w, h)), file = dir.path + "/" + name;
  const std::string out = spec.substr(0, spec.find(':') + 1) + file;
  RunCommand("convert '" + source + "' " + options + " '" + out + "' 2>/dev/null", ok);
  ASSERT_TRUE(ok);
  // What convert decodes: TGA rows in stored order (the origin stays a tag on the image), which is
  // what the TGA reader passes on; BMP and JPEG top row first, turned bottom row first here.
  const char* map = bytesPerPixel == 4 ? "rgba" : "rgb";
  const Bytes topDown = RunCommand("convert '" + file + "' -depth 8 " + map + ":- 2>/dev/null", ok);
  const size_t row = size_t(w) * bytesPerPixel;
  ASSERT_TRUE(ok && topDown.size() == row * h) << topDown.size();
  Bytes theirs = topDown, data;
  for (int y = 0; y < h && !tga; ++y) std::copy_n(&topDown[(h - 1 - y) * row], row, &theirs[y * row]);
  // What our decoder makes of the file.
  DecodedImage img;
  ASSERT_EQ(ReadWholeFile(file, data), FileReadStatus::Ok);
  const bool decoded = tga   ? DecodeTga(data.data(), data.size(), img) == TgaStatus::Ok
                       : bmp ? DecodeBmp(data.data(), data.size(), img) == BmpStatus::Ok
                             : DecodeJpeg(data.data(), data.size(), img) == JpegStatus::Ok;
  using Sides = std::tuple<uint32_t, uint32_t, uint32_t>;
  ASSERT_TRUE(decoded && Sides(img.Width, img.Height, img.BytesPerPixel) == Sides(w, h, bytesPerPixel));
  int worst = 0;
  for (size_t i = 0; i < theirs.size(); ++i) worst = std::max(worst, std::abs(int(img.Pixels[i]) - int(theirs[i])));
  EXPECT_LE(worst, tolerance);
}

INSTANTIATE_TEST_SUITE_P(Formats, ConvertFiles,
                         ::testing::Values(Format{"p32rle.tga", "-compress RLE", 4, 0},
                                           Format{"p32raw.tga", "-compress None", 4, 0},
                                           Format{"p24rle.tga", "-alpha off -compress RLE", 3, 0},
                                           Format{"p24raw.tga", "-alpha off -compress None", 3, 0},
                                           Format{"BMP3:p24.bmp", "-alpha off -type TrueColor", 3, 0},
                                           Format{"p90.jpg", "-alpha off -quality 90", 4, 2}));

}  // namespace
