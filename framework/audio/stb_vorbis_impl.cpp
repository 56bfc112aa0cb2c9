// The one translation unit that compiles stb_vorbis's implementation; every
// other file includes it with STB_VORBIS_HEADER_ONLY.
#include <stb_vorbis.h>
