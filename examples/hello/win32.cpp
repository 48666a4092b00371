// hello on Windows: Win32 calls beside the toolkit's. <windows.h> comes first here and last in
// hello.cpp; in either order the toolkit's headers leave <windows.h>'s names as it defines them:
// MessageBoxA and GetTickCount are the system's, DrawText(dc, ...) is the system's DrawTextA and
// DrawText(x, y, text) the toolkit's.
#include <windows.h>

#include <glgui/GLGUI.h>

#include <cstdio>
#include <string>

// A line in the toolkit's built-in font: how long Windows has been running, from its tick count.
void DrawTickCount(int32_t x, int32_t y) {
  static bool reported = false;
  const DWORD now = GetTickCount();
  if (!reported) {
    std::printf("hello: GetTickCount %lu\n", static_cast<unsigned long>(now));
    std::fflush(stdout);
    reported = true;
  }
  DrawText(x, y, "Windows has been running for " + std::to_string(now / 1000) + " s");
}

// As hello ends: a Win32 message box. MessageBoxA reads its texts in the machine's ANSI code page
// (the toolkit's own boxes read code page 1250): on most Western machines, 1252, the caption reads
// "hello à bientôt".
void SayGoodbye() {
  const int answer = MessageBoxA(nullptr, "Thank you for trying glgui.", "hello \xe0 bient\xf4t",
                                 MB_OKCANCEL | MB_ICONINFORMATION);
  std::printf("hello: MessageBoxA returned %d\n", answer);
  std::fflush(stdout);
}
