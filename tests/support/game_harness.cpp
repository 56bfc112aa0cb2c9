// The whole-game driver behind game_harness.h.
#include "game_harness.h"

#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "app/app.h"
#include "audio/audio.h"
#include "fake_al.h"
#include "fake_window.h"
#include "game/program.h"
#include "seam/window.h"

namespace gameharness {

Game::Game(int width, int height) {
  Build(width, height);
  ::app->InvokeOnCreate();
  Render();
}

Game::Game(ForMainLoop) { Build(640, 480); }

void Game::Build(int width, int height) {
  folder_ = std::make_unique<ScratchFolder>("vaultwick-game", true);
  fakewin::reset();
  fakegl::reset();
  fakeal::reset();
  fakewin::state().width = width;
  fakewin::state().height = height;
  wlInit();
  wlOpenWindow(width, height, 0, 0, 0, 0, 0, 0, WL_WINDOW);
  bb_std_main(0, nullptr);
  app_ = static_cast<bb_Vaultwick_MyApp*>(bb_app_device->m_app);
  // The callbacks the main loop would install before its first hook.
  wlSetKeyCallback(gxtkApp::OnKey);
  wlSetCharCallback(gxtkApp::OnChar);
  wlSetMouseButtonCallback(gxtkApp::OnMouseButton);
}

Game::~Game() = default;

int Game::FinishLoading(int limit) {
  int updates = 0;
  while (app_->m_LoadStep > 0 && updates < limit) {
    Update();
    ++updates;
  }
  return updates;
}

double Game::now() const { return fakewin::state().now; }

void Game::Update(int count) {
  for (int i = 0; i < count; ++i) {
    fakewin::advance(kTick);
    wlPollEvents();
    ::app->InvokeOnUpdate();
    ::app->audio->Update();  // as the main loop does after its updates
  }
}

void Game::Render() {
  fakegl::state().draws.clear();
  fakegl::state().clears_made.clear();
  ::app->InvokeOnRender();
  draws_ = fakegl::state().draws;
  clears_ = fakegl::state().clears_made;
}

void Game::Press(int wlKey) { fakewin::key(now(), wlKey, WL_PRESS); }
void Game::Release(int wlKey) { fakewin::key(now(), wlKey, WL_RELEASE); }

void Game::Type(const std::string& chars) {
  for (char c : chars) fakewin::character(now(), static_cast<unsigned char>(c));
}

void Game::MoveMouse(int x, int y) {
  fakewin::state().mouse_x = x;
  fakewin::state().mouse_y = y;
}

void Game::MouseDown(int button) { fakewin::mouse_button(now(), button, WL_PRESS); }
void Game::MouseUp(int button) { fakewin::mouse_button(now(), button, WL_RELEASE); }

std::vector<Record> Game::DisplayList() const {
  std::vector<Record> out;
  const Array<float>& list = app_->m_DrawList;
  for (int k = 0; k + bb_Vaultwick_MyApp::kDrawRecord <= app_->m_DrawCount; k += bb_Vaultwick_MyApp::kDrawRecord) {
    out.push_back(Record{list[k], list[k + 1], list[k + 2], list[k + 3], list[k + 4], list[k + 5], list[k + 6],
                         list[k + 7], list[k + 10], list[k + 11], list[k + 12]});
  }
  return out;
}

std::string Game::TextDrawn(float r, float g, float b) const {
  std::string text;
  for (const Record& rec : DisplayList()) {
    if (rec.kind != static_cast<float>(app_->m_FontImg)) continue;
    if (rec.r != r || rec.g != g || rec.b != b) continue;
    text += static_cast<char>(static_cast<int>(rec.frame) + 32);
  }
  return text;
}

std::vector<int> Game::SoundsPlayed() const {
  std::vector<int> slots;
  unsigned music = bb_audio_device->channels[gxtkAudio::kMusicChannel].source;
  for (const fakeal::PlayEvent& play : fakeal::state().plays) {
    if (music && play.source == music) continue;
    int slot = -1;
    for (int s = 0; s < app_->m_Sfx.Length() && slot < 0; ++s) {
      bb_audio_Sound* sound = app_->m_Sfx[s];
      if (sound && sound->m_sample && sound->m_sample->buffer == play.buffer) slot = s;
    }
    slots.push_back(slot);
  }
  return slots;
}

void Game::ClearSounds() { fakeal::state().plays.clear(); }

}  // namespace gameharness

namespace gameharness {

namespace {

Shape Bounds(const std::vector<fakegl::Vertex>& v, size_t from, size_t count, bool textured, bool fan) {
  Shape s;
  s.textured = textured;
  s.fan = fan;
  s.left = s.right = v[from].x;
  s.top = s.bottom = v[from].y;
  s.u0 = s.u1 = v[from].u;
  for (size_t i = from; i < from + count; ++i) {
    s.left = std::min(s.left, v[i].x);
    s.right = std::max(s.right, v[i].x);
    s.top = std::min(s.top, v[i].y);
    s.bottom = std::max(s.bottom, v[i].y);
    s.u0 = std::min(s.u0, v[i].u);
    s.u1 = std::max(s.u1, v[i].u);
  }
  s.r = v[from].r;
  s.g = v[from].g;
  s.b = v[from].b;
  s.a = v[from].a;
  return s;
}

// The window, or the scissor box, filled with the clear colour.
Shape Cleared(const fakegl::Clear& c) {
  Shape s;
  s.cleared = true;
  const std::array<GLint, 4>& view = fakegl::state().viewport;
  const std::array<GLint, 4>& box = c.scissor ? c.scissor_box : view;
  s.left = static_cast<float>(box[0]);
  s.right = static_cast<float>(box[0] + box[2]);
  s.top = static_cast<float>(view[3] - box[1] - box[3]);  // GL counts rows from the bottom
  s.bottom = static_cast<float>(view[3] - box[1]);
  auto byte = [](float f) { return static_cast<unsigned char>(std::lround(std::min(1.0f, std::max(0.0f, f)) * 255)); };
  s.r = byte(c.color[0]);
  s.g = byte(c.color[1]);
  s.b = byte(c.color[2]);
  s.a = byte(c.color[3]);
  return s;
}

}  // namespace

std::vector<Shape> Game::Shapes() const {
  std::vector<Shape> out;
  size_t clear = 0;
  for (size_t i = 0; i <= draws_.size(); ++i) {
    for (; clear < clears_.size() && clears_[clear].before_draw == i; ++clear) out.push_back(Cleared(clears_[clear]));
    if (i == draws_.size()) break;
    const fakegl::Draw& d = draws_[i];
    if (d.vertices.empty()) continue;
    if (d.quads() > 0) {
      for (size_t k = 0; k + 6 <= d.vertices.size(); k += 6) out.push_back(Bounds(d.vertices, k, 6, d.textured, false));
    } else {
      out.push_back(Bounds(d.vertices, 0, d.vertices.size(), d.textured, d.mode == GL_TRIANGLE_FAN));
    }
  }
  return out;
}

}  // namespace gameharness
