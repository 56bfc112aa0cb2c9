#include "dsp.h"

#include <algorithm>
#include <cmath>

namespace audio {

namespace {

// Residual of a band-limited step of height 2 at phase 0, spread over one
// sample either side (the two-point polynomial BLEP).
double blep(double t, double dt) {
    if (t < dt) {
        t /= dt;
        return t + t - t * t - 1;
    }
    if (t > 1 - dt) {
        t = (t - 1) / dt;
        return t * t + t + t + 1;
    }
    return 0;
}

// Its integral: the residual of a unit change of slope per sample, times 2.
double blamp(double t, double dt) {
    if (t < dt) {
        t = t / dt - 1;
        return -t * t * t / 3;
    }
    if (t > 1 - dt) {
        t = (t - 1) / dt + 1;
        return t * t * t / 3;
    }
    return 0;
}

double wrap01(double x) { return x - std::floor(x); }

// Modified Bessel function of the first kind, order 0 (Kaiser window).
double besselI0(double x) {
    double sum = 1, term = 1;
    for (int k = 1; k < 40; ++k) {
        term *= (x / (2 * k)) * (x / (2 * k));
        sum += term;
    }
    return sum;
}

constexpr int kDecimatorTaps = 255;
constexpr double kDecimatorCutoff = 20050.0;  // -6 dB point, Hz
constexpr double kKaiserBeta = 9.0;           // about 90 dB stop band

}  // namespace

double midiToHz(double midi) { return 440.0 * std::pow(2.0, (midi - 69) / 12.0); }

double Oscillator::white() {
    noise_ = noise_ * 1664525u + 1013904223u;
    return (noise_ >> 8) / 8388608.0 - 1.0;
}

double Oscillator::next(double freq, double duty) {
    double dt = std::min(freq / kInnerRate, 0.5);
    double t = phase_, v = 0;
    switch (wave_) {
    case Wave::Sine: v = std::sin(2 * kPi * t); break;
    case Wave::Saw: v = 2 * t - 1 - blep(t, dt); break;
    case Wave::Pulse: {
        double d = std::clamp(duty, 2 * dt, 1 - 2 * dt);
        v = (t < d ? 1.0 : -1.0) + blep(t, dt) - blep(wrap01(t + 1 - d), dt);
        v -= 2 * d - 1;  // the pulse's own mean, so a narrow pulse adds no offset
        break;
    }
    case Wave::Triangle:
        v = 1 - 4 * std::fabs(t - 0.5) + 4 * dt * (blamp(t, dt) - blamp(wrap01(t + 0.5), dt));
        break;
    case Wave::Noise: v = white(); break;
    }
    phase_ = wrap01(phase_ + dt);
    return v;
}

void SvFilter::set(double cutoff, double resonance) {
    double fc = std::clamp(cutoff, 10.0, rate_ * 0.45);
    double q = 0.7071 * std::pow(28.0, std::clamp(resonance, 0.0, 1.0));
    double g = std::tan(kPi * fc / rate_);
    k_ = 1 / q;
    a1_ = 1 / (1 + g * (g + k_));
    a2_ = g * a1_;
    a3_ = g * a2_;
}

double SvFilter::process(double x) {
    double v3 = x - ic2_;
    double v1 = a1_ * ic1_ + a2_ * v3;
    double v2 = ic2_ + a2_ * ic1_ + a3_ * v3;
    ic1_ = 2 * v1 - ic1_;
    ic2_ = 2 * v2 - ic2_;
    switch (mode_) {
    case LowPass: return v2;
    case BandPass: return v1 * k_;  // unity gain at the centre
    case HighPass: return x - k_ * v1 - v2;
    }
    return v2;
}

OnePole::OnePole(Mode m, double cutoff, int rate) : mode_(m) {
    // Bilinear transform of a first-order section, prewarped at the cutoff.
    double w = std::tan(kPi * cutoff / rate);
    a_ = (w - 1) / (w + 1);
    b_ = m == LowPass ? w / (1 + w) : 1 / (1 + w);
}

double OnePole::process(double x) {
    double y = mode_ == LowPass ? b_ * (x + x1_) - a_ * y1_ : b_ * (x - x1_) - a_ * y1_;
    x1_ = x, y1_ = y;
    return y;
}

Decimator::Decimator() : taps_(kDecimatorTaps) {
    int half = kDecimatorTaps / 2;
    double fc = kDecimatorCutoff / kInnerRate, sum = 0;
    for (int i = 0; i < kDecimatorTaps; ++i) {
        double n = i - half, r = n / half;
        double sinc = n == 0 ? 2 * fc : std::sin(2 * kPi * fc * n) / (kPi * n);
        taps_[i] = sinc * besselI0(kKaiserBeta * std::sqrt(1 - r * r)) / besselI0(kKaiserBeta);
        sum += taps_[i];
    }
    for (double& t : taps_) t /= sum;
}

std::vector<float> Decimator::run(const std::vector<float>& in) const {
    long n = (long)in.size(), half = (long)taps_.size() / 2;
    std::vector<float> out((size_t)((n + kOversample - 1) / kOversample));
    for (size_t o = 0; o < out.size(); ++o) {
        long c = (long)o * kOversample;
        long lo = std::max(0L, c - half), hi = std::min(n - 1, c + half);
        const double* t = &taps_[(size_t)(lo - c + half)];
        const float* x = &in[(size_t)lo];
        long count = hi - lo + 1, j = 0;
        // Four running sums let the processor overlap the multiplications.
        double acc[4] = {0, 0, 0, 0};
        for (; j + 4 <= count; j += 4)
            for (int k = 0; k < 4; ++k) acc[k] += t[j + k] * x[j + k];
        for (; j < count; ++j) acc[0] += t[j] * x[j];
        out[o] = (float)((acc[0] + acc[1]) + (acc[2] + acc[3]));
    }
    return out;
}

}  // namespace audio
