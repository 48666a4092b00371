// Timing probe for gui_demo's start-up and fullscreen rebuild.
//
// demo_launch_probe is gui_demo itself (the same main, scene, toolkit, shell and platform
// objects) linked with `-Wl,--wrap=` for the calls below, so every wrapped call that one object
// makes of another passes through here and is timed (CLOCK_MONOTONIC, the clock of
// time.monotonic_ns() in the driver). The probe also drives the program: it lets each new
// window run for BREAKDOWN_PAUSE_MS milliseconds after its first frame, then asks for the
// fullscreen toggle (the message F1 posts) BREAKDOWN_TOGGLES times, then quits.
//
// Environment (set by bench/demo/launch_breakdown.py):
//   BREAKDOWN_T0      monotonic nanoseconds at which the driver started the process
//   BREAKDOWN_OUT     file that receives one line per timed call: name, begin, end, depth
//   BREAKDOWN_FD      descriptor to which "box" is written before a message box shows and
//                     "closed" after it (the driver dismisses the box in between)
//   BREAKDOWN_TOGGLES number of fullscreen toggles (default 2)
//   BREAKDOWN_PAUSE_MS how long each window runs after its first frame (default 300)
#include "GLGUI.h"
#include "GLTextures.h"
#include "GLWindow.h"
#include "Sound.h"
#include "WinFonts.h"

#include <GL/glu.h>
#include <SDL.h>
#include <time.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

int64_t Now() {
  timespec ts;
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return int64_t(ts.tv_sec) * 1000000000 + ts.tv_nsec;
}

int64_t EnvNumber(const char* name, int64_t fallback) {
  const char* text = std::getenv(name);
  return text && *text ? std::strtoll(text, nullptr, 10) : fallback;
}

struct Event {
  std::string name;
  int64_t begin, end;
  int depth;
};

struct Probe {
  std::vector<Event> events;
  int depth = 0;
  bool recording = true;   // from the process start (or a toggle) to the next first frame
  bool inInitGui = false;
  int framesOfWindow = 0;  // swaps since the current window's context was made
  int64_t firstFrameEnd = 0;
  int64_t togglesLeft = EnvNumber("BREAKDOWN_TOGGLES", 2);
  const int64_t pauseNs = EnvNumber("BREAKDOWN_PAUSE_MS", 300) * 1000000;

  void Mark(const std::string& name, int64_t at) { events.push_back(Event{name, at, at, depth}); }

  void Tell(const char* what) {
    const int fd = static_cast<int>(EnvNumber("BREAKDOWN_FD", -1));
    if (fd < 0) return;
    const std::string line = std::string(what) + "\n";
    if (write(fd, line.data(), line.size()) < 0) std::perror("launch probe");
  }

  void Write() {
    const char* path = std::getenv("BREAKDOWN_OUT");
    if (!path) return;
    if (FILE* out = std::fopen(path, "w")) {
      for (const Event& e : events)
        std::fprintf(out, "%s\t%lld\t%lld\t%d\n", e.name.c_str(), static_cast<long long>(e.begin),
                     static_cast<long long>(e.end), e.depth);
      std::fclose(out);
    }
  }
};

Probe& P() {
  static Probe probe;
  return probe;
}

// Times one call under `name` while recording; nested timed calls get a greater depth.
template <class F>
auto Timed(const std::string& name, F&& call) {
  Probe& p = P();
  if (!p.recording) return call();
  const int64_t begin = Now();
  const size_t slot = p.events.size();
  p.events.push_back(Event{name, begin, begin, p.depth});
  ++p.depth;
  struct Close {
    Probe& p;
    size_t slot;
    ~Close() {
      --p.depth;
      p.events[slot].end = Now();
    }
  } close{p, slot};
  return call();
}

}  // namespace

// ---- the program ---------------------------------------------------------------------------------

int32_t RealRunApp(int32_t, int32_t, int32_t, const char*, bool, bool) __asm__("__real__Z6RunAppiiiPKcbb");
int32_t WrapRunApp(int32_t w, int32_t h, int32_t bits, const char* title, bool full, bool cursor) __asm__(
    "__wrap__Z6RunAppiiiPKcbb");
int32_t WrapRunApp(int32_t w, int32_t h, int32_t bits, const char* title, bool full, bool cursor) {
  P().Mark("start", EnvNumber("BREAKDOWN_T0", Now()));
  P().Mark("main", Now());
  const int32_t result = RealRunApp(w, h, bits, title, full, cursor);
  P().Write();
  return result;
}

// ---- the scene -----------------------------------------------------------------------------------

void RealBuildScene() __asm__("__real__Z10BuildScenev");
void WrapBuildScene() __asm__("__wrap__Z10BuildScenev");
void WrapBuildScene() { Timed("BuildScene: screens and the rest", [] { RealBuildScene(); }); }

void RealFreeScene() __asm__("__real__Z9FreeScenev");
void WrapFreeScene() __asm__("__wrap__Z9FreeScenev");
void WrapFreeScene() { Timed("FreeScene", [] { RealFreeScene(); }); }

void RealDrawScene() __asm__("__real__Z9DrawScenev");
void WrapDrawScene() __asm__("__wrap__Z9DrawScenev");
void WrapDrawScene() { Timed("first DrawScene", [] { RealDrawScene(); }); }

void RealInitGUI(const std::string&, int32_t, int32_t, HDC, bool) __asm__(
    "__real__Z7InitGUIRKNSt7__cxx1112basic_stringIcSt11char_traitsIcESaIcEEEiiP5HDC__b");
void WrapInitGUI(const std::string&, int32_t, int32_t, HDC, bool) __asm__(
    "__wrap__Z7InitGUIRKNSt7__cxx1112basic_stringIcSt11char_traitsIcESaIcEEEiiP5HDC__b");
void WrapInitGUI(const std::string& folder, int32_t w, int32_t h, HDC dc, bool wide) {
  P().inInitGui = true;
  Timed("BuildScene: InitGUI, the rest", [&] { RealInitGUI(folder, w, h, dc, wide); });
  P().inInitGui = false;
}

void RealLoadBFFont(TGUIBFFont&, const uint8_t*, size_t) __asm__("__real__Z10LoadBFFontR10TGUIBFFontPKhm");
void WrapLoadBFFont(TGUIBFFont&, const uint8_t*, size_t) __asm__("__wrap__Z10LoadBFFontR10TGUIBFFontPKhm");
void WrapLoadBFFont(TGUIBFFont& font, const uint8_t* blob, size_t size) {
  Timed("BuildScene: BFF font", [&] { RealLoadBFFont(font, blob, size); });
}

bool RealLoadImageTexture(const std::string&, GLuint&, bool) __asm__(
    "__real__Z16LoadImageTextureRKNSt7__cxx1112basic_stringIcSt11char_traitsIcESaIcEEERjb");
bool WrapLoadImageTexture(const std::string&, GLuint&, bool) __asm__(
    "__wrap__Z16LoadImageTextureRKNSt7__cxx1112basic_stringIcSt11char_traitsIcESaIcEEERjb");
bool WrapLoadImageTexture(const std::string& name, GLuint& texture, bool fromResource) {
  return Timed(P().inInitGui ? "BuildScene: art textures" : "BuildScene: font images",
               [&] { return RealLoadImageTexture(name, texture, fromResource); });
}

extern "C" GLint __real_gluBuild2DMipmaps(GLenum, GLint, GLsizei, GLsizei, GLenum, GLenum, const void*);
extern "C" GLint __wrap_gluBuild2DMipmaps(GLenum target, GLint internal, GLsizei w, GLsizei h, GLenum format,
                                          GLenum type, const void* data) {
  return Timed(P().inInitGui ? "BuildScene: art textures, GLU mipmaps" : "BuildScene: font images, GLU mipmaps",
               [&] { return __real_gluBuild2DMipmaps(target, internal, w, h, format, type, data); });
}

void RealCreateGridFont(TGUIBMPFONT&, uint8_t) __asm__("__real__Z14CreateGridFontR11TGUIBMPFONTh");
void WrapCreateGridFont(TGUIBMPFONT&, uint8_t) __asm__("__wrap__Z14CreateGridFontR11TGUIBMPFONTh");
void WrapCreateGridFont(TGUIBMPFONT& font, uint8_t size) {
  Timed("BuildScene: grid fonts", [&] { RealCreateGridFont(font, size); });
}

void RealCreateSystemFont(TGUISYSFONT&, const std::string&, int32_t, bool, double, HDC) __asm__(
    "__real__Z16CreateSystemFontRiRKNSt7__cxx1112basic_stringIcSt11char_traitsIcESaIcEEEibdP5HDC__");
void WrapCreateSystemFont(TGUISYSFONT&, const std::string&, int32_t, bool, double, HDC) __asm__(
    "__wrap__Z16CreateSystemFontRiRKNSt7__cxx1112basic_stringIcSt11char_traitsIcESaIcEEEibdP5HDC__");
void WrapCreateSystemFont(TGUISYSFONT& font, const std::string& face, int32_t weight, bool outline, double depth,
                          HDC dc) {
  Timed("BuildScene: system font \"" + face + "\"",
        [&] { RealCreateSystemFont(font, face, weight, outline, depth, dc); });
}

void RealSoundPlayer(TSoundPlayer*, const std::string&) __asm__(
    "__real__ZN12TSoundPlayerC1ERKNSt7__cxx1112basic_stringIcSt11char_traitsIcESaIcEEE");
void WrapSoundPlayer(TSoundPlayer*, const std::string&) __asm__(
    "__wrap__ZN12TSoundPlayerC1ERKNSt7__cxx1112basic_stringIcSt11char_traitsIcESaIcEEE");
void WrapSoundPlayer(TSoundPlayer* self, const std::string& file) {
  Timed("BuildScene: sound player", [&] { RealSoundPlayer(self, file); });
}

// ---- the window layer ----------------------------------------------------------------------------

BOOL RealEnumDisplaySettingsA(LPCSTR, DWORD, DEVMODEA*) __asm__("__real__Z20EnumDisplaySettingsAPKcjP8DEVMODEA");
BOOL WrapEnumDisplaySettingsA(LPCSTR, DWORD, DEVMODEA*) __asm__("__wrap__Z20EnumDisplaySettingsAPKcjP8DEVMODEA");
BOOL WrapEnumDisplaySettingsA(LPCSTR device, DWORD mode, DEVMODEA* out) {
  return Timed("display mode: query, switch, restore", [&] { return RealEnumDisplaySettingsA(device, mode, out); });
}

LONG RealChangeDisplaySettingsA(DEVMODEA*, DWORD) __asm__("__real__Z22ChangeDisplaySettingsAP8DEVMODEAj");
LONG WrapChangeDisplaySettingsA(DEVMODEA*, DWORD) __asm__("__wrap__Z22ChangeDisplaySettingsAP8DEVMODEAj");
LONG WrapChangeDisplaySettingsA(DEVMODEA* mode, DWORD flags) {
  return Timed("display mode: query, switch, restore", [&] { return RealChangeDisplaySettingsA(mode, flags); });
}

int RealMessageBoxA(HWND, const char*, const char*, UINT) __asm__("__real__Z11MessageBoxAP6HWND__PKcS2_j");
int WrapMessageBoxA(HWND, const char*, const char*, UINT) __asm__("__wrap__Z11MessageBoxAP6HWND__PKcS2_j");
int WrapMessageBoxA(HWND owner, const char* text, const char* caption, UINT type) {
  P().Tell("box");
  const int result = Timed("message box, open until dismissed", [&] { return RealMessageBoxA(owner, text, caption, type); });
  P().Tell("closed");
  return result;
}

BOOL RealSetPixelFormat(HDC, int, const PIXELFORMATDESCRIPTOR*) __asm__(
    "__real__Z14SetPixelFormatP5HDC__iPK21PIXELFORMATDESCRIPTOR");
BOOL WrapSetPixelFormat(HDC, int, const PIXELFORMATDESCRIPTOR*) __asm__(
    "__wrap__Z14SetPixelFormatP5HDC__iPK21PIXELFORMATDESCRIPTOR");
BOOL WrapSetPixelFormat(HDC dc, int format, const PIXELFORMATDESCRIPTOR* pfd) {
  return Timed("window creation", [&] { return RealSetPixelFormat(dc, format, pfd); });
}

HGLRC RealWglCreateContext(HDC) __asm__("__real__Z16wglCreateContextP5HDC__");
HGLRC WrapWglCreateContext(HDC) __asm__("__wrap__Z16wglCreateContextP5HDC__");
HGLRC WrapWglCreateContext(HDC dc) {
  P().framesOfWindow = 0;
  return Timed("GL context creation", [&] { return RealWglCreateContext(dc); });
}

BOOL RealWglMakeCurrent(HDC, HGLRC) __asm__("__real__Z14wglMakeCurrentP5HDC__P7HGLRC__");
BOOL WrapWglMakeCurrent(HDC, HGLRC) __asm__("__wrap__Z14wglMakeCurrentP5HDC__P7HGLRC__");
BOOL WrapWglMakeCurrent(HDC dc, HGLRC rc) {
  return Timed("GL context: make current, release", [&] { return RealWglMakeCurrent(dc, rc); });
}

BOOL RealWglDeleteContext(HGLRC) __asm__("__real__Z16wglDeleteContextP7HGLRC__");
BOOL WrapWglDeleteContext(HGLRC) __asm__("__wrap__Z16wglDeleteContextP7HGLRC__");
BOOL WrapWglDeleteContext(HGLRC rc) {
  return Timed("GL context destruction", [&] { return RealWglDeleteContext(rc); });
}

BOOL RealShowWindow(HWND, int) __asm__("__real__Z10ShowWindowP6HWND__i");
BOOL WrapShowWindow(HWND, int) __asm__("__wrap__Z10ShowWindowP6HWND__i");
BOOL WrapShowWindow(HWND window, int command) {
  return Timed("show window", [&] { return RealShowWindow(window, command); });
}

BOOL RealDestroyWindow(HWND) __asm__("__real__Z13DestroyWindowP6HWND__");
BOOL WrapDestroyWindow(HWND) __asm__("__wrap__Z13DestroyWindowP6HWND__");
BOOL WrapDestroyWindow(HWND window) {
  return Timed("window destruction", [&] { return RealDestroyWindow(window); });
}

BOOL RealSwapBuffers(HDC) __asm__("__real__Z11SwapBuffersP5HDC__");
BOOL WrapSwapBuffers(HDC) __asm__("__wrap__Z11SwapBuffersP5HDC__");
BOOL WrapSwapBuffers(HDC dc) {
  Probe& p = P();
  const BOOL result = Timed("first swap", [&] { return RealSwapBuffers(dc); });
  const int64_t now = Now();
  if (p.framesOfWindow++ == 0) {
    p.firstFrameEnd = now;
    p.Mark("first frame", now);
    p.recording = false;
  } else if (p.firstFrameEnd != 0 && now - p.firstFrameEnd >= p.pauseNs && MainWindow != nullptr) {
    p.firstFrameEnd = 0;
    if (p.togglesLeft-- > 0) {
      p.recording = true;
      p.Mark(Fullscreen ? "F1 to a window" : "F1 to fullscreen", now);
      RequestFullscreenToggle(*MainWindow);  // what F1 does in ProcessKeys
    } else {
      QuitApp(*MainWindow);
    }
  }
  return result;
}

// ---- SDL -----------------------------------------------------------------------------------------

extern "C" int __real_SDL_InitSubSystem(Uint32);
extern "C" int __wrap_SDL_InitSubSystem(Uint32 flags) {
  if (!(flags & SDL_INIT_VIDEO)) return __real_SDL_InitSubSystem(flags);
  return Timed("SDL video set-up", [&] { return __real_SDL_InitSubSystem(flags); });
}

extern "C" void __real_SDL_QuitSubSystem(Uint32);
extern "C" void __wrap_SDL_QuitSubSystem(Uint32 flags) {
  Timed((flags & SDL_INIT_VIDEO) ? "SDL video shut-down" : "SDL audio shut-down", [&] { __real_SDL_QuitSubSystem(flags); });
}

extern "C" void __real_SDL_CloseAudioDevice(SDL_AudioDeviceID);
extern "C" void __wrap_SDL_CloseAudioDevice(SDL_AudioDeviceID device) {
  Timed("audio device closing", [&] { __real_SDL_CloseAudioDevice(device); });
}
