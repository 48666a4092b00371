// OpenGL 1.1 layer: textures. The program's names are the layer's own
// (each one a GLES texture made when first needed); images are unpacked on the CPU with the
// program's pixel storage and turned into RGBA bytes as the GL would store them in their base
// format, so GLES gets one format whatever the program gave (luminance, RGB, ...).
#include "Gl11Textures.h"

#include "Gl11Layer.h"

#include <algorithm>

namespace gl11 {

namespace {

bool IsMipmapFilter(GLint filter) { return filter >= GL_NEAREST_MIPMAP_NEAREST && filter <= GL_LINEAR_MIPMAP_LINEAR; }

int Components(GLenum format) {
  switch (format) {
    case GL_RGBA:
      return 4;
    case GL_RGB:
      return 3;
    case GL_LUMINANCE_ALPHA:
      return 2;
    case GL_LUMINANCE:
    case GL_ALPHA:
      return 1;
    default:
      return 0;
  }
}

// The base format of an internal format (1 .. 4, the symbolic bases and their sized kinds).
GLenum BaseOf(GLint internalFormat) {
  const auto f = static_cast<GLenum>(internalFormat);
  if (f == 1 || f == GL_LUMINANCE || (f >= GL_LUMINANCE4 && f <= GL_LUMINANCE16)) return GL_LUMINANCE;
  if (f == 2 || f == GL_LUMINANCE_ALPHA || (f >= GL_LUMINANCE4_ALPHA4 && f <= GL_LUMINANCE16_ALPHA16))
    return GL_LUMINANCE_ALPHA;
  if (f == 3 || f == GL_RGB || (f >= GL_RGB4 && f <= GL_RGB16)) return GL_RGB;
  if (f == 4 || f == GL_RGBA || (f >= GL_RGBA2 && f <= GL_RGBA16)) return GL_RGBA;
  if (f == GL_ALPHA || (f >= GL_ALPHA4 && f <= GL_ALPHA16)) return GL_ALPHA;
  return 0;
}

uint32_t BaseBits(GLenum base) {
  switch (base) {
    case GL_ALPHA:
      return kBaseAlpha;
    case GL_LUMINANCE:
    case GL_RGB:
      return kBaseColour;
    default:
      return kBaseColour | kBaseAlpha;
  }
}

}  // namespace

bool Texture::Complete() const {
  if (!(levels & 1) || width <= 0 || height <= 0) return false;
  if (!IsMipmapFilter(minFilter)) return true;
  // Every level down to 1 x 1, each half the size of the one above and of level 0's format.
  int top = 0;
  for (GLint size = std::max(width, height); size > 1; size >>= 1) ++top;
  for (int i = 0; i <= top; ++i) {
    const Level& l = level[i];
    if (!(levels & (1u << i)) || l.width != std::max(1, width >> i) || l.height != std::max(1, height >> i) ||
        l.internalFormat != internalFormat)
      return false;
  }
  return true;
}

const Texture* FindTexture(GLuint name) {
  const auto it = g.textures.find(name);
  return it == g.textures.end() ? nullptr : &it->second;
}

void TextureParameters(GLuint name, GLint out[4]) {
  const Texture* found = FindTexture(name);
  const Texture t = found ? *found : Texture{};
  out[0] = t.minFilter, out[1] = t.magFilter, out[2] = t.wrapS, out[3] = t.wrapT;
}

void RestoreTextureParameters(GLuint name, const GLint in[4]) {
  GLint now[4];
  TextureParameters(name, now);
  if (std::equal(now, now + 4, in) && FindTexture(name)) return;
  Flush();
  Texture& t = g.textures[name];
  t.minFilter = in[0], t.magFilter = in[1], t.wrapS = in[2], t.wrapT = in[3];
  BindGlesTexture(TextureObject(name));
  const GLenum pnames[] = {GL_TEXTURE_MIN_FILTER, GL_TEXTURE_MAG_FILTER, GL_TEXTURE_WRAP_S, GL_TEXTURE_WRAP_T};
  for (int i = 0; i < 4; ++i)
    gles.glTexParameteri(GL_TEXTURE_2D, pnames[i], in[i] == GL_CLAMP ? GL_CLAMP_TO_EDGE : in[i]);
}

GLuint TextureObject(GLuint name) {
  Texture& t = g.textures[name];
  if (t.object == 0 && g.ready) gles.glGenTextures(1, &t.object);
  return t.object;
}

void ResetTextures() {
  for (auto& entry : g.textures)
    if (entry.second.object && g.ready) {
      ForgetGlesTexture(entry.second.object);
      gles.glDeleteTextures(1, &entry.second.object);
    }
  g.textures.clear();
  g.nextTexture = 1;
  g.fixed.boundTexture = 0;
}

GLenum UnpackImage(GLsizei width, GLsizei height, GLint internalFormat, GLenum format, const void* pixels,
                   std::vector<uint8_t>& rgba, uint32_t& base) {
  const GLenum internalBase = BaseOf(internalFormat);
  const int n = Components(format);
  if (internalBase == 0) return GL_INVALID_VALUE;
  if (n == 0) return GL_INVALID_ENUM;
  base = BaseBits(internalBase);
  const size_t w = static_cast<size_t>(width), h = static_cast<size_t>(height);
  rgba.assign(w * h * 4, 0);
  if (!pixels) return GL_NO_ERROR;  // the image's contents are left undefined; they are zero here
  const PixelStore& p = g.unpack;
  const size_t rowPixels = p.rowLength > 0 ? static_cast<size_t>(p.rowLength) : w;
  const size_t a = static_cast<size_t>(p.alignment);
  const size_t stride = (rowPixels * static_cast<size_t>(n) + a - 1) / a * a;
  const auto* src = static_cast<const uint8_t*>(pixels) + static_cast<size_t>(p.skipRows) * stride +
                    static_cast<size_t>(p.skipPixels) * static_cast<size_t>(n);
  for (size_t y = 0; y < h; ++y) {
    const uint8_t* row = src + y * stride;
    uint8_t* out = rgba.data() + y * w * 4;
    for (size_t x = 0; x < w; ++x, out += 4) {
      const uint8_t* px = row + x * static_cast<size_t>(n);
      uint8_t r = 0, gr = 0, b = 0, al = 255;
      switch (format) {
        case GL_RGBA:
          r = px[0], gr = px[1], b = px[2], al = px[3];
          break;
        case GL_RGB:
          r = px[0], gr = px[1], b = px[2];
          break;
        case GL_LUMINANCE_ALPHA:
          r = gr = b = px[0], al = px[1];
          break;
        case GL_LUMINANCE:
          r = gr = b = px[0];
          break;
        default:  // GL_ALPHA
          al = px[0];
          break;
      }
      // Into the internal base format: luminance is the red component, a base without alpha
      // has alpha 1, an alpha texture has no colour.
      if (internalBase == GL_LUMINANCE || internalBase == GL_LUMINANCE_ALPHA) gr = b = r;
      if (internalBase == GL_RGB || internalBase == GL_LUMINANCE) al = 255;
      if (internalBase == GL_ALPHA) r = gr = b = 0;
      out[0] = r, out[1] = gr, out[2] = b, out[3] = al;
    }
  }
  return GL_NO_ERROR;
}

void SpecifyImage(GLint level, GLint internalFormat, uint32_t base, GLsizei width, GLsizei height,
                  const std::vector<uint8_t>& rgba, bool fullChain) {
  Flush();
  g.gl.metNew = true;  // the GL has the image to take in
  const GLuint object = TextureObject(g.fixed.boundTexture);
  Texture& t = g.textures[g.fixed.boundTexture];
  BindGlesTexture(object);
  gles.glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
  gles.glTexImage2D(GL_TEXTURE_2D, level, GL_RGBA8, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
  if (level == 0) {
    t.width = width;
    t.height = height;
    t.internalFormat = internalFormat;
    t.base = base;
  }
  t.levels |= 1u << level;
  t.level[level] = {width, height, internalFormat};
  if (fullChain && width > 0 && height > 0) {
    gles.glGenerateMipmap(GL_TEXTURE_2D);
    for (int i = level + 1; i < kTextureLevels && (width >> (i - level) || height >> (i - level)); ++i) {
      t.levels |= 1u << i;
      t.level[i] = {std::max(1, width >> (i - level)), std::max(1, height >> (i - level)), internalFormat};
    }
  }
}

}  // namespace gl11

using namespace gl11;

namespace {

GLint MaxTextureSize() {
  GLint size = 0;
  gles.glGetIntegerv(GL_MAX_TEXTURE_SIZE, &size);
  return size;
}

// Levels go from 0 to the one of a 1 x 1 image of the largest size.
bool ValidLevel(GLint level) {
  const GLint size = MaxTextureSize();
  return level >= 0 && level < kTextureLevels && (size >> level) >= 1;
}

bool CheckTarget(GLenum target) {
  if (target == GL_TEXTURE_2D) return true;
  SetError(GL_INVALID_ENUM);
  return false;
}

}  // namespace

extern "C" {

void glGenTextures(GLsizei n, GLuint* textures) {
  if (!Outside()) return;
  if (n < 0) return SetError(GL_INVALID_VALUE);
  for (GLsizei i = 0; i < n; ++i) {
    while (g.textures.count(g.nextTexture)) ++g.nextTexture;
    textures[i] = g.nextTexture;
    g.textures[g.nextTexture++];  // the name is in use from now on, bound or not
  }
}

void glDeleteTextures(GLsizei n, const GLuint* textures) {
  if (!Outside()) return;
  if (n < 0) return SetError(GL_INVALID_VALUE);
  Flush();
  for (GLsizei i = 0; i < n; ++i) {
    const GLuint name = textures[i];
    auto it = g.textures.find(name);
    if (name == 0 || it == g.textures.end()) continue;
    if (it->second.object) {
      ForgetGlesTexture(it->second.object);
      gles.glDeleteTextures(1, &it->second.object);
    }
    g.textures.erase(it);
    if (g.fixed.boundTexture == name) g.fixed.boundTexture = 0;
  }
}

void glBindTexture(GLenum target, GLuint texture) {
  if (Record([=] { glBindTexture(target, texture); })) return;
  if (!Outside() || !CheckTarget(target)) return;
  g.textures[texture];  // binding a new name makes its texture
  g.fixed.boundTexture = texture;
}

void glTexImage2D(GLenum target, GLint level, GLint internalFormat, GLsizei width, GLsizei height, GLint border,
                  GLenum format, GLenum type, const GLvoid* pixels) {
  if (!Outside()) return;
  GLenum error = GL_NO_ERROR;
  std::vector<uint8_t> rgba;
  uint32_t base = 0;
  if (target != GL_TEXTURE_2D || type != GL_UNSIGNED_BYTE)
    error = GL_INVALID_ENUM;
  else if (!ValidLevel(level) || width < 0 || height < 0 || width > MaxTextureSize() >> level ||
           height > MaxTextureSize() >> level || border != 0)  // texture borders are not in the subset
    error = GL_INVALID_VALUE;
  else  // pixels are unpacked when the call is made, also into a list
    error = UnpackImage(width, height, internalFormat, format, pixels, rgba, base);
  if (error != GL_NO_ERROR) return CompileError(error);
  if (Record([=] { SpecifyImage(level, internalFormat, base, width, height, rgba, false); })) return;
  SpecifyImage(level, internalFormat, base, width, height, rgba, false);
}

void glTexParameteri(GLenum target, GLenum pname, GLint param) {
  if (Record([=] { glTexParameteri(target, pname, param); })) return;
  if (!Outside() || !CheckTarget(target)) return;
  GLint below = param;  // what OpenGL ES is given
  GLint* field = nullptr;
  Texture& t = g.textures[g.fixed.boundTexture];
  switch (pname) {
    case GL_TEXTURE_MIN_FILTER:
      if (param != GL_NEAREST && param != GL_LINEAR && !IsMipmapFilter(param)) return SetError(GL_INVALID_ENUM);
      field = &t.minFilter;
      break;
    case GL_TEXTURE_MAG_FILTER:
      if (param != GL_NEAREST && param != GL_LINEAR) return SetError(GL_INVALID_ENUM);
      field = &t.magFilter;
      break;
    case GL_TEXTURE_WRAP_S:
    case GL_TEXTURE_WRAP_T:
      // GLES has no GL_CLAMP: it clamps to the edge texels, and the shader takes away what the
      // border colour would have had of the filtered texel.
      if (param == GL_CLAMP)
        below = GL_CLAMP_TO_EDGE;
      else if (param != GL_REPEAT && param != GL_CLAMP_TO_EDGE)
        return SetError(GL_INVALID_ENUM);
      field = pname == GL_TEXTURE_WRAP_S ? &t.wrapS : &t.wrapT;
      break;
    default:
      return SetError(GL_INVALID_ENUM);
  }
  Flush();
  *field = param;
  BindGlesTexture(TextureObject(g.fixed.boundTexture));
  gles.glTexParameteri(GL_TEXTURE_2D, pname, below);
}

void glTexEnvi(GLenum target, GLenum pname, GLint param) {
  if (Record([=] { glTexEnvi(target, pname, param); })) return;
  if (!Outside()) return;
  if (target != GL_TEXTURE_ENV || pname != GL_TEXTURE_ENV_MODE) return SetError(GL_INVALID_ENUM);
  const auto mode = static_cast<GLenum>(param);
  if (mode != GL_MODULATE && mode != GL_REPLACE && mode != GL_DECAL) return SetError(GL_INVALID_ENUM);
  g.fixed.texEnvMode = mode;
}

void glGetTexParameteriv(GLenum target, GLenum pname, GLint* params) {
  if (!Outside() || !CheckTarget(target)) return;
  const Texture& t = g.textures[g.fixed.boundTexture];
  switch (pname) {
    case GL_TEXTURE_MIN_FILTER:
      *params = t.minFilter;
      break;
    case GL_TEXTURE_MAG_FILTER:
      *params = t.magFilter;
      break;
    case GL_TEXTURE_WRAP_S:
      *params = t.wrapS;
      break;
    case GL_TEXTURE_WRAP_T:
      *params = t.wrapT;
      break;
    default:
      SetError(GL_INVALID_ENUM);
  }
}

void glGetTexLevelParameteriv(GLenum target, GLint level, GLenum pname, GLint* params) {
  if (!Outside() || !CheckTarget(target)) return;
  if (!ValidLevel(level)) return SetError(GL_INVALID_VALUE);
  const Texture& t = g.textures[g.fixed.boundTexture];
  const bool present = (t.levels >> level) & 1u;
  const Texture::Level& l = t.level[level];
  switch (pname) {
    case GL_TEXTURE_WIDTH:
      *params = present ? l.width : 0;
      break;
    case GL_TEXTURE_HEIGHT:
      *params = present ? l.height : 0;
      break;
    case GL_TEXTURE_INTERNAL_FORMAT:
      *params = present ? l.internalFormat : GL_RGBA;  // of a missing image: GL_RGBA, as Mesa answers
      break;
    default:
      SetError(GL_INVALID_ENUM);
  }
}

}  // extern "C"
