// The output stage every sound goes through, and the loudness measure that
// sets its level.
//
// Loudness here is a K-weighted, gated mean square: the signal passes the two
// K-weighting filters (a +4 dB shelf above about 1.7 kHz and a high-pass near
// 38 Hz, which rate highs and lows as the ear does), is cut into 10 ms blocks,
// and the blocks within 20 dB of the loudest are averaged; the result is in dB
// relative to a full-scale square wave (a full-scale 1 kHz sine reads -2.3).
// The gate keeps a sound's silent tail and quiet decay out of its level, so a
// short blip and a long chord with the same body read the same.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace audio {

constexpr double kPeakCeilingDb = -1.0;  // no sample louder than this

double loudnessDb(const std::vector<float>& x, int rate);
double peakDb(const std::vector<float>& x);

// Fades `ms` milliseconds at the head (rising) and at the tail (falling).
void fadeEnds(std::vector<float>& x, int rate, double headMs, double tailMs);

struct FinishOptions {
    double loudness = -18;   // target, dB (see above)
    double lowpass = 11000;  // gentle first-order roll-off, Hz
    double highpass = 30;    // DC blocker, Hz
};

// Turns an inner-rate voice mix into an effect at the output rate: decimates,
// blocks DC, rolls off the top, fades both ends (2 ms in, 10 ms out) and sets
// the level to the target loudness. Throws when that level would put the peak
// above kPeakCeilingDb: the design then has too much crest for its role.
std::vector<float> finishEffect(const std::vector<float>& inner, const FinishOptions& o);

std::vector<int16_t> toPcm16(const std::vector<float>& x);

// RIFF/WAVE, PCM 16-bit, `channels` interleaved, at `rate`.
void writeWav(const std::string& path, const std::vector<int16_t>& samples, int rate, int channels = 1);

}  // namespace audio
