// What a program's mistakes get: null texts, coordinates at int32's limits, a button made before
// the built-in font is loaded.
#include "GuiTestSupport.h"

#include <climits>
#include <cmath>
#include <type_traits>

using namespace guitest;

namespace {

using MisuseTest = GuiTest;

// A literal nullptr is refused where it is written.
static_assert(!std::is_assignable_v<TGUIText&, std::nullptr_t>);
static_assert(!std::is_constructible_v<TGUIText, std::nullptr_t>);
static_assert(!std::is_constructible_v<TGUISysLabel, int32_t, int32_t, double, double, TGUISYSFONT, std::nullptr_t,
                                       double, double, double, double, TGUISlot>);
static_assert(!std::is_constructible_v<TGUIBmpLabel, int32_t, int32_t, TGUIBMPFONT, GLuint, std::nullptr_t, double,
                                       double, double, double, TGUISlot>);
static_assert(std::is_assignable_v<TGUIText&, const char*> && std::is_assignable_v<TGUIText&, std::string>);

}  // namespace

TEST_F(MisuseTest, ANullPointerTextIsEmpty) {
  InstallBuiltinFont();
  const char* none = nullptr;
  TGUIButton* b = Own(new TGUIButton(10, 10, 200, 40, 1, 1, 1, 1, TGUISlot(&screen)));
  b->Caption = none;
  EXPECT_EQ(b->Caption, "");
  b->Caption = "ok";
  b->Caption.assign(none);
  b->Name = none;
  EXPECT_TRUE(b->Caption.empty() && b->Name.empty());
  EXPECT_TRUE(Capture([&] { b->DrawCaption(); }).empty());
  TGUISysLabel* sys = Own(new TGUISysLabel(0, 0, 1, 1, 1, none, 1, 1, 1, 1, TGUISlot(&screen)));
  TGUIBmpLabel* bmp = Own(new TGUIBmpLabel(0, 0, TGUIBMPFONT{1, 16}, 0, none, 1, 1, 1, 1, TGUISlot(&screen)));
  EXPECT_TRUE(sys->Text.empty() && bmp->Text.empty());
  EXPECT_TRUE(Capture([&] { DrawText(0, 0, none); }).empty());
  EXPECT_FALSE(Capture([&] { DrawText(0, 0, "a"); }).empty());
}

TEST_F(MisuseTest, CoordinatesAtInt32sLimitsAreHeldWithinTheLimit) {
  const int32_t L = GUICoordinateLimit;
  TGUIpanel* all = Own(new TGUIpanel(INT_MIN, INT_MAX, INT_MAX, INT_MIN, 1, 1, 1, 1, TGUISlot(&screen)));
  EXPECT_EQ(Geometry(*all), (std::vector<int32_t>{-L, -L, L, L, 2 * L, 2 * L, 0, 0}));
  TGUIpanel* p = all;
  screen->Add(TGUISlot(&p));
  // It covers the screen: drawn, and under the mouse everywhere, with a child button far inside.
  EXPECT_FALSE(ScreenQuads().empty());
  TGUIButton* b = Own(new TGUIButton(INT_MAX - 10, INT_MAX - 10, INT_MAX, INT_MAX, 1, 1, 1, 1, TGUISlot(&p)));
  all->AddChild(TGUISlot(&b));
  Mouse(512, 384, false);
  EXPECT_TRUE(all->IsHot());
  EXPECT_FALSE(b->MouseInside());
  TGUISysLabel* label = Own(new TGUISysLabel(INT_MIN, INT_MAX, 1, 1, 1, "x", 1, 1, 1, 1, TGUISlot(&p)));
  EXPECT_EQ(label->Left, -L);
  EXPECT_EQ(label->Top, L);
  EXPECT_TRUE(std::isfinite(label->OriginX) && std::isfinite(label->OriginY));
}

TEST_F(MisuseTest, AButtonMadeBeforeTheFontSaysSoOnceAndShowsNoCaption) {
  InstallBuiltinFont();
  Own(new TGUIButton(0, 0, 10, 10, 1, 1, 1, 1, TGUISlot(&screen)));  // with the font: nothing said
  const TGUIBFFont loaded = BuiltinFont;
  BuiltinFont = TGUIBFFont{};
  testing::internal::CaptureStderr();
  TGUIButton* early = Own(new TGUIButton(0, 0, 10, 10, 1, 1, 1, 1, TGUISlot(&screen)));
  Own(new TGUIButton(0, 0, 10, 10, 1, 1, 1, 1, TGUISlot(&screen)));
  const std::string said = testing::internal::GetCapturedStderr();
  EXPECT_EQ(said, "glgui: a TGUIButton was made before InitGUI loaded the built-in font; its caption will not show\n");
  BuiltinFont = loaded;
  EXPECT_TRUE(Capture([&] { early->DrawCaption(); }).empty());
}
