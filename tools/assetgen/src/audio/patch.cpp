#include "patch.h"

#include <algorithm>
#include <cmath>

namespace audio {

namespace {

constexpr double kMinPitch = 16, kMaxPitch = 18000;  // Hz a slide may reach
// Pitch, pulse width, filter and envelope follow their curves at a control
// rate: one update per 16 inner samples (0.09 ms) is far finer than any slide
// or the shortest attack (1 ms) needs.
constexpr int kControl = 16;

// Release shape: exponential but pulled down to land exactly on zero.
double releaseCurve(double x) {
    const double k = 5, floor = std::exp(-k);
    return (std::exp(-k * x) - floor) / (1 - floor);
}

double vibrato(const Patch& p, double t) {
    if (p.vibratoDepth <= 0) return 0;
    double fade = p.vibratoDelay > 0 ? std::min(1.0, t / p.vibratoDelay) : 1.0;
    return p.vibratoDepth * fade * std::sin(2 * kPi * p.vibratoRate * t);
}

double filterCutoff(const Patch& p, double t, double envLevel) {
    return p.filter.cutoff * std::pow(2.0, p.filter.sweep * t + p.filter.envAmount * envLevel);
}

}  // namespace

double Adsr::level(double t, double gate) const {
    if (t < 0) return 0;
    auto held = [&](double u) {
        if (u < attack) return u / attack;
        double x = (u - attack) / std::max(decay, 1e-4);
        return sustain + (1 - sustain) * std::exp(-3 * x);
    };
    if (t < gate) return held(t);
    double x = (t - gate) / std::max(release, 1e-4);
    return x >= 1 ? 0 : held(gate) * releaseCurve(x);
}

double patchPitch(const Patch& p, double t) {
    double octaves = p.slide * t + 0.5 * p.slideAccel * t * t;
    double semis = 0;
    for (const ArpStep& a : p.arp)
        if (t >= a.at) semis = a.semitones;
    return std::clamp(p.freq * std::pow(2.0, octaves + semis / 12), kMinPitch, kMaxPitch);
}

void renderPatch(const Patch& p, std::vector<float>& out, size_t at, double gain) {
    size_t n = (size_t)std::ceil(p.length() * kInnerRate);
    if (out.size() < at + n) out.resize(at + n, 0.0f);
    Oscillator a(p.wave, p.seed), b(p.wave, p.seed + 7);
    b.setPhase(0.37);  // a second oscillator in phase would only double the first
    double detuneRatio = std::pow(2.0, p.detune / 1200), mixB = p.detune != 0 ? 1.0 : 0.0;
    SvFilter filter(p.filter.mode, kInnerRate), low(SvFilter::HighPass, kInnerRate);
    if (p.highpass > 0) low.set(p.highpass, 0);
    double scale = gain * p.gain / (1 + mixB);
    double f = 0, duty = 0, envFrom = 0, envTo = 0;
    for (size_t i = 0; i < n; ++i) {
        double t = (double)i / kInnerRate;
        if (i % kControl == 0) {
            f = patchPitch(p, t) * std::pow(2.0, vibrato(p, t) / 12);
            duty = std::clamp(p.duty + p.dutySweep * t, 0.02, 0.98);
            envFrom = p.env.level(t, p.gate);
            envTo = p.env.level(t + (double)kControl / kInnerRate, p.gate);
            if (p.filter.cutoff > 0) filter.set(filterCutoff(p, t, envFrom), p.filter.resonance);
        }
        // The envelope runs straight between control points, 0.09 ms apart.
        double env = envFrom + (envTo - envFrom) * (double)(i % kControl) / kControl;
        double v = a.next(f, duty);
        if (mixB > 0) v += b.next(f * detuneRatio, duty);
        if (p.filter.cutoff > 0) v = filter.process(v);
        if (p.highpass > 0) v = low.process(v);
        out[at + i] += (float)(v * env * scale);
    }
}

}  // namespace audio
