// The one translation unit that compiles the Ogg Vorbis decoder.
#include <stb/stb_vorbis.h>
