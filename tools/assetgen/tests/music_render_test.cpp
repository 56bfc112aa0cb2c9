// Rendering a score into a loop: the loop must be the same sound as the piece
// played on and on, so the player can wrap it without a seam.
#include <gtest/gtest.h>

#include <cmath>

#include "audio/arrangement.h"
#include "audio/dsp.h"
#include "audio/master.h"
#include "music.h"

using namespace audio;

namespace {

// Two bars whose last notes, pad, echo and room ring on well past the loop's end.
const std::string kRinging = R"(
tempo  120
room   0.3 1.2
voice  lead  flute
voice  pad   warm-pad
voice  bass  round-bass
kit    acoustic
chords c | C | G |
melody m | e5:4 g5:4 c6:8 | d6:4 b5:4 g5:4 d6:4 |
figure f | 1:8 5:8 |
drums  d
  kick  x.......x.......
  hat   x.x.x.x.x.x.x.xx
  crash ...............x
section A bars=2 chords=c lead=m pad=on bass=f drums=d
)";

std::vector<float> render(const std::string& order) { return renderLoop(parseScore(kRinging + order)); }

TEST(MusicRender, ALoopIsExactlyThePieceHeardOnAndOn) {
    auto once = render("order A");
    auto twice = render("order A A");
    ASSERT_EQ(twice.size(), 2 * once.size());
    // The second pass of the doubled piece hears the first pass's tail, just
    // as the loop's start hears its own end.
    double worst = 0, peak = 0;
    for (size_t i = 0; i < once.size(); ++i) {
        worst = std::max(worst, (double)std::fabs(once[i] - twice[once.size() + i]));
        peak = std::max(peak, (double)std::fabs(once[i]));
    }
    EXPECT_LT(worst, peak * 1e-4);
}

TEST(MusicRender, TheTailIsFoldedOntoTheStart) {
    Score s = parseScore(kRinging + "order A");
    auto held = renderLoop(s, {"lead", "pad"});  // slow attacks, long releases
    // In its first 5 ms the loop's own notes have barely begun; what sounds
    // there is the pad and the echo ringing over from the end.
    double head = 0, mean = 0;
    for (size_t i = 0; i < 2 * 220; ++i) head += held[i] * held[i];
    for (float v : held) mean += v * v;
    EXPECT_GT(head / 440, 0.05 * mean / held.size());
    EXPECT_EQ(held.size(), 2 * loopFrames(s, kRate));
}

TEST(MusicRender, TracksAreLevelledToTheMusicLoudness) {
    auto x = renderTrack(parseScore(kRinging + "order A"));
    std::vector<float> mid(x.size() / 2);
    for (size_t i = 0; i < mid.size(); ++i) mid[i] = 0.5f * (x[2 * i] + x[2 * i + 1]);
    EXPECT_NEAR(loudnessDb(mid, kRate), kMusicLoudness, 0.01);
    EXPECT_LE(peakDb(x), kPeakCeilingDb);
}

TEST(MusicRender, PartsRenderApartAndSumToTheWhole) {
    Score s = parseScore(kRinging + "order A");
    auto all = renderLoop(s), lead = renderLoop(s, {"lead"}), rest = renderLoop(s, {"pad", "bass", "drums"});
    double worst = 0;
    for (size_t i = 0; i < all.size(); ++i) worst = std::max(worst, (double)std::fabs(all[i] - lead[i] - rest[i]));
    EXPECT_LT(worst, 1e-4);
    double leadEnergy = 0;
    for (float v : lead) leadEnergy += v * v;
    EXPECT_GT(leadEnergy, 0);
}

}  // namespace
