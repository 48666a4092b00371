// Web backend: the page glue (see WebPage.h). The JavaScript below runs in the page; the awaiting
// ones suspend the program through ASYNCIFY until their promise settles. The page's one entry into
// the program, glgui_page_changed, is at the end.
#include "WebPage.h"

#include <emscripten.h>

extern "C" void glgui_screen_size(int* width, int* height);  // WebLibrary.js

namespace {

// What the page has told the program (glgui_page_changed).
struct PageState {
  int canvasWidth = 0, canvasHeight = 0;
};
PageState gPage;

// clang-format off
EM_JS(int, pixels_per_inch, (), {
  const canvas = Module['canvas'];
  const css = canvas ? canvas.getBoundingClientRect().width : 0;
  return css > 0 && canvas.width > 0 ? Math.round(96 * canvas.width / css) : 96;
});

EM_ASYNC_JS(void, wait_next_frame, (), {
  await new Promise(resolve => requestAnimationFrame(() => resolve()));
});

EM_ASYNC_JS(int, enter_fullscreen, (), {
  const screen = document.getElementById('screen') || Module['canvas'];
  if (!screen || !screen.requestFullscreen) return 0;
  if (document.fullscreenElement === screen) return 1;
  try {
    await screen.requestFullscreen({navigationUI: 'hide'});
    return document.fullscreenElement === screen ? 1 : 0;
  } catch (e) {
    console.log('fullscreen refused: ' + e.message);
    return 0;
  }
});

EM_ASYNC_JS(void, leave_fullscreen, (), {
  if (!document.fullscreenElement) return;
  try {
    await document.exitFullscreen();
  } catch (e) {
  }
});

// The box is a dialog drawn over the page; while it is open, keys go to it and not to the
// program (as a Win32 message box owns the keyboard), and Enter, Space or Escape close it as OK does.
// A screen reader says its caption and text as the box takes the focus, and cannot press the
// program's elements behind it (the mirror is inert); the focus goes back where it was.
EM_ASYNC_JS(void, show_message_box, (const char* caption, const char* text, const char* kind), {
  const box = document.createElement('div');
  box.className = 'message-box ' + UTF8ToString(kind);
  box.setAttribute('role', 'alertdialog');
  box.setAttribute('aria-modal', 'true');
  const title = document.createElement('div');
  title.className = 'message-caption';
  title.textContent = UTF8ToString(caption);
  const body = document.createElement('div');
  body.className = 'message-text';
  body.textContent = UTF8ToString(text);
  const ok = document.createElement('button');
  ok.className = 'message-ok';
  ok.textContent = 'OK';
  const panel = document.createElement('div');
  panel.className = 'message-panel';
  panel.append(title, body, ok);
  box.append(panel);
  box.setAttribute('aria-labelledby', title.id = 'message-caption');
  box.setAttribute('aria-describedby', body.id = 'message-text');
  const mirror = document.getElementById('access');
  const before = document.activeElement;
  if (mirror) mirror.inert = true;
  // The pointer's events stay in the box too: the program listens on the document for releases.
  for (const type of ['mousedown', 'mouseup', 'mousemove', 'wheel', 'pointerdown', 'pointerup'])
    box.addEventListener(type, e => e.stopPropagation());
  (document.fullscreenElement || document.body).append(box);
  ok.focus();
  console.log('message box: ' + title.textContent + ': ' + body.textContent);
  await new Promise(resolve => {
    const keys = e => {
      e.stopImmediatePropagation();
      if (e.type === 'keydown' && (e.key === 'Enter' || e.key === ' ' || e.key === 'Escape')) {
        e.preventDefault();
        done();
      }
    };
    const done = () => {
      window.removeEventListener('keydown', keys, true);
      window.removeEventListener('keyup', keys, true);
      window.removeEventListener('keypress', keys, true);
      box.remove();
      if (mirror) mirror.inert = false;
      if (before && before !== document.body && before.isConnected) before.focus({preventScroll: true});
      resolve();
    };
    window.addEventListener('keydown', keys, true);
    window.addEventListener('keyup', keys, true);
    window.addEventListener('keypress', keys, true);
    ok.addEventListener('click', done);
  });
  console.log('message box closed');
});
// clang-format on

}  // namespace

namespace web_page {

void WaitForNextFrame() { wait_next_frame(); }

bool EnterFullscreen() { return enter_fullscreen() != 0; }

void LeaveFullscreen() { leave_fullscreen(); }

void ScreenSize(int& width, int& height) { glgui_screen_size(&width, &height); }

void CanvasPixels(int& width, int& height) {
  width = gPage.canvasWidth;
  height = gPage.canvasHeight;
}

int PixelsPerInch() { return pixels_per_inch(); }

void ShowMessageBox(const std::string& caption, const std::string& text, const char* kind) {
  show_message_box(caption.c_str(), text.c_str(), kind);
}

}  // namespace web_page

// The page calls this whenever something around the program changes (index.html): once before the
// program starts, and then at each change of the canvas's size on the page, at each change of the
// browser's fullscreen, and when its fullscreen control is pressed. It tells the size it gives the
// canvas's drawing buffer, in pixels; whether its screen is in the browser's fullscreen; and whether
// the control asks for the switch between window and fullscreen mode. The program takes the size
// at its next look at its messages (WebPresentation.cpp's FollowSurroundings), and the rest as its
// display modes do (WebDisplayModes.cpp). It runs while the program waits (for a frame, a box),
// and waits for nothing itself.
extern "C" EMSCRIPTEN_KEEPALIVE void glgui_page_changed(int width, int height, int fullscreen, int switchAsked) {
  gPage.canvasWidth = width;
  gPage.canvasHeight = height;
  web_page::PageFullscreen(fullscreen != 0, switchAsked != 0);
}
