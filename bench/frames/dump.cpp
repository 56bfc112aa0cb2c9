// Frame dumps: the game's display list and images, with the sheets read back
// from the recording GL's textures.
#include "dump.h"

#include <stb_image_write.h>
#include <sys/stat.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>

#include "display_list_file.h"
#include "fake_gl.h"
#include "graphics/context.h"

namespace frames {

namespace {

// The surface's pixels from its texture, with the premultiplication undone
// so that any renderer can load them as an ordinary image.
std::vector<uint8_t> StraightPixels(const fakegl::Texture& texture, int width, int height) {
  std::vector<uint8_t> out(static_cast<size_t>(width) * height * 4);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      std::array<uint8_t, 4> t = texture.texel(x, y);
      uint8_t* p = &out[(static_cast<size_t>(y) * width + x) * 4];
      unsigned a = t[3];
      for (int c = 0; c < 3; ++c) p[c] = a ? static_cast<uint8_t>(std::min(255u, (t[c] * 255u + a / 2) / a)) : 0;
      p[3] = static_cast<uint8_t>(a);
    }
  }
  return out;
}

std::string ContentName(const std::vector<uint8_t>& pixels, int width, int height) {
  uint64_t h = 1469598103934665603ull;
  for (uint8_t b : pixels) h = (h ^ b) * 1099511628211ull;
  char name[64];
  std::snprintf(name, sizeof name, "sheet-%dx%d-%016llx.png", width, height, static_cast<unsigned long long>(h));
  return name;
}

bool FileExists(const std::string& path) {
  struct stat st;
  return stat(path.c_str(), &st) == 0;
}

// Adds the sheet of `surface` to the list (once) and writes its PNG if no
// list in `dir` has written it yet. Returns its id, or -1 on failure.
int AddSheet(gxtkSurface* surface, const std::string& dir, DisplayList* list) {
  int id = static_cast<int>(surface->texture);
  for (const Sheet& s : list->sheets)
    if (s.id == id) return id;
  auto found = fakegl::state().textures.find(surface->texture);
  if (found == fakegl::state().textures.end()) return -1;
  std::vector<uint8_t> pixels = StraightPixels(found->second, surface->width, surface->height);
  Sheet sheet{id, ContentName(pixels, surface->width, surface->height), surface->width, surface->height};
  std::string path = dir + "/" + sheet.file;
  if (!FileExists(path) &&
      !stbi_write_png(path.c_str(), sheet.width, sheet.height, 4, pixels.data(), sheet.width * 4))
    return -1;
  list->sheets.push_back(sheet);
  return id;
}

bool AddImage(bb_graphics_Image* image, int slot, const std::string& dir, DisplayList* list) {
  Image out;
  out.slot = slot;
  out.sheet = AddSheet(image->m_surface, dir, list);
  if (out.sheet < 0) return false;
  out.width = image->m_width;
  out.height = image->m_height;
  out.handleX = image->m_handleX;
  out.handleY = image->m_handleY;
  out.flags = image->m_flags;
  for (bb_graphics_Frame* f : image->m_frames) {
    out.frames.push_back(f->m_x);
    out.frames.push_back(f->m_y);
  }
  list->images.push_back(out);
  return true;
}

}  // namespace

bool DumpFrame(const gameharness::Game& game, const std::string& dir, const std::string& name) {
  const bb_Vaultwick_MyApp& app = game.app();
  DisplayList list;
  list.name = name;
  list.windowWidth = bb_graphics_DeviceWidth();
  list.windowHeight = bb_graphics_DeviceHeight();
  list.scaleX = app.m_ScaleX;
  list.scaleY = app.m_ScaleY;
  list.assetInvScale = app.m_AssetInvScale;
  list.clear[0] = app.m_ClearR;
  list.clear[1] = app.m_ClearG;
  list.clear[2] = app.m_ClearB;
  list.clear[3] = app.m_ClearA;
  for (const gameharness::Record& r : game.DisplayList()) {
    list.records.push_back(Record{r.kind, r.x, r.y, r.rot, r.w, r.h, r.frame, r.alpha, r.r, r.g, r.b});
    int slot = static_cast<int>(r.kind);
    if (r.kind <= -1 || slot >= app.m_Img.Length() || !app.m_Img[slot] || list.ImageAt(slot)) continue;
    if (!AddImage(app.m_Img[slot], slot, dir, &list)) return false;
  }
  return Write(list, dir + "/" + name + ".vwdl");
}

}  // namespace frames
