// Code page 1250 text as UTF-8, for whatever shows the program's texts outside OpenGL (message
// boxes, window captions, screen readers); each backend says what each byte stands for.
#include "WinFonts.h"

void Cp1250ToUtf8(const char* text, size_t length, std::string& out) {
  out.clear();
  for (size_t i = 0; i < length; ++i) {
    const auto byte = static_cast<uint8_t>(text[i]);
    const uint32_t code = byte < 0x80 ? byte : Cp1250ToUnicode(byte);
    if (code < 0x80) {
      out += static_cast<char>(code);
    } else if (code < 0x800) {
      out += static_cast<char>(0xC0 | (code >> 6));
      out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
      out += static_cast<char>(0xE0 | (code >> 12));
      out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (code & 0x3F));
    }
  }
}
