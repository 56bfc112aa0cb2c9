// A small stereo room: four damped feedback combs into two all-passes per side,
// the two sides tuned apart so the room spreads the sound. The music puts its
// whole mix through it, lightly, so the synthesised parts share one space.
#pragma once
#include <cstddef>
#include <vector>

namespace audio {

class Room {
  public:
    Room(int rate, double seconds);  // `seconds` for the tail to fall 60 dB
    // One sample of input (both sides summed before the room) to two sides out.
    void process(double in, double& left, double& right);

  private:
    struct Line {
        std::vector<double> buf;
        size_t at = 0;
        double feedback = 0, damp = 0, state = 0;
    };
    static double comb(Line& c, double x);
    static double allpass(Line& a, double x);
    std::vector<Line> combs_[2], passes_[2];
};

// Adds the room to an interleaved stereo loop at `wet` (0..1) of its level,
// running round the loop twice so the tail that passes the end lands on the start.
void addRoom(std::vector<float>& interleaved, int rate, double seconds, double wet);

}  // namespace audio
