// Files written by a tool no one here wrote (ImageMagick's convert), loaded through the readers and
// compared with what convert itself decodes from the same files.
#include "Files.h"
#include "GLHarness.h"
#include "GLTextures.h"
#include "ImageDecoders.h"
#include "TextureTestUtil.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

using namespace textest;

namespace {

// Odd sides (BMP rows carry fill, 24-bit rows are not 4-aligned) are compared at the decoder;
// through GL the sides are powers of two, which the mipmap builder leaves as they are.
struct Size {
  int w, h;
  bool viaGL;
};
const Size kSizes[] = {{37, 23, false}, {32, 16, true}};

// A picture with flat areas, edges and an alpha ramp, as a PAM file (top row first).
Bytes SourcePam(int kW, int kH) {
  std::string head = "P7\nWIDTH " + std::to_string(kW) + "\nHEIGHT " + std::to_string(kH) +
                     "\nDEPTH 4\nMAXVAL 255\nTUPLTYPE RGB_ALPHA\nENDHDR\n";
  Bytes out(head.begin(), head.end());
  for (int y = 0; y < kH; ++y) {
    for (int x = 0; x < kW; ++x) {
      const bool flat = x < 12;
      out.push_back(flat ? 200 : static_cast<uint8_t>(x * 7));
      out.push_back(flat ? 30 : static_cast<uint8_t>(y * 11));
      out.push_back(static_cast<uint8_t>((x * y) & 0xFF));
      out.push_back(static_cast<uint8_t>(y < 5 ? 0 : y > 18 ? 255 : x * 6));
    }
  }
  return out;
}

// What convert decodes from `file`, as `map` bytes ("rgba" or "rgb"), in the row order our side
// uses. convert hands TGA rows over in stored order (the origin stays a tag on the image), which is
// what the TGA reader passes on; BMP and JPEG come top row first, so they are turned bottom first.
Bytes ConvertDecode(const std::string& file, const std::string& map, int bytesPerPixel, int kW, int kH) {
  const bool storedOrder = file.size() > 4 && file.compare(file.size() - 4, 4, ".tga") == 0;
  bool ok = false;
  const Bytes topDown = RunCommand("convert '" + file + "' -depth 8 " + map + ":- 2>/dev/null", &ok);
  EXPECT_TRUE(ok) << file;
  EXPECT_EQ(topDown.size(), size_t(kW * kH * bytesPerPixel)) << file;
  if (storedOrder) return topDown;
  Bytes bottomUp;
  const size_t row = size_t(kW) * bytesPerPixel;
  for (int y = kH - 1; y >= 0 && topDown.size() == row * kH; --y) {
    bottomUp.insert(bottomUp.end(), topDown.begin() + y * row, topDown.begin() + (y + 1) * row);
  }
  return bottomUp;
}

class ConvertFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!HaveCommand("convert")) GTEST_SKIP() << "ImageMagick's convert is not installed";
    ASSERT_TRUE(gl_.Ok()) << gl_.Error();
  }
  void Use(const Size& size) {
    size_ = size;
    source_ = dir_.Write("source.pam", SourcePam(size.w, size.h));
  }
  std::string Make(const std::string& name, const std::string& options) {
    const std::string out = dir_.Path() + "/" + name;
    bool ok = false;
    RunCommand("convert '" + source_ + "' " + options + " '" + out + "' 2>/dev/null", &ok);
    EXPECT_TRUE(ok) << options;
    return out;
  }
  // What our side makes of the file: the decoder's pixels, or level 0 of the texture.
  Bytes Load(const std::string& file, GLenum format) {
    if (!size_.viaGL) {
      Bytes data;
      EXPECT_EQ(ReadWholeFile(file, data), FileReadStatus::Ok);
      DecodedImage img;
      bool ok = false;
      if (file.size() > 4 && file.compare(file.size() - 4, 4, ".tga") == 0) {
        ok = DecodeTga(data.data(), data.size(), img) == TgaStatus::Ok;
      } else if (file.size() > 4 && file.compare(file.size() - 4, 4, ".bmp") == 0) {
        ok = DecodeBmp(data.data(), data.size(), img) == BmpStatus::Ok;
      } else {
        ok = DecodeJpeg(data.data(), data.size(), img) == JpegStatus::Ok;
      }
      EXPECT_TRUE(ok) << file;
      if (!ok) return {};
      EXPECT_EQ(img.Width, uint32_t(size_.w));
      EXPECT_EQ(img.Height, uint32_t(size_.h));
      EXPECT_EQ(img.BytesPerPixel, format == GL_RGBA ? 4u : 3u);
      return Bytes(img.Pixels.get(), img.Pixels.get() + img.ByteCount());
    }
    GLuint texture = 0;
    EXPECT_TRUE(LoadImageTexture(file, texture, false)) << file;
    EXPECT_TRUE(boxes_.Boxes().empty()) << boxes_.Boxes()[0].text;
    int w = 0, h = 0;
    Bytes level = ReadLevel0(texture, format, &w, &h);
    EXPECT_EQ(w, size_.w);
    EXPECT_EQ(h, size_.h);
    return level;
  }
  Bytes Theirs(const std::string& file, const std::string& map, int bytesPerPixel) {
    return ConvertDecode(file, map, bytesPerPixel, size_.w, size_.h);
  }

  testgl::HeadlessGL gl_{16, 16};
  testgl::MessageBoxRecorder boxes_;
  TempDir dir_;
  std::string source_;
  Size size_{};
};

}  // namespace

TEST_F(ConvertFiles, Tga32RunLengthAndRaw) {
  for (const Size& size : kSizes) {
    Use(size);
    for (const char* options : {"-compress RLE", "-compress None"}) {
      const std::string file = Make("picture32.tga", options);
      EXPECT_EQ(Load(file, GL_RGBA), Theirs(file, "rgba", 4)) << options << " " << size.w;
    }
  }
}

TEST_F(ConvertFiles, Tga24RunLengthAndRaw) {
  for (const Size& size : kSizes) {
    Use(size);
    for (const char* options : {"-alpha off -compress RLE", "-alpha off -compress None"}) {
      const std::string file = Make("picture24.tga", options);
      EXPECT_EQ(Load(file, GL_RGB), Theirs(file, "rgb", 3)) << options << " " << size.w;
    }
  }
}

TEST_F(ConvertFiles, Bmp24) {
  for (const Size& size : kSizes) {
    Use(size);
    // "BMP3:" before the output name asks for the classic 40-byte info header.
    const std::string bmp = dir_.Path() + "/picture.bmp";
    bool ok = false;
    RunCommand("convert '" + source_ + "' -alpha off -type TrueColor 'BMP3:" + bmp + "' 2>/dev/null", &ok);
    ASSERT_TRUE(ok);
    EXPECT_EQ(Load(bmp, GL_RGB), Theirs(bmp, "rgb", 3)) << size.w;
  }
}

TEST_F(ConvertFiles, JpegQuality90) {
  for (const Size& size : kSizes) {
    Use(size);
    const std::string file = Make("picture.jpg", "-alpha off -quality 90");
    const Bytes ours = Load(file, GL_RGBA);
    const Bytes theirs = Theirs(file, "rgba", 4);
    ASSERT_EQ(ours.size(), theirs.size());
    // Both sides decode through libjpeg; allow for a different IDCT or upsampling choice.
    int worst = 0;
    for (size_t i = 0; i < ours.size(); ++i) worst = std::max(worst, std::abs(int(ours[i]) - int(theirs[i])));
    EXPECT_LE(worst, 2) << size.w;
  }
}
