// Recording stand-in for the GL entry points the renderer uses.
#include <GL/gl.h>

extern "C" {
void glViewport(GLint, GLint, GLsizei, GLsizei) {}
}
