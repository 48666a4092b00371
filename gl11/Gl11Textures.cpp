// OpenGL 1.1 layer: textures. The program's names are the layer's own
// (each one a GLES texture made when first needed); images are unpacked on the CPU with the
// program's pixel storage and turned into RGBA bytes as the GL would store them in their base
// format, so GLES gets one format whatever the program gave (luminance, RGB, ...).
#include "Gl11Textures.h"

#include "Gl11Layer.h"

#include <algorithm>

namespace gl11 {

namespace {

constexpr GLint kClampToEdge = 0x812F;

bool IsMipmapFilter(GLint filter) { return filter >= 0x2700 && filter <= 0x2703; }

int Components(GLenum format) {
  switch (format) {
    case GL_RGBA:
      return 4;
    case GL_RGB:
      return 3;
    case kLuminanceAlpha:
      return 2;
    case kLuminance:
    case kAlpha:
      return 1;
    default:
      return 0;
  }
}

// The base format of an internal format (1 .. 4, the symbolic bases and their sized kinds).
GLenum BaseOf(GLint internalFormat) {
  const auto f = static_cast<GLenum>(internalFormat);
  if (f == 1 || f == kLuminance || (f >= 0x803F && f <= 0x8042)) return kLuminance;
  if (f == 2 || f == kLuminanceAlpha || (f >= 0x8043 && f <= 0x8048)) return kLuminanceAlpha;
  if (f == 3 || f == GL_RGB || (f >= 0x804F && f <= 0x8054)) return GL_RGB;
  if (f == 4 || f == GL_RGBA || (f >= 0x8055 && f <= 0x805B)) return GL_RGBA;
  if (f == kAlpha || (f >= 0x803B && f <= 0x803E)) return kAlpha;
  return 0;
}

uint32_t BaseBits(GLenum base) {
  switch (base) {
    case kAlpha:
      return kBaseAlpha;
    case kLuminance:
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
  int top = 0;
  for (GLint size = std::max(width, height); size > 1; size >>= 1) ++top;
  for (int i = 0; i <= top; ++i)
    if (!(levels & (1u << i))) return false;
  return true;
}

const Texture* FindTexture(GLuint name) {
  const auto it = g.textures.find(name);
  return it == g.textures.end() ? nullptr : &it->second;
}

GLuint TextureObject(GLuint name) {
  Texture& t = g.textures[name];
  if (t.object == 0 && g.ready) glGenTextures(1, &t.object);
  return t.object;
}

void ResetTextures() {
  for (auto& entry : g.textures)
    if (entry.second.object && g.ready) glDeleteTextures(1, &entry.second.object);
  g.textures.clear();
  g.nextTexture = 1;
  g.boundTexture = 0;
}

bool UnpackImage(GLsizei width, GLsizei height, GLint internalFormat, GLenum format, const void* pixels,
                 std::vector<uint8_t>& rgba, uint32_t& base) {
  const GLenum internalBase = BaseOf(internalFormat);
  const int n = Components(format);
  if (internalBase == 0) {
    SetError(GL_INVALID_VALUE);
    return false;
  }
  if (n == 0) {
    SetError(GL_INVALID_ENUM);
    return false;
  }
  base = BaseBits(internalBase);
  const size_t w = static_cast<size_t>(width), h = static_cast<size_t>(height);
  rgba.assign(w * h * 4, 0);
  if (!pixels) return true;  // the image's contents are left undefined; they are zero here
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
        case kLuminanceAlpha:
          r = gr = b = px[0], al = px[1];
          break;
        case kLuminance:
          r = gr = b = px[0];
          break;
        default:  // GL_ALPHA
          al = px[0];
          break;
      }
      // Into the internal base format: luminance is the red component, a base without alpha
      // has alpha 1, an alpha texture has no colour.
      if (internalBase == kLuminance || internalBase == kLuminanceAlpha) gr = b = r;
      if (internalBase == GL_RGB || internalBase == kLuminance) al = 255;
      if (internalBase == kAlpha) r = gr = b = 0;
      out[0] = r, out[1] = gr, out[2] = b, out[3] = al;
    }
  }
  return true;
}

void SpecifyImage(GLint level, GLint internalFormat, uint32_t base, GLsizei width, GLsizei height,
                  const std::vector<uint8_t>& rgba, bool fullChain) {
  Flush();
  const GLuint object = TextureObject(g.boundTexture);
  Texture& t = g.textures[g.boundTexture];
  glBindTexture(GL_TEXTURE_2D, object);
  glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
  glTexImage2D(GL_TEXTURE_2D, level, GL_RGBA8, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
  if (level == 0) {
    if (width != t.width || height != t.height) t.levels = 0;  // the other levels no longer fit
    t.width = width;
    t.height = height;
    t.internalFormat = internalFormat;
    t.base = base;
  }
  t.levels |= 1u << level;
  if (fullChain && width > 0 && height > 0) {
    glGenerateMipmap(GL_TEXTURE_2D);
    t.levels = ~0u;
  }
}

}  // namespace gl11

using namespace gl11;

namespace {

bool CheckTarget(GLenum target) {
  if (target == GL_TEXTURE_2D) return true;
  SetError(GL_INVALID_ENUM);
  return false;
}

}  // namespace

extern "C" {

void gl11GenTextures(GLsizei n, GLuint* textures) {
  if (!Outside()) return;
  if (n < 0) return SetError(GL_INVALID_VALUE);
  for (GLsizei i = 0; i < n; ++i) {
    while (g.textures.count(g.nextTexture)) ++g.nextTexture;
    textures[i] = g.nextTexture;
    g.textures[g.nextTexture++];  // the name is in use from now on, bound or not
  }
}

void gl11DeleteTextures(GLsizei n, const GLuint* textures) {
  if (!Outside()) return;
  if (n < 0) return SetError(GL_INVALID_VALUE);
  Flush();
  for (GLsizei i = 0; i < n; ++i) {
    const GLuint name = textures[i];
    auto it = g.textures.find(name);
    if (name == 0 || it == g.textures.end()) continue;
    if (it->second.object) glDeleteTextures(1, &it->second.object);
    g.textures.erase(it);
    if (g.boundTexture == name) g.boundTexture = 0;
  }
}

void gl11BindTexture(GLenum target, GLuint texture) {
  if (Record([=] { gl11BindTexture(target, texture); })) return;
  if (!Outside() || !CheckTarget(target)) return;
  g.textures[texture];  // binding a new name makes its texture
  g.boundTexture = texture;
}

void gl11TexImage2D(GLenum target, GLint level, GLint internalFormat, GLsizei width, GLsizei height, GLint border,
                    GLenum format, GLenum type, const GLvoid* pixels) {
  if (!g.compiling && !Outside()) return;
  if (!CheckTarget(target)) return;
  GLint maxSize = 0;
  glGetIntegerv(GL_MAX_TEXTURE_SIZE, &maxSize);
  if (level < 0 || level > 30 || width < 0 || height < 0 || width > maxSize || height > maxSize)
    return SetError(GL_INVALID_VALUE);
  if (border != 0) return SetError(GL_INVALID_VALUE);  // texture borders are not in the subset
  if (type != GL_UNSIGNED_BYTE) return SetError(GL_INVALID_ENUM);
  std::vector<uint8_t> rgba;
  uint32_t base = 0;
  // Pixels are unpacked when the call is made, also into a list.
  if (!UnpackImage(width, height, internalFormat, format, pixels, rgba, base)) return;
  if (g.compiling) {
    Record([=] { SpecifyImage(level, internalFormat, base, width, height, rgba, false); });
    return;
  }
  SpecifyImage(level, internalFormat, base, width, height, rgba, false);
}

void gl11TexParameteri(GLenum target, GLenum pname, GLint param) {
  if (Record([=] { gl11TexParameteri(target, pname, param); })) return;
  if (!Outside() || !CheckTarget(target)) return;
  GLint gles = param;
  GLint* field = nullptr;
  Texture& t = g.textures[g.boundTexture];
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
      if (param == static_cast<GLint>(kClamp))
        gles = kClampToEdge;
      else if (param != GL_REPEAT && param != kClampToEdge)
        return SetError(GL_INVALID_ENUM);
      field = pname == GL_TEXTURE_WRAP_S ? &t.wrapS : &t.wrapT;
      break;
    default:
      return SetError(GL_INVALID_ENUM);
  }
  Flush();
  *field = param;
  glBindTexture(GL_TEXTURE_2D, TextureObject(g.boundTexture));
  glTexParameteri(GL_TEXTURE_2D, pname, gles);
}

void gl11TexEnvi(GLenum target, GLenum pname, GLint param) {
  if (Record([=] { gl11TexEnvi(target, pname, param); })) return;
  if (!Outside()) return;
  if (target != kTextureEnv || pname != kTextureEnvMode) return SetError(GL_INVALID_ENUM);
  const auto mode = static_cast<GLenum>(param);
  if (mode != kModulate && mode != kReplace && mode != kDecal) return SetError(GL_INVALID_ENUM);
  g.texEnvMode = mode;
}

void gl11GetTexParameteriv(GLenum target, GLenum pname, GLint* params) {
  if (!Outside() || !CheckTarget(target)) return;
  const Texture& t = g.textures[g.boundTexture];
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

void gl11GetTexLevelParameteriv(GLenum target, GLint level, GLenum pname, GLint* params) {
  if (!Outside() || !CheckTarget(target)) return;
  if (level < 0 || level > 30) return SetError(GL_INVALID_VALUE);
  const Texture& t = g.textures[g.boundTexture];
  const bool present = (t.levels >> level) & 1u;
  switch (pname) {
    case 0x1000:  // GL_TEXTURE_WIDTH
      *params = present ? std::max(1, t.width >> level) : 0;
      break;
    case 0x1001:  // GL_TEXTURE_HEIGHT
      *params = present ? std::max(1, t.height >> level) : 0;
      break;
    case 0x1003:  // GL_TEXTURE_INTERNAL_FORMAT
      *params = present ? t.internalFormat : 1;
      break;
    default:
      SetError(GL_INVALID_ENUM);
  }
}

}  // extern "C"
