// libFuzzer harness: any input to DecodeBmp must either decode or fail cleanly.
#include "ImageDecoders.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  DecodeLimits limits;
  // Big enough for every code path, small enough to keep each run quick.
  limits.MaxSide = 4096;
  DecodedImage image;
  if (DecodeBmp(data, size, image, limits) == BmpStatus::Ok && image.ByteCount() > 0) {
    // Touch the last byte so a short buffer would be caught.
    volatile uint8_t last = image.Pixels[image.ByteCount() - 1];
    (void)last;
  }
  return 0;
}
