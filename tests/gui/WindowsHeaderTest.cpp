// The toolkit beside <windows.h>, included first as a Windows program would: its DrawText macro
// (DrawTextA) must not turn the toolkit's DrawText into a call of another name, and the system's
// function stays reachable by its own name.
#include <windows.h>

#include "GLGUI.h"
#include "GuiTestSupport.h"

using namespace guitest;

TEST_F(GuiTest, TheToolkitAndWindowsHeaderTogether) {
  InstallBuiltinFont();
  EXPECT_FALSE(CaptureQuads([] { DrawText(10, 20, "toolkit"); }).empty());
  HDC dc = CreateCompatibleDC(nullptr);
  ASSERT_NE(dc, nullptr);
  RECT area{0, 0, 200, 50};
  EXPECT_GT(DrawTextA(dc, "Win32", -1, &area, DT_CALCRECT), 0);
  DeleteDC(dc);
}
