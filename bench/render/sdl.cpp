// SDL2's side of the comparison: its OpenGL renderer in a window of its own,
// drawing the same scenes through SDL's own calls. SDL's renderer batches its
// commands only when asked to (SDL_HINT_RENDER_BATCHING); without the hint,
// naming the driver, as this does, leaves batching off, which is its default
// behaviour for an application that picks its renderer.
#include <SDL.h>
#include <stb_image.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>

#include "side.h"

namespace renderbench {

namespace {

Uint8 Byte(float v) { return static_cast<Uint8>(std::clamp(v, 0.0f, 255.0f)); }

// Segments of an ellipse as our renderer counts them, so both draw the same fan.
int OvalSegments(float rx, float ry) {
  float sum = std::fabs(std::trunc(rx)) + std::fabs(std::trunc(ry));
  if (!(sum >= 12)) return 12;
  if (sum > 1024) return 1024;
  return static_cast<int>(sum) & ~3;
}

class SdlSide : public Side {
 public:
  explicit SdlSide(bool batching) : batching_(batching) {
    if (SDL_WasInit(SDL_INIT_VIDEO) == 0 && SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) Die("SDL_Init");
    SDL_SetHint(SDL_HINT_RENDER_DRIVER, "opengl");
    SDL_SetHint(SDL_HINT_RENDER_BATCHING, batching ? "1" : "0");
    SDL_SetHint(SDL_HINT_RENDER_VSYNC, "0");
    window_ = SDL_CreateWindow(Name(), SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED, 640, 480, SDL_WINDOW_OPENGL);
    if (!window_) Die("SDL_CreateWindow");
    renderer_ = SDL_CreateRenderer(window_, -1, SDL_RENDERER_ACCELERATED);
    if (!renderer_) Die("SDL_CreateRenderer");
    SDL_RendererInfo info;
    SDL_GetRendererInfo(renderer_, &info);
    if (std::string(info.name) != "opengl") Die("the opengl renderer");
    SDL_SetRenderDrawBlendMode(renderer_, SDL_BLENDMODE_BLEND);
  }

  const char* Name() const override { return batching_ ? "sdl2-batched" : "sdl2-default"; }

  // SDL keeps its own note of the current context, which our side's switches
  // do not update: releasing the context through SDL makes its renderer take
  // its own again on the next call.
  void Activate() override { SDL_GL_MakeCurrent(nullptr, nullptr); }

  bool PrepareSprites(const SpriteScene& scene) override {
    sprites_ = Texture(scene.sheet.data(), SpriteScene::kSheetSide, SpriteScene::kSheetSide);
    return sprites_ != nullptr;
  }

  bool PrepareList(const frames::DisplayList& list, const std::string& dir) override {
    for (const frames::Sheet& s : list.sheets) {
      if (sheets_.count(dir + "/" + s.file)) continue;
      int w = 0, h = 0, n = 0;
      unsigned char* pixels = stbi_load((dir + "/" + s.file).c_str(), &w, &h, &n, 4);
      if (!pixels) return false;
      sheets_[dir + "/" + s.file] = Texture(pixels, w, h);
      stbi_image_free(pixels);
    }
    slots_.clear();
    for (const frames::Image& image : list.images) {
      for (const frames::Sheet& s : list.sheets)
        if (s.id == image.sheet) slots_[image.slot] = Slot{&image, sheets_[dir + "/" + s.file]};
    }
    return true;
  }

  void BeginFrame() override {
    SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
    SDL_RenderClear(renderer_);
    SDL_RenderFlush(renderer_);
  }

  void DrawSprites(const SpriteScene& scene) override {
    const int side = SpriteScene::kFrameSide, perRow = SpriteScene::kSheetSide / side;
    for (const SpriteScene::Sprite& s : scene.sprites) {
      SDL_Rect src{(s.frame % perRow) * side, (s.frame / perRow) * side, side, side};
      SDL_Rect dst{s.x, s.y, side, side};
      SDL_RenderCopy(renderer_, sprites_, &src, &dst);
    }
  }

  void DrawList(const frames::DisplayList& list) override;
  void Submit() override { SDL_RenderFlush(renderer_); }
  void Present() override { SDL_RenderPresent(renderer_); }

 private:
  struct Slot {
    const frames::Image* image;
    SDL_Texture* texture;
  };

  [[noreturn]] static void Die(const char* what) {
    std::fprintf(stderr, "%s failed: %s\n", what, SDL_GetError());
    std::exit(1);
  }

  SDL_Texture* Texture(const unsigned char* rgba, int w, int h) {
    SDL_Texture* t = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_ABGR8888, SDL_TEXTUREACCESS_STATIC, w, h);
    if (!t) return nullptr;
    SDL_UpdateTexture(t, nullptr, rgba, w * 4);
    SDL_SetTextureBlendMode(t, SDL_BLENDMODE_BLEND);
    return t;
  }

  void Rect(const frames::Record& r, float x, float y, float w, float h) {
    SDL_SetRenderDrawColor(renderer_, Byte(r.r), Byte(r.g), Byte(r.b), Byte(r.alpha * 255));
    SDL_FRect rect{x, y, w, h};
    SDL_RenderFillRectF(renderer_, &rect);
  }

  void Oval(const frames::Record& r, float cx, float cy, float rx, float ry);
  void Image(const frames::Record& r, const Slot& slot, float x, float y, float sx, float sy);

  bool batching_;
  SDL_Window* window_ = nullptr;
  SDL_Renderer* renderer_ = nullptr;
  SDL_Texture* sprites_ = nullptr;
  std::map<std::string, SDL_Texture*> sheets_;
  std::map<int, Slot> slots_;
  std::vector<SDL_Vertex> fan_;
  std::vector<int> fanIndices_;
};

// A filled ellipse as a fan of triangles, as our renderer draws it.
void SdlSide::Oval(const frames::Record& r, float cx, float cy, float rx, float ry) {
  int n = OvalSegments(rx, ry);
  SDL_Color c{Byte(r.r), Byte(r.g), Byte(r.b), Byte(r.alpha * 255)};
  fan_.clear();
  fanIndices_.clear();
  for (int i = 0; i < n; ++i) {
    float theta = (6.2831855f * static_cast<float>(i)) / static_cast<float>(n);
    fan_.push_back(SDL_Vertex{{cx + std::cos(theta) * rx, cy - std::sin(theta) * ry}, c, {0, 0}});
    if (i >= 2) fanIndices_.insert(fanIndices_.end(), {0, i - 1, i});
  }
  SDL_RenderGeometry(renderer_, nullptr, fan_.data(), n, fanIndices_.data(), static_cast<int>(fanIndices_.size()));
}

// One frame scaled by (sx, sy) and turned about its handle, the handle at (x, y).
void SdlSide::Image(const frames::Record& r, const Slot& slot, float x, float y, float sx, float sy) {
  const frames::Image& image = *slot.image;
  int frame = static_cast<int>(r.frame);
  if (frame < 0 || 2 * frame + 1 >= static_cast<int>(image.frames.size())) return;
  SDL_Rect src{image.frames[2 * frame], image.frames[2 * frame + 1], image.width, image.height};
  float w = static_cast<float>(image.width) * std::fabs(sx), h = static_cast<float>(image.height) * std::fabs(sy);
  float left = sx >= 0 ? x - image.handleX * sx : x - (static_cast<float>(image.width) - image.handleX) * -sx;
  float top = sy >= 0 ? y - image.handleY * sy : y - (static_cast<float>(image.height) - image.handleY) * -sy;
  SDL_FRect dst{left, top, w, h};
  SDL_FPoint centre{x - left, y - top};
  int flip = (sx < 0 ? SDL_FLIP_HORIZONTAL : 0) | (sy < 0 ? SDL_FLIP_VERTICAL : 0);
  SDL_SetTextureColorMod(slot.texture, Byte(r.r), Byte(r.g), Byte(r.b));
  SDL_SetTextureAlphaMod(slot.texture, Byte(r.alpha * 255));
  // Our angles turn counter-clockwise on screen, SDL's clockwise.
  SDL_RenderCopyExF(renderer_, slot.texture, &src, &dst, -r.rot, &centre, static_cast<SDL_RendererFlip>(flip));
}

void SdlSide::DrawList(const frames::DisplayList& list) {
  frames::Record clear{0, 0, 0, 0, 0, 0, 0, list.clear[3], list.clear[0], list.clear[1], list.clear[2]};
  Rect(clear, -1, -1, static_cast<float>(list.windowWidth + 2), static_cast<float>(list.windowHeight + 2));
  const float sx = list.scaleX, sy = list.scaleY, inv = list.assetInvScale;
  for (const frames::Record& r : list.records) {
    if (r.kind == frames::kRectKind) {
      Rect(r, r.x * sx, r.y * sy, r.w * sx, r.h * sy);
    } else if (r.kind == frames::kOvalKind) {
      Oval(r, r.x * sx, r.y * sy, r.w * sx, r.h * sy);
    } else if (r.kind > -1) {
      auto slot = slots_.find(static_cast<int>(r.kind));
      if (slot != slots_.end()) Image(r, slot->second, r.x * sx, r.y * sy, r.w * sx * inv, r.h * sy * inv);
    }
  }
}

}  // namespace

std::unique_ptr<Side> MakeSdlSide(bool batching) { return std::unique_ptr<Side>(new SdlSide(batching)); }

}  // namespace renderbench
