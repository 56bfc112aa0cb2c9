// Every effect file under data/sfx, as the game loads it: band, ends, peak,
// offset and the loudness its role asks for.
#include <gtest/gtest.h>

#include <cmath>
#include <dirent.h>
#include <set>

#include "audio/dsp.h"
#include "audio/master.h"
#include "sounds.h"
#include "spectrum.h"
#include "wav_file.h"

namespace {

const std::string kSfxDir = std::string(ASSETGEN_DATA_DIR) + "/sfx/";

constexpr double kAbove12kHzDb = -20;
constexpr double kEndStep = 0.01;         // of full scale
constexpr double kLoudnessTolerance = 1.5;
constexpr double kDcLimit = 1e-3;         // mean, of full scale
// However quiet its role, an effect still peaks here, so it is heard over the others.
constexpr double kAudibleDb = -12;

size_t nextPow2(size_t n) {
    size_t p = 1;
    while (p < n) p <<= 1;
    return p;
}

class ShippedEffect : public ::testing::TestWithParam<EffectInfo> {
  protected:
    void SetUp() override {
        wav_ = audiotest::readWav(kSfxDir + GetParam().file);
        ASSERT_EQ(wav_.rate, audio::kRate) << "missing or not 16-bit PCM";
        ASSERT_EQ(wav_.channels, 1);
        ASSERT_GT(wav_.samples.size(), 100u);
    }
    audiotest::WavFile wav_;
};

TEST_P(ShippedEffect, KeepsItsEnergyBelow12kHz) {
    const auto& x = wav_.samples;
    auto p = audiotest::powerSpectrum(x, 0, nextPow2(x.size()));
    EXPECT_LT(audiotest::energyAboveDb(p, 12000, wav_.rate), kAbove12kHzDb);
}

TEST_P(ShippedEffect, StartsAndEndsOnSilence) {
    EXPECT_LE(std::abs(wav_.raw.front()), kEndStep * 32768);
    EXPECT_LE(std::abs(wav_.raw.back()), kEndStep * 32768);
}

TEST_P(ShippedEffect, PeaksAudiblyButUnderTheCeilingWithoutOffset) {
    EXPECT_LE(audio::peakDb(wav_.samples), audio::kPeakCeilingDb + 0.01);
    EXPECT_GE(audio::peakDb(wav_.samples), kAudibleDb);
    double mean = 0;
    for (float v : wav_.samples) mean += v;
    EXPECT_LT(std::fabs(mean / wav_.samples.size()), kDcLimit);
}

TEST_P(ShippedEffect, SitsAtItsRolesLoudness) {
    double target = roleLoudness(GetParam().role);
    EXPECT_NEAR(audio::loudnessDb(wav_.samples, wav_.rate), target, kLoudnessTolerance)
        << "role " << roleName(GetParam().role);
}

INSTANTIATE_TEST_SUITE_P(Sfx, ShippedEffect, ::testing::ValuesIn(effectCatalogue()), [](const auto& info) {
    std::string n = info.param.file.substr(0, info.param.file.size() - 4);
    return "sfx_" + n;
});

TEST(ShippedEffects, TheFolderHoldsExactlyTheCatalogue) {
    std::set<std::string> listed, found;
    for (const EffectInfo& e : effectCatalogue()) listed.insert(e.file);
    DIR* d = opendir(kSfxDir.c_str());
    ASSERT_NE(d, nullptr);
    while (dirent* e = readdir(d))
        if (e->d_name[0] != '.') found.insert(e->d_name);
    closedir(d);
    EXPECT_EQ(found, listed);
}

// Rewards over routine play, play over the menus' own sounds.
TEST(ShippedEffects, RolesAreOrderedByWeight) {
    EXPECT_GT(roleLoudness(Role::Reward), roleLoudness(Role::Play));
    EXPECT_GT(roleLoudness(Role::Play), roleLoudness(Role::Motion));
    EXPECT_GT(roleLoudness(Role::Motion), roleLoudness(Role::Ui));
    EXPECT_GE(roleLoudness(Role::Fanfare), roleLoudness(Role::Reward));
}

}  // namespace
