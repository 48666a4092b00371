// Small builders for the texture tests: TGA, BMP and JPEG images made in memory, a scratch folder
// that removes itself, level 0 of a texture read back from GL, and a shell command's output.
#pragma once

#include <GL/gl.h>
#include <jpeglib.h>
#include <stdlib.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

namespace textest {

using Bytes = std::vector<uint8_t>;

// Byte strings joined, and one repeated.
inline Bytes Cat(std::initializer_list<Bytes> parts) {
  Bytes out;
  for (const Bytes& p : parts) out.insert(out.end(), p.begin(), p.end());
  return out;
}
inline Bytes Repeat(const Bytes& part, int times) { return times > 0 ? Cat({part, Repeat(part, times - 1)}) : Bytes(); }

// An 18-byte TGA header, the image ID, then `body`.
inline Bytes MakeTga(uint8_t imageType, uint16_t width, uint16_t height, uint8_t depth, const Bytes& body,
                     uint8_t colourMapType = 0, uint8_t descriptor = 8, const std::string& imageId = "") {
  return Cat({{uint8_t(imageId.size()), colourMapType, imageType, 0, 0, 0, 0, 0, 0, 0, 0, 0, uint8_t(width),
               uint8_t(width >> 8), uint8_t(height), uint8_t(height >> 8), depth, descriptor},
              Bytes(imageId.begin(), imageId.end()), body});
}

// n distinct B,G,R,A pixels with alphas of every kind (0, 255 and between).
inline Bytes DistinctBgra(int n) {
  Bytes b;
  for (int i = 0; i < n; ++i)
    b.insert(b.end(), {uint8_t(i), uint8_t(i * 7 + 1), uint8_t(i * 13 + 2), uint8_t(i % 3 ? 127 + i % 3 * 64 : 0)});
  return b;
}

// Pixels in stored (file) order as B,G,R[,A] bytes -> the RGB[A] bytes the texture must hold.
inline Bytes SwapRedBlue(Bytes bgr, int bytesPerPixel) {
  for (size_t i = 0; i + bytesPerPixel <= bgr.size(); i += bytesPerPixel) std::swap(bgr[i], bgr[i + 2]);
  return bgr;
}

// A 24-bit BMP of `rgb` pixels given bottom row first (3 bytes a pixel, tightly packed). Rows are
// stored with their fill to 4 bytes; `topDown` stores them top row first with a negative height.
inline Bytes MakeBmp24(int width, int height, const Bytes& rgb, bool topDown = false) {
  const int stride = (width * 3 + 3) & ~3;
  Bytes out(54 + size_t(stride) * height, 0);
  out[0] = 'B', out[1] = 'M', out[26] = 1, out[28] = 24;
  // File size, pixel offset, info header size, width, height: 32-bit little-endian values.
  for (auto [at, value] :
       {std::pair<size_t, uint32_t>{2, out.size()}, {10, 54}, {14, 40}, {18, width}, {22, topDown ? -height : height}})
    for (int i = 0; i < 4; ++i) out[at + i] = static_cast<uint8_t>(value >> (8 * i));
  for (int row = 0; row < height; ++row)
    for (int x = 0; x < width; ++x)
      for (int k = 0; k < 3; ++k)
        out[54 + size_t(topDown ? height - 1 - row : row) * stride + x * 3 + k] = rgb[(row * width + x) * 3 + 2 - k];
  return out;
}

// A baseline JPEG from pixels given top row first (components 1 = grey, 3 = RGB).
inline Bytes EncodeJpeg(int width, int height, int components, const Bytes& topDown, int quality = 95,
                        bool progressive = false) {
  jpeg_compress_struct info;
  jpeg_error_mgr err;
  info.err = jpeg_std_error(&err);
  jpeg_create_compress(&info);
  unsigned char* mem = nullptr;
  unsigned long memSize = 0;
  jpeg_mem_dest(&info, &mem, &memSize);
  info.image_width = width;
  info.image_height = height;
  info.input_components = components;
  info.in_color_space = components == 1 ? JCS_GRAYSCALE : JCS_RGB;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, quality, TRUE);
  if (progressive) jpeg_simple_progression(&info);
  jpeg_start_compress(&info, TRUE);
  while (info.next_scanline < info.image_height) {
    JSAMPROW row = const_cast<JSAMPROW>(&topDown[size_t(info.next_scanline) * width * components]);
    jpeg_write_scanlines(&info, &row, 1);
  }
  jpeg_finish_compress(&info);
  const Bytes out(mem, mem + memSize);
  jpeg_destroy_compress(&info);
  free(mem);
  return out;
}

// A fresh folder under the system's temporary folder, removed with everything in it at the end.
struct TempDir {
  TempDir() {
    // create_directory makes the folder only when no folder of that name exists yet.
    std::random_device random;
    for (int attempt = 0; attempt < 100; ++attempt) {
      const auto candidate = std::filesystem::temp_directory_path() / ("glgui-tex-" + std::to_string(random()));
      if (std::filesystem::create_directory(candidate, ec)) {
        path = candidate.string();
        return;
      }
    }
    throw std::runtime_error("no temporary folder");
  }
  ~TempDir() { std::filesystem::remove_all(path, ec); }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  // Writes a file into the folder and returns its path.
  std::string Write(const std::string& name, const Bytes& data) const {
    std::ofstream(path + "/" + name, std::ios::binary).write(reinterpret_cast<const char*>(data.data()), data.size());
    return path + "/" + name;
  }
  std::string path;
  std::error_code ec;
};

// Level 0 of a texture, read back as RGBA or RGB (bottom row first, tightly packed), and its sides.
inline Bytes ReadLevel0(GLuint texture, GLenum format, GLint* sides = nullptr) {
  GLint local[2];
  if (!sides) sides = local;
  glBindTexture(GL_TEXTURE_2D, texture);
  glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &sides[0]);
  glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &sides[1]);
  Bytes out(size_t(sides[0]) * sides[1] * (format == GL_RGBA ? 4 : 3));
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glGetTexImage(GL_TEXTURE_2D, 0, format, GL_UNSIGNED_BYTE, out.data());
  glPixelStorei(GL_PACK_ALIGNMENT, 4);
  return out;
}

// Runs a shell command and returns its standard output; `ok` tells whether it exited with 0.
inline Bytes RunCommand(const std::string& command, bool& ok) {
  Bytes out;
  std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
  uint8_t buf[65536];
  for (size_t n; pipe && (n = fread(buf, 1, sizeof buf, pipe.get())) > 0;) out.insert(out.end(), buf, buf + n);
  ok = pipe && pclose(pipe.release()) == 0;
  return out;
}

}  // namespace textest
