// The toolkit beside <windows.h>, included first as a Windows program would: the toolkit's headers
// leave every name <windows.h> defines as it was (its DrawText and LoadImage macros, its own
// MessageBoxA and GetTickCount), DrawText(x, y, text) still reaches the toolkit and the system's
// DrawText stays reachable by both its names.
#include <windows.h>

#include <string>
#include <vector>

#define SPELLING(name) SPELLED(name)
#define SPELLED(name) #name
#define SYSTEM_NAMES {SPELLING(DrawText), SPELLING(LoadImage), SPELLING(MessageBoxA), SPELLING(GetTickCount)}

namespace {
const std::vector<std::string> kNamesBeforeTheToolkit = SYSTEM_NAMES;
}

#include "GLGUI.h"
#include "GLTextures.h"
#include "GLWindow.h"
#include "GuiTestSupport.h"

using namespace guitest;

TEST(WindowsHeader, TheToolkitLeavesTheSystemsNamesAsTheyWere) {
  const std::vector<std::string> after = SYSTEM_NAMES;
  EXPECT_EQ(after, kNamesBeforeTheToolkit);
}

TEST_F(GuiTest, TheToolkitAndWindowsHeaderTogether) {
  InstallBuiltinFont();
  EXPECT_FALSE(CaptureQuads([] { DrawText(10, 20, "toolkit"); }).empty());
  EXPECT_FALSE(CaptureQuads([] { DrawText(10, 20, std::string("toolkit")); }).empty());
  HDC dc = CreateCompatibleDC(nullptr);
  ASSERT_NE(dc, nullptr);
  RECT area{0, 0, 200, 50};
  EXPECT_GT(DrawTextA(dc, "Win32", -1, &area, DT_CALCRECT), 0);
  RECT same{0, 0, 200, 50};
  EXPECT_EQ(DrawText(dc, "Win32", -1, &same, DT_CALCRECT), DrawTextA(dc, "Win32", -1, &area, DT_CALCRECT));
  DeleteDC(dc);
}
