// The demonstration's scene, its handlers and its per-frame work.
#include "main.h"

#include "Win32Calls.h"

#include <GL/glu.h>
#include <glgui/Files.h>
#include <glgui/GLTextures.h>

#include <cstdio>
#include <string>
#include <utility>
#include <vector>

TGUIscreen* ButtonScreen = nullptr;
TGUIscreen* TextScreen = nullptr;
TGUIscreen* PanelScreen = nullptr;
TGUIscreen* MainScreen = nullptr;

TGUIBmpLabel* ButtonInfo1 = nullptr;
TGUIBmpLabel* ButtonInfo2 = nullptr;
TGUIBmpLabel* ButtonInfo3 = nullptr;
TGUIButton* Button1 = nullptr;
TGUIButton* Button2 = nullptr;
TGUIButton* Button3 = nullptr;
TGUIButton* Button4 = nullptr;

TGUIBmpLabel* TextInfo1 = nullptr;
TGUIBmpLabel* TextInfo2 = nullptr;
TGUIBmpLabel* TextInfo3 = nullptr;
TGUISysLabel* OutlineLabel = nullptr;
TGUISysLabel* ComicLabel = nullptr;
TGUISysLabel* ScaledLabel = nullptr;
TGUIBmpLabel* TextInfo4 = nullptr;
TGUIBmpLabel* BitmapLabel = nullptr;
TGUIBmpLabel* FontSizeLabel = nullptr;
TGUIBmpLabel* FontTextureLabel = nullptr;

TGUIBmpLabel* PanelInfo1 = nullptr;
TGUIBmpLabel* PanelInfo2 = nullptr;
TGUIBmpLabel* PanelInfo3 = nullptr;
TGUIBmpLabel* PanelInfo4 = nullptr;
TGUIpanel* PanelA = nullptr;
TGUIpanel* PanelB = nullptr;
TGUIpanel* PanelC = nullptr;
TGUIpanel* PanelD = nullptr;

TGUIpanel* TitlePanel = nullptr;
TGUIBmpLabel* WelcomeLabel = nullptr;
TGUIBmpLabel* VersionLabel = nullptr;
TGUIButton* PanelDemoButton = nullptr;
TGUIButton* TextDemoButton = nullptr;
TGUIButton* ButtonDemoButton = nullptr;
TGUIButton* ExitButton = nullptr;

TGUIBMPFONT GridFont16A;
TGUIBMPFONT GridFont16B;
TGUIBMPFONT GridFont10;
TGUISYSFONT ComicFont = 0;
TGUISYSFONT OutlineFont = 0;
GLuint DefaultFontTexture = 0;
GLuint AltFontTexture = 0;

std::unique_ptr<TSoundPlayer> SoundPlayer;

double ZoomDistance = 0;
uint8_t ZoomingOut = 0;
int32_t ZoomMouseX = 0;
int32_t ZoomMouseY = 0;
int32_t TargetScreen = 0;

namespace {

const char* const kSoundFile = "default\\nvg_off.wav";

// Every element of the current scene. The element variables above hold raw pointers (the
// toolkit's slots take their addresses); this list owns the elements until FreeScene.
std::vector<std::unique_ptr<TGUIobject>> SceneElements;

template <class T, class... Args>
T* Make(Args&&... args) {
  auto element = std::make_unique<T>(std::forward<Args>(args)...);
  T* raw = element.get();
  SceneElements.push_back(std::move(element));
  return raw;
}

// Description lines: the small grid font in translucent green.
TGUIBmpLabel* Description(int32_t x, int32_t y, const char* text, TGUIscreen** screen) {
  TGUIBmpLabel* label = Make<TGUIBmpLabel>(x, y, GridFont10, DefaultFontTexture, text, 0, 1, 0, 0.8, screen);
  return label;
}

TGUIButton* PageButton(int32_t top, int32_t tag, const char* caption) {
  TGUIButton* button = Make<TGUIButton>(100, top, 300, top + 40, 1, 1, 1, 1, &ButtonScreen);
  button->Caption = caption;
  button->Tag = tag;
  button->OnClick = ShowButtonMessage;
  button->OnEnter = PlayHoverSound;
  return button;
}

TGUIButton* NavigationButton(int32_t left, int32_t top, int32_t right, int32_t bottom, int32_t tag,
                             const char* caption) {
  TGUIButton* button = Make<TGUIButton>(left, top, right, bottom, 1, 1, 1, 1, &MainScreen);
  button->Caption = caption;
  button->Tag = tag;
  button->OnClick = SwitchDemoScreen;
  button->OnEnter = PlayHoverSound;
  return button;
}

// A page, hidden until its navigation button shows it; a screen reader is told its name then.
TGUIscreen* Page(const char* name) {
  TGUIscreen* screen = Make<TGUIscreen>();
  screen->Visible = false;
  screen->Name = name;
  return screen;
}

void BuildButtonPage() {
  ButtonScreen = Page("button demo");
  ButtonInfo1 = Description(30, 30, "- atmossa a ket texturat", &ButtonScreen);
  ButtonScreen->Add(&ButtonInfo1);
  ButtonInfo2 = Description(30, 50, "- lehet szoveget beiirni", &ButtonScreen);
  ButtonScreen->Add(&ButtonInfo2);
  ButtonInfo3 = Description(30, 70, "- onClick, MouseUp, MouseDown esemenyek", &ButtonScreen);
  ButtonScreen->Add(&ButtonInfo3);
  Button1 = PageButton(130, 1, "button 1");
  ButtonScreen->Add(&Button1);
  Button2 = PageButton(170, 2, "button 2");
  ButtonScreen->Add(&Button2);
  Button3 = PageButton(210, 3, "button 3");
  ButtonScreen->Add(&Button3);
  Button4 = PageButton(250, 4, "button 4");
  ButtonScreen->Add(&Button4);
}

void BuildTextPage() {
  TextScreen = Page("text demo");
  TextInfo1 = Description(30, 30, "- ket fele static szoveg megoldas", &TextScreen);
  TextScreen->Add(&TextInfo1);
  TextInfo2 = Description(30, 50, "- szinezhetok, meretezhetok", &TextScreen);
  TextScreen->Add(&TextInfo2);
  TextInfo3 = Description(30, 70, "- TGUISYSFONT: rendszer betutipusbol letrehozott betukeszlet", &TextScreen);
  TextScreen->Add(&TextInfo3);
  // "Normal text (outline).  " and the Hungarian letters e a u u o o u o with accents, code page 1250.
  OutlineLabel = Make<TGUISysLabel>(100, 120, 0.05, 0.05, DefaultSystemFont,
                                      "Normal text (outline).  \xE9\xE1\xFB\xFA\xF5\xF3\xFC\xF6", 1, 0, 1, 1,
                                      &TextScreen);
  TextScreen->Add(&OutlineLabel);
  ComicLabel =
      Make<TGUISysLabel>(130, 180, 0.1, 0.05, ComicFont, "Comic Sans MS (filled)", 1, 0.5, 1, 1, &TextScreen);
  TextScreen->Add(&ComicLabel);
  ScaledLabel = Make<TGUISysLabel>(160, 240, 0.1, 0.15, ComicFont, "scaled ", 1, 0.2, 1, 1, &TextScreen);
  TextScreen->Add(&ScaledLabel);
  TextInfo4 =
      Description(30, 382, "- TGUIBMPFONT: egy kulso texturat felhasznalva letrehozott betutipus", &TextScreen);
  TextScreen->Add(&TextInfo4);
  BitmapLabel =
      Make<TGUIBmpLabel>(100, 422, GridFont10, DefaultFontTexture, "normal bitmap text", 1, 0, 1, 1, &TextScreen);
  TextScreen->Add(&BitmapLabel);
  FontSizeLabel =
      Make<TGUIBmpLabel>(130, 462, GridFont16A, DefaultFontTexture, "change font size", 1, 0, 0.5, 1, &TextScreen);
  TextScreen->Add(&FontSizeLabel);
  FontTextureLabel = Make<TGUIBmpLabel>(160, 502, GridFont16A, AltFontTexture, "change font texture", 1, 0, 0.8, 1, &TextScreen);
  TextScreen->Add(&FontTextureLabel);
}

void BuildPanelPage() {
  PanelScreen = Page("panel demo");
  PanelInfo1 = Description(30, 30, "- a panelek mozgathatok", &PanelScreen);
  PanelScreen->Add(&PanelInfo1);
  PanelInfo2 = Description(30, 50, "- lehet fejlecuk, lablecuk", &PanelScreen);
  PanelScreen->Add(&PanelInfo2);
  PanelInfo3 = Description(30, 70, "- egyedi texturazas is megoldhato. szinezes rgba szerint", &PanelScreen);
  PanelScreen->Add(&PanelInfo3);
  PanelInfo4 = Description(30, 90, "- szulo-gyermek kapcsolat", &PanelScreen);
  PanelScreen->Add(&PanelInfo4);
  // The panels show no text: a screen reader is told what each shows.
  PanelA = Make<TGUIpanel>(40, 300, 240, 500, 1, 1, 1, 1, &PanelScreen);
  PanelA->Name = "plain panel";
  PanelScreen->Add(&PanelA);
  PanelB = Make<TGUIpanel>(330, 300, 540, 500, 1, 1, 1, 1, &PanelScreen);
  PanelB->HasHeader = true;
  PanelB->Name = "panel with a header";
  PanelScreen->Add(&PanelB);
  PanelC = Make<TGUIpanel>(630, 300, 840, 500, 1, 1, 1, 1, &PanelScreen);
  PanelC->HasHeader = true;
  PanelC->HasFooter = true;
  PanelC->Name = "panel with a header and a footer";
  PanelScreen->Add(&PanelC);
  PanelD = Make<TGUIpanel>(30, 30, 130, 130, 1, 0, 0, 1, &PanelC);
  PanelD->Name = "child panel";
  PanelC->AddChild(&PanelD);
}

void BuildMainScreen() {
  MainScreen = Make<TGUIscreen>();
  TitlePanel = Make<TGUIpanel>(212, 278, 812, 478, 1, 1, 1, 1, &MainScreen);
  TitlePanel->Draggable = false;
  MainScreen->Add(&TitlePanel);
  WelcomeLabel = Make<TGUIBmpLabel>(30, 30, GridFont16A, DefaultFontTexture, "wellcome to the veltro demo", 1, 1, 0, 1, &TitlePanel);
  TitlePanel->AddChild(&WelcomeLabel);
  // Placed relative to the title panel (and hidden with it) but drawn by the screen.
  VersionLabel =
      Make<TGUIBmpLabel>(30, 100, GridFont16B, DefaultFontTexture, "version 0.15", 1, 1, 0, 0.6, &TitlePanel);
  MainScreen->Add(&VersionLabel);
  PanelDemoButton = NavigationButton(10, 10, 200, 40, 0, "panel demo");
  MainScreen->Add(&PanelDemoButton);
  TextDemoButton = NavigationButton(804, 10, 1014, 40, 1, "text demo");
  MainScreen->Add(&TextDemoButton);
  ButtonDemoButton = NavigationButton(10, 718, 200, 758, 2, "button demo");
  MainScreen->Add(&ButtonDemoButton);
  ExitButton = NavigationButton(804, 718, 1014, 758, 3, "exit");
  MainScreen->Add(&ExitButton);
}

void DrawBackPlate() {
  // The box behind the GUI: its front face is the plane's visible rectangle, 0.1 deep.
  const float x = static_cast<float>(GUIPlaneHalfWidth), y = static_cast<float>(GUIPlaneHalfHeight), z = 0.1f;
  glBegin(GL_QUADS);
  glColor3f(0.3f, 0.3f, 0.3f);
  glVertex3f(-x, -y, 0);  // front
  glVertex3f(-x, y, 0);
  glVertex3f(x, y, 0);
  glVertex3f(x, -y, 0);
  glVertex3f(-x, -y, -z);  // back
  glVertex3f(-x, y, -z);
  glVertex3f(x, y, -z);
  glVertex3f(x, -y, -z);
  glColor3f(0.2f, 0.2f, 0.2f);
  glVertex3f(-x, -y, 0);  // left
  glVertex3f(-x, -y, -z);
  glVertex3f(-x, y, -z);
  glVertex3f(-x, y, 0);
  glVertex3f(x, -y, 0);  // right
  glVertex3f(x, -y, -z);
  glVertex3f(x, y, -z);
  glVertex3f(x, y, 0);
  glVertex3f(-x, -y, 0);  // bottom
  glVertex3f(-x, -y, -z);
  glVertex3f(x, -y, -z);
  glVertex3f(x, -y, 0);
  glVertex3f(-x, y, 0);  // top
  glVertex3f(-x, y, -z);
  glVertex3f(x, y, -z);
  glVertex3f(x, y, 0);
  glEnd();
}

void DrawScreen(TGUIscreen* screen) {
  if (screen != nullptr) screen->Draw();
}

// The read-out text, kept between frames so that drawing it allocates nothing.
std::string FpsText;

// Asking for the errors waits for the GL to finish all it was given (in a browser, a round trip
// to another process, which held up every frame), so they are asked for every 30th frame and when
// the scene is freed. An error stays flagged until it is asked for: none is lost, and one kind
// is reported once however often it happened meanwhile, as within a frame before.
constexpr unsigned kFramesBetweenErrorChecks = 30;

void ReportGLErrors() {
  static int reported = 0;
  for (GLenum error = glGetError(); error != GL_NO_ERROR; error = glGetError()) {
    if (reported < 20) {
      std::fprintf(stderr, "%s: OpenGL error 0x%04X (%s)\n", kDemoTitle, error,
                   reinterpret_cast<const char*>(gluErrorString(error)));
      ++reported;
    }
  }
}

}  // namespace

std::string ButtonMessage(int32_t tag) {
  return std::string("A(z) ") + std::to_string(tag) + ". gomb lett lenyomva!";
}

void SwitchDemoScreen(TGUIButton* button) {
  if (ZoomDistance != 0) return;
  if (TitlePanel != nullptr) TitlePanel->Visible = false;
  ZoomMouseX = MouseVirtualX;
  ZoomMouseY = MouseVirtualY;
  ZoomDistance = 0.01;
  ZoomingOut = 1;
  TargetScreen = button->Tag;
}

void PlayHoverSound(TGUIButton*) {
  if (SoundPlayer) SoundPlayer->Play();
}

void ShowButtonMessage(TGUIButton* button) {
  const std::string text = ButtonMessage(button->Tag);
  MessageBoxA(nullptr, text.c_str(), MainWindow != nullptr ? MainWindow->Title : kDemoTitle, MB_OK);
}

void BuildScene() {
  // Whatever a previous window left is released first (FreeScene normally has done it).
  FreeScene();

  if (FileExists(kSoundFile)) {
    SoundPlayer = std::make_unique<TSoundPlayer>(kSoundFile);
    if (!SoundPlayer->Audible())
      std::fprintf(stderr, "%s: no hover sound: %s\n", kDemoTitle, SoundPlayer->Error().c_str());
  }

  glEnable(GL_TEXTURE_2D);
  InitGUI("default", ScreenWidth, ScreenHeight, MainWindow != nullptr ? MainWindow->DC : nullptr, false);

  LoadImageTexture("default\\defaultfont.tga", DefaultFontTexture, false);
  LoadImageTexture("default\\font.tga", AltFontTexture, false);

  CreateGridFont(GridFont16A, 16);
  CreateGridFont(GridFont16B, 16);
  CreateGridFont(GridFont10, 10);
  HDC dc = MainWindow != nullptr ? MainWindow->DC : nullptr;
  CreateSystemFont(ComicFont, "Comic Sans MS", 700, false, 0.0, dc);
  // The first label of the text page names a normal outline font: give it one.
  CreateSystemFont(OutlineFont, "Arial", 400, true, 0.0, dc);
  DefaultSystemFont = OutlineFont;

  BuildButtonPage();
  BuildTextPage();
  BuildPanelPage();
  BuildMainScreen();

  FpsText.reserve(64);
}

void ProcessKeys() {
  if (Keys == nullptr || MainWindow == nullptr) return;
  if (Keys->Down[VK_ESCAPE]) QuitApp(*MainWindow);
  if (Keys->Down[VK_F1]) RequestFullscreenToggle(*MainWindow);
}

void DrawScene() {
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  glLoadIdentity();
  glPushMatrix();
  gluLookAt(0, 0, 1, 0, 0, 0, 0, 1, 0);

  if (ZoomDistance == 0) {
    glRotatef(float((MouseVirtualX - 512) / 50.0), 0, 1, 0);
    glRotatef(float((MouseVirtualY - 382) / 50.0), 1, 0, 0);
  } else {
    if (ZoomingOut)
      ZoomDistance += FrameTime * 0.008;
    else
      ZoomDistance -= FrameTime * 0.008;
    if (ZoomDistance >= 5.0) {
      // A long frame does not carry the camera past the far point.
      ZoomDistance = 5.0;
      ZoomingOut = 0;
      if (PanelScreen) PanelScreen->Visible = false;
      if (TextScreen) TextScreen->Visible = false;
      if (ButtonScreen) ButtonScreen->Visible = false;
      switch (TargetScreen) {
        case 0:
          if (PanelScreen) PanelScreen->Visible = true;
          break;
        case 1:
          if (TextScreen) TextScreen->Visible = true;
          break;
        case 2:
          if (ButtonScreen) ButtonScreen->Visible = true;
          break;
        case 3:
          if (MainWindow != nullptr) QuitApp(*MainWindow);
          break;
        default:
          break;
      }
    }
    if (!(ZoomDistance > 0)) ZoomDistance = 0;
    glTranslatef(0, 0, float(-ZoomDistance));
    glRotatef(float((ZoomMouseX - 512) / 70.0 * ZoomDistance * 7), 0, 1, 0);
    glRotatef(float((ZoomMouseY - 382) / 70.0 * ZoomDistance * 7), 1, 0, 0);
  }

  glDepthFunc(GL_LEQUAL);
  glEnable(GL_DEPTH_TEST);
  glBindTexture(GL_TEXTURE_2D, 0);
  glColor4f(1, 1, 1, 1);
  DrawBackPlate();

  glDepthFunc(GL_ALWAYS);
  glDisable(GL_DEPTH_TEST);
  glEnable(GL_CULL_FACE);
  glCullFace(GL_BACK);

  DrawScreen(ButtonScreen);
  DrawScreen(TextScreen);
  DrawScreen(PanelScreen);
  DrawScreen(MainScreen);
  DrawCursor();

  glDisable(GL_CULL_FACE);
  glPopMatrix();

  char number[16];
  std::snprintf(number, sizeof number, "%d", FPS);
  FpsText.assign("GUI DEMO     ");
  FpsText.append(number);
  FpsText.append(" FPS");
  DrawText(0, 0, FpsText);

  glFlush();
  static unsigned frames = 0;
  if (++frames % kFramesBetweenErrorChecks == 0) ReportGLErrors();
}

void FreeScene() {
  if (MainScreen != nullptr) ReportGLErrors();  // the last frames' (the context is still current)
  // Nothing draws between here and the next BuildScene; the variables are cleared together
  // with the elements they point to.
  for (TGUIscreen** screen : {&ButtonScreen, &TextScreen, &PanelScreen, &MainScreen}) *screen = nullptr;
  for (TGUIBmpLabel** label : {&ButtonInfo1, &ButtonInfo2, &ButtonInfo3, &TextInfo1, &TextInfo2, &TextInfo3,
                               &TextInfo4, &BitmapLabel, &FontSizeLabel, &FontTextureLabel, &PanelInfo1,
                               &PanelInfo2, &PanelInfo3, &PanelInfo4, &WelcomeLabel, &VersionLabel})
    *label = nullptr;
  for (TGUISysLabel** label : {&OutlineLabel, &ComicLabel, &ScaledLabel}) *label = nullptr;
  for (TGUIButton** button : {&Button1, &Button2, &Button3, &Button4, &PanelDemoButton, &TextDemoButton,
                              &ButtonDemoButton, &ExitButton})
    *button = nullptr;
  for (TGUIpanel** panel : {&PanelA, &PanelB, &PanelC, &PanelD, &TitlePanel}) *panel = nullptr;
  SceneElements.clear();
  SoundPlayer.reset();
  // Textures and display lists die with the rendering context; forget their names.
  DefaultFontTexture = 0;
  AltFontTexture = 0;
}
