// Replay files: a round as its logic read it, in a compact binary form.
//
// A replay holds what a round's set-up takes (the play mode, the seed of its
// clock, the state carried over from the round before, the lists and badges
// it shows), then per update only what changed of what the round reads (the
// logical buttons, the pointer while pressed, the virtual screen, a pause from
// outside, a reload of the art), and a hash of the round's state every 60
// updates and after the last, with the final score and the update count.
// Reading checks everything before it allocates, so any bytes give either a
// replay or one of the errors below.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace replay {

const int kFormatVersion = 1;
// The round's rules: raised with any change that makes a recorded round play
// differently, so an old replay is refused instead of failing its hashes.
const int kRulesVersion = 1;
const uint32_t kHashEvery = 60;                      // updates between state hashes
const size_t kMaxFileBytes = 2u << 20;               // beyond a day of play
const uint32_t kMaxUpdates = 60u * 60u * 60u * 24u;  // a day at 60 updates a second

// The logical buttons a round asks for (m_PlayKey), one bit each in this order.
const int kButtons[] = {0, 3, 5, 8, 10, 11, 12, 13, 99};
const int kButtonCount = sizeof(kButtons) / sizeof(kButtons[0]);

// The pointer as the round reads it, in virtual-screen units; the position
// counts only while it is pressed.
struct Pointer {
  bool down = false;
  int x = 0, y = 0;
  bool operator==(const Pointer& o) const { return down == o.down && (!down || (x == o.x && y == o.y)); }
};

// The pause panel's state, as a suspension or a lost focus sets it between updates.
struct PauseState {
  int paused = 0, opened = 0, y = 0, choice = 0;
  bool operator==(const PauseState& o) const {
    return paused == o.paused && opened == o.opened && y == o.y && choice == o.choice;
  }
};

// What is new before one update; only the parts flagged in `what` count.
enum : uint8_t { kButtonsChanged = 1, kPointerChanged = 2, kScreenChanged = 4, kPaused = 8, kReloaded = 16 };
struct Event {
  uint32_t update = 0;
  uint8_t what = 0;
  uint16_t buttons = 0;       // bit i: kButtons[i] held
  Pointer pointer;
  float width = 0, height = 0;  // virtual screen
  PauseState pause;
  int loadStep = 0;           // the loader's step a reload started at
};

// Round state the set-up keeps from the round before.
struct Carry {
  float columnPos = 0, distance = 0, scroll = 0, bulletY = 0;
  int shownScore = 0, popupCount = 0, pauseChoice = 0;
};

struct Header {
  int playMode = 1;      // 1..10
  int buttonMode = 0;    // 0 hold, 1 toggle
  uint32_t seed = 0;     // the round's clock at its set-up, ms
  int badgeCounter = 0;  // the save data's count of first-spike hits
  uint32_t badges[8] = {};
  int topTen[10] = {};   // the play mode's top ten at the set-up
  Carry carry;
};

struct Replay {
  Header header;
  std::string events;            // the event stream, encoded (EventWriter)
  std::vector<uint32_t> hashes;  // after updates 60, 120, ... and after the last
  uint32_t updates = 0;          // the last update of the round; the set-up is update 0
  int score = 0;
};

// Appends events, each for a later update than the one before.
class EventWriter {
 public:
  void Add(const Event& event, std::string* stream);

 private:
  uint32_t previous_ = 0;
};

// Walks a stream that Decode has accepted (or that EventWriter wrote).
class EventReader {
 public:
  bool Next(const std::string& stream, Event* event);

 private:
  size_t at_ = 0;
  uint32_t update_ = 0;
};

enum class ReadError { kNone, kNotReplay, kNewerFormat, kOtherRules, kTooLarge, kTruncated, kDamaged, kInconsistent };

// The hashes a round of `updates` updates carries.
size_t HashCount(uint32_t updates);
std::string Encode(const Replay& replay);
ReadError Decode(const uint8_t* data, size_t size, Replay* out);
// One line saying what is wrong.
const char* Describe(ReadError error);
uint32_t Crc32(const uint8_t* data, size_t size);

}  // namespace replay
