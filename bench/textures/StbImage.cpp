// stb_image, the peer the decoders are measured against (Debian's libstb-dev header).
#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_TGA
#define STBI_ONLY_BMP
#define STBI_ONLY_JPEG
#include <stb_image.h>
