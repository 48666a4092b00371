// The real API as the program uses it: the messages a window gets at creation and its client
// area, the pointer counter and display modes; and the small interfaces of our own on it: the
// hover sound on MCI, the code page 1250 conversion that message boxes use, files through
// CreateFile, resources through FindResource.
#include "Files.h"
#include "Resources.h"
#include "Sound.h"
#include "Win32Api.h"
#include "WinFonts.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<UINT> gSeen;  // what the spy procedure received, in order
LPARAM gSizeParam = 0;

LRESULT CALLBACK SpyProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
  gSeen.push_back(message);
  if (message == WM_SIZE) gSizeParam = lParam;
  if (message == WM_CREATE)
    SetWindowLongPtrA(hWnd, GWLP_USERDATA,
                      reinterpret_cast<LONG_PTR>(reinterpret_cast<const CREATESTRUCTA*>(lParam)->lpCreateParams));
  return DefWindowProcA(hWnd, message, wParam, lParam);
}

// Only the messages the shell's window procedure acts on at creation.
std::vector<UINT> ShellMessages(const std::vector<UINT>& all) {
  std::vector<UINT> out;
  for (UINT m : all)
    if (m == WM_NCCREATE || m == WM_CREATE || m == WM_SIZE || m == WM_MOVE) out.push_back(m);
  return out;
}

std::vector<LONG> ClientSize(HWND hWnd) {
  RECT r{};
  GetClientRect(hWnd, &r);
  return {r.right, r.bottom};
}

TEST(RealWindows, CreationAndFirstShowingSendTheirMessagesWithTheParameterAndAnExactClientArea) {
  const WNDCLASSEXA wc{sizeof(WNDCLASSEXA), 0, SpyProc, 0, 0, GetModuleHandleA(nullptr),
                       nullptr, nullptr, nullptr, nullptr, "Spy", nullptr};
  ASSERT_NE(RegisterClassExA(&wc), 0);
  RECT rect{0, 0, 640, 480};
  AdjustWindowRectEx(&rect, WS_OVERLAPPEDWINDOW, FALSE, WS_EX_APPWINDOW);
  int tag = 0;
  gSeen.clear();
  HWND hWnd = CreateWindowExA(WS_EX_APPWINDOW, "Spy", "spy", WS_OVERLAPPEDWINDOW, 0, 0, rect.right - rect.left,
                              rect.bottom - rect.top, nullptr, nullptr, GetModuleHandleA(nullptr), &tag);
  ASSERT_NE(hWnd, nullptr);
  // A window created hidden gets its size and place when it is first shown.
  EXPECT_EQ(ShellMessages(gSeen), (std::vector<UINT>{WM_NCCREATE, WM_CREATE}));
  gSeen.clear();
  ShowWindow(hWnd, SW_SHOWNORMAL);
  EXPECT_EQ(ShellMessages(gSeen), (std::vector<UINT>{WM_SIZE, WM_MOVE}));
  EXPECT_EQ(gSizeParam, MAKELPARAM(640, 480));
  EXPECT_EQ(GetWindowLongPtrA(hWnd, GWLP_USERDATA), reinterpret_cast<LONG_PTR>(&tag));
  EXPECT_EQ(ClientSize(hWnd), std::vector<LONG>({640, 480}));
  DestroyWindow(hWnd);
  EXPECT_TRUE(UnregisterClassA("spy", GetModuleHandleA(nullptr)));
}

TEST(RealWindows, ShowCursorCountsAndDisplayModesTheScreenLacksAreRefused) {
  const int start = ShowCursor(TRUE) - 1;
  std::vector<int> counts;
  for (BOOL show : {FALSE, FALSE, TRUE, TRUE, TRUE, FALSE}) counts.push_back(ShowCursor(show) - start);
  EXPECT_EQ(counts, (std::vector<int>{0, -1, 0, 1, 2, 1}));
  ShowCursor(FALSE);
  // The test display is 1024 x 768 and offers no other mode.
  DEVMODEA current{};
  current.dmSize = sizeof(DEVMODEA);
  ASSERT_TRUE(EnumDisplaySettingsA(nullptr, ENUM_CURRENT_SETTINGS, &current));
  ASSERT_EQ(std::vector<DWORD>({current.dmPelsWidth, current.dmPelsHeight}), std::vector<DWORD>({1024, 768}));
  DEVMODEA mode{};
  mode.dmSize = sizeof(DEVMODEA);
  mode.dmFields = DM_BITSPERPEL | DM_PELSWIDTH | DM_PELSHEIGHT;
  mode.dmBitsPerPel = 32;
  mode.dmPelsWidth = 640;
  mode.dmPelsHeight = 480;
  EXPECT_EQ(ChangeDisplaySettingsA(&mode, CDS_FULLSCREEN), DISP_CHANGE_BADMODE);
}

const std::string kSound = std::string(GLGUI_SOURCE_DIR) + "/default/nvg_off.wav";

TEST(MciSound, AWaveFileOpensPlaysAndRewindsAMissingOneIsSilent) {
  TSoundPlayer missing("default\\no_such_sound.wav");
  EXPECT_FALSE(missing.Audible());
  EXPECT_FALSE(missing.Error().empty());
  missing.Play();  // does nothing
  EXPECT_FALSE(missing.Playing());

  // The length as the file's header gives it: data bytes over bytes per second.
  std::vector<uint8_t> wav;
  ASSERT_EQ(ReadWholeFile(kSound, wav), FileReadStatus::Ok);
  ASSERT_GE(wav.size(), 44u);
  auto u32 = [&](size_t at) { return uint32_t(wav[at]) | uint32_t(wav[at + 1]) << 8 | uint32_t(wav[at + 2]) << 16 | uint32_t(wav[at + 3]) << 24; };
  const uint32_t ms = uint32_t(uint64_t(u32(40)) * 1000 / u32(28));
  TSoundPlayer sound(kSound);
  ASSERT_TRUE(sound.Audible()) << sound.Error();
  EXPECT_NEAR(double(sound.Length()), double(ms), 2.0);
  // Without a sound card the device stops at once; each play starts over from the beginning.
  for (int i = 0; i < 3; ++i) sound.Play();
}

TEST(CodePage1250, BytesConvertAsMessageBoxesShowThem) {
  std::vector<uint32_t> got;
  for (int c : {0x41, 0xE9, 0xE1, 0xFB, 0xFA, 0xF5, 0xF3, 0xFC, 0xF6, 0x80, 0x8A, 0x9E, 0xA0})
    got.push_back(Cp1250ToUnicode(uint8_t(c)));
  EXPECT_EQ(got, (std::vector<uint32_t>{0x41, 0xE9, 0xE1, 0x171, 0xFA, 0x151, 0xF3, 0xFC, 0xF6, 0x20AC, 0x160, 0x17E,
                                        0xA0}));
  std::vector<uint32_t> unassigned;
  for (int c : {0x81, 0x83, 0x88, 0x90, 0x98}) unassigned.push_back(Cp1250ToUnicode(uint8_t(c)));
  // The bytes the code page leaves unassigned give the C1 controls of the same value.
  EXPECT_EQ(unassigned, (std::vector<uint32_t>{0x81, 0x83, 0x88, 0x90, 0x98}));
}

TEST(FilesAndResources, BackslashPathsReadAndResourcesAreFoundWhateverTheCase) {
  std::vector<uint8_t> data;
  EXPECT_EQ(ReadWholeFile(std::string(GLGUI_SOURCE_DIR) + "\\default\\font.tga", data), FileReadStatus::Ok);
  EXPECT_FALSE(data.empty());
  EXPECT_EQ(ReadWholeFile(std::string(GLGUI_SOURCE_DIR) + "\\default\\missing.tga", data), FileReadStatus::NotFound);
  EXPECT_TRUE(data.empty());
  EXPECT_EQ(ReadWholeFile(std::string(GLGUI_SOURCE_DIR) + "\\default", data), FileReadStatus::OpenFailed);
  EXPECT_FALSE(FileExists(std::string(GLGUI_SOURCE_DIR) + "/default"));
  ResourceBlob upper{}, lower{};
  ASSERT_TRUE(FindProgramResource("TGA", "PANEL", &upper));
  ASSERT_TRUE(FindProgramResource("tga", "panel", &lower));
  EXPECT_EQ(upper.Data, lower.Data);
  EXPECT_GT(upper.Size, 18u);
  EXPECT_FALSE(FindProgramResource("TGA", "NOSUCH", nullptr));
  EXPECT_FALSE(FindProgramResource("BMP", "PANEL", nullptr));
  // Hidden and shown again; a blob added at run time comes first.
  UnregisterProgramResource("TGA", "PANEL");
  EXPECT_FALSE(FindProgramResource("TGA", "PANEL", nullptr));
  const uint8_t bytes[3] = {1, 2, 3};
  RegisterProgramResource("TGA", "PANEL", bytes, 3);
  ASSERT_TRUE(FindProgramResource("TGA", "Panel", &lower));
  EXPECT_EQ(lower.Size, 3u);
}

}  // namespace
