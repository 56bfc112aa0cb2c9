#include "master.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <stdexcept>

#include "dsp.h"

namespace audio {

namespace {

constexpr double kBlockSeconds = 0.010;
constexpr double kGateDb = 20;
constexpr double kFadeInMs = 2, kFadeOutMs = 10;

// The two K-weighting stages for `rate`, from their analogue prototypes.
Biquad kShelf(int rate) {
    const double f0 = 1681.974450955533, gainDb = 3.999843853973347, q = 0.7071752369554196;
    double k = std::tan(kPi * f0 / rate), vh = std::pow(10.0, gainDb / 20), vb = std::pow(vh, 0.4996667741545416);
    double a0 = 1 + k / q + k * k;
    Biquad b;
    b.b0 = (vh + vb * k / q + k * k) / a0;
    b.b1 = 2 * (k * k - vh) / a0;
    b.b2 = (vh - vb * k / q + k * k) / a0;
    b.a1 = 2 * (k * k - 1) / a0;
    b.a2 = (1 - k / q + k * k) / a0;
    return b;
}

Biquad kHighPass(int rate) {
    const double f0 = 38.13547087602444, q = 0.5003270373238773;
    double k = std::tan(kPi * f0 / rate), a0 = 1 + k / q + k * k;
    Biquad b;
    b.b0 = 1, b.b1 = -2, b.b2 = 1;
    b.a1 = 2 * (k * k - 1) / a0;
    b.a2 = (1 - k / q + k * k) / a0;
    return b;
}

double toDb(double power) { return 10 * std::log10(std::max(power, 1e-20)); }

}  // namespace

double loudnessDb(const std::vector<float>& x, int rate) {
    Biquad shelf = kShelf(rate), hp = kHighPass(rate);
    size_t block = (size_t)std::lround(rate * kBlockSeconds);
    std::vector<double> energy;
    double acc = 0;
    for (size_t i = 0; i < x.size(); ++i) {
        double y = hp.process(shelf.process(x[i]));
        acc += y * y;
        if ((i + 1) % block == 0) energy.push_back(acc / block), acc = 0;
    }
    if (x.size() % block >= block / 2) energy.push_back(acc / (x.size() % block));
    if (energy.empty()) return -200;
    double gate = *std::max_element(energy.begin(), energy.end()) * std::pow(10.0, -kGateDb / 10);
    double sum = 0;
    int n = 0;
    for (double e : energy)
        if (e >= gate) sum += e, ++n;
    return toDb(sum / n);
}

double peakDb(const std::vector<float>& x) {
    double m = 1e-10;
    for (float v : x) m = std::max(m, (double)std::fabs(v));
    return 20 * std::log10(m);
}

void fadeEnds(std::vector<float>& x, int rate, double headMs, double tailMs) {
    size_t head = (size_t)(rate * headMs / 1000), tail = (size_t)(rate * tailMs / 1000);
    // Raised-cosine ramps: no corner at the joins, and exact zero at the ends.
    for (size_t i = 0; i < head && i < x.size(); ++i) x[i] *= (float)(0.5 - 0.5 * std::cos(kPi * i / head));
    for (size_t i = 0; i < tail && i < x.size(); ++i)
        x[x.size() - 1 - i] *= (float)(0.5 - 0.5 * std::cos(kPi * i / tail));
}

std::vector<float> finishEffect(const std::vector<float>& inner, const FinishOptions& o) {
    std::vector<float> x = Decimator().run(inner);
    OnePole dc(OnePole::HighPass, o.highpass, kRate), top(OnePole::LowPass, o.lowpass, kRate);
    for (float& v : x) v = (float)top.process(dc.process(v));
    fadeEnds(x, kRate, kFadeInMs, kFadeOutMs);
    double gain = std::pow(10.0, (o.loudness - loudnessDb(x, kRate)) / 20);
    for (float& v : x) v = (float)(v * gain);
    double peak = peakDb(x);
    if (peak > kPeakCeilingDb) {
        char msg[96];
        std::snprintf(msg, sizeof msg, "peak %.1f dBFS at loudness %.1f dB", peak, o.loudness);
        throw std::runtime_error(msg);
    }
    return x;
}

std::vector<int16_t> toPcm16(const std::vector<float>& x) {
    std::vector<int16_t> out(x.size());
    for (size_t i = 0; i < x.size(); ++i)
        out[i] = (int16_t)std::lround(std::clamp((double)x[i], -1.0, 1.0) * 32767.0);
    return out;
}

namespace {

void put(FILE* f, uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) std::fputc((int)((v >> (8 * i)) & 0xFF), f);
}

}  // namespace

void writeWav(const std::string& path, const std::vector<int16_t>& s, int rate, int channels) {
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) throw std::runtime_error("cannot write " + path);
    uint32_t data = (uint32_t)(s.size() * 2);
    std::fwrite("RIFF", 1, 4, f);
    put(f, 36 + data, 4);
    std::fwrite("WAVEfmt ", 1, 8, f);
    put(f, 16, 4);
    put(f, 1, 2);  // PCM
    put(f, (uint32_t)channels, 2);
    put(f, (uint32_t)rate, 4);
    put(f, (uint32_t)(rate * channels * 2), 4);
    put(f, (uint32_t)(channels * 2), 2);
    put(f, 16, 2);
    std::fwrite("data", 1, 4, f);
    put(f, data, 4);
    for (int16_t v : s) put(f, (uint16_t)v, 2);
    std::fclose(f);
}

}  // namespace audio
