// Drives the real game object and framework over the fake window layer, GL and
// AL, one update or render at a time under the virtual clock, so game tests
// read as "hold Space for 3 updates, then expect ...".
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "fake_gl.h"
#include "game/vaultwick.h"
#include "scratch_folder.h"

namespace gameharness {

// One display-list record, decoded.
struct Record {
  float kind, x, y, rot, w, h, frame, alpha, r, g, b;
  bool is_rect() const { return kind == bb_Vaultwick_MyApp::kRectKind; }
  bool is_oval() const { return kind == bb_Vaultwick_MyApp::kOvalKind; }
};

// One primitive of a render: a quad of a batch, or a whole fan (an ellipse),
// with its bounds in window pixels.
struct Shape {
  bool textured = false;
  bool fan = false;
  bool cleared = false;  // a glClear of the window (or the scissor box)
  float left = 0, top = 0, right = 0, bottom = 0;
  float u0 = 0, u1 = 0;                 // texture range across, textured quads only
  unsigned char r = 0, g = 0, b = 0, a = 0;  // first vertex, premultiplied
};

class Game {
 public:
  static constexpr double kTick = 1.0 / 60;

  // Opens a window of the given size on fresh fakes, builds the framework and
  // the game as the program's entry does, then runs the create hook and the
  // first render, as the main loop does before its first update.
  //
  // The game runs in a fresh working directory of its own whose data/ is the
  // repository's, so it loads the real art and sound and any file it writes
  // is thrown away with the harness.
  explicit Game(int width = 640, int height = 480);
  // The same, but the create hook and first render are left to the program's
  // own main loop: a test schedules window events and then calls RunApp().
  struct ForMainLoop {};
  explicit Game(ForMainLoop);
  ~Game();
  Game(const Game&) = delete;
  Game& operator=(const Game&) = delete;

  // Updates until the loader has run to its end (at most `limit` updates);
  // returns the number of updates it took.
  int FinishLoading(int limit = 100);

  bb_Vaultwick_MyApp& app() const { return *app_; }
  double now() const;

  // `count` updates, each one tick of the virtual clock later: window events
  // due by then are delivered, then the update hook runs between the input
  // device's begin and end, as in the main loop.
  void Update(int count = 1);
  // One render; the GL draw calls it made are kept in draws().
  void Render();
  const std::vector<fakegl::Draw>& draws() const { return draws_; }
  // The draws and clears of the last render as shapes, in drawing order.
  std::vector<Shape> Shapes() const;

  // Input as the window system reports it, delivered at the next update.
  // Keys use the window layer's codes: printable keys are their upper-case
  // character, special keys WL_KEY_*.
  void Press(int wlKey);
  void Release(int wlKey);
  void Type(const std::string& chars);
  void MoveMouse(int x, int y);
  void MouseDown(int button = 0);
  void MouseUp(int button = 0);

  // The display list as recorded by the last update.
  std::vector<Record> DisplayList() const;
  // The characters of the font's glyphs in the display list drawn in colour
  // (r, g, b), in drawing order; blanks and line breaks draw nothing.
  std::string TextDrawn(float r, float g, float b) const;

  // The sound slots of the sounds started since the last ClearSounds, in order
  // (-1 for a sample that no slot holds); the music channel is not counted.
  std::vector<int> SoundsPlayed() const;
  void ClearSounds();

 private:
  bb_Vaultwick_MyApp* app_ = nullptr;
  std::unique_ptr<ScratchFolder> folder_;  // the game's working directory while it lives
  void Build(int width, int height);
  std::vector<fakegl::Draw> draws_;
  std::vector<fakegl::Clear> clears_;
};

}  // namespace gameharness
