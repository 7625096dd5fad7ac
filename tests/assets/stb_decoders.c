// PNG and Ogg Vorbis decoders for the asset tests.
#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_PNG
#include <stb/stb_image.h>
#undef STB_IMAGE_IMPLEMENTATION
#include <stb/stb_vorbis.h>  // the Debian header carries the implementation
