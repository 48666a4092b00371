// The demonstration: its scene of four screens, the button handlers and the per-frame work that
// the shell calls (BuildScene, ProcessKeys, DrawScene, FreeScene, declared in GLWindow.h).
#pragma once

#include <glgui/GLGUI.h>
#include <glgui/GLWindow.h>
#include <glgui/Sound.h>

#include <cstdint>
#include <memory>

// The main window's title, also the caption of the demo's own messages.
inline constexpr char kDemoTitle[] = "GUI  DEMO";

// The three pages and the always-shown screen.
extern TGUIscreen* ButtonScreen;
extern TGUIscreen* TextScreen;
extern TGUIscreen* PanelScreen;
extern TGUIscreen* MainScreen;

// Button page.
extern TGUIBmpLabel* ButtonInfo1;
extern TGUIBmpLabel* ButtonInfo2;
extern TGUIBmpLabel* ButtonInfo3;
extern TGUIButton* Button1;
extern TGUIButton* Button2;
extern TGUIButton* Button3;
extern TGUIButton* Button4;

// Text page.
extern TGUIBmpLabel* TextInfo1;
extern TGUIBmpLabel* TextInfo2;
extern TGUIBmpLabel* TextInfo3;
extern TGUISysLabel* OutlineLabel;
extern TGUISysLabel* ComicLabel;
extern TGUISysLabel* ScaledLabel;
extern TGUIBmpLabel* TextInfo4;
extern TGUIBmpLabel* BitmapLabel;
extern TGUIBmpLabel* FontSizeLabel;
extern TGUIBmpLabel* FontTextureLabel;

// Panel page.
extern TGUIBmpLabel* PanelInfo1;
extern TGUIBmpLabel* PanelInfo2;
extern TGUIBmpLabel* PanelInfo3;
extern TGUIBmpLabel* PanelInfo4;
extern TGUIpanel* PanelA;
extern TGUIpanel* PanelB;
extern TGUIpanel* PanelC;
extern TGUIpanel* PanelD;

// The always-shown screen.
extern TGUIpanel* TitlePanel;
extern TGUIBmpLabel* WelcomeLabel;
extern TGUIBmpLabel* VersionLabel;
extern TGUIButton* PanelDemoButton;
extern TGUIButton* TextDemoButton;
extern TGUIButton* ButtonDemoButton;
extern TGUIButton* ExitButton;

// Fonts and font images.
extern TGUIBMPFONT GridFont16A;
extern TGUIBMPFONT GridFont16B;
extern TGUIBMPFONT GridFont10;
extern TGUISYSFONT ComicFont;
extern TGUISYSFONT OutlineFont;
extern GLuint DefaultFontTexture;
extern GLuint AltFontTexture;

// The hover sound; none when "default\nvg_off.wav" is missing.
extern std::unique_ptr<TSoundPlayer> SoundPlayer;

// The page-change transition.
extern double ZoomDistance;
extern uint8_t ZoomingOut;
extern int32_t ZoomMouseX;
extern int32_t ZoomMouseY;
extern int32_t TargetScreen;

// Button handlers.
void SwitchDemoScreen(TGUIButton* button);
void PlayHoverSound(TGUIButton* button);
void ShowButtonMessage(TGUIButton* button);

// The text of the message "button N" shows.
std::string ButtonMessage(int32_t tag);
