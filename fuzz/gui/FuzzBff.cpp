// libFuzzer harness: any blob given to the BFF font reader must either be read or refused cleanly.
#include "BFFont.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TGUIBFFont font;
  BFFImage image;
  // The reader's own cap on a font image's side; GL may only lower it.
  if (ParseBFFont(font, data, size, 4096, image) && !image.Texels.empty()) {
    // Touch the last texel and the last width so a short buffer would be caught.
    volatile uint8_t last = image.Texels.back();
    volatile uint8_t width = font.Widths.at(255);
    (void)last;
    (void)width;
  }
  return 0;
}
