// The GDI font calls and wglUseFontOutlinesA: on Windows the system's own, elsewhere the
// stand-in on fontconfig, FreeType and GLU.
#pragma once

#include "Win32Api.h"

#include <cstddef>
#include <cstdint>
#include <string>

#ifndef _WIN32
#include "sdl/SdlFonts.h"
#endif

// The Unicode code point of a Windows code page 1250 byte; the five bytes the code page leaves
// unassigned give the C1 controls U+0081, U+0083, U+0088, U+0090 and U+0098, as on Windows.
uint32_t Cp1250ToUnicode(uint8_t code);
// Replaces `out` with the UTF-8 form of `length` bytes of code page 1250 text (keeping its storage).
void Cp1250ToUtf8(const char* text, size_t length, std::string& out);
