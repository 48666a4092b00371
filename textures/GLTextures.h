// Texture loading: TGA, BMP and JPEG images, from files or from the program's resources,
// turned into OpenGL textures. A load writes the caller's texture variable only when it made a
// texture, and leaves that texture bound.
#pragma once

#include <GL/gl.h>

#include <cstdint>
#include <string>

// Picks the reader by the name's extension (.TGA, .BMP, .JPG, any letter case) and returns what it
// returned; false for any other extension (then nothing happens and Texture is untouched).
bool LoadImageTexture(const std::string& fileName, GLuint& texture, bool fromResource);

// Uploads Width x Height pixels (rows bottom first, tightly packed; GL_RGBA = 4 bytes, anything
// else = 3 bytes RGB) as a new mipmapped texture and returns its name, left bound.
GLuint BuildTexture(uint16_t width, uint16_t height, uint16_t format, const uint8_t* pixels);

// While it lives, GL reads pixel uploads as tightly packed rows (alignment 1, no row length, no
// skips, no byte swapping), whatever the caller had set; the caller's settings come back after.
class TTightUnpacking {
 public:
  TTightUnpacking();
  ~TTightUnpacking();
  TTightUnpacking(const TTightUnpacking&) = delete;
  TTightUnpacking& operator=(const TTightUnpacking&) = delete;
};

bool ReadTgaTexture(const std::string& fileName, GLuint& texture, bool fromResource);
bool ReadBmpTexture(const std::string& fileName, GLuint& texture, bool fromResource);
bool ReadJpegTexture(const std::string& fileName, GLuint& texture, bool fromResource);

// Writes source bytes 2, 1, 0 (and 3 for 4-byte pixels) to target bytes 0, 1, 2 (and 3).
void ConvertTgaPixel(const uint8_t* source, uint8_t* target, int bytesPerPixel);
