// A fluent way to write a Patch, so that a design reads as a line of sound
// parameters: Tone(Wave::Pulse).note(76).duty(0.25).adsr(...).slide(1).
#pragma once
#include <utility>
#include <vector>

#include "patch.h"

namespace audio {

class Tone {
  public:
    explicit Tone(Wave w) { p_.wave = w; }
    explicit Tone(const Patch& p) : p_(p) {}  // to change a prepared voice
    Tone& note(double midi) { return p_.freq = midiToHz(midi), *this; }
    Tone& hz(double f) { return p_.freq = f, *this; }
    Tone& hold(double seconds) { return p_.gate = seconds, *this; }
    Tone& adsr(double a, double d, double s, double r) { return p_.env = Adsr{a, d, s, r}, *this; }
    Tone& slide(double octavesPerSecond, double accel = 0) {
        return p_.slide = octavesPerSecond, p_.slideAccel = accel, *this;
    }
    Tone& duty(double d, double sweep = 0) { return p_.duty = d, p_.dutySweep = sweep, *this; }
    Tone& vibrato(double semitones, double rate = 5.5, double delay = 0) {
        return p_.vibratoDepth = semitones, p_.vibratoRate = rate, p_.vibratoDelay = delay, *this;
    }
    Tone& arp(std::vector<ArpStep> steps) { return p_.arp = std::move(steps), *this; }
    Tone& lowpass(double hz, double sweep = 0, double res = 0, double env = 0) {
        return filter(SvFilter::LowPass, hz, sweep, res, env);
    }
    Tone& bandpass(double hz, double sweep = 0, double res = 0, double env = 0) {
        return filter(SvFilter::BandPass, hz, sweep, res, env);
    }
    Tone& highpass(double hz) { return p_.highpass = hz, *this; }
    Tone& detune(double cents) { return p_.detune = cents, *this; }
    Tone& gain(double g) { return p_.gain = g, *this; }
    Tone& seed(uint32_t s) { return p_.seed = s, *this; }
    const Patch& patch() const { return p_; }
    operator const Patch&() const { return p_; }

  private:
    Tone& filter(SvFilter::Mode m, double hz, double sweep, double res, double env) {
        p_.filter = FilterSweep{m, hz, sweep, res, env};
        return *this;
    }
    Patch p_;
};

}  // namespace audio
