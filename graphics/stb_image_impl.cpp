// The one translation unit that compiles stb_image's implementation, with the
// image formats the program accepts. JPEG is left out: its decoder writes
// past its Huffman tables on a crafted file (found by fuzz/png_fuzz.cpp), and
// the game's art is PNG.
#define STBI_NO_JPEG
#define STB_IMAGE_IMPLEMENTATION
#include <stb_image.h>
