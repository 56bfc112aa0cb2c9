// Shared by the round tests: starting a round as the menu would, reading the
// sounds a round played by slot, a spike field laid out by hand, and a
// scripted player that holds and releases the button by fixed rules.
#pragma once

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "audio/audio.h"
#include "fake_al.h"
#include "game_harness.h"
#include "seam/window.h"

namespace playtest {

using gameharness::Game;

// A round of `playMode` set up through the screen dispatch (one update), with
// the assets loaded first.
inline void StartRound(Game& game, int playMode) {
  if (game.app().m_LoadStep > 0) game.FinishLoading();
  game.app().m_MenuMode = playMode;
  game.app().m_Screen = 11;
  game.Update();
}

// The pause panel down and at rest, as the pause key leaves it, and gone
// again; the panel itself decides when a half-set pause ends.
inline void HoldPause(bb_Vaultwick_MyApp& app) {
  app.m_Paused = 1;
  app.m_PauseOpened = 1;
  app.m_PauseY = 248;
}
inline void EndPause(bb_Vaultwick_MyApp& app) {
  app.m_Paused = 0;
  app.m_PauseOpened = -1;
  app.m_PauseY = -64;
}

struct Sound {
  int slot;
  float rate;
};

// Sounds played since the AL recorder was last cleared, by the game's slot;
// the music channel is not counted.
inline std::vector<Sound> SoundsPlayed(const bb_Vaultwick_MyApp& app) {
  std::vector<Sound> out;
  unsigned music = bb_audio_device->channels[gxtkAudio::kMusicChannel].source;
  for (const fakeal::PlayEvent& play : fakeal::state().plays) {
    if (music && play.source == music) continue;
    int slot = -1;
    for (int s = 0; s < app.m_Sfx.Length(); ++s) {
      const bb_audio_Sound* sound = app.m_Sfx[s];
      if (sound && sound->m_sample && sound->m_sample->buffer == play.buffer) slot = s;
    }
    out.push_back(Sound{slot, play.pitch});
  }
  return out;
}

inline int CountSound(const bb_Vaultwick_MyApp& app, int slot) {
  int n = 0;
  for (const Sound& s : SoundsPlayed(app)) n += s.slot == slot;
  return n;
}

inline void ClearSounds() { fakeal::state().plays.clear(); }

// Screen y of a spike of `kind` on a 480-high screen (ground 100).
inline int SpikeY(int kind) { return 480 - 108 - 24 * kind; }

// The font's glyphs drawn on the line at `y`, as text (blanks draw nothing).
inline std::string GlyphsAt(const std::vector<gameharness::Record>& list, float y) {
  std::string out;
  for (const gameharness::Record& r : list)
    if (r.kind == 90 && std::fabs(r.y - y) < 0.01f) out += static_cast<char>(r.frame + 32);
  return out;
}

// The character's height above where it stands, and a spike's, in screen
// units (the game's y grows downward).
inline float StandY(const bb_Vaultwick_MyApp& app) { return bb_Vaultwick_jscrh - (app.m_Ground + 32); }

// A field with nothing in it but what a test puts there: column i shows ring
// slot i - 2 + m_Columns, at x = i * width - offset.
inline void EmptyField(bb_Vaultwick_MyApp& app) {
  for (int i = 0; i < 640; ++i) app.m_Lower[i] = app.m_Upper[i] = 0;
  for (int i = 0; i < 1024; ++i) app.m_Particles[i] = 0;
  app.m_Columns = 2;  // column i shows slot i
  app.m_ColumnWidth = 256;
  app.m_ColumnOffset = 0;
  app.m_Flags[2] = 0;
}

// Puts a spike of `kind` in slot 1 (column 1) at screen x `x`.
inline void SpikeAt(bb_Vaultwick_MyApp& app, int kind, int x, int tier = 0, int phase = 0) {
  app.m_ColumnOffset = static_cast<float>(app.m_ColumnWidth - x);
  app.m_Lower[10] = kind;
  app.m_Lower[11] = tier;
  app.m_Lower[12] = phase;
}

// The character now at screen y `now`, and the frame before at `before`.
inline void CharacterAt(bb_Vaultwick_MyApp& app, float now, float before) {
  app.m_Trail[202] = now;
  app.m_Trail[192] = before;
}

// Plays a round by fixed rules over what the screen shows: the spikes ahead,
// the character's height and speed. It holds where holding is safe, waits
// where it is not, leaps and climbs over what it cannot pass under, and in
// play mode 10 goes for the spikes. It is a decent player, not a perfect one.
class ScriptedPlayer {
 public:
  explicit ScriptedPlayer(Game& game) : game_(game), app_(game.app()) {}

  // Sets the button for the next update.
  void Step() {
    ++updates_;
    bool hold = WantHold();
    // Now and then it stops looking and holds the button for a while, so
    // that rounds come to an end.
    if (updates_ % kLapseEvery >= kLapseEvery - kLapseLength) hold = true;
    // A press held since before the round does not count: let go first.
    if (hold && held_ && app_.m_KeyLatch == 1 && app_.m_Mode != 3) hold = false;
    if (committed_ > 0) {
      hold = true;
      --committed_;
    }
    if (hold != held_) {
      if (hold)
        game_.Press(WL_KEY_SPACE);
      else
        game_.Release(WL_KEY_SPACE);
      held_ = hold;
    }
    Fire();
    waiting_ = app_.m_Speed == 0 && !hold ? waiting_ + 1 : 0;
    // After a long wait it goes anyway, for long enough to reach the spike.
    if (waiting_ > 180) {
      committed_ = 40;
      waiting_ = 0;
    }
  }

 private:
  struct Spike {
    float x;       // screen x now
    float height;  // above the character's standing height, now
    int kind, tier, phase;
  };

  std::vector<Spike> SpikesAhead() const {
    std::vector<Spike> out;
    float stand = StandY(app_);
    for (int i = 0; i <= 40; ++i) {
      int slot = (i - 2 + app_.m_Columns) % 64;
      if (slot < 0 || app_.m_Lower[slot * 10] <= 0) continue;
      float x = static_cast<float>(static_cast<int>(static_cast<float>(i * app_.m_ColumnWidth) - app_.m_ColumnOffset));
      if (x < 90 || x > 900) continue;
      int kind = app_.m_Lower[slot * 10];
      float y = bb_Vaultwick_jscrh - (app_.m_Ground + 8) - 24.0f * static_cast<float>(kind);
      out.push_back(Spike{x, stand - y, kind, app_.m_Lower[slot * 10 + 1], app_.m_Lower[slot * 10 + 2]});
    }
    return out;
  }

  static float SpikeHeightAt(const Spike& s, int t) {
    if (s.tier < 1 || s.tier > 3) return s.height;
    float phase = static_cast<float>(s.phase + 2 * t);
    return s.height - 40 * std::sin(static_cast<float>(s.tier) * phase * 3.14159265f / 180);
  }

  // The character's height t updates from now, by variant.
  float HeightAt(int t, float angle) const {
    switch (app_.m_Mode) {
      case 9: {
        float clock = app_.m_Clock + static_cast<float>(t);
        return 90 - 90 * std::sin(4 * clock * 3.14159265f / 180);
      }
      default:
        return std::fabs(std::sin(angle * 3.14159265f / 180)) * 180;
    }
  }

  enum Plan { kHold, kRelease, kLeap };

  // Whether following `plan` from now on meets a spike within `frames`
  // updates: holding until the next spike is past and then letting go,
  // letting go now, or a leap started now.
  bool PlanMeetsSpike(int frames, Plan plan) const {
    std::vector<Spike> spikes = SpikesAhead();
    float next = 1e9f;
    for (const Spike& s : spikes)
      if (s.x > 94) next = std::min(next, s.x);
    float speed = app_.m_Speed, pos = 0, angle = plan == kLeap ? 0 : app_.m_Angle;
    for (int t = 1; t <= frames; ++t) {
      if (plan == kLeap) {
        angle = t == 1 ? 5 : angle + 5;
        if (angle >= 180) return false;
        speed = std::min(speed + app_.m_Accel, 1.0f);
      } else {
        angle = std::fmod(angle + 3, 180.0f);
        bool hold = plan == kHold && next - pos > 94;
        speed = hold ? std::min(speed + 0.25f, 1.0f) : std::max(speed - 0.5f, 0.0f);
      }
      pos += 10 * speed;
      float h = HeightAt(t, angle);
      // Wide margins to stay clear; narrow ones where a hit is wanted.
      float reachX = app_.m_Mode == 9 ? 24 : 34, reachY = app_.m_Mode == 9 ? 24 : 37;
      for (const Spike& s : spikes) {
        if (std::fabs(s.x - pos - 128) > reachX) continue;
        float top = SpikeHeightAt(s, t);
        // A solid column meets the runner anywhere below its top.
        if (app_.m_Mode == 3 ? h < top + reachY : std::fabs(top - h) < reachY) return true;
      }
    }
    return false;
  }

  bool WantHold() {
    switch (app_.m_Mode) {
      case 3:
        return Leap();
      case 4:
        return Fly();
      case 9:
        // Spikes are there to be hit: go when the run meets one.
        return PlanMeetsSpike(60, kHold);
      default:
        // Go when the run is clear; stop when it is not and stopping is.
        return !PlanMeetsSpike(60, kHold) || PlanMeetsSpike(60, kRelease);
    }
  }

  // Leaps when a leap started now clears the next spike and running on
  // would not; holds to the top of the leap.
  bool Leap() {
    if (app_.m_Angle > 0) return app_.m_Angle < 90;
    if (held_) return false;  // released for one update, so the next press counts
    bool ahead = false;
    for (const Spike& s : SpikesAhead()) ahead = ahead || (s.x > 98 && s.x < 128 + 30 + 200);
    return ahead && !PlanMeetsSpike(36, kLeap);
  }

  // Climbs above low spikes and dives under high ones, looking a few updates
  // ahead along its climb.
  bool Fly() {
    float h = 2 * app_.m_Angle;
    float target = 20;
    for (const Spike& s : SpikesAhead()) {
      if (s.x + 28 < 128) continue;
      target = s.height + 45 <= 175 ? s.height + 45 : s.height - 45;
      break;
    }
    float predicted = h - 4 * app_.m_Lift * 4;
    return predicted < target;
  }

  // Play mode 7: fire as soon as the gun is charged.
  void Fire() {
    bool fire = app_.m_Mode == 6 && app_.m_Charge >= 5 && !firing_;
    if (fire) game_.Press('X');
    if (!fire && firing_) game_.Release('X');
    firing_ = fire;
  }

  Game& game_;
  bb_Vaultwick_MyApp& app_;
  bool held_ = false;
  bool firing_ = false;
  int waiting_ = 0;
  int committed_ = 0;
  int updates_ = 0;
  static const int kLapseEvery = 1200, kLapseLength = 90;
};

}  // namespace playtest
