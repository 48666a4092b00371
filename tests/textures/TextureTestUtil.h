// Small builders for the texture tests: TGA, BMP and JPEG images made in memory, a scratch folder
// that removes itself, and level 0 of a texture read back from GL.
#pragma once

#include <GL/gl.h>

#include <cstdint>
#include <string>
#include <vector>

namespace textest {

using Bytes = std::vector<uint8_t>;

// An 18-byte TGA header followed by `body` (and an optional image ID before it).
Bytes MakeTga(uint8_t imageType, uint16_t width, uint16_t height, uint8_t depth, const Bytes& body,
              uint8_t colourMapType = 0, uint8_t descriptor = 8, const std::string& imageId = "");

// Pixels in stored (file) order as B,G,R[,A] bytes -> the RGB[A] bytes the texture must hold.
Bytes SwapRedBlue(const Bytes& bgr, int bytesPerPixel);

// A 24-bit BMP of rgb pixels given bottom row first (3 bytes a pixel, tightly packed). Rows are
// stored with their fill to 4 bytes; `topDown` stores them top row first with a negative height.
Bytes MakeBmp24(int width, int height, const Bytes& rgbBottomUp, bool topDown = false);

// Writes a 32-bit little-endian value into a byte image (for damaging headers).
void Poke32(Bytes& bytes, size_t offset, uint32_t value);

// A baseline JPEG from pixels given top row first (components 1 = grey, 3 = RGB).
Bytes EncodeJpeg(int width, int height, int components, const Bytes& topDown, int quality = 95);

// A fresh folder under the system's temporary folder, removed with everything in it at the end.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::string& Path() const { return path_; }
  // Writes a file into the folder and returns its path.
  std::string Write(const std::string& name, const Bytes& data) const;

 private:
  std::string path_;
};

// Level 0 of a texture, read back as RGBA or RGB (bottom row first, tightly packed).
Bytes ReadLevel0(GLuint texture, GLenum format, int* width = nullptr, int* height = nullptr);

// Runs a shell command and returns its standard output; `ok` tells whether it exited with 0.
Bytes RunCommand(const std::string& command, bool* ok);
bool HaveCommand(const std::string& name);

}  // namespace textest
