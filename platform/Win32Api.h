// A small stand-in for the parts of the Win32 API that the program uses, built on SDL2.
// Names, numbers and encodings are Win32's, so that code written against Win32 reads the same here.
#pragma once

#include <cstddef>
#include <cstdint>

// ---- basic types -------------------------------------------------------------------------------
using BYTE = uint8_t;
using WORD = uint16_t;
using DWORD = uint32_t;
using UINT = uint32_t;
using LONG = int32_t;
using BOOL = int;
using WPARAM = uintptr_t;
using LPARAM = intptr_t;
using LRESULT = intptr_t;
using LONG_PTR = intptr_t;
using ATOM = uint16_t;

struct HWND__;
struct HDC__;
struct HGLRC__;
struct HINSTANCE__;
struct HCURSOR__;
struct HFONT__;
using HWND = HWND__*;
using HDC = HDC__*;
using HGLRC = HGLRC__*;
using HINSTANCE = HINSTANCE__*;
using HCURSOR = HCURSOR__*;
using HFONT = HFONT__*;

#ifndef TRUE
#define TRUE 1
#endif
#ifndef FALSE
#define FALSE 0
#endif

constexpr WORD LOWORD(uintptr_t v) { return static_cast<WORD>(v & 0xFFFF); }
constexpr WORD HIWORD(uintptr_t v) { return static_cast<WORD>((v >> 16) & 0xFFFF); }
constexpr LPARAM MAKELPARAM(WORD lo, WORD hi) {
  return static_cast<LPARAM>(static_cast<DWORD>(lo) | (static_cast<DWORD>(hi) << 16));
}
constexpr WPARAM MAKEWPARAM(WORD lo, WORD hi) {
  return static_cast<WPARAM>(static_cast<DWORD>(lo) | (static_cast<DWORD>(hi) << 16));
}

// ---- message boxes -----------------------------------------------------------------------------
constexpr UINT MB_OK = 0x00000000;
constexpr UINT MB_ICONHAND = 0x00000010;
constexpr UINT MB_ICONERROR = MB_ICONHAND;
constexpr UINT MB_ICONQUESTION = 0x00000020;
constexpr UINT MB_ICONEXCLAMATION = 0x00000030;
constexpr UINT MB_ICONWARNING = MB_ICONEXCLAMATION;
constexpr UINT MB_ICONASTERISK = 0x00000040;
constexpr UINT MB_ICONINFORMATION = MB_ICONASTERISK;
constexpr int IDOK = 1;

// Shows a modal box with the text, the caption, one OK button and the icon named by `type`.
// The owner window is ignored (boxes have no owner). Returns IDOK once the box is closed.
// Where no display can show a box, the text goes to standard error instead.
int MessageBoxA(HWND owner, const char* text, const char* caption, UINT type);

// Test hook: while set, MessageBoxA calls it instead of showing anything and returns its result.
using MessageBoxHook = int (*)(const char* text, const char* caption, UINT type);
void SetMessageBoxHook(MessageBoxHook hook);

// ---- time --------------------------------------------------------------------------------------
// Milliseconds since the program started, wrapping at 2^32 like Win32's tick count.
DWORD GetTickCount();

// Test hook: while set, GetTickCount returns what the hook returns.
using TickSource = DWORD (*)();
void SetTickSource(TickSource source);
