// OpenGL 1.1 layer: the texture image path, shared by glTexImage2D and gluBuild2DMipmaps.
#pragma once

#include "Gl11Layer.h"

namespace gl11 {

// Unpacks an image of unsigned bytes with the unpack pixel storage into RGBA bytes as the
// internal format's base format holds them; `base` gets its TextureBase bits. GL_NO_ERROR, or
// the GL's error (not set) for a format or internal format outside the subset.
GLenum UnpackImage(GLsizei width, GLsizei height, GLint internalFormat, GLenum format, const void* pixels,
                   std::vector<uint8_t>& rgba, uint32_t& base);
// Gives the bound texture's level this RGBA image; with `fullChain`, every level below it too.
void SpecifyImage(GLint level, GLint internalFormat, uint32_t base, GLsizei width, GLsizei height,
                  const std::vector<uint8_t>& rgba, bool fullChain);

}  // namespace gl11
