/// \file
/// Texture loading: TGA, BMP and JPEG images, from files or from the program's resources,
/// turned into OpenGL textures. A load writes the caller's texture variable only when it made a
/// texture, and leaves that texture bound. A reader's failure is shown at once in a modal message
/// box (the guide, section 6, lists them). Images may have sides up to the GL's largest texture
/// size (and 65535) and at most 64 Mi pixels. Call with the GL context current.
#pragma once

#include <GL/gl.h>

#include <cstdint>
#include <string>

/// Picks the reader by the name's extension (.TGA, .BMP, .JPG, any letter case) and returns what it
/// returned; false for any other extension (then nothing happens and `texture` is untouched).
/// `fromResource` reads the program's resource named by the file name up to its first "."
/// (Resources.h) instead of a file.
bool LoadImageTexture(const std::string& fileName, GLuint& texture, bool fromResource);

/// Uploads width x height pixels (rows bottom first, tightly packed; format GL_RGBA = 4 bytes,
/// anything else = 3 bytes RGB) through gluBuild2DMipmaps as a new texture, linear filtering and
/// modulating texture environment, and returns its name, left bound.
GLuint BuildTexture(uint16_t width, uint16_t height, uint16_t format, const uint8_t* pixels);

/// While it lives, GL reads pixel uploads as tightly packed rows (alignment 1, no row length, no
/// skips, no byte swapping), whatever the caller had set; the caller's settings come back after.
class TTightUnpacking {
 public:
  /// Pushes the client pixel-store state and sets tight unpacking.
  TTightUnpacking();
  /// Pops the pixel-store state pushed by the constructor.
  ~TTightUnpacking();
  TTightUnpacking(const TTightUnpacking&) = delete;
  TTightUnpacking& operator=(const TTightUnpacking&) = delete;
};

/// Reads an uncompressed (type 2) or run-length-encoded (type 10) 24- or 32-bit TGA into a new
/// texture (alpha kept); true when it made one. Failures show a message box ("TGA Texture",
/// "TGA File Error").
bool ReadTgaTexture(const std::string& fileName, GLuint& texture, bool fromResource);
/// Reads an uncompressed 24-bit BMP (bottom-up or top-down) into a new texture; true when it made
/// one. A file that cannot be opened fails silently, other failures show a message box.
bool ReadBmpTexture(const std::string& fileName, GLuint& texture, bool fromResource);
/// Reads a baseline or progressive JPEG (grey or colour, through libjpeg) into a new texture; true
/// when it made one. Failures show a message box.
bool ReadJpegTexture(const std::string& fileName, GLuint& texture, bool fromResource);

/// Writes source bytes 2, 1, 0 (and 3 for 4-byte pixels) to target bytes 0, 1, 2 (and 3): a TGA's
/// BGR(A) pixel as RGB(A).
void ConvertTgaPixel(const uint8_t* source, uint8_t* target, int bytesPerPixel);
