// stb's PNG writer for the tests and benchmarks that write pictures (fixtures,
// frame dumps); the game itself only reads images.
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb_image_write.h>
