// The sprite scene: a sheet of 64 round 32 x 32 sprites in eight hues with
// soft edges, and 5000 placements spread over the window by a fixed seed.
#include <cmath>

#include "side.h"

namespace renderbench {

namespace {

// One cell: a disc whose alpha falls off over its last two pixels.
void PaintCell(std::vector<uint8_t>& sheet, int cell) {
  const int side = SpriteScene::kFrameSide, perRow = SpriteScene::kSheetSide / side;
  const int left = (cell % perRow) * side, top = (cell / perRow) * side;
  const uint8_t r = static_cast<uint8_t>(cell & 1 ? 255 : 80), g = static_cast<uint8_t>(cell & 2 ? 255 : 80),
                b = static_cast<uint8_t>(cell & 4 ? 255 : 80);
  const float radius = 8.0f + static_cast<float>(cell % 8);
  for (int y = 0; y < side; ++y) {
    for (int x = 0; x < side; ++x) {
      float d = std::hypot(static_cast<float>(x) - 15.5f, static_cast<float>(y) - 15.5f);
      float a = std::fmin(1.0f, std::fmax(0.0f, (radius - d) / 2.0f));
      uint8_t* p = &sheet[(static_cast<size_t>(top + y) * SpriteScene::kSheetSide + left + x) * 4];
      p[0] = r;
      p[1] = g;
      p[2] = b;
      p[3] = static_cast<uint8_t>(a * 255.0f);
    }
  }
}

}  // namespace

SpriteScene MakeSpriteScene(int count) {
  SpriteScene scene;
  scene.sheet.assign(static_cast<size_t>(SpriteScene::kSheetSide) * SpriteScene::kSheetSide * 4, 0);
  for (int cell = 0; cell < SpriteScene::kFrames; ++cell) PaintCell(scene.sheet, cell);
  unsigned state = 12345;
  auto next = [&state](unsigned range) {
    state = state * 1103515245u + 12345u;
    return static_cast<int>((state >> 8) % range);
  };
  for (int i = 0; i < count; ++i) {
    int x = next(640 - SpriteScene::kFrameSide);
    int y = next(480 - SpriteScene::kFrameSide);
    scene.sprites.push_back({x, y, i % SpriteScene::kFrames});
  }
  return scene;
}

}  // namespace renderbench
