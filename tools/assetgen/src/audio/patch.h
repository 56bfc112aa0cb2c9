// One synthesiser voice described by the parameters small-game sound designers
// know: wave and duty, pitch with slide, slide acceleration, arpeggio and
// vibrato, an ADSR envelope, a swept resonant filter over the voice and a
// high-pass under it. A voice renders at the inner (oversampled) rate.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

#include "dsp.h"

namespace audio {

// Attack (linear rise), decay (towards the sustain level), release after the
// gate closes; times in seconds. The release always lands on exact silence.
struct Adsr {
    double attack = 0.005, decay = 0.1, sustain = 0.5, release = 0.05;
    // Level 0..1 at `t` seconds for a gate open for `gate` seconds.
    double level(double t, double gate) const;
};

// A sudden pitch change (in semitones from the base pitch) from `at` seconds on.
struct ArpStep {
    double at, semitones;
};

struct FilterSweep {
    SvFilter::Mode mode = SvFilter::LowPass;
    double cutoff = 0;      // Hz; 0 leaves the voice unfiltered
    double sweep = 0;       // octaves per second
    double resonance = 0;   // 0..1
    double envAmount = 0;   // octaves added at the envelope's peak
};

struct Patch {
    Wave wave = Wave::Pulse;
    double freq = 440;           // base pitch, Hz
    double slide = 0;            // octaves per second
    double slideAccel = 0;       // octaves per second, per second
    double duty = 0.5;           // pulse width
    double dutySweep = 0;        // change of the pulse width per second
    double vibratoDepth = 0;     // semitones
    double vibratoRate = 5.5;    // Hz
    double vibratoDelay = 0;     // seconds before the vibrato has faded in
    double detune = 0;           // cents of a second, detuned oscillator (0: none)
    std::vector<ArpStep> arp;
    Adsr env;
    double gate = 0.1;           // seconds the note is held before its release
    FilterSweep filter;
    double highpass = 0;         // Hz, fixed; 0 for none
    double gain = 1;
    uint32_t seed = 1;           // noise and phase seed

    double length() const { return gate + env.release; }
};

// Adds the voice into `out` (inner rate) from inner sample `at`, scaled by
// `gain`; grows `out` when the voice runs past its end.
void renderPatch(const Patch& p, std::vector<float>& out, size_t at, double gain = 1);

// Pitch of the voice at `t` seconds before vibrato (exposed for tests).
double patchPitch(const Patch& p, double t);

}  // namespace audio
