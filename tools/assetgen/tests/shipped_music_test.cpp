// The music under data/music, decoded with libvorbis: one loop per mood,
// exactly as long as its score, joining without a click, within the size the
// browser's package allows; and the scores themselves.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <dirent.h>
#include <set>
#include <sys/stat.h>
#include <vorbis/vorbisfile.h>

#include "audio/arrangement.h"
#include "audio/dsp.h"
#include "audio/master.h"
#include "music.h"

using namespace audio;

namespace {

const std::string kData = ASSETGEN_DATA_DIR;
constexpr double kMinSeconds = 45, kMaxSeconds = 90;
constexpr double kMinTempo = 110, kMaxTempo = 150;
constexpr long kMusicBudget = 4L << 20;     // bytes, all tracks together
constexpr long kWebPackageBudget = 8L << 20;  // bytes, data/ less the largest art

struct Decoded {
    int rate = 0, channels = 0;
    long frames = 0;                    // from the granule positions
    std::vector<float> left, right;
};

Decoded decode(const std::string& path) {
    Decoded d;
    OggVorbis_File vf;
    if (ov_fopen(path.c_str(), &vf) != 0) return d;
    vorbis_info* vi = ov_info(&vf, -1);
    d.rate = (int)vi->rate, d.channels = vi->channels;
    d.frames = (long)ov_pcm_total(&vf, -1);
    float** pcm;
    int section;
    long n;
    while ((n = ov_read_float(&vf, &pcm, 4096, &section)) > 0) {
        d.left.insert(d.left.end(), pcm[0], pcm[0] + n);
        d.right.insert(d.right.end(), pcm[d.channels - 1], pcm[d.channels - 1] + n);
    }
    ov_clear(&vf);
    return d;
}

long fileSize(const std::string& path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0 ? (long)st.st_size : -1;
}

// Sizes of every file under `dir` that `keep` accepts.
long treeSize(const std::string& dir, bool (*keep)(const std::string&)) {
    long total = 0;
    DIR* d = opendir(dir.c_str());
    if (!d) return 0;
    while (dirent* e = readdir(d)) {
        std::string name = e->d_name, path = dir + "/" + name;
        if (name == "." || name == "..") continue;
        struct stat st;
        if (stat(path.c_str(), &st) != 0) continue;
        if (S_ISDIR(st.st_mode)) total += treeSize(path, keep);
        else if (keep(name)) total += (long)st.st_size;
    }
    closedir(d);
    return total;
}

bool any(const std::string&) { return true; }
bool inWebPackage(const std::string& n) { return n.size() < 8 || n.substr(n.size() - 8) != "-hd2.png"; }

double blockRmsDb(const std::vector<float>& x, size_t from, size_t n) {
    double s = 0;
    for (size_t i = from; i < from + n; ++i) s += x[i] * x[i];
    return 10 * std::log10(s / n + 1e-20);
}

class ShippedTrack : public ::testing::TestWithParam<TrackInfo> {
  protected:
    void SetUp() override {
        score_ = loadScore(scorePath(GetParam().score));
        track_ = decode(kData + "/music/" + GetParam().file);
        ASSERT_EQ(track_.rate, kRate) << "missing or unreadable";
        ASSERT_EQ(track_.channels, kMusicChannels);
    }
    Score score_;
    Decoded track_;
};

TEST_P(ShippedTrack, LastsExactlyItsScoresLoop) {
    EXPECT_EQ((size_t)track_.frames, loopFrames(score_, kRate));
    EXPECT_EQ((long)track_.left.size(), track_.frames);
    double seconds = (double)track_.frames / kRate;
    EXPECT_GE(seconds, kMinSeconds);
    EXPECT_LE(seconds, kMaxSeconds);
    EXPECT_GE(score_.tempo, kMinTempo);
    EXPECT_LE(score_.tempo, kMaxTempo);
}

// At the wrap the sound neither jumps (a click) nor drops out (a gap).
TEST_P(ShippedTrack, JoinsItsEndToItsStartSeamlessly) {
    for (const auto* ch : {&track_.left, &track_.right}) {
        const std::vector<float>& x = *ch;
        std::vector<float> steps(x.size() - 1);
        for (size_t i = 1; i < x.size(); ++i) steps[i - 1] = std::fabs(x[i] - x[i - 1]);
        std::nth_element(steps.begin(), steps.begin() + (long)(steps.size() * 0.999), steps.end());
        float usual = steps[(size_t)(steps.size() * 0.999)];
        EXPECT_LE(std::fabs(x.front() - x.back()), usual);
        const size_t block = kRate / 20;
        std::vector<double> levels;
        for (size_t i = 0; i + block <= x.size(); i += block) levels.push_back(blockRmsDb(x, i, block));
        std::nth_element(levels.begin(), levels.begin() + (long)levels.size() / 2, levels.end());
        double median = levels[levels.size() / 2];
        EXPECT_GT(blockRmsDb(x, 0, block), median - 20);
        EXPECT_GT(blockRmsDb(x, x.size() - block, block), median - 20);
    }
}

TEST_P(ShippedTrack, SitsAtTheMusicLevelWithoutClipping) {
    std::vector<float> mid(track_.left.size());
    for (size_t i = 0; i < mid.size(); ++i) mid[i] = 0.5f * (track_.left[i] + track_.right[i]);
    EXPECT_NEAR(loudnessDb(mid, kRate), kMusicLoudness, 1.5);
    EXPECT_LT(std::max(peakDb(track_.left), peakDb(track_.right)), -0.3);
}

// The score is music rather than a bar on repeat: chords that move, a bass
// on their tones, a lead through most of it that varies, and drums.
TEST_P(ShippedTrack, ScoreHasProgressionBassLeadAndDrums) {
    Arrangement a = arrange(score_);
    std::set<std::string> chords, leadBars;
    for (const BarChords& b : a.chords) chords.insert(b.first.name), chords.insert(b.second.name);
    EXPECT_GE(chords.size(), 4u);
    std::map<int, std::string> barText;
    int offTone = 0, bassNotes = 0;
    for (const NoteEvent& n : a.notes) {
        int bar = (int)n.step / kStepsPerBar;
        if (n.part == "lead" || n.part == "lead2") barText[bar] += std::to_string(n.midi) + ",";
        if (n.part != "bass") continue;
        const Chord& c = a.chords[(size_t)bar].at((int)n.step % kStepsPerBar);
        bool tone = false;
        for (int t : c.tones) tone |= (c.root + t) % 12 == n.midi % 12;
        offTone += !tone && n.midi % 12 != c.bass;
        ++bassNotes;
    }
    for (const auto& [bar, text] : barText) leadBars.insert(text);
    EXPECT_EQ(offTone, 0);
    EXPECT_GE(bassNotes, a.bars * 2);
    EXPECT_GE((int)barText.size(), a.bars * 3 / 4);
    EXPECT_GE((int)leadBars.size(), 12);
    EXPECT_GE(a.hits.size(), (size_t)a.bars * 4);
}

INSTANTIATE_TEST_SUITE_P(Music, ShippedTrack, ::testing::ValuesIn(musicCatalogue()),
                         [](const auto& info) { return info.param.mood; });

TEST(ShippedMusic, FitsTheBudgets) {
    long music = 0;
    for (const TrackInfo& t : musicCatalogue()) music += std::max(0L, fileSize(kData + "/music/" + t.file));
    EXPECT_LE(music, kMusicBudget);
    EXPECT_LE(treeSize(kData, inWebPackage), kWebPackageBudget);
    EXPECT_EQ(treeSize(kData + "/music", any), music);  // nothing else in the folder
}

TEST(ShippedMusic, EveryWorldHasALoopAndTheMenuItsTheme) {
    std::set<std::string> files;
    for (const TrackInfo& t : musicCatalogue()) files.insert(t.file);
    EXPECT_TRUE(files.count("menu.ogg"));
    std::set<std::string> used;
    for (int world = 1; world <= 9; ++world) {
        std::string f = trackForWorld(world);
        EXPECT_TRUE(files.count(f)) << "world " << world;
        EXPECT_NE(f, "menu.ogg");
        used.insert(f);
    }
    EXPECT_GE(used.size(), 3u);
    EXPECT_EQ(used.size() + 1, files.size());  // every round loop is some world's
}

}  // namespace
