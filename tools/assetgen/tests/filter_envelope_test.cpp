// Filters, envelopes and the voice parameters, measured on rendered sound.
#include <gtest/gtest.h>

#include <cmath>

#include "audio/dsp.h"
#include "audio/patch.h"
#include "audio/tone.h"

using namespace audio;

namespace {

// Steady-state gain in dB of `f` for a sine at `hz`.
template <class F>
double gainDb(F&& f, double hz, int rate) {
    double peak = 0;
    for (int i = 0; i < rate / 2; ++i) {
        double y = f(std::sin(2 * kPi * hz * i / rate));
        if (i > rate / 4) peak = std::max(peak, std::fabs(y));
    }
    return 20 * std::log10(peak);
}

double svfGain(SvFilter::Mode m, double cutoff, double hz) {
    SvFilter f(m, kInnerRate);
    f.set(cutoff, 0);
    return gainDb([&](double x) { return f.process(x); }, hz, kInnerRate);
}

TEST(SvFilter, LowAndHighPassMeetAtMinus3dBAndRollOffAt12dBAnOctave) {
    EXPECT_NEAR(svfGain(SvFilter::LowPass, 1000, 1000), -3, 0.2);
    EXPECT_NEAR(svfGain(SvFilter::LowPass, 1000, 100), 0, 0.1);
    EXPECT_NEAR(svfGain(SvFilter::LowPass, 1000, 8000), -36, 1.5);
    EXPECT_NEAR(svfGain(SvFilter::HighPass, 1000, 1000), -3, 0.2);
    EXPECT_NEAR(svfGain(SvFilter::HighPass, 1000, 125), -36, 1.5);
    EXPECT_NEAR(svfGain(SvFilter::BandPass, 2000, 2000), 0, 0.2);
}

TEST(SvFilter, StaysBoundedUnderAFastResonantSweep) {
    SvFilter f(SvFilter::LowPass, kInnerRate);
    Oscillator o(Wave::Saw);
    double peak = 0;
    for (int i = 0; i < kInnerRate; ++i) {
        if (i % 16 == 0) f.set(20 * std::pow(1000.0, std::fabs(std::sin(i * 20.0 / kInnerRate))), 1);
        double y = f.process(o.next(110));
        ASSERT_TRUE(std::isfinite(y));
        peak = std::max(peak, std::fabs(y));
    }
    EXPECT_LT(peak, 40);  // resonance 1 is a Q of about 20
}

TEST(OnePole, BlocksDcAndPassesTheBand) {
    OnePole hp(OnePole::HighPass, 30, kRate);
    double y = 0;
    for (int i = 0; i < kRate; ++i) y = hp.process(0.5);
    EXPECT_NEAR(y, 0, 1e-4);
    OnePole hp2(OnePole::HighPass, 30, kRate);
    EXPECT_NEAR(gainDb([&](double x) { return hp2.process(x); }, 1000, kRate), 0, 0.05);
    OnePole lp(OnePole::LowPass, 11000, kRate);
    EXPECT_NEAR(gainDb([&](double x) { return lp.process(x); }, 11000, kRate), -3, 0.3);
}

TEST(Adsr, RisesDecaysAndReleasesToExactSilenceWithoutJumps) {
    Adsr e{0.01, 0.1, 0.4, 0.2};
    const double gate = 0.5, step = 1.0 / kRate;
    EXPECT_EQ(e.level(0, gate), 0);
    EXPECT_NEAR(e.level(0.01, gate), 1, 1e-9);
    EXPECT_NEAR(e.level(0.49, gate), 0.4, 0.01);
    EXPECT_NEAR(e.level(gate + 0.2, gate), 0, 1e-12);
    EXPECT_EQ(e.level(gate + 0.2001, gate), 0);
    double worst = 0;
    for (double t = step; t < 0.8; t += step)
        worst = std::max(worst, std::fabs(e.level(t, gate) - e.level(t - step, gate)));
    EXPECT_LT(worst, 0.01);  // no step bigger than a ramp of 2 ms would take
}

TEST(Adsr, AGateShorterThanTheAttackReleasesFromWhereItGot) {
    Adsr e{0.02, 0.1, 0.5, 0.05};
    EXPECT_NEAR(e.level(0.01, 0.01), 0.5, 1e-9);
    EXPECT_LT(e.level(0.0101, 0.01), 0.5);
}

// Counts upward zero crossings of a rendered voice between two times.
double measuredHz(const std::vector<float>& x, double from, double to) {
    size_t a = (size_t)(from * kInnerRate), b = (size_t)(to * kInnerRate);
    int n = 0;
    for (size_t i = a + 1; i < b; ++i)
        if (x[i - 1] < 0 && x[i] >= 0) ++n;
    return n / (to - from);
}

TEST(Patch, SlidesAndArpeggiosMoveThePitchAsWritten) {
    std::vector<float> x;
    renderPatch(Tone(Wave::Sine).hz(400).slide(1).hold(1.0).adsr(0.002, 0.1, 1, 0.01), x, 0);
    EXPECT_NEAR(measuredHz(x, 0.0, 0.05), 400 * std::pow(2, 0.025), 40);
    EXPECT_NEAR(measuredHz(x, 0.9, 1.0), 400 * std::pow(2, 0.95), 40);
    std::vector<float> y;
    renderPatch(Tone(Wave::Sine).hz(400).arp({{0.2, 12}, {0.4, 7}}).hold(0.6).adsr(0.002, 0.1, 1, 0.01), y, 0);
    EXPECT_NEAR(measuredHz(y, 0.05, 0.19), 400, 15);
    EXPECT_NEAR(measuredHz(y, 0.25, 0.39), 800, 15);
    EXPECT_NEAR(measuredHz(y, 0.45, 0.59), 400 * std::pow(2, 7 / 12.0), 15);
}

TEST(Patch, VibratoSwingsAroundThePitch) {
    std::vector<float> x;
    renderPatch(Tone(Wave::Sine).hz(1000).vibrato(1, 2).hold(1.0).adsr(0.002, 0.1, 1, 0.01), x, 0);
    double up = measuredHz(x, 0.05, 0.20), down = measuredHz(x, 0.30, 0.45);  // around 1/8 and 3/8 of a cycle
    EXPECT_GT(up, 1040);
    EXPECT_LT(down, 960);
}

// Energy of harmonic k of a 441 Hz pulse, relative to the fundamental.
double harmonicDb(double duty, int k) {
    std::vector<float> x;
    renderPatch(Tone(Wave::Pulse).hz(441).duty(duty).hold(0.2).adsr(0.002, 0.1, 1, 0.01), x, 0);
    auto at = [&](double hz) {
        double re = 0, im = 0;
        for (size_t i = kInnerRate / 20; i < (size_t)kInnerRate / 20 * 3; ++i) {
            re += x[i] * std::cos(2 * kPi * hz * i / kInnerRate);
            im += x[i] * std::sin(2 * kPi * hz * i / kInnerRate);
        }
        return re * re + im * im;
    };
    return 10 * std::log10(at(441.0 * k) / at(441.0));
}

TEST(Patch, DutyShapesTheEvenHarmonics) {
    EXPECT_LT(harmonicDb(0.5, 2), -40);  // a square has none
    EXPECT_GT(harmonicDb(0.25, 2), -6);  // a quarter pulse has a strong second
}

TEST(Patch, ALowPassSweepDarkensTheVoiceOverTime) {
    std::vector<float> x;
    renderPatch(Tone(Wave::Saw).hz(220).lowpass(8000, -4).hold(1.0).adsr(0.002, 0.1, 1, 0.01), x, 0);
    const size_t kSpan = 20000;  // about 0.11 s at the voices' rate
    auto roughness = [&](double from) {  // mean squared slope: large while bright
        double s = 0;
        for (size_t i = (size_t)(from * kInnerRate), n = 0; n < kSpan; ++i, ++n) s += std::pow(x[i] - x[i - 1], 2);
        return s;
    };
    // The late span ends before the voice does (1.01 s with its release).
    ASSERT_GE(x.size(), (size_t)(0.85 * kInnerRate) + kSpan);
    EXPECT_GT(roughness(0.05), 10 * roughness(0.85));
}

}  // namespace
