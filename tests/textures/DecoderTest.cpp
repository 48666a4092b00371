// The GL-free decoders: packet handling, byte order, row order and every way a damaged image is
// refused without reading or writing out of bounds.
#include "ImageDecoders.h"
#include "TextureTestUtil.h"

#include <gtest/gtest.h>

using namespace textest;

namespace {

Bytes Pixels(const DecodedImage& img) { return Bytes(img.Pixels.get(), img.Pixels.get() + img.ByteCount()); }

// n distinct BGRA pixels.
Bytes DistinctBgra(int n) {
  Bytes b;
  for (int i = 0; i < n; ++i) {
    b.push_back(static_cast<uint8_t>(i));
    b.push_back(static_cast<uint8_t>(i * 7 + 1));
    b.push_back(static_cast<uint8_t>(i * 13 + 2));
    b.push_back(static_cast<uint8_t>(255 - i));
  }
  return b;
}

}  // namespace

TEST(TgaDecoder, RawPacketsOfOneAnd128Pixels) {
  // 129 pixels in one row: a raw packet of 128 (header 127) and one of 1 (header 0).
  const Bytes px = DistinctBgra(129);
  Bytes body{127};
  body.insert(body.end(), px.begin(), px.begin() + 128 * 4);
  body.push_back(0);
  body.insert(body.end(), px.begin() + 128 * 4, px.end());
  const Bytes tga = MakeTga(10, 129, 1, 32, body);
  DecodedImage img;
  ASSERT_EQ(DecodeTga(tga.data(), tga.size(), img), TgaStatus::Ok);
  EXPECT_EQ(img.BytesPerPixel, 4u);
  EXPECT_EQ(Pixels(img), SwapRedBlue(px, 4));
}

TEST(TgaDecoder, RunPacketsWithHeaders128And255AndAcrossRows) {
  // 3 x 43 = 129 pixels: a run of 128 (header 255) crosses two row boundaries, then a run of 1.
  const Bytes body{255, 10, 20, 30, 40, 128, 1, 2, 3, 4};
  const Bytes tga = MakeTga(10, 43, 3, 32, body);
  DecodedImage img;
  ASSERT_EQ(DecodeTga(tga.data(), tga.size(), img), TgaStatus::Ok);
  const Bytes out = Pixels(img);
  for (int i = 0; i < 128; ++i) {
    ASSERT_EQ(Bytes(out.begin() + 4 * i, out.begin() + 4 * i + 4), (Bytes{30, 20, 10, 40})) << i;
  }
  EXPECT_EQ(Bytes(out.end() - 4, out.end()), (Bytes{3, 2, 1, 4}));
}

TEST(TgaDecoder, RawPacketCrossingARowBoundary24Bit) {
  // 2 x 2 pixels, one raw packet of 3 crossing into the second row, then a run of 1.
  const Bytes body{2, 1, 2, 3, 4, 5, 6, 7, 8, 9, 128, 10, 11, 12};
  const Bytes tga = MakeTga(10, 2, 2, 24, body);
  DecodedImage img;
  ASSERT_EQ(DecodeTga(tga.data(), tga.size(), img), TgaStatus::Ok);
  EXPECT_EQ(img.BytesPerPixel, 3u);
  EXPECT_EQ(Pixels(img), (Bytes{3, 2, 1, 6, 5, 4, 9, 8, 7, 12, 11, 10}));
}

TEST(TgaDecoder, PacketsRunningPastTheLastPixelAreCut) {
  // A run of 128 for a 2-pixel image, and a raw packet of 4 whose last 2 pixels are missing.
  const Bytes run = MakeTga(10, 2, 1, 32, {255, 1, 2, 3, 4});
  DecodedImage img;
  ASSERT_EQ(DecodeTga(run.data(), run.size(), img), TgaStatus::Ok);
  EXPECT_EQ(Pixels(img), (Bytes{3, 2, 1, 4, 3, 2, 1, 4}));
  const Bytes raw = MakeTga(10, 2, 1, 24, {3, 1, 2, 3, 4, 5, 6});
  ASSERT_EQ(DecodeTga(raw.data(), raw.size(), img), TgaStatus::Ok);
  EXPECT_EQ(Pixels(img), (Bytes{3, 2, 1, 6, 5, 4}));
}

TEST(TgaDecoder, ShortPacketStreamsAreRefused) {
  DecodedImage img;
  // Ends after 1 of 3 pixels; a raw packet cut inside its pixels; a run without its pixel value;
  // a large image announced by a few bytes (refused before allocating).
  for (const Bytes& tga : {MakeTga(10, 3, 1, 32, {128, 1, 2, 3, 4}), MakeTga(10, 2, 1, 32, {1, 1, 2, 3, 4, 5}),
                           MakeTga(10, 2, 1, 24, {129, 1, 2}), MakeTga(10, 65535, 65535, 32, {255, 1, 2, 3, 4})}) {
    EXPECT_EQ(DecodeTga(tga.data(), tga.size(), img), TgaStatus::ShortPacketStream);
    EXPECT_EQ(img.Pixels, nullptr);
  }
}

TEST(TgaDecoder, UncompressedAlphaExactAndRowsInStoredOrder) {
  // Bottom-left and top-left origin: rows are passed on as stored either way.
  const Bytes px = DistinctBgra(6);
  for (uint8_t descriptor : {8, 8 | 32}) {
    const Bytes tga = MakeTga(2, 3, 2, 32, px, 0, descriptor);
    DecodedImage img;
    ASSERT_EQ(DecodeTga(tga.data(), tga.size(), img), TgaStatus::Ok);
    EXPECT_EQ(Pixels(img), SwapRedBlue(px, 4));
  }
  // Short by one byte.
  const Bytes cut = MakeTga(2, 3, 2, 32, Bytes(px.begin(), px.end() - 1));
  DecodedImage img;
  EXPECT_EQ(DecodeTga(cut.data(), cut.size(), img), TgaStatus::ShortPixelData);
}

TEST(TgaDecoder, ImageIdIsSkipped) {
  const Bytes raw = MakeTga(2, 1, 1, 24, {1, 2, 3}, 0, 0, "hello");
  const Bytes rle = MakeTga(10, 2, 1, 24, {129, 1, 2, 3}, 0, 0, "an image id");
  DecodedImage img;
  ASSERT_EQ(DecodeTga(raw.data(), raw.size(), img), TgaStatus::Ok);
  EXPECT_EQ(Pixels(img), (Bytes{3, 2, 1}));
  ASSERT_EQ(DecodeTga(rle.data(), rle.size(), img), TgaStatus::Ok);
  EXPECT_EQ(Pixels(img), (Bytes{3, 2, 1, 3, 2, 1}));
}

TEST(TgaDecoder, HeaderChecksInOrder) {
  DecodedImage img;
  const Bytes px(12, 0);
  auto decode = [&](const Bytes& tga) { return DecodeTga(tga.data(), tga.size(), img); };
  EXPECT_EQ(decode(Bytes(17, 0)), TgaStatus::ShortHeader);
  EXPECT_EQ(decode(MakeTga(1, 1, 1, 16, px, 1)), TgaStatus::UnsupportedType);  // type before colour map
  EXPECT_EQ(decode(MakeTga(2, 1, 1, 16, px, 1)), TgaStatus::ColourMapped);     // colour map before depth
  EXPECT_EQ(decode(MakeTga(2, 1, 1, 16, px)), TgaStatus::UnsupportedDepth);
  EXPECT_EQ(decode(MakeTga(2, 0, 1, 24, px)), TgaStatus::EmptyImage);
  EXPECT_EQ(decode(MakeTga(10, 1, 0, 24, px)), TgaStatus::EmptyImage);
  DecodeLimits small;
  small.MaxSide = 2;
  const Bytes wide = MakeTga(2, 3, 1, 24, Bytes(9, 0));
  EXPECT_EQ(DecodeTga(wide.data(), wide.size(), img, small), TgaStatus::TooLarge);
}

TEST(BmpDecoder, RowsWithFillAndPixelOffset) {
  // Width 3: 9 bytes a row plus 3 fill bytes. Pixel data placed after a gap, via the offset field.
  Bytes rgb;
  for (int i = 0; i < 3 * 2 * 3; ++i) rgb.push_back(static_cast<uint8_t>(i * 11));
  Bytes bmp = MakeBmp24(3, 2, rgb);
  bmp.insert(bmp.begin() + 54, {0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE});
  Poke32(bmp, 10, 62);
  DecodedImage img;
  ASSERT_EQ(DecodeBmp(bmp.data(), bmp.size(), img), BmpStatus::Ok);
  EXPECT_EQ(img.Width, 3u);
  EXPECT_EQ(img.Height, 2u);
  EXPECT_EQ(Pixels(img), rgb);
}

TEST(BmpDecoder, TopDownBitmapComesOutBottomRowFirst) {
  Bytes rgb;
  for (int i = 0; i < 5 * 3 * 3; ++i) rgb.push_back(static_cast<uint8_t>(i));
  const Bytes bmp = MakeBmp24(5, 3, rgb, true);
  DecodedImage img;
  ASSERT_EQ(DecodeBmp(bmp.data(), bmp.size(), img), BmpStatus::Ok);
  EXPECT_EQ(Pixels(img), rgb);
}

TEST(BmpDecoder, ImageSizeFieldIsReadInFull) {
  const Bytes rgb(4 * 2 * 3, 7);
  Bytes bmp = MakeBmp24(4, 2, rgb);
  DecodedImage img;
  Poke32(bmp, 34, 24);  // exactly the data
  EXPECT_EQ(DecodeBmp(bmp.data(), bmp.size(), img), BmpStatus::Ok);
  Poke32(bmp, 34, 25);  // one byte more than the file holds
  EXPECT_EQ(DecodeBmp(bmp.data(), bmp.size(), img), BmpStatus::ShortPixelData);
  Poke32(bmp, 34, 12);  // less than the rows need
  EXPECT_EQ(DecodeBmp(bmp.data(), bmp.size(), img), BmpStatus::ShortPixelData);
}

TEST(BmpDecoder, RefusesWhatItCannotRead) {
  const Bytes good = MakeBmp24(2, 2, Bytes(12, 1));
  DecodedImage img;
  auto with = [&](size_t offset, uint32_t value, int bytes = 4) {
    Bytes b = good;
    for (int i = 0; i < bytes; ++i) b[offset + i] = static_cast<uint8_t>(value >> (8 * i));
    return DecodeBmp(b.data(), b.size(), img);
  };
  EXPECT_EQ(with(0, 'X', 1), BmpStatus::NotBmp);
  EXPECT_EQ(with(14, 12), BmpStatus::UnsupportedHeader);  // an OS/2 core header
  EXPECT_EQ(with(30, 1), BmpStatus::Compressed);
  EXPECT_EQ(with(28, 32, 2), BmpStatus::UnsupportedDepth);
  EXPECT_EQ(with(28, 8, 2), BmpStatus::UnsupportedDepth);
  EXPECT_EQ(with(22, 0), BmpStatus::UnsupportedSize);
  EXPECT_EQ(with(18, 0), BmpStatus::UnsupportedSize);
  EXPECT_EQ(with(18, 70000), BmpStatus::UnsupportedSize);
  EXPECT_EQ(with(22, 0x80000000u), BmpStatus::UnsupportedSize);  // most negative height
  EXPECT_EQ(with(46, 1000), BmpStatus::ShortPalette);
  EXPECT_EQ(with(46, 0x40000000u), BmpStatus::ShortPalette);
  EXPECT_EQ(with(10, 20), BmpStatus::UnsupportedHeader);  // pixels inside the headers
  EXPECT_EQ(with(10, 0xFFFFFFF0u), BmpStatus::ShortPixelData);
  for (size_t cut : {size_t(0), size_t(1), size_t(10), size_t(30), size_t(53)}) {
    const Bytes b(good.begin(), good.begin() + cut);
    EXPECT_NE(DecodeBmp(b.data(), b.size(), img), BmpStatus::Ok) << cut;
  }
  const Bytes cut(good.begin(), good.end() - 1);
  EXPECT_EQ(DecodeBmp(cut.data(), cut.size(), img), BmpStatus::Ok);  // only the last row's fill is gone
  const Bytes cut2(good.begin(), good.end() - 3);
  EXPECT_EQ(DecodeBmp(cut2.data(), cut2.size(), img), BmpStatus::ShortPixelData);
}

TEST(JpegDecoder, WhiteUpperHalfBlackLowerHalfComesOutBottomFirst) {
  const int w = 16, h = 16;
  Bytes top(static_cast<size_t>(w) * h * 3, 0);
  std::fill(top.begin(), top.begin() + top.size() / 2, 255);
  const Bytes jpg = EncodeJpeg(w, h, 3, top);
  DecodedImage img;
  ASSERT_EQ(DecodeJpeg(jpg.data(), jpg.size(), img), JpegStatus::Ok);
  ASSERT_EQ(img.BytesPerPixel, 4u);
  const Bytes out = Pixels(img);
  for (int x = 0; x < w; ++x) {
    EXPECT_LT(out[4 * x], 16);                                     // first row: black half
    EXPECT_GT(out[(static_cast<size_t>(h - 1) * w + x) * 4], 239);  // last row: white half
  }
  for (size_t i = 3; i < out.size(); i += 4) ASSERT_EQ(out[i], 255);
}

TEST(JpegDecoder, GrayscaleComesOutAsGreyPixels) {
  const int w = 32, h = 8;
  Bytes grey(static_cast<size_t>(w) * h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) grey[y * w + x] = static_cast<uint8_t>(x * 8);
  const Bytes jpg = EncodeJpeg(w, h, 1, grey);
  DecodedImage img;
  ASSERT_EQ(DecodeJpeg(jpg.data(), jpg.size(), img), JpegStatus::Ok);
  const Bytes out = Pixels(img);
  for (size_t i = 0; i < out.size(); i += 4) {
    ASSERT_EQ(out[i], out[i + 1]);
    ASSERT_EQ(out[i], out[i + 2]);
    ASSERT_EQ(out[i + 3], 255);
  }
  // The ramp survives the quantiser: left is dark, right is light, in every row.
  for (int y = 0; y < h; ++y) {
    EXPECT_LT(out[(y * w) * 4], 20);
    EXPECT_GT(out[(y * w + w - 1) * 4], 230);
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
    const Bytes part(jpg.begin(), jpg.begin() + cut);
    const JpegStatus s = DecodeJpeg(part.data(), part.size(), img);
    EXPECT_TRUE(s == JpegStatus::Ok || s == JpegStatus::BadHeader || s == JpegStatus::DecodeError);
  }
}
