// The one translation unit that compiles the image decoder.
#define STB_IMAGE_IMPLEMENTATION
#include <stb/stb_image.h>
