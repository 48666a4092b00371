// The GL-free decoders: packet handling, byte order, row order and every way a damaged image is
// refused without reading or writing out of bounds.
#include "ImageDecoders.h"
#include "TextureTestUtil.h"

#include <gtest/gtest.h>

using namespace textest;

namespace {

Bytes Pixels(const DecodedImage& img) { return Bytes(img.Pixels.get(), img.Pixels.get() + img.ByteCount()); }

}  // namespace

TEST(TgaDecoder, PacketsRowsAndImageIdsDecodeExactly) {
  const Bytes px129 = DistinctBgra(129), px6 = DistinctBgra(6);
  const Bytes first128(px129.begin(), px129.begin() + 128 * 4), last(px129.end() - 4, px129.end());
  const struct {
    const char* what;
    Bytes tga, rgba;
  } cases[] = {
      // 129 pixels in one row: a raw packet of 128 (header 127) and one of 1 (header 0).
      {"raw 128 + raw 1", MakeTga(10, 129, 1, 32, Cat({{127}, first128, {0}, last})), SwapRedBlue(px129, 4)},
      // 3 x 43 = 129 pixels: a run of 128 (header 255) crosses two row boundaries, then a run of 1.
      {"runs across rows", MakeTga(10, 43, 3, 32, {255, 10, 20, 30, 40, 128, 1, 2, 3, 4}),
       Cat({Repeat({30, 20, 10, 40}, 128), {3, 2, 1, 4}})},
      // 2 x 2 pixels, one raw packet of 3 crossing into the second row, then a run of 1.
      {"24-bit raw across a row", MakeTga(10, 2, 2, 24, {2, 1, 2, 3, 4, 5, 6, 7, 8, 9, 128, 10, 11, 12}),
       {3, 2, 1, 6, 5, 4, 9, 8, 7, 12, 11, 10}},
      // A run of 128 for a 2-pixel image, and a raw packet of 4 whose last 2 pixels are missing.
      {"run cut at the end", MakeTga(10, 2, 1, 32, {255, 1, 2, 3, 4}), {3, 2, 1, 4, 3, 2, 1, 4}},
      {"raw cut at the end", MakeTga(10, 2, 1, 24, {3, 1, 2, 3, 4, 5, 6}), {3, 2, 1, 6, 5, 4}},
      // Bottom-left and top-left origin: rows are passed on as stored either way.
      {"uncompressed, bottom-left", MakeTga(2, 3, 2, 32, px6, 0, 8), SwapRedBlue(px6, 4)},
      {"uncompressed, top-left", MakeTga(2, 3, 2, 32, px6, 0, 8 | 32), SwapRedBlue(px6, 4)},
      {"image ID, raw", MakeTga(2, 1, 1, 24, {1, 2, 3}, 0, 0, "hello"), {3, 2, 1}},
      {"image ID, run", MakeTga(10, 2, 1, 24, {129, 1, 2, 3}, 0, 0, "an image id"), {3, 2, 1, 3, 2, 1}},
  };
  for (const auto& c : cases) {
    DecodedImage img;
    ASSERT_EQ(DecodeTga(c.tga.data(), c.tga.size(), img), TgaStatus::Ok) << c.what;
    EXPECT_EQ(img.BytesPerPixel, c.tga[16] / 8u) << c.what;
    EXPECT_EQ(Pixels(img), c.rgba) << c.what;
  }
}

TEST(TgaDecoder, RefusesWithoutOutput) {
  // (Type, colour map and depth are checked in that order: the readers' messages show it.) The
  // last column is the largest side allowed.
  const Bytes px(12, 0);
  int row = 0;
  for (const auto& [tga, status, maxSide] : {
           std::tuple<Bytes, TgaStatus, uint32_t>{Bytes(17, 0), TgaStatus::ShortHeader, 65535},
           {MakeTga(2, 0, 1, 24, px), TgaStatus::EmptyImage, 65535},
           {MakeTga(10, 1, 0, 24, px), TgaStatus::EmptyImage, 65535},
           {MakeTga(2, 3, 1, 24, Bytes(9, 0)), TgaStatus::TooLarge, 2},
           {MakeTga(2, 3, 2, 32, Bytes(23, 0)), TgaStatus::ShortPixelData, 65535},  // short by one byte
           // Ends after 1 of 3 pixels; a raw packet cut inside its pixels; a run without its pixel
           // value; a large image announced by a few bytes (refused before allocating).
           {MakeTga(10, 3, 1, 32, {128, 1, 2, 3, 4}), TgaStatus::ShortPacketStream, 65535},
           {MakeTga(10, 2, 1, 32, {1, 1, 2, 3, 4, 5}), TgaStatus::ShortPacketStream, 65535},
           {MakeTga(10, 2, 1, 24, {129, 1, 2}), TgaStatus::ShortPacketStream, 65535},
           {MakeTga(10, 8000, 8000, 32, {255, 1, 2, 3, 4}), TgaStatus::ShortPacketStream, 65535},
           // Above the pixel budget (64 Mi pixels) although each side is allowed.
           {MakeTga(10, 65535, 65535, 32, {255, 1, 2, 3, 4}), TgaStatus::TooLarge, 65535}}) {
    DecodedImage img;
    DecodeLimits limits;
    limits.MaxSide = maxSide;
    EXPECT_EQ(DecodeTga(tga.data(), tga.size(), img, limits), status) << "row " << row;
    EXPECT_EQ(img.Pixels, nullptr) << "row " << row++;
  }
}

TEST(BmpDecoder, RowsWithFillAtTheirOffsetAndTopDownOrder) {
  // Width 3: 9 bytes a row plus 3 fill bytes. Pixel data placed after a gap, via the offset field.
  Bytes rgb;
  for (int i = 0; i < 5 * 3 * 3; ++i) rgb.push_back(static_cast<uint8_t>(i * 11));
  Bytes gap = MakeBmp24(3, 2, Bytes(rgb.begin(), rgb.begin() + 18));
  gap.insert(gap.begin() + 54, 8, 0xEE);
  gap[10] = 62;  // the pixel offset
  DecodedImage img;
  ASSERT_EQ(DecodeBmp(gap.data(), gap.size(), img), BmpStatus::Ok);
  EXPECT_EQ(img.Width * 10 + img.Height, 32u);
  EXPECT_EQ(Pixels(img), Bytes(rgb.begin(), rgb.begin() + 18));
  const Bytes topDown = MakeBmp24(5, 3, rgb, true);
  ASSERT_EQ(DecodeBmp(topDown.data(), topDown.size(), img), BmpStatus::Ok);
  EXPECT_EQ(Pixels(img), rgb);
}

TEST(BmpDecoder, RefusesWhatItCannotRead) {
  const Bytes good = MakeBmp24(2, 2, Bytes(12, 1));  // 70 bytes: rows of 6 bytes and 2 of fill
  ASSERT_EQ(good.size(), 70u);
  DecodedImage img;
  // A header field (offset, width in bytes) set to a value, and the answer.
  const struct {
    size_t offset;
    int bytes;
    uint32_t value;
    BmpStatus status;
  } damage[] = {
      {0, 1, 'X', BmpStatus::NotBmp},           {14, 4, 12, BmpStatus::UnsupportedHeader},  // OS/2 core header
      {30, 4, 1, BmpStatus::Compressed},        {28, 2, 32, BmpStatus::UnsupportedDepth},
      {28, 2, 8, BmpStatus::UnsupportedDepth},  {22, 4, 0, BmpStatus::UnsupportedSize},
      {18, 4, 0, BmpStatus::UnsupportedSize},   {18, 4, 70000, BmpStatus::UnsupportedSize},
      {22, 4, 0x80000000u, BmpStatus::UnsupportedSize},  // the most negative height
      {46, 4, 1000, BmpStatus::ShortPalette},   {46, 4, 0x40000000u, BmpStatus::ShortPalette},
      {10, 4, 20, BmpStatus::UnsupportedHeader},  // pixels inside the headers
      {10, 4, 0xFFFFFFF0u, BmpStatus::ShortPixelData},
      // The image-size field is read in full: exactly the data, one byte more than the file holds,
      // less than the rows need.
      {34, 4, 16, BmpStatus::Ok}, {34, 4, 17, BmpStatus::ShortPixelData}, {34, 4, 13, BmpStatus::ShortPixelData}};
  for (const auto& d : damage) {
    Bytes b = good;
    for (int i = 0; i < d.bytes; ++i) b[d.offset + i] = static_cast<uint8_t>(d.value >> (8 * i));
    EXPECT_EQ(DecodeBmp(b.data(), b.size(), img), d.status) << d.offset << " = " << d.value;
  }
  // Within each side's limit but above the pixel budget.
  DecodeLimits budget;
  budget.MaxPixels = 3;
  EXPECT_EQ(DecodeBmp(good.data(), good.size(), img, budget), BmpStatus::UnsupportedSize);
  // Cut short: only the last row's fill may be missing.
  for (size_t keep : {0, 1, 10, 30, 53, 67, 69}) {
    const Bytes b(good.begin(), good.begin() + keep);
    EXPECT_EQ(DecodeBmp(b.data(), b.size(), img) == BmpStatus::Ok, keep == 69) << keep;
  }
}

TEST(JpegDecoder, RefusesDamagedData) {
  DecodedImage img;
  int code = -1;
  const Bytes text{'n', 'o', 't', ' ', 'a', ' ', 'j', 'p', 'e', 'g'};
  EXPECT_EQ(DecodeJpeg(text.data(), text.size(), img, DecodeLimits(), &code), JpegStatus::BadHeader);
  EXPECT_NE(code, 0);
  EXPECT_EQ(DecodeJpeg(nullptr, 0, img), JpegStatus::BadHeader);
  const Bytes jpg = EncodeJpeg(64, 64, 3, Bytes(64 * 64 * 3, 128));
  DecodeLimits small;
  small.MaxSide = 63;
  EXPECT_EQ(DecodeJpeg(jpg.data(), jpg.size(), img, small), JpegStatus::TooLarge);
  // Every prefix fails cleanly or decodes (libjpeg pads a cut-off scan); none crashes.
  for (size_t cut = 0; cut < jpg.size(); cut += 7) {
    const Bytes part(jpg.begin(), jpg.begin() + cut);  // its own buffer, so that over-reads show
    const JpegStatus s = DecodeJpeg(part.data(), part.size(), img);
    EXPECT_TRUE(s == JpegStatus::Ok || s == JpegStatus::BadHeader || s == JpegStatus::DecodeError);
  }
  // The same few hundred bytes, baseline and progressive, declaring other sizes: above the pixel
  // budget (refused before decoding), within it but far too large for the bytes (a bomb, refused
  // when the data runs out), and a photo's 6 million pixels (decoded: the data's 16x16 red corner
  // at the top, libjpeg's grey filler after it).
  for (const bool progressive : {false, true}) {
    Bytes bomb = EncodeJpeg(16, 16, 3, Repeat({200, 30, 30}, 16 * 16), 95, progressive);
    ASSERT_LT(bomb.size(), 1000u);
    size_t sof = 0;
    while (sof + 9 < bomb.size() && !(bomb[sof] == 0xFF && (bomb[sof + 1] & 0xFD) == 0xC0)) ++sof;
    ASSERT_LT(sof + 9, bomb.size());
    for (const auto& [side, status] : {std::pair<int, JpegStatus>{16384, JpegStatus::TooLarge},
                                       {8192, JpegStatus::DecodeError},
                                       {2448, JpegStatus::Ok}}) {
      for (size_t at : {sof + 5, sof + 7}) {
        bomb[at] = static_cast<uint8_t>(side >> 8);
        bomb[at + 1] = static_cast<uint8_t>(side & 0xFF);
      }
      DecodedImage out;
      ASSERT_EQ(DecodeJpeg(bomb.data(), bomb.size(), out), status) << side << (progressive ? " progressive" : "");
      if (status != JpegStatus::Ok) {
        EXPECT_EQ(out.Pixels, nullptr);
        continue;
      }
      const uint8_t* top = &out.Pixels[size_t(side - 1) * side * 4];
      EXPECT_NEAR(top[0], 200, 8);
      EXPECT_NEAR(top[1], 30, 8);
      EXPECT_NEAR(out.Pixels[0], 128, 8);  // the bottom row: filler
    }
  }
}
