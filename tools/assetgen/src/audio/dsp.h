// Building blocks of the synthesiser: band-limited oscillators, noise, filters
// and the decimator that brings the oversampled voices down to the output rate.
// Voices run at kInnerRate (four times the output rate) so that what the
// PolyBLEP corrections leave of aliasing lies above the audible band, where
// the decimator removes it.
#pragma once
#include <cstdint>
#include <vector>

namespace audio {

constexpr int kRate = 44100;                   // output sample rate of every file
constexpr int kOversample = 4;                 // voices render at this multiple
constexpr int kInnerRate = kRate * kOversample;
constexpr double kPi = 3.14159265358979323846;

enum class Wave { Sine, Triangle, Saw, Pulse, Noise };

// One oscillator; the phase runs 0..1 and advances by frequency / kInnerRate.
class Oscillator {
  public:
    explicit Oscillator(Wave w, uint32_t seed = 1) : wave_(w), noise_(seed * 2654435761u + 1) {}
    // Next sample at `freq` Hz with pulse width `duty` (0..1, pulse only).
    double next(double freq, double duty = 0.5);
    void setPhase(double p) { phase_ = p; }

  private:
    double white();
    Wave wave_;
    double phase_ = 0;
    uint32_t noise_;
};

// Simper's trapezoidal state-variable filter: low, band and high pass from one
// structure, stable under fast cutoff sweeps.
class SvFilter {
  public:
    enum Mode { LowPass, BandPass, HighPass };
    SvFilter(Mode m, int rate) : mode_(m), rate_(rate) {}
    void set(double cutoff, double resonance);  // resonance 0 (Q 0.5) .. 1 (Q 20)
    double process(double x);

  private:
    Mode mode_;
    int rate_;
    double k_ = 2, a1_ = 0, a2_ = 0, a3_ = 0, ic1_ = 0, ic2_ = 0;
};

// First-order sections for the output stage.
class OnePole {
  public:
    enum Mode { LowPass, HighPass };
    OnePole(Mode m, double cutoff, int rate);
    double process(double x);

  private:
    Mode mode_;
    double a_, b_, x1_ = 0, y1_ = 0;
};

// Generic biquad (direct form I); coefficients normalised by a0.
struct Biquad {
    double b0 = 1, b1 = 0, b2 = 0, a1 = 0, a2 = 0;
    double x1 = 0, x2 = 0, y1 = 0, y2 = 0;
    double process(double x) {
        double y = b0 * x + b1 * x1 + b2 * x2 - a1 * y1 - a2 * y2;
        x2 = x1, x1 = x, y2 = y1, y1 = y;
        return y;
    }
};

// Linear-phase FIR low-pass (Kaiser-windowed sinc) that keeps every
// kOversample-th sample. The pass band reaches about 18 kHz; everything above
// half the output rate, which would fold back, is at least 90 dB down.
class Decimator {
  public:
    Decimator();
    // Output sample i is centred on input sample i * kOversample.
    std::vector<float> run(const std::vector<float>& in) const;
    int halfLength() const { return (int)(taps_.size() / 2); }

  private:
    std::vector<double> taps_;
};

double midiToHz(double midi);

}  // namespace audio
