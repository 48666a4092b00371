// Texture loader: the front end, the GL upload and the three readers. The readers fetch the
// image bytes (file or resource), hand them to the GL-free decoders of ImageDecoders.h, and turn
// what the decoder says into a message box or a texture. Nothing here throws.
#include "GLTextures.h"

#include "Files.h"
#include "ImageDecoders.h"
#include "Resources.h"
#include "Win32Calls.h"

#include <GL/glu.h>

#include <vector>

namespace {

void ShowMessage(const std::string& text, const char* caption) {
  MessageBoxA(nullptr, text.c_str(), caption, MB_OK);
}

// The resource name: the part of the file name before its first ".".
std::string ResourceName(const std::string& fileName) { return fileName.substr(0, fileName.find('.')); }

// Bounds for a decoded image: 16-bit sides, and no side above what this GL can hold.
DecodeLimits TextureLimits() {
  DecodeLimits limits;
  GLint maxSize = 0;
  glGetIntegerv(GL_MAX_TEXTURE_SIZE, &maxSize);
  if (maxSize > 0 && static_cast<uint32_t>(maxSize) < limits.MaxSide) {
    limits.MaxSide = static_cast<uint32_t>(maxSize);
  }
  return limits;
}

GLuint Upload(const DecodedImage& image) {
  return BuildTexture(static_cast<uint16_t>(image.Width), static_cast<uint16_t>(image.Height),
                      image.BytesPerPixel == 4 ? GL_RGBA : GL_RGB, image.Pixels.get());
}

const char kNotFound[] = "File not found  - ";
const char kNotInResource[] = "File not found in resource - ";
const char kUnreadableResource[] = "Unable to read from resource - ";

// An image's bytes: the program resource's, or those of the whole file read into File.
struct TImageBytes {
  std::vector<uint8_t> File;
  const uint8_t* Data = nullptr;
  size_t Size = 0;
};

// Fetches the bytes of an image of `type` ("TGA", "BMP" or "JPG"). A name that is not there is
// told under the caption "<type> Texture". A file that cannot be read is told as `readError`
// under `readCaption`; with no `readError` a file that is not there or cannot be read fails
// without a message. False after the message.
bool FetchImageBytes(const std::string& fileName, bool fromResource, const char* type, const std::string& readError,
                     const char* readCaption, TImageBytes& bytes) {
  const std::string caption = std::string(type) + " Texture";
  if (fromResource) {
    ResourceBlob blob{};
    if (!FindProgramResource(type, ResourceName(fileName).c_str(), &blob)) {
      ShowMessage(kNotInResource + fileName, caption.c_str());
      return false;
    }
    bytes.Data = blob.Data;
    bytes.Size = blob.Size;
    return true;
  }
  const bool silent = readError.empty();
  if (!silent && !FileExists(fileName)) {
    ShowMessage(kNotFound + fileName, caption.c_str());
    return false;
  }
  if (ReadWholeFile(fileName, bytes.File) != FileReadStatus::Ok) {
    if (!silent) ShowMessage(readError, readCaption);
    return false;
  }
  bytes.Data = bytes.File.data();
  bytes.Size = bytes.File.size();
  return true;
}

}  // namespace

// ---- front end ----------------------------------------------------------------------------------

bool LoadImageTexture(const std::string& fileName, GLuint& texture, bool fromResource) {
  // The extension runs from the last "." to the end, unless a backslash or colon follows it.
  std::string ext;
  const size_t dot = fileName.rfind('.');
  if (dot != std::string::npos && fileName.find_first_of("\\:", dot) == std::string::npos) {
    ext = fileName.substr(dot);
    for (char& c : ext) {
      if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
  }
  if (ext == ".BMP") return ReadBmpTexture(fileName, texture, fromResource);
  if (ext == ".JPG") return ReadJpegTexture(fileName, texture, fromResource);
  if (ext == ".TGA") return ReadTgaTexture(fileName, texture, fromResource);
  return false;
}

GLuint BuildTexture(uint16_t width, uint16_t height, uint16_t format, const uint8_t* pixels) {
  GLuint name = 0;
  glGenTextures(1, &name);
  glBindTexture(GL_TEXTURE_2D, name);
  glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
  // The rows are tightly packed (3 or 4 x width bytes).
  const TTightUnpacking tight;
  if (format == GL_RGBA)
    gluBuild2DMipmaps(GL_TEXTURE_2D, GL_RGBA, width, height, GL_RGBA, GL_UNSIGNED_BYTE, pixels);
  else
    gluBuild2DMipmaps(GL_TEXTURE_2D, 3, width, height, GL_RGB, GL_UNSIGNED_BYTE, pixels);
  return name;
}

TTightUnpacking::TTightUnpacking() {
  glPushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
  glPixelStorei(GL_UNPACK_SKIP_ROWS, 0);
  glPixelStorei(GL_UNPACK_SKIP_PIXELS, 0);
  glPixelStorei(GL_UNPACK_SWAP_BYTES, GL_FALSE);
}

TTightUnpacking::~TTightUnpacking() { glPopClientAttrib(); }

void ConvertTgaPixel(const uint8_t* source, uint8_t* target, int bytesPerPixel) {
  const uint8_t b = source[0], g = source[1], r = source[2];
  target[0] = r;
  target[1] = g;
  target[2] = b;
  if (bytesPerPixel == 4) target[3] = source[3];
}

// ---- TGA ----------------------------------------------------------------------------------------

bool ReadTgaTexture(const std::string& fileName, GLuint& texture, bool fromResource) {
  const char kFileError[] = "TGA File Error";
  const std::string shortRead = "Couldn't read file \"" + fileName + "\".";
  TImageBytes bytes;
  if (!FetchImageBytes(fileName, fromResource, "TGA", shortRead, kFileError, bytes)) return false;

  DecodedImage image;
  switch (DecodeTga(bytes.Data, bytes.Size, image, TextureLimits())) {
    case TgaStatus::Ok:
      break;
    case TgaStatus::UnsupportedType:
      ShowMessage("Couldn't load \"" + fileName + "\". Only 24 and 32bit TGA supported.", kFileError);
      return false;
    case TgaStatus::ColourMapped:
      ShowMessage("Couldn't load \"" + fileName + "\". Colormapped TGA files not supported.", kFileError);
      return false;
    case TgaStatus::UnsupportedDepth:
      ShowMessage("Couldn't load \"" + fileName + "\". Only 24 and 32 bit TGA files supported.",
                  kFileError);
      return false;
    case TgaStatus::ShortHeader:
    case TgaStatus::ShortPixelData:
      if (fromResource) {
        ShowMessage(kUnreadableResource + fileName, "BMP Unit");
      } else {
        ShowMessage(shortRead, kFileError);
      }
      return false;
    case TgaStatus::EmptyImage:
    case TgaStatus::TooLarge:
    case TgaStatus::OutOfMemory:
    case TgaStatus::ShortPacketStream:
      ShowMessage(shortRead, kFileError);
      return false;
  }
  texture = Upload(image);
  return true;
}

// ---- BMP ----------------------------------------------------------------------------------------

bool ReadBmpTexture(const std::string& fileName, GLuint& texture, bool fromResource) {
  const char kCaption[] = "BMP Unit";
  // A file that cannot be opened fails without a message.
  TImageBytes bytes;
  if (!FetchImageBytes(fileName, fromResource, "BMP", "", nullptr, bytes)) return false;

  const std::string cannotLoad = "Couldn't load \"" + fileName + "\". ";
  DecodedImage image;
  switch (DecodeBmp(bytes.Data, bytes.Size, image, TextureLimits())) {
    case BmpStatus::Ok:
      break;
    case BmpStatus::NotBmp:
      ShowMessage(cannotLoad + "Not a BMP file.", kCaption);
      return false;
    case BmpStatus::UnsupportedHeader:
      ShowMessage(cannotLoad + "Unsupported BMP header.", kCaption);
      return false;
    case BmpStatus::Compressed:
      ShowMessage(cannotLoad + "Compressed BMP files not supported.", kCaption);
      return false;
    case BmpStatus::UnsupportedDepth:
      ShowMessage(cannotLoad + "Only 24 bit BMP files supported.", kCaption);
      return false;
    case BmpStatus::UnsupportedSize:
      ShowMessage(cannotLoad + "Unsupported BMP image size.", kCaption);
      return false;
    case BmpStatus::OutOfMemory:
      ShowMessage(cannotLoad + "Not enough memory.", kCaption);
      return false;
    case BmpStatus::ShortHeader:
      ShowMessage(fromResource ? kUnreadableResource + fileName : std::string("Error reading bitmap header"),
                  kCaption);
      return false;
    case BmpStatus::ShortPalette:
      ShowMessage(fromResource ? kUnreadableResource + fileName : std::string("Error reading palette"),
                  kCaption);
      return false;
    case BmpStatus::ShortPixelData:
      ShowMessage(fromResource ? kUnreadableResource + fileName : std::string("Error reading bitmap data"),
                  kCaption);
      return false;
  }
  texture = Upload(image);
  return true;
}

// ---- JPEG ---------------------------------------------------------------------------------------

bool ReadJpegTexture(const std::string& fileName, GLuint& texture, bool fromResource) {
  const std::string failure = fromResource ? "Couldn't load JPG Resource - \"" + fileName + "\""
                                           : "Couldn't load JPG - \"" + fileName + "\"";
  TImageBytes bytes;
  if (!FetchImageBytes(fileName, fromResource, "JPG", failure, "BMP Unit", bytes)) return false;

  DecodedImage image;
  if (DecodeJpeg(bytes.Data, bytes.Size, image, TextureLimits()) != JpegStatus::Ok) {
    ShowMessage(failure, "BMP Unit");
    return false;
  }
  texture = Upload(image);
  return true;
}
