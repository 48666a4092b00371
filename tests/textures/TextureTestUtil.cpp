#include "TextureTestUtil.h"

#include <jpeglib.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <stdexcept>

namespace textest {

Bytes MakeTga(uint8_t imageType, uint16_t width, uint16_t height, uint8_t depth, const Bytes& body,
              uint8_t colourMapType, uint8_t descriptor, const std::string& imageId) {
  Bytes out;
  out.reserve(18 + imageId.size() + body.size());
  out.resize(18, 0);
  out[0] = static_cast<uint8_t>(imageId.size());
  out[1] = colourMapType;
  out[2] = imageType;
  out[12] = width & 0xFF;
  out[13] = width >> 8;
  out[14] = height & 0xFF;
  out[15] = height >> 8;
  out[16] = depth;
  out[17] = descriptor;
  for (char c : imageId) out.push_back(static_cast<uint8_t>(c));
  for (uint8_t b : body) out.push_back(b);
  return out;
}

Bytes SwapRedBlue(const Bytes& bgr, int bytesPerPixel) {
  Bytes out(bgr);
  for (size_t i = 0; i + bytesPerPixel <= out.size(); i += bytesPerPixel) std::swap(out[i], out[i + 2]);
  return out;
}

void Poke32(Bytes& bytes, size_t offset, uint32_t value) {
  for (int i = 0; i < 4; ++i) bytes.at(offset + i) = static_cast<uint8_t>(value >> (8 * i));
}

Bytes MakeBmp24(int width, int height, const Bytes& rgbBottomUp, bool topDown) {
  const int stride = (width * 3 + 3) & ~3;
  Bytes out(54 + static_cast<size_t>(stride) * height, 0);
  out[0] = 'B';
  out[1] = 'M';
  Poke32(out, 2, static_cast<uint32_t>(out.size()));
  Poke32(out, 10, 54);
  Poke32(out, 14, 40);
  Poke32(out, 18, static_cast<uint32_t>(width));
  Poke32(out, 22, static_cast<uint32_t>(topDown ? -height : height));
  out[26] = 1;
  out[28] = 24;
  for (int row = 0; row < height; ++row) {
    const int stored = topDown ? height - 1 - row : row;
    for (int x = 0; x < width; ++x) {
      const uint8_t* p = &rgbBottomUp[(static_cast<size_t>(row) * width + x) * 3];
      uint8_t* q = &out[54 + static_cast<size_t>(stored) * stride + x * 3];
      q[0] = p[2];
      q[1] = p[1];
      q[2] = p[0];
    }
  }
  return out;
}

Bytes EncodeJpeg(int width, int height, int components, const Bytes& topDown, int quality) {
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
  jpeg_start_compress(&info, TRUE);
  while (info.next_scanline < info.image_height) {
    JSAMPROW row = const_cast<JSAMPROW>(&topDown[static_cast<size_t>(info.next_scanline) * width * components]);
    jpeg_write_scanlines(&info, &row, 1);
  }
  jpeg_finish_compress(&info);
  Bytes out(mem, mem + memSize);
  jpeg_destroy_compress(&info);
  free(mem);
  return out;
}

TempDir::TempDir() {
  std::string tmpl = (std::filesystem::temp_directory_path() / "glgui-tex-XXXXXX").string();
  if (!mkdtemp(tmpl.data())) throw std::runtime_error("mkdtemp failed");
  path_ = tmpl;
}

TempDir::~TempDir() {
  std::error_code ec;
  std::filesystem::remove_all(path_, ec);
}

std::string TempDir::Write(const std::string& name, const Bytes& data) const {
  const std::string path = path_ + "/" + name;
  std::ofstream f(path, std::ios::binary);
  f.write(reinterpret_cast<const char*>(data.data()), static_cast<std::streamsize>(data.size()));
  return path;
}

Bytes ReadLevel0(GLuint texture, GLenum format, int* width, int* height) {
  glBindTexture(GL_TEXTURE_2D, texture);
  GLint w = 0, h = 0;
  glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &w);
  glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &h);
  if (width) *width = w;
  if (height) *height = h;
  const int bpp = format == GL_RGBA ? 4 : 3;
  Bytes out(static_cast<size_t>(w) * h * bpp);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glGetTexImage(GL_TEXTURE_2D, 0, format, GL_UNSIGNED_BYTE, out.data());
  glPixelStorei(GL_PACK_ALIGNMENT, 4);
  return out;
}

Bytes RunCommand(const std::string& command, bool* ok) {
  Bytes out;
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) {
    if (ok) *ok = false;
    return out;
  }
  uint8_t buf[65536];
  size_t n;
  while ((n = fread(buf, 1, sizeof buf, pipe)) > 0) out.insert(out.end(), buf, buf + n);
  const int status = pclose(pipe);
  if (ok) *ok = status == 0;
  return out;
}

bool HaveCommand(const std::string& name) {
  bool ok = false;
  RunCommand("command -v " + name + " >/dev/null 2>&1", &ok);
  return ok;
}

}  // namespace textest
