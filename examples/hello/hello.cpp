// hello: one screen with a draggable panel that holds a bitmap-font label and a button; clicking
// the button changes the label's text. The glgui shell owns the window and the loop and calls the
// four operations below. Escape quits. On Windows, win32.cpp adds Win32 calls beside the toolkit's:
// a line that shows the system's tick count, and a message box as hello ends.
//
//   hello [--screenshot FILE]   FILE: a TGA picture of the frame drawn one second after start
#include <glgui/GLGUI.h>
#include <glgui/GLTextures.h>
#include <glgui/GLWindow.h>

#include <GL/glu.h>

#ifdef _WIN32
// A Windows program includes <windows.h> before the toolkit (win32.cpp) or after it (here): either
// way the toolkit changes none of its names.
#include <windows.h>

void DrawTickCount(int32_t x, int32_t y);
void SayGoodbye();
#endif

#include <cstdio>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

namespace {

// The variables that hold the elements. Containers keep their addresses (object slots), so they
// live as long as the GUI does.
TGUIscreen* Screen = nullptr;
TGUIpanel* Panel = nullptr;
TGUIBmpLabel* Label = nullptr;
TGUIButton* Button = nullptr;

GLuint FontTexture = 0;  // the grid font's image
TGUIBMPFONT GridFont;    // its 256 display lists
int Clicks = 0;

const char* ScreenshotFile = nullptr;
uint32_t Elapsed = 0;  // milliseconds since the first frame

void CountClick(TGUIButton*) {
  ++Clicks;
  Label->Text = "Clicked " + std::to_string(Clicks) + (Clicks == 1 ? " time" : " times");
  std::printf("hello: click %d\n", Clicks);
  std::fflush(stdout);
}

// Writes the frame just drawn (the back buffer) as an uncompressed 24-bit TGA.
void WriteScreenshot(const char* file) {
  std::vector<unsigned char> rgb(static_cast<size_t>(ScreenWidth) * ScreenHeight * 3);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(0, 0, ScreenWidth, ScreenHeight, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
  for (size_t i = 0; i + 2 < rgb.size(); i += 3) std::swap(rgb[i], rgb[i + 2]);  // TGA stores B, G, R
  // Type 2 (uncompressed true colour), 24 bits per pixel, descriptor 0x20: the top row comes first.
  const unsigned char header[18] = {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                                    static_cast<unsigned char>(ScreenWidth & 255),
                                    static_cast<unsigned char>(ScreenWidth >> 8),
                                    static_cast<unsigned char>(ScreenHeight & 255),
                                    static_cast<unsigned char>(ScreenHeight >> 8), 24, 0x20};
  if (FILE* out = std::fopen(file, "wb")) {
    std::fwrite(header, 1, sizeof header, out);
    const size_t row = static_cast<size_t>(ScreenWidth) * 3;
    for (int y = ScreenHeight - 1; y >= 0; --y) std::fwrite(&rgb[y * row], 1, row, out);  // GL gives bottom first
    std::fclose(out);
    std::printf("hello: screenshot written to %s\n", file);
  } else {
    std::printf("hello: cannot write %s\n", file);
  }
  std::fflush(stdout);
}

}  // namespace

// Once per OpenGL context: the shell calls it again on the new context after a fullscreen switch
// (RequestFullscreenToggle), after FreeScene.
void BuildScene() {
  glEnable(GL_TEXTURE_2D);  // the toolkit draws textured quads; the shell has set up blending
  glClearColor(0.12f, 0.13f, 0.16f, 1.0f);
  InitGUI("", ScreenWidth, ScreenHeight, MainWindow->DC, false);
  LoadImageTexture(HELLO_FONT_IMAGE, FontTexture, false);
  CreateGridFont(GridFont, 16);

  Screen = new TGUIscreen();
  Panel = new TGUIpanel(312, 234, 712, 474, 0.55, 0.75, 1.0, 1.0, &Screen);
  Panel->HasHeader = true;
  Panel->Highlight = 0.1;
  Screen->Add(&Panel);

  Label = new TGUIBmpLabel(40, 90, GridFont, FontTexture, "Hello, world!", 1, 1, 0.6, 1, &Panel);
  Panel->AddChild(&Label);

  Button = new TGUIButton(40, 150, 250, 200, 1, 1, 1, 1, &Panel);
  Button->Caption = "Click me";
  Button->OnClick = CountClick;
  Panel->AddChild(&Button);
}

void ProcessKeys() {
  if (Keys->Down[VK_ESCAPE]) QuitApp(*MainWindow);
}

void DrawScene() {
  glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  glLoadIdentity();
  gluLookAt(0, 0, 1, 0, 0, 0, 0, 1, 0);  // the GUI plane seen straight on from distance 1
  glDisable(GL_DEPTH_TEST);
  glDepthFunc(GL_ALWAYS);
  Screen->Draw();
  glColor4f(0.8f, 0.8f, 0.8f, 1.0f);  // DrawText draws in the current colour
  DrawText(16, 704, "Escape quits");
#ifdef _WIN32
  DrawTickCount(16, 672);
#endif
  DrawCursor();

  Elapsed += FrameTime;
  if (ScreenshotFile && Elapsed >= 1000) {
    WriteScreenshot(ScreenshotFile);
    ScreenshotFile = nullptr;
  }
}

// Textures and display lists go with the context; the elements are the program's to delete.
void FreeScene() {
  delete Button;
  delete Label;
  delete Panel;
  delete Screen;
  Button = nullptr;
  Label = nullptr;
  Panel = nullptr;
  Screen = nullptr;
}

int main(int argc, char** argv) {
  for (int i = 1; i + 1 < argc; ++i) {
    if (std::strcmp(argv[i], "--screenshot") == 0) ScreenshotFile = argv[i + 1];
  }
  const int32_t result = RunApp(640, 480, 32, "hello", false, false);
#ifdef _WIN32
  SayGoodbye();
#endif
  return result < 0 ? 1 : 0;
}
