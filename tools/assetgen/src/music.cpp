#include "music.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "audio/arrangement.h"
#include "audio/dsp.h"
#include "audio/master.h"
#include "audio/ogg_writer.h"
#include "audio/room.h"
#include "instruments.h"

using namespace audio;

namespace {

constexpr double kTailSeconds = 3;     // longest release or echo that rings past the end
constexpr size_t kPreroll = 1024;      // inner samples before the loop's first note
constexpr double kEchoSteps = 3;       // a dotted eighth
constexpr int kEchoRepeats = 3;
constexpr double kEchoFeedback = 0.45;
constexpr double kTopRollOff = 15000;  // Hz, the output stage's gentle low-pass
constexpr double kDcBlock = 25;        // Hz

// Both channels at the inner rate, the loop's start kPreroll samples in.
struct StereoBus {
    std::vector<float> left, right;
    explicit StereoBus(size_t n) : left(n, 0.0f), right(n, 0.0f) {}
    void add(const std::vector<float>& mono, size_t at, double gain, double pan) {
        double angle = (std::clamp(pan, -1.0, 1.0) + 1) * kPi / 4;  // equal power
        float gl = (float)(gain * std::cos(angle)), gr = (float)(gain * std::sin(angle));
        for (size_t i = 0; i < mono.size() && at + i < left.size(); ++i) {
            left[at + i] += gl * mono[i];
            right[at + i] += gr * mono[i];
        }
    }
};

size_t innerAt(const Score& s, double step) { return kPreroll + (size_t)std::llround(stepTime(s, step) * kInnerRate); }

// Plays `layers` at `at`, with the part's echo bouncing between the sides.
void play(StereoBus& bus, const std::vector<Layer>& layers, size_t at, double pan, double echo, double level,
          const Score& s) {
    for (const Layer& l : layers) {
        std::vector<float> voice;
        renderPatch(l.patch, voice, 0);
        bus.add(voice, at, level * l.gain, std::clamp(pan + l.pan, -1.0, 1.0));
        double g = echo;
        for (int r = 1; r <= kEchoRepeats && echo > 0; ++r, g *= kEchoFeedback) {
            size_t delay = (size_t)std::llround(r * kEchoSteps * s.stepSeconds() * kInnerRate);
            bus.add(voice, at + delay, level * l.gain * g, r % 2 ? -0.7 : 0.7);
        }
    }
}

bool wanted(const std::vector<std::string>& parts, const std::string& part) {
    return parts.empty() || std::find(parts.begin(), parts.end(), part) != parts.end();
}

double partLevel(const Score& s, const std::string& part) {
    auto it = s.mix.find(part);
    return it == s.mix.end() ? 1.0 : std::pow(10.0, it->second / 20);
}

void renderNotes(StereoBus& bus, const Score& s, const Arrangement& a, const std::vector<std::string>& parts) {
    for (const NoteEvent& n : a.notes) {
        if (!wanted(parts, n.part)) continue;
        auto voice = s.voices.find(n.part);
        if (voice == s.voices.end()) throw ScoreError("no voice for part " + n.part);
        double seconds = stepTime(s, n.step + n.length) - stepTime(s, n.step);
        play(bus, playNote(voice->second, n.midi, seconds, n.velocity), innerAt(s, n.step), partPan(n.part),
             partEcho(n.part), partLevel(s, n.part), s);
    }
    if (!wanted(parts, "drums")) return;
    double drums = partLevel(s, "drums");
    for (const DrumHit& h : a.hits) play(bus, playDrum(s.kit, h.voice, h.velocity), innerAt(s, h.step), 0, 0, drums, s);
}

// Decimates one channel and folds it onto the loop: what rings past the end
// is added to the start, and the decimator's lead-in before the start to the end.
std::vector<float> foldChannel(const std::vector<float>& inner, size_t loop) {
    std::vector<float> out = Decimator().run(inner), folded(loop, 0.0f);
    long offset = (long)(kPreroll / kOversample);
    for (size_t j = 0; j < out.size(); ++j) {
        long t = ((long)j - offset) % (long)loop;
        folded[(size_t)(t < 0 ? t + (long)loop : t)] += out[j];
    }
    return folded;
}

// The output stage's filters run twice round the loop, so that the state they
// carry over the wrap is the loop's own and the join stays seamless.
void circularFilters(std::vector<float>& x) {
    OnePole dc(OnePole::HighPass, kDcBlock, kRate), top(OnePole::LowPass, kTopRollOff, kRate);
    for (float v : x) top.process(dc.process(v));
    for (float& v : x) v = (float)top.process(dc.process(v));
}

// Sets the mid signal of an interleaved stereo loop to the music's loudness,
// or lower when a peak would pass the ceiling.
void level(std::vector<float>& x, const std::string& title) {
    std::vector<float> mid(x.size() / 2);
    for (size_t i = 0; i < mid.size(); ++i) mid[i] = 0.5f * (x[2 * i] + x[2 * i + 1]);
    double gain = std::pow(10.0, (kMusicLoudness - loudnessDb(mid, kRate)) / 20);
    double peak = std::pow(10.0, peakDb(x) / 20) * gain, ceiling = std::pow(10.0, kPeakCeilingDb / 20);
    if (peak > ceiling) {
        std::fprintf(stderr, "assetgen: %s held %.1f dB under its loudness by its peaks\n", title.c_str(),
                     20 * std::log10(peak / ceiling));
        gain *= ceiling / peak;
    }
    for (float& v : x) v = (float)(v * gain);
}

}  // namespace

std::vector<TrackInfo> musicCatalogue() {
    return {
        {"menu.ogg", "menu.txt", "menu"},
        {"sunny.ogg", "sunny.txt", "sunny"},
        {"moonlit.ogg", "moonlit.txt", "moonlit"},
        {"drive.ogg", "drive.txt", "drive"},
        {"arcade.ogg", "arcade.txt", "arcade"},
    };
}

std::string trackForWorld(int variant) {
    switch (variant) {
    case 2: case 8: return "moonlit.ogg";          // the moonlit lake, the crystal cavern
    case 3: case 6: case 9: return "drive.ogg";    // the canyon run, the bullet factory, the volcano
    case 5: return "arcade.ogg";                   // the retro grid
    default: return "sunny.ogg";                   // the garden, the high sky, the candy carnival
    }
}

std::string scorePath(const std::string& scoreFile) { return std::string(ASSETGEN_MUSIC_DIR) + "/" + scoreFile; }

std::vector<float> renderLoop(const Score& s, const std::vector<std::string>& parts) {
    Arrangement a = arrange(s);
    size_t loop = loopFrames(s, kRate);
    StereoBus bus(kPreroll + (loop + (size_t)(kTailSeconds * kRate)) * kOversample);
    renderNotes(bus, s, a, parts);
    std::vector<float> l = foldChannel(bus.left, loop), r = foldChannel(bus.right, loop);
    circularFilters(l);
    circularFilters(r);
    std::vector<float> out(loop * 2);
    for (size_t i = 0; i < loop; ++i) out[2 * i] = l[i], out[2 * i + 1] = r[i];
    addRoom(out, kRate, s.roomSeconds, s.room);
    return out;
}

std::vector<float> renderTrack(const Score& s) {
    std::vector<float> x = renderLoop(s);
    level(x, s.title);
    return x;
}

void writeMusic(const std::string& dataDir) {
    for (const TrackInfo& t : musicCatalogue()) {
        Score s = loadScore(scorePath(t.score));
        writeOggVorbis(dataDir + "/music/" + t.file, renderTrack(s), kMusicChannels, kRate, kMusicQuality, s.title);
    }
}
