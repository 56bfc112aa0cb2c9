// One renderer under comparison, behind the calls the timing loop makes: our
// framework in a window of its own, or an SDL2 renderer in another. Each owns a
// 640 x 480 window with its own GL context on the same Mesa.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "../frames/display_list_file.h"

namespace renderbench {

// 5000 (or `count`) 32 x 32 sprites from one 256 x 256 sheet of 64 frames.
struct SpriteScene {
  static constexpr int kSheetSide = 256;
  static constexpr int kFrameSide = 32;
  static constexpr int kFrames = 64;
  struct Sprite {
    int x, y, frame;
  };
  std::vector<uint8_t> sheet;  // straight-alpha RGBA, row 0 first
  std::vector<Sprite> sprites;
};

SpriteScene MakeSpriteScene(int count);

class Side {
 public:
  virtual ~Side() = default;
  virtual const char* Name() const = 0;
  // Makes this side's GL context current for the calls that follow.
  virtual void Activate() = 0;
  // Loads what a scene draws; false (with a message on stderr) on failure.
  virtual bool PrepareSprites(const SpriteScene& scene) = 0;
  virtual bool PrepareList(const frames::DisplayList& list, const std::string& dir) = 0;
  // Starts a frame: clears the window and hands that to GL (not timed).
  virtual void BeginFrame() = 0;
  virtual void DrawSprites(const SpriteScene& scene) = 0;
  virtual void DrawList(const frames::DisplayList& list) = 0;
  // Hands everything still queued to GL.
  virtual void Submit() = 0;
  virtual void Present() = 0;
};

std::unique_ptr<Side> MakeOurSide();
// SDL2's OpenGL renderer, with its command batching on or off.
std::unique_ptr<Side> MakeSdlSide(bool batching);

}  // namespace renderbench
