// SDL backend: text conversion for what SDL shows (captions, message boxes): the program's strings are in
// Windows code page 1250, SDL wants UTF-8.
#pragma once

#include <string>

std::string Cp1250ToUtf8(const char* text);
