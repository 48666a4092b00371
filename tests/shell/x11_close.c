/* x11_close WINDOW-ID: asks the window to close the way a window manager's close box does,
   with a WM_PROTOCOLS client message carrying WM_DELETE_WINDOW. Exits 0 once the server has
   taken it, 1 when it did not (a window that is gone: the caller may look it up again). */
#include <X11/Xlib.h>
#include <stdio.h>
#include <stdlib.h>

static int failedRequests = 0;

static int CountError(Display* display, XErrorEvent* error) {
  (void)display;
  (void)error;
  ++failedRequests;
  return 0;
}

int main(int argc, char** argv) {
  if (argc != 2) {
    fprintf(stderr, "usage: x11_close WINDOW-ID\n");
    return 2;
  }
  Display* display = XOpenDisplay(NULL);
  if (!display) {
    fprintf(stderr, "x11_close: cannot open the display\n");
    return 1;
  }
  XSetErrorHandler(CountError);
  const Window window = (Window)strtoul(argv[1], NULL, 0);
  XEvent event = {0};
  event.xclient.type = ClientMessage;
  event.xclient.window = window;
  event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
  event.xclient.format = 32;
  event.xclient.data.l[0] = (long)XInternAtom(display, "WM_DELETE_WINDOW", False);
  event.xclient.data.l[1] = CurrentTime;
  const Status sent = XSendEvent(display, window, False, NoEventMask, &event);
  XSync(display, False);
  XCloseDisplay(display);
  if (!sent || failedRequests > 0) {
    fprintf(stderr, "x11_close: window 0x%lx did not take the request\n", (unsigned long)window);
    return 1;
  }
  return 0;
}
