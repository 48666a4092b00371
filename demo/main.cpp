// Program entry: one 640 x 480 window, 32 bits, windowed, system pointer hidden.
#include "main.h"

int main() {
  RunApp(640, 480, 32, kDemoTitle, false, false);
  return 0;
}
