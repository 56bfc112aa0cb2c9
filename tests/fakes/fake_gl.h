// A recording OpenGL for the deterministic tests: it implements the GL entry
// points the renderer and the surfaces call, keeps textures as RGBA texels,
// resolves every draw call into the vertices it would draw, and can behave
// like an old GL that refuses non-power-of-two textures.
#pragma once

#include <GL/gl.h>

#include <array>
#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace fakegl {

struct Vertex {
  float x, y, u, v;
  uint8_t r, g, b, a;
};

struct Draw {
  GLenum mode = 0;
  int count = 0;         // vertices, or indices for glDrawElements
  bool indexed = false;  // glDrawElements
  bool textured = false; // GL_TEXTURE_2D enabled at the time
  GLuint texture = 0;    // bound texture at the time
  GLenum blend_src = 0, blend_dst = 0;
  bool blended = false;  // GL_BLEND enabled at the time
  bool scissor = false;
  std::array<GLint, 4> scissor_box{};
  std::vector<Vertex> vertices;  // in the order GL reads them (indices resolved)

  int quads() const { return indexed && mode == GL_TRIANGLES ? count / 6 : 0; }
};

// A glClear of the colour buffer, in drawing order: it came before
// draws[before_draw].
struct Clear {
  size_t before_draw = 0;
  std::array<float, 4> color{};
  bool scissor = false;
  std::array<GLint, 4> scissor_box{};
};

struct Texture {
  int width = 0, height = 0;
  GLint internal_format = 0;
  bool allocated = false;
  std::vector<uint8_t> rgba;  // row 0 first; unwritten texels are 0xcd
  std::map<GLenum, GLint> params;

  std::array<uint8_t, 4> texel(int x, int y) const;
};

struct Upload {
  GLuint texture;
  GLint x, y;
  GLsizei width, height;
  GLenum format;
};

struct State {
  // Behaviour switches
  bool refuse_npot = false;      // glTexImage2D of a non-power-of-two size fails
  bool refuse_textures = false;  // every glTexImage2D fails (out of memory)

  // What the program did
  std::vector<std::string> calls;  // entry-point names in call order
  std::vector<Draw> draws;
  std::map<GLuint, Texture> textures;
  std::vector<GLuint> deleted_textures;
  std::vector<std::array<int, 2>> allocations;  // sizes asked of glTexImage2D
  std::vector<Upload> uploads;                  // glTexSubImage2D calls that succeeded
  std::set<GLenum> enabled;
  std::set<GLenum> client_arrays;
  GLuint bound_texture = 0;
  GLenum blend_src = GL_ONE, blend_dst = GL_ZERO;
  std::array<GLint, 4> scissor_box{};
  std::array<GLint, 4> viewport{};
  std::array<double, 6> ortho{};
  std::array<float, 4> clear_color{};
  int clears = 0;
  std::vector<Clear> clears_made;
  int unpack_alignment = 4;
  GLenum error = GL_NO_ERROR;
  GLuint next_texture = 1;

  // Client arrays as last pointed
  const void* vertex_ptr = nullptr;
  const void* texcoord_ptr = nullptr;
  const void* color_ptr = nullptr;
  GLsizei vertex_stride = 0, texcoord_stride = 0, color_stride = 0;

  // The frame buffer glReadPixels reads: bottom row first, each pixel
  // alpha << 24 | red << 16 | green << 8 | blue.
  int fb_width = 640, fb_height = 480;
  std::vector<uint32_t> framebuffer = std::vector<uint32_t>(640 * 480, 0);
};

State& state();
// A fresh GL: no textures, nothing recorded, switches off.
void reset();
// Number of recorded calls named `name`.
int count(const std::string& name);

}  // namespace fakegl
