// The one translation unit that compiles stb_image's implementation, with the
// image formats the program accepts. JPEG is left out: its decoder writes
// past its Huffman tables on a crafted file (found by fuzz/png_fuzz.cpp), and
// the game's art is PNG.
#include <cstring>

namespace {

// The PNG reader copies an empty first data chunk into a buffer it has not
// allocated yet: memcpy from or to a null pointer is undefined even for zero
// bytes, so the reader's copies go through this one, which skips empty ones.
void* copy_bytes(void* to, const void* from, size_t count) {
  return count == 0 ? to : std::memcpy(to, from, count);
}

}  // namespace

#define memcpy copy_bytes
#define STBI_NO_JPEG
#define STB_IMAGE_IMPLEMENTATION
#include <stb_image.h>
