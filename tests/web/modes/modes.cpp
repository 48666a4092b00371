// Prints the display modes as the page gives them to a Win32 program, then the answers to a test
// of a mode request with no height and to the saved mode put back. One line each:
//   mode current: 1000x700, 32 bits, 60 Hz
#include <glgui/Win32Api.h>

#include <cstdio>

int main() {
  const struct {
    const char* name;
    DWORD number;
  } asked[] = {{"current", ENUM_CURRENT_SETTINGS}, {"registry", ENUM_REGISTRY_SETTINGS}, {"0", 0}, {"1", 1}};
  for (const auto& a : asked) {
    DEVMODEA mode{};
    mode.dmSize = sizeof mode;
    if (EnumDisplaySettingsA(nullptr, a.number, &mode))
      std::printf("mode %s: %lux%lu, %lu bits, %lu Hz\n", a.name, static_cast<unsigned long>(mode.dmPelsWidth),
                  static_cast<unsigned long>(mode.dmPelsHeight), static_cast<unsigned long>(mode.dmBitsPerPel),
                  static_cast<unsigned long>(mode.dmDisplayFrequency));
    else
      std::printf("mode %s: none\n", a.name);
  }
  DEVMODEA flat{};
  flat.dmSize = sizeof flat;
  flat.dmFields = DM_PELSWIDTH | DM_PELSHEIGHT;
  flat.dmPelsWidth = 640;
  std::printf("no height: %ld\n", static_cast<long>(ChangeDisplaySettingsA(&flat, CDS_TEST | CDS_FULLSCREEN)));
  std::printf("saved mode: %ld\n", static_cast<long>(ChangeDisplaySettingsA(nullptr, 0)));
  return 0;
}
