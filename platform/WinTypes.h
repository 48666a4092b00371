/// \file
/// \ingroup win32
/// The few Win32 types the toolkit's public header names (device contexts, glyph metrics): on
/// Windows the system's own, elsewhere the stand-in's.
#pragma once

#ifdef _WIN32
#include "win32/WindowsApi.h"
#else
#include "sdl/SdlTypes.h"
#endif
