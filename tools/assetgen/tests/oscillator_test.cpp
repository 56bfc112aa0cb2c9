// The oscillators after decimation: what aliasing leaves in the band, the
// pitch they sound, and no offset from any pulse width.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "audio/dsp.h"
#include "spectrum.h"

using namespace audio;

namespace {

constexpr size_t kFft = 16384;

// One second of a steady oscillator, decimated to the output rate.
std::vector<float> steady(Wave w, double hz, double duty) {
    Oscillator o(w);
    std::vector<float> inner(kInnerRate);
    for (float& v : inner) v = (float)o.next(hz, duty);
    return Decimator().run(inner);
}

// The lowest spectral peak within 20 dB of the strongest: the fundamental.
double lowestPeakHz(const std::vector<double>& p) {
    double top = *std::max_element(p.begin() + 1, p.end());
    for (size_t i = 2; i + 1 < p.size(); ++i)
        if (p[i] > top * 0.01 && p[i] >= p[i - 1] && p[i] >= p[i + 1]) return i * (double)kRate / kFft;
    return 0;
}

struct WaveCase {
    Wave wave;
    double duty;
    const char* name;
};

class AliasSweep : public ::testing::TestWithParam<WaveCase> {};

// Thirty-one pitches spaced evenly on a log scale from 100 Hz to 5 kHz, most
// of them with harmonics that fall between FFT bins and fold at odd places.
TEST_P(AliasSweep, LeavesNoMoreThanMinus60dBOutsideTheHarmonics) {
    const WaveCase& c = GetParam();
    for (int i = 0; i <= 30; ++i) {
        double hz = 100 * std::pow(50.0, i / 30.0);
        auto p = audiotest::powerSpectrum(steady(c.wave, hz, c.duty), 4000, kFft);
        EXPECT_LT(audiotest::nonHarmonicDb(p, hz, kRate), -60) << c.name << " at " << hz << " Hz";
        EXPECT_NEAR(lowestPeakHz(p), hz, 2.0 * kRate / kFft) << c.name << " sounds off pitch";
    }
}

INSTANTIATE_TEST_SUITE_P(Waves, AliasSweep,
                         ::testing::Values(WaveCase{Wave::Saw, 0.5, "saw"}, WaveCase{Wave::Pulse, 0.5, "square"},
                                           WaveCase{Wave::Pulse, 0.25, "pulse 25%"},
                                           WaveCase{Wave::Pulse, 0.1, "pulse 10%"},
                                           WaveCase{Wave::Triangle, 0.5, "triangle"}),
                         [](const auto& info) { return std::to_string(info.index); });

// The same measure sees what a naive wave folds back, so the sweep above can fail.
TEST(AliasSweepMeasure, CatchesANaiveSawtooth) {
    const double hz = 3000;
    std::vector<float> x(kRate);
    for (size_t i = 0; i < x.size(); ++i) {
        double t = i * hz / kRate;
        x[i] = (float)(2 * (t - std::floor(t)) - 1);
    }
    auto p = audiotest::powerSpectrum(x, 4000, kFft);
    EXPECT_GT(audiotest::nonHarmonicDb(p, hz, kRate), -40);
}

TEST(Oscillator, NarrowPulsesCarryNoOffset) {
    for (double duty : {0.05, 0.125, 0.3, 0.7}) {
        auto x = steady(Wave::Pulse, 441, duty);  // 100 whole periods per second
        double mean = 0;
        for (size_t i = 0; i < 44100; ++i) mean += x[i];
        EXPECT_NEAR(mean / 44100, 0, 1e-3) << "duty " << duty;
    }
}

TEST(Oscillator, NoiseIsWhiteUpToTheDecimatorsPassBand) {
    auto x = steady(Wave::Noise, 0, 0.5);
    auto p = audiotest::powerSpectrum(x, 4000, kFft);
    auto band = [&](double lo, double hi) {
        double s = 0;
        for (size_t i = (size_t)(lo * kFft / kRate); i < (size_t)(hi * kFft / kRate); ++i) s += p[i];
        return s / (hi - lo);
    };
    double low = band(500, 4500), high = band(12000, 16000);
    EXPECT_NEAR(10 * std::log10(high / low), 0, 1.5);
    EXPECT_LT(10 * std::log10(band(21500, 22000) / low), -20);  // the decimator's skirt
}

}  // namespace
