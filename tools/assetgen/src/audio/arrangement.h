// A score laid out in time: every note of every part and every drum hit of
// one pass through the loop, with chord tones resolved against the chords.
#pragma once
#include <cstddef>
#include <string>
#include <vector>

#include "score.h"

namespace audio {

struct NoteEvent {
    std::string part;
    double step = 0;    // from the start of the loop, in steps (a sixteenth each)
    double length = 0;  // steps
    int midi = 60;
    double velocity = 1;
};

struct DrumHit {
    std::string voice;
    double step = 0;
    double velocity = 1;
};

struct Arrangement {
    std::vector<NoteEvent> notes;
    std::vector<DrumHit> hits;
    std::vector<BarChords> chords;  // the chords of each bar
    int bars = 0;
};

// Throws ScoreError when a section names a pattern or part that does not exist.
Arrangement arrange(const Score& s);

// Seconds from the loop's start to `step`, with the swing applied to off-beat steps.
double stepTime(const Score& s, double step);

// Length of the loop in sample frames at `rate`.
size_t loopFrames(const Score& s, int rate);

// Lowest register of each part's chord tones: the root of a chord sits in
// the octave from this MIDI note up.
int partFloor(const std::string& part);

}  // namespace audio
