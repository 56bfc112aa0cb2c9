// The output stage: the decimator, the loudness measure, finishing an effect
// and the WAV writer.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>

#include "audio/dsp.h"
#include "audio/master.h"
#include "spectrum.h"
#include "wav_file.h"

using namespace audio;

namespace {

std::vector<float> sine(double hz, double amp, double seconds, int rate) {
    std::vector<float> x((size_t)(seconds * rate));
    for (size_t i = 0; i < x.size(); ++i) x[i] = (float)(amp * std::sin(2 * kPi * hz * i / rate));
    return x;
}

double rmsDb(const std::vector<float>& x, size_t from, size_t to) {
    double s = 0;
    for (size_t i = from; i < to; ++i) s += x[i] * x[i];
    return 10 * std::log10(s / (to - from));
}

TEST(Decimator, PassesTheBandFlatAndRemovesWhatWouldFoldBack) {
    Decimator d;
    for (double hz : {100.0, 1000.0, 10000.0, 17000.0}) {
        auto y = d.run(sine(hz, 1, 0.5, kInnerRate));
        EXPECT_NEAR(rmsDb(y, 2000, 20000), -3.01, 0.1) << hz << " Hz";
    }
    // 30 kHz would land on 14.1 kHz, 50 kHz on 5.9 kHz.
    for (double hz : {22600.0, 30000.0, 50000.0}) {
        auto y = d.run(sine(hz, 1, 0.5, kInnerRate));
        EXPECT_LT(rmsDb(y, 2000, 20000), -90) << hz << " Hz";
    }
}

TEST(Loudness, ReadsAFullScaleSineAndWeightsFrequencyAsTheEarDoes) {
    double k1 = loudnessDb(sine(1000, 1, 1, kRate), kRate);
    EXPECT_NEAR(k1, -2.3, 0.3);
    EXPECT_NEAR(loudnessDb(sine(1000, 0.1, 1, kRate), kRate), k1 - 20, 0.05);
    EXPECT_LT(loudnessDb(sine(25, 1, 1, kRate), kRate), k1 - 6);      // deep bass counts little
    EXPECT_GT(loudnessDb(sine(5000, 1, 1, kRate), kRate), k1 + 2.5);  // presence counts more
}

TEST(Loudness, TheGateIgnoresSilenceAndQuietTails) {
    auto body = sine(800, 0.3, 0.2, kRate);
    double alone = loudnessDb(body, kRate);
    auto padded = body;
    padded.resize(padded.size() + kRate, 0.0f);
    auto tail = sine(800, 0.003, 1.0, kRate);  // 40 dB down
    auto withTail = body;
    withTail.insert(withTail.end(), tail.begin(), tail.end());
    EXPECT_NEAR(loudnessDb(padded, kRate), alone, 0.1);
    EXPECT_NEAR(loudnessDb(withTail, kRate), alone, 0.1);
    EXPECT_LT(loudnessDb({}, kRate), -100);
}

TEST(FinishEffect, LevelsFadesAndRemovesOffset) {
    auto inner = sine(600, 0.2, 0.3, kInnerRate);
    for (float& v : inner) v += 0.3f;  // a constant offset, and a hard start and end
    FinishOptions o;
    o.loudness = -20;
    auto x = finishEffect(inner, o);
    EXPECT_NEAR(loudnessDb(x, kRate), -20, 0.01);
    EXPECT_EQ(x.front(), 0.0f);
    EXPECT_EQ(x.back(), 0.0f);
    EXPECT_LT(std::fabs(x[1]), 0.01);
    double mean = 0;
    for (size_t i = x.size() / 2; i < x.size() * 3 / 4; ++i) mean += x[i];
    EXPECT_NEAR(mean / (x.size() / 4), 0, 0.005);
    EXPECT_LE(peakDb(x), kPeakCeilingDb);
}

TEST(FinishEffect, RefusesALevelThatWouldPushThePeakOverTheCeiling) {
    std::vector<float> inner(kInnerRate / 4, 0.0f);
    for (size_t i = 0; i < inner.size(); ++i) inner[i] = (float)(0.01 * std::sin(i * 0.01));
    for (size_t i = 20000; i < 20400; ++i) inner[i] = 0.9f;  // one loud click over a faint body
    FinishOptions o;
    o.loudness = -10;
    EXPECT_THROW(finishEffect(inner, o), std::runtime_error);
}

TEST(WavFile, WritesWhatTheReaderReadsBack) {
    std::vector<int16_t> s = {0, 1, -1, 32767, -32767, 1234};
    std::string path = ::testing::TempDir() + "assetgen_roundtrip.wav";
    writeWav(path, s, kRate, 2);
    auto w = audiotest::readWav(path);
    EXPECT_EQ(w.rate, kRate);
    EXPECT_EQ(w.channels, 2);
    ASSERT_EQ(w.raw.size(), s.size());
    for (size_t i = 0; i < s.size(); ++i) EXPECT_EQ(w.raw[i], s[i]);
    std::remove(path.c_str());
}

}  // namespace
