// Our side of the comparison: the framework's renderer and graphics context in
// a window of the framework's own window layer, drawing as the game does.
#include <GLFW/glfw3.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "graphics/context.h"
#include "runtime/gc.h"
#include "seam/window.h"
#include "side.h"

namespace renderbench {

namespace {

void DrawOurSprites(bb_graphics_Image* image, const SpriteScene& scene) {
  for (const SpriteScene::Sprite& s : scene.sprites)
    bb_graphics_DrawImage(image, static_cast<float>(s.x), static_cast<float>(s.y), s.frame);
}

// An image of `frames` cut from an uploaded sheet, as the loader would make it.
bb_graphics_Image* ImageFromSheet(gxtkSurface* sheet, const frames::Image& desc) {
  bb_graphics_Image* image = new bb_graphics_Image();
  gc_assign(image->m_surface, sheet);
  image->m_width = desc.width;
  image->m_height = desc.height;
  image->m_flags = desc.flags;
  image->m_handleX = desc.handleX;
  image->m_handleY = desc.handleY;
  Array<bb_graphics_Frame*> frames(static_cast<int>(desc.frames.size() / 2));
  for (int i = 0; i < frames.Length(); ++i) frames.Set(i, (new bb_graphics_Frame())->g_new(desc.frames[2 * i], desc.frames[2 * i + 1]));
  gc_assign(image->m_frames, frames);
  return image;
}

class OurSide : public Side {
 public:
  OurSide() {
    gc_init();
    if (!wlInit() || (wlOpenWindowHint(WL_WINDOW_NO_RESIZE, 1), !wlOpenWindow(640, 480, 0, 0, 0, 0, 0, 0, WL_WINDOW))) {
      std::fprintf(stderr, "no window for our renderer\n");
      std::exit(1);
    }
    wlSetWindowTitle("ours");
    window_ = glfwGetCurrentContext();
    device_ = new gxtkGraphics();
    gc_assign(bb_graphics_context, new bb_graphics_GraphicsContext());
    bb_graphics_SetGraphicsDevice(device_);
    // VW_FILL_SHORTCUTS=0 draws every frame blended and cleared by a drawn
    // rectangle: the reference the shortcuts' screenshots are compared with.
    const char* shortcuts = std::getenv("VW_FILL_SHORTCUTS");
    if (shortcuts && std::strcmp(shortcuts, "0") == 0) device_->SetFillShortcuts(false);
  }

  const char* Name() const override { return "ours"; }
  void Activate() override { glfwMakeContextCurrent(window_); }

  bool PrepareSprites(const SpriteScene& scene) override {
    size_t bytes = scene.sheet.size();
    unsigned char* pixels = static_cast<unsigned char*>(std::malloc(bytes));  // the surface frees it
    std::memcpy(pixels, scene.sheet.data(), bytes);
    gxtkSurface* sheet = new gxtkSurface(pixels, SpriteScene::kSheetSide, SpriteScene::kSheetSide, 4);
    if (!sheet->OnUnsafeLoadComplete()) return false;
    bb_graphics_Image* atlas = (new bb_graphics_Image())->m_Init(sheet, 1, 0);
    sprites_ = atlas->m_GrabImage(0, 0, SpriteScene::kFrameSide, SpriteScene::kFrameSide, SpriteScene::kFrames, 0);
    return sprites_ != nullptr;
  }

  bool PrepareList(const frames::DisplayList& list, const std::string& dir) override {
    slots_ = Array<bb_graphics_Image*>(100);
    for (const frames::Image& desc : list.images) {
      if (desc.slot < 0 || desc.slot >= slots_.Length()) continue;
      gxtkSurface* sheet = LoadSheet(list, desc.sheet, dir);
      if (!sheet) return false;
      slots_.Set(desc.slot, ImageFromSheet(sheet, desc));
    }
    return true;
  }

  void BeginFrame() override {
    device_->Validate();
    device_->BeginRender();
    bb_graphics_BeginRender();
    device_->Cls(0, 0, 0);
  }

  void DrawSprites(const SpriteScene& scene) override { DrawOurSprites(sprites_, scene); }
  void DrawList(const frames::DisplayList& list) override;
  void Submit() override { device_->Flush(); }

  void Present() override {
    bb_graphics_EndRender();
    device_->EndRender();
  }

 private:
  gxtkSurface* LoadSheet(const frames::DisplayList& list, int id, const std::string& dir) {
    for (const frames::Sheet& s : list.sheets) {
      if (s.id != id) continue;
      gxtkSurface* surface = device_->LoadSurface(String((dir + "/" + s.file).c_str()));
      if (!surface) std::fprintf(stderr, "cannot load sheet %s\n", s.file.c_str());
      return surface;
    }
    std::fprintf(stderr, "no sheet %d in %s\n", id, list.name.c_str());
    return nullptr;
  }

  GLFWwindow* window_ = nullptr;
  gxtkGraphics* device_ = nullptr;
  bb_graphics_Image* sprites_ = nullptr;
  Array<bb_graphics_Image*> slots_;
};

// The game's render: the clearing rectangle, then every record as the game's
// display-list replay draws it.
void OurSide::DrawList(const frames::DisplayList& list) {
  bb_graphics_SetColor(list.clear[0], list.clear[1], list.clear[2]);
  bb_graphics_SetAlpha(list.clear[3]);
  bb_graphics_DrawRect(-1, -1, static_cast<float>(list.windowWidth + 2), static_cast<float>(list.windowHeight + 2));
  const float sx = list.scaleX, sy = list.scaleY, inv = list.assetInvScale;
  for (const frames::Record& r : list.records) {
    bb_graphics_SetAlpha(r.alpha);
    bb_graphics_SetColor(r.r, r.g, r.b);
    if (r.kind == frames::kRectKind) {
      bb_graphics_DrawRect(r.x * sx, r.y * sy, r.w * sx, r.h * sy);
    } else if (r.kind == frames::kOvalKind) {
      bb_graphics_DrawEllipse(r.x * sx, r.y * sy, r.w * sx, r.h * sy);
    } else if (r.kind > -1) {
      int slot = static_cast<int>(r.kind);
      bb_graphics_Image* image = slot < slots_.Length() ? slots_[slot] : nullptr;
      if (image)
        bb_graphics_DrawImage2(image, r.x * sx, r.y * sy, r.rot, r.w * sx * inv, r.h * sy * inv,
                               static_cast<int>(r.frame));
    }
  }
}

}  // namespace

std::unique_ptr<Side> MakeOurSide() { return std::unique_ptr<Side>(new OurSide()); }

}  // namespace renderbench
