// The one translation unit that compiles stb_image's implementation for the
// web build; the desktop links the system's stb library instead.
#define STB_IMAGE_IMPLEMENTATION
#include <stb_image.h>
