// Recording stand-in for the GL entry points the renderer and surfaces use.
#include "fake_gl.h"

#include <cstring>

namespace fakegl {

namespace {

State* g_state = new State();

void record(const char* name) { g_state->calls.push_back(name); }

void set_error(GLenum e) {
  if (g_state->error == GL_NO_ERROR) g_state->error = e;
}

bool power_of_two(int n) { return n > 0 && (n & (n - 1)) == 0; }

int bytes_per_pixel(GLenum format) {
  switch (format) {
    case GL_LUMINANCE:
      return 1;
    case GL_LUMINANCE_ALPHA:
      return 2;
    case GL_RGB:
      return 3;
    case GL_RGBA:
    case GL_BGRA:
      return 4;
  }
  return 0;
}

// One source pixel in `format` as RGBA, the way GL expands it.
std::array<uint8_t, 4> to_rgba(const uint8_t* p, GLenum format) {
  switch (format) {
    case GL_LUMINANCE:
      return {p[0], p[0], p[0], 255};
    case GL_LUMINANCE_ALPHA:
      return {p[0], p[0], p[0], p[1]};
    case GL_RGB:
      return {p[0], p[1], p[2], 255};
    case GL_BGRA:
      return {p[2], p[1], p[0], p[3]};
    default:
      return {p[0], p[1], p[2], p[3]};
  }
}

Texture* bound() {
  auto it = g_state->textures.find(g_state->bound_texture);
  return it == g_state->textures.end() ? nullptr : &it->second;
}

Vertex fetch(int i) {
  const fakegl::State& s = *g_state;
  Vertex v{};
  const float* xy = reinterpret_cast<const float*>(static_cast<const char*>(s.vertex_ptr) + i * s.vertex_stride);
  v.x = xy[0];
  v.y = xy[1];
  if (s.texcoord_ptr) {
    const float* uv =
        reinterpret_cast<const float*>(static_cast<const char*>(s.texcoord_ptr) + i * s.texcoord_stride);
    v.u = uv[0];
    v.v = uv[1];
  }
  if (s.color_ptr) {
    const uint8_t* c = reinterpret_cast<const uint8_t*>(s.color_ptr) + i * s.color_stride;
    v.r = c[0];
    v.g = c[1];
    v.b = c[2];
    v.a = c[3];
  }
  return v;
}

Draw begin_draw(GLenum mode, int count, bool indexed) {
  const fakegl::State& s = *g_state;
  Draw d;
  d.mode = mode;
  d.count = count;
  d.indexed = indexed;
  d.textured = s.enabled.count(GL_TEXTURE_2D) > 0;
  d.texture = s.bound_texture;
  d.blend_src = s.blend_src;
  d.blend_dst = s.blend_dst;
  d.blended = s.enabled.count(GL_BLEND) > 0;
  d.scissor = s.enabled.count(GL_SCISSOR_TEST) > 0;
  d.scissor_box = s.scissor_box;
  return d;
}

}  // namespace

std::array<uint8_t, 4> Texture::texel(int x, int y) const {
  const uint8_t* p = &rgba[(static_cast<size_t>(y) * width + x) * 4];
  return {p[0], p[1], p[2], p[3]};
}

State& state() { return *g_state; }

void reset() { *g_state = State(); }

int count(const std::string& name) {
  int n = 0;
  for (const std::string& c : g_state->calls) n += c == name;
  return n;
}

}  // namespace fakegl

using fakegl::g_state;
using fakegl::record;

extern "C" {

void glViewport(GLint x, GLint y, GLsizei w, GLsizei h) {
  record("glViewport");
  g_state->viewport = {x, y, w, h};
}

void glMatrixMode(GLenum) { record("glMatrixMode"); }
void glLoadIdentity() { record("glLoadIdentity"); }

void glOrtho(GLdouble l, GLdouble r, GLdouble b, GLdouble t, GLdouble n, GLdouble f) {
  record("glOrtho");
  g_state->ortho = {l, r, b, t, n, f};
}

void glEnableClientState(GLenum array) {
  record("glEnableClientState");
  g_state->client_arrays.insert(array);
}

void glDisableClientState(GLenum array) {
  record("glDisableClientState");
  g_state->client_arrays.erase(array);
}

void glVertexPointer(GLint, GLenum, GLsizei stride, const GLvoid* p) {
  record("glVertexPointer");
  g_state->vertex_ptr = p;
  g_state->vertex_stride = stride;
}

void glTexCoordPointer(GLint, GLenum, GLsizei stride, const GLvoid* p) {
  record("glTexCoordPointer");
  g_state->texcoord_ptr = p;
  g_state->texcoord_stride = stride;
}

void glColorPointer(GLint, GLenum, GLsizei stride, const GLvoid* p) {
  record("glColorPointer");
  g_state->color_ptr = p;
  g_state->color_stride = stride;
}

void glEnable(GLenum cap) {
  record("glEnable");
  g_state->enabled.insert(cap);
}

void glDisable(GLenum cap) {
  record("glDisable");
  g_state->enabled.erase(cap);
}

void glBlendFunc(GLenum src, GLenum dst) {
  record("glBlendFunc");
  g_state->blend_src = src;
  g_state->blend_dst = dst;
}

void glScissor(GLint x, GLint y, GLsizei w, GLsizei h) {
  record("glScissor");
  g_state->scissor_box = {x, y, w, h};
}

void glClearColor(GLclampf r, GLclampf g, GLclampf b, GLclampf a) {
  record("glClearColor");
  g_state->clear_color = {r, g, b, a};
}

void glClear(GLbitfield) {
  record("glClear");
  g_state->clears++;
  fakegl::Clear c;
  c.before_draw = g_state->draws.size();
  c.color = g_state->clear_color;
  c.scissor = g_state->enabled.count(GL_SCISSOR_TEST) > 0;
  c.scissor_box = g_state->scissor_box;
  g_state->clears_made.push_back(c);
}

void glDrawArrays(GLenum mode, GLint first, GLsizei count) {
  record("glDrawArrays");
  fakegl::Draw d = fakegl::begin_draw(mode, count, false);
  for (int i = 0; i < count; ++i) d.vertices.push_back(fakegl::fetch(first + i));
  g_state->draws.push_back(d);
}

void glDrawElements(GLenum mode, GLsizei count, GLenum, const GLvoid* indices) {
  record("glDrawElements");
  fakegl::Draw d = fakegl::begin_draw(mode, count, true);
  const GLushort* idx = static_cast<const GLushort*>(indices);
  for (int i = 0; i < count; ++i) d.vertices.push_back(fakegl::fetch(idx[i]));
  g_state->draws.push_back(d);
}

void glGenTextures(GLsizei n, GLuint* names) {
  record("glGenTextures");
  for (int i = 0; i < n; ++i) {
    names[i] = g_state->next_texture++;
    g_state->textures[names[i]] = fakegl::Texture();
  }
}

void glDeleteTextures(GLsizei n, const GLuint* names) {
  record("glDeleteTextures");
  for (int i = 0; i < n; ++i) {
    g_state->textures.erase(names[i]);
    g_state->deleted_textures.push_back(names[i]);
  }
}

void glBindTexture(GLenum, GLuint name) {
  record("glBindTexture");
  g_state->bound_texture = name;
}

void glTexParameteri(GLenum, GLenum pname, GLint value) {
  record("glTexParameteri");
  if (fakegl::Texture* t = fakegl::bound()) t->params[pname] = value;
}

void glPixelStorei(GLenum pname, GLint value) {
  record("glPixelStorei");
  if (pname == GL_UNPACK_ALIGNMENT) g_state->unpack_alignment = value;
}

void glTexImage2D(GLenum, GLint, GLint internal, GLsizei w, GLsizei h, GLint, GLenum, GLenum, const GLvoid*) {
  record("glTexImage2D");
  g_state->allocations.push_back({w, h});
  fakegl::Texture* t = fakegl::bound();
  if (!t || w < 0 || h < 0) return fakegl::set_error(GL_INVALID_VALUE);
  if (g_state->refuse_textures) return fakegl::set_error(GL_OUT_OF_MEMORY);
  if (g_state->refuse_npot && (!fakegl::power_of_two(w) || !fakegl::power_of_two(h)))
    return fakegl::set_error(GL_INVALID_VALUE);
  t->width = w;
  t->height = h;
  t->internal_format = internal;
  t->allocated = true;
  t->rgba.assign(static_cast<size_t>(w) * h * 4, 0xcd);
}

void glTexSubImage2D(GLenum, GLint, GLint x, GLint y, GLsizei w, GLsizei h, GLenum format, GLenum,
                     const GLvoid* data) {
  record("glTexSubImage2D");
  fakegl::Texture* t = fakegl::bound();
  int bpp = fakegl::bytes_per_pixel(format);
  if (!t || !t->allocated || bpp == 0 || x < 0 || y < 0 || w < 0 || h < 0 || x + w > t->width ||
      y + h > t->height)
    return fakegl::set_error(GL_INVALID_VALUE);
  // Source rows are padded to the unpack alignment, as GL reads them.
  int align = g_state->unpack_alignment;
  size_t row_bytes = (static_cast<size_t>(w) * bpp + align - 1) / align * align;
  const uint8_t* src = static_cast<const uint8_t*>(data);
  for (int r = 0; r < h; ++r)
    for (int c = 0; c < w; ++c) {
      std::array<uint8_t, 4> p = fakegl::to_rgba(src + r * row_bytes + c * bpp, format);
      std::memcpy(&t->rgba[(static_cast<size_t>(y + r) * t->width + x + c) * 4], p.data(), 4);
    }
  g_state->uploads.push_back({g_state->bound_texture, x, y, w, h, format});
}

// Delivers each pixel as four bytes in the order `format` names, as GL does.
void glReadPixels(GLint x, GLint y, GLsizei w, GLsizei h, GLenum format, GLenum, GLvoid* data) {
  record("glReadPixels");
  if (format != GL_RGBA && format != GL_BGRA) return fakegl::set_error(GL_INVALID_ENUM);
  uint8_t* out = static_cast<uint8_t*>(data);
  const fakegl::State& s = *g_state;
  for (int r = 0; r < h; ++r)
    for (int c = 0; c < w; ++c) {
      int fx = x + c, fy = y + r;
      bool inside = fx >= 0 && fy >= 0 && fx < s.fb_width && fy < s.fb_height;
      uint32_t p = inside ? s.framebuffer[static_cast<size_t>(fy) * s.fb_width + fx] : 0;
      uint8_t red = (p >> 16) & 0xff, blue = p & 0xff;
      uint8_t* o = out + (static_cast<size_t>(r) * w + c) * 4;
      o[0] = format == GL_RGBA ? red : blue;
      o[1] = (p >> 8) & 0xff;
      o[2] = format == GL_RGBA ? blue : red;
      o[3] = p >> 24;
    }
}

GLenum glGetError() {
  GLenum e = g_state->error;
  g_state->error = GL_NO_ERROR;
  return e;
}

}  // extern "C"
