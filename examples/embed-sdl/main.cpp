// embed-sdl: the glgui toolkit inside a program that owns its window, OpenGL context and loop
// (SDL2 here). It draws a textured spinning cube, then a screen of panels and buttons over it,
// then the toolkit's cursor. Escape or closing the window quits.
//
//   embed_sdl [--screenshot FILE]   FILE: a TGA picture of the frame drawn one second after start
//
// The frame contract (docs/guide.md tells it in full), in the order this program follows it:
//   once per GL context: set ScreenWidth/ScreenHeight, enable blending (GL_SRC_ALPHA,
//     GL_ONE_MINUS_SRC_ALPHA) and 2D texturing, call InitGUI, load textures and fonts, then build
//     the elements;
//   each frame, before drawing the GUI: set MouseX, MouseY (pixels from the top-left corner),
//     MouseLeft, MouseMiddle, MouseRight (1 while held), FrameTime (milliseconds since the last
//     frame) and, after a resize, ScreenWidth and ScreenHeight;
//   each frame: with a 45-degree perspective projection and the modelview matrix mode, load a
//     modelview that looks at the z = 0 plane from distance 1, turn the depth test off, draw the
//     screens, then DrawCursor().
#include <SDL.h>
#include <SDL_syswm.h>

#include <glgui/GLGUI.h>
#include <glgui/GLGlobal.h>
#include <glgui/GLTextures.h>

#include <GL/glu.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace {

// The variables that hold the elements: containers keep their addresses (object slots).
TGUIscreen* Screen = nullptr;
TGUIpanel* ControlPanel = nullptr;
TGUIpanel* PicturePanel = nullptr;
TGUIButton* FasterButton = nullptr;
TGUIButton* SlowerButton = nullptr;
TGUIButton* SpinButton = nullptr;
TGUIButton* QuitButton = nullptr;
// The elements themselves, owned here until the program ends.
std::vector<std::unique_ptr<TGUIobject>> Elements;

template <class T, class... Args>
T* Make(Args&&... args) {
  Elements.push_back(std::make_unique<T>(std::forward<Args>(args)...));
  return static_cast<T*>(Elements.back().get());
}

GLuint CubeTexture = 0;
double DegreesPerSecond = 60;
bool Spinning = true;
bool QuitRequested = false;

void Faster(TGUIButton*) { DegreesPerSecond *= 1.5; }
void Slower(TGUIButton*) { DegreesPerSecond /= 1.5; }
void ToggleSpin(TGUIButton* button) {
  Spinning = !Spinning;
  button->Caption = Spinning ? "Stop" : "Spin";
}
void Quit(TGUIButton*) { QuitRequested = true; }

// The toolkit takes the mouse in the pixels of ScreenWidth x ScreenHeight (the drawable), which
// on a high-density display are more than the window's points that SDL reports the mouse in.
void SetMouse(SDL_Window* window, int x, int y) {
  int w = 0, h = 0;
  SDL_GetWindowSize(window, &w, &h);
  MouseX = w > 0 ? x * ScreenWidth / w : x;
  MouseY = h > 0 ? y * ScreenHeight / h : y;
}

// The keys the toolkit's focus answers to, as the virtual-key codes it takes; 0 for the rest.
uint8_t VirtualKey(SDL_Keycode key) {
  switch (key) {
    case SDLK_TAB:
      return VK_TAB;
    case SDLK_RETURN:
    case SDLK_KP_ENTER:
      return VK_RETURN;
    case SDLK_SPACE:
      return VK_SPACE;
    case SDLK_LEFT:
      return VK_LEFT;
    case SDLK_RIGHT:
      return VK_RIGHT;
    case SDLK_UP:
      return VK_UP;
    case SDLK_DOWN:
      return VK_DOWN;
    default:
      return 0;
  }
}

// The projection the toolkit is laid out for: 45 degrees vertically, the window's aspect.
void SetViewport(int width, int height) {
  ScreenWidth = width;
  ScreenHeight = height > 0 ? height : 1;
  glViewport(0, 0, ScreenWidth, ScreenHeight);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  gluPerspective(45.0, static_cast<double>(ScreenWidth) / ScreenHeight, 0.01, 100.0);
  glMatrixMode(GL_MODELVIEW);
}

void BuildGui() {
  Screen = Make<TGUIscreen>();

  ControlPanel = Make<TGUIpanel>(40, 60, 300, 330, 1.0, 0.85, 0.6, 0.95, &Screen);
  ControlPanel->HasHeader = true;
  ControlPanel->Highlight = 0.1;
  Screen->Add(&ControlPanel);
  FasterButton = Make<TGUIButton>(30, 50, 230, 95, 1, 1, 1, 1, &ControlPanel);
  FasterButton->Caption = "Faster";
  FasterButton->OnClick = Faster;
  ControlPanel->AddChild(&FasterButton);
  SlowerButton = Make<TGUIButton>(30, 110, 230, 155, 1, 1, 1, 1, &ControlPanel);
  SlowerButton->Caption = "Slower";
  SlowerButton->OnClick = Slower;
  ControlPanel->AddChild(&SlowerButton);
  SpinButton = Make<TGUIButton>(30, 170, 230, 215, 1, 1, 1, 1, &ControlPanel);
  SpinButton->Caption = "Stop";
  SpinButton->OnClick = ToggleSpin;
  ControlPanel->AddChild(&SpinButton);

  // A panel that shows an application texture in its inner area, repeated twice each way.
  PicturePanel = Make<TGUIpanel>(744, 60, 984, 300, 1, 1, 1, 1, &Screen);
  PicturePanel->HasHeader = true;
  PicturePanel->HasFooter = true;
  PicturePanel->Texture = CubeTexture;
  PicturePanel->TextureRepeat = 2.0f;
  Screen->Add(&PicturePanel);

  QuitButton = Make<TGUIButton>(784, 680, 984, 725, 1, 0.7, 0.7, 1, &Screen);
  QuitButton->Caption = "Quit";
  QuitButton->OnClick = Quit;
  Screen->Add(&QuitButton);
}

void DrawCube(float angle) {
  static const float kFaces[6][4][3] = {
      {{-1, -1, 1}, {1, -1, 1}, {1, 1, 1}, {-1, 1, 1}},      {{1, -1, -1}, {-1, -1, -1}, {-1, 1, -1}, {1, 1, -1}},
      {{1, -1, 1}, {1, -1, -1}, {1, 1, -1}, {1, 1, 1}},      {{-1, -1, -1}, {-1, -1, 1}, {-1, 1, 1}, {-1, 1, -1}},
      {{-1, 1, 1}, {1, 1, 1}, {1, 1, -1}, {-1, 1, -1}},      {{-1, -1, -1}, {1, -1, -1}, {1, -1, 1}, {-1, -1, 1}}};
  static const float kCorners[4][2] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
  glEnable(GL_DEPTH_TEST);
  glDepthFunc(GL_LEQUAL);
  glLoadIdentity();
  glTranslatef(0, 0, -7.5f);
  glRotatef(25, 1, 0, 0);  // tilted towards the viewer, spinning about its vertical axis
  glRotatef(angle, 0, 1, 0);
  glBindTexture(GL_TEXTURE_2D, CubeTexture);
  glColor4f(1, 1, 1, 1);
  glBegin(GL_QUADS);
  for (const auto& face : kFaces) {
    for (int i = 0; i < 4; ++i) {
      glTexCoord2fv(kCorners[i]);
      glVertex3fv(face[i]);
    }
  }
  glEnd();
}

void DrawGui() {
  glLoadIdentity();
  gluLookAt(0, 0, 1, 0, 0, 0, 0, 1, 0);  // the GUI plane, seen straight on from distance 1
  glDisable(GL_DEPTH_TEST);              // the GUI lies over the scene, in drawing order
  Screen->Draw();
  DrawCursor();
  glColor4f(0.8f, 1.0f, 0.8f, 1.0f);
  char speed[64];
  std::snprintf(speed, sizeof speed, "%s  %.0f degrees per second", Spinning ? "spinning" : "stopped",
                DegreesPerSecond);
  DrawText(8, 0, speed);
}

// Writes the frame just drawn (the back buffer) as an uncompressed 24-bit TGA, top row first.
void WriteScreenshot(const char* file) {
  const size_t row = static_cast<size_t>(ScreenWidth) * 3;
  std::vector<unsigned char> rgb(row * ScreenHeight);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(0, 0, ScreenWidth, ScreenHeight, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
  for (size_t i = 0; i + 2 < rgb.size(); i += 3) std::swap(rgb[i], rgb[i + 2]);  // TGA stores B, G, R
  const unsigned char header[18] = {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                                    static_cast<unsigned char>(ScreenWidth & 255),
                                    static_cast<unsigned char>(ScreenWidth >> 8),
                                    static_cast<unsigned char>(ScreenHeight & 255),
                                    static_cast<unsigned char>(ScreenHeight >> 8), 24, 0x20};
  if (FILE* out = std::fopen(file, "wb")) {
    std::fwrite(header, 1, sizeof header, out);
    for (int y = ScreenHeight - 1; y >= 0; --y) std::fwrite(&rgb[y * row], 1, row, out);  // GL gives bottom first
    std::fclose(out);
    std::printf("embed_sdl: screenshot written to %s\n", file);
  } else {
    std::printf("embed_sdl: cannot write %s\n", file);
  }
  std::fflush(stdout);
}

// The device context that system outline fonts need on Windows; elsewhere any value will do.
HDC WindowDC(SDL_Window* window) {
#ifdef _WIN32
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (SDL_GetWindowWMInfo(window, &info)) return info.info.win.hdc;
#else
  (void)window;
#endif
  return nullptr;
}

}  // namespace

int main(int argc, char** argv) {
  const char* screenshotFile = nullptr;
  for (int i = 1; i + 1 < argc; ++i) {
    if (std::strcmp(argv[i], "--screenshot") == 0) screenshotFile = argv[i + 1];
  }

  if (SDL_Init(SDL_INIT_VIDEO) != 0) {
    std::fprintf(stderr, "embed_sdl: %s\n", SDL_GetError());
    return 1;
  }
  SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
  SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 24);
  SDL_Window* window = SDL_CreateWindow("embed-sdl", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, 800, 600,
                                        SDL_WINDOW_OPENGL | SDL_WINDOW_RESIZABLE);
  SDL_GLContext context = window ? SDL_GL_CreateContext(window) : nullptr;
  if (!context) {
    std::fprintf(stderr, "embed_sdl: %s\n", SDL_GetError());
    if (window) SDL_DestroyWindow(window);
    SDL_Quit();
    return 1;
  }
  SDL_GL_SetSwapInterval(1);
  SDL_ShowCursor(SDL_DISABLE);  // the toolkit draws its own

  // ---- once per GL context ----
  int width = 0, height = 0;
  SDL_GL_GetDrawableSize(window, &width, &height);
  SetViewport(width, height);
  glClearColor(0.12f, 0.13f, 0.16f, 1.0f);
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  glEnable(GL_TEXTURE_2D);
  InitGUI("", ScreenWidth, ScreenHeight, WindowDC(window), false);
  char* base = SDL_GetBasePath();
  const std::string textureFile = std::string(base ? base : "") + "cube.tga";
  SDL_free(base);
  LoadImageTexture(textureFile, CubeTexture, false);  // shows a message box when it fails
  BuildGui();

  // ---- the loop ----
  uint32_t lastTick = SDL_GetTicks();
  uint32_t elapsed = 0;
  float angle = -15;
  while (!QuitRequested) {
    SDL_Event event;
    while (SDL_PollEvent(&event)) {
      switch (event.type) {
        case SDL_QUIT:
          QuitRequested = true;
          break;
        case SDL_KEYDOWN:
          if (event.key.keysym.sym == SDLK_ESCAPE) QuitRequested = true;
          // The toolkit's keyboard focus (Tab, Enter, Space, arrows) takes Win32 virtual-key codes.
          if (const uint8_t vk = VirtualKey(event.key.keysym.sym))
            PushKeyPress(vk, (event.key.keysym.mod & KMOD_SHIFT) != 0);
          break;
        case SDL_MOUSEMOTION:
          SetMouse(window, event.motion.x, event.motion.y);
          break;
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP: {
          const uint8_t down = event.type == SDL_MOUSEBUTTONDOWN ? 1 : 0;
          SetMouse(window, event.button.x, event.button.y);
          if (event.button.button == SDL_BUTTON_LEFT) MouseLeft = down;
          if (event.button.button == SDL_BUTTON_MIDDLE) MouseMiddle = down;
          if (event.button.button == SDL_BUTTON_RIGHT) MouseRight = down;
          break;
        }
        case SDL_WINDOWEVENT:
          if (event.window.event == SDL_WINDOWEVENT_SIZE_CHANGED) {
            SDL_GL_GetDrawableSize(window, &width, &height);
            SetViewport(width, height);
          }
          break;
        default:
          break;
      }
    }
    const uint32_t now = SDL_GetTicks();
    FrameTime = now - lastTick;
    lastTick = now;
    if (Spinning) angle += static_cast<float>(DegreesPerSecond * FrameTime / 1000.0);

    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    DrawCube(angle);
    DrawGui();

    elapsed += FrameTime;
    if (screenshotFile && elapsed >= 1000) {
      WriteScreenshot(screenshotFile);
      screenshotFile = nullptr;
    }
    SDL_GL_SwapWindow(window);
  }

  Elements.clear();
  SDL_GL_DeleteContext(context);
  SDL_DestroyWindow(window);
  SDL_Quit();
  return 0;
}
