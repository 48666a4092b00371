// Win32 backend: code page 1250 bytes to Unicode through the system's own converter.
#include "WinFonts.h"

uint32_t Cp1250ToUnicode(uint8_t code) {
  const char byte = static_cast<char>(code);
  wchar_t wide = 0;
  if (MultiByteToWideChar(1250, MB_ERR_INVALID_CHARS, &byte, 1, &wide, 1) != 1) return 0xFFFF;
  return static_cast<uint32_t>(wide);
}
