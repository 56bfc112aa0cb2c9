#include "synth.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <stdexcept>

Sound::Sound(double seconds) : buf_((size_t)(seconds * kRate), 0.0) {}

double note(int n) { return 440.0 * std::pow(2.0, n / 12.0); }

static double envelope(double t, double attack, double decay, double dur) {
    double e = t < attack ? t / attack : std::exp(-(t - attack) / decay);
    // Every voice lands on zero by its own end so nothing clicks when it stops.
    double tail = 0.01;
    if (t > dur - tail) e *= std::max(0.0, (dur - t) / tail);
    return e;
}

static double oscillate(Osc o, double phase, double t) {
    double x = phase - std::floor(phase);
    switch (o) {
    case Osc::Sine: return std::sin(2 * M_PI * x);
    case Osc::Triangle: return 4 * std::fabs(x - 0.5) - 1;
    case Osc::Square: return std::tanh(4 * std::sin(2 * M_PI * x)) * 0.8;  // rounded edges
    case Osc::Saw: {
        double s = 0;
        for (int k = 1; k <= 8; ++k) s += std::sin(2 * M_PI * k * x) / k;
        return s * 0.55;
    }
    case Osc::Bell: {
        // Two-operator FM: a bright strike that mellows.
        double index = 2.2 * std::exp(-t * 9);
        return std::sin(2 * M_PI * x + index * std::sin(2 * M_PI * 3.5 * x));
    }
    }
    return 0;
}

void Sound::add(const Voice& v) {
    size_t a = (size_t)(v.start * kRate), n = (size_t)(v.dur * kRate);
    double phase = 0;
    for (size_t i = 0; i < n && a + i < buf_.size(); ++i) {
        double t = (double)i / kRate, k = t / v.dur;
        double f = v.f0 * std::pow(v.f1 / v.f0, k);
        if (v.vibrato > 0) f *= std::pow(2.0, v.vibrato / 12 * std::sin(2 * M_PI * 6 * t));
        phase += f / kRate;
        buf_[a + i] += v.amp * envelope(t, v.attack, v.decay, v.dur) * oscillate(v.osc, phase, t);
    }
}

void Sound::add(const Noise& nz) {
    size_t a = (size_t)(nz.start * kRate), n = (size_t)(nz.dur * kRate);
    unsigned s = nz.seed * 747796405u + 2891336453u;
    double lp = 0;
    for (size_t i = 0; i < n && a + i < buf_.size(); ++i) {
        double t = (double)i / kRate;
        s = s * 1664525u + 1013904223u;
        double white = (s >> 8) / 8388608.0 - 1.0;
        double cut = nz.cut0 * std::pow(nz.cut1 / nz.cut0, t / nz.dur);
        double alpha = 1 - std::exp(-2 * M_PI * cut / kRate);
        lp += alpha * (white - lp);
        double v = nz.highpass ? white - lp : lp;
        buf_[a + i] += nz.amp * envelope(t, nz.attack, nz.decay, nz.dur) * v;
    }
}

std::vector<short> Sound::finish(double peak) const {
    std::vector<double> b = buf_;
    // Remove any DC offset so the fades do not produce a thump.
    double mean = 0;
    for (double v : b) mean += v;
    mean /= std::max<size_t>(1, b.size());
    for (double& v : b) v -= mean;
    size_t fadeIn = kRate * 3 / 1000, fadeOut = kRate * 20 / 1000;
    for (size_t i = 0; i < fadeIn && i < b.size(); ++i) b[i] *= (double)i / fadeIn;
    for (size_t i = 0; i < fadeOut && i < b.size(); ++i) b[b.size() - 1 - i] *= (double)i / fadeOut;
    double m = 1e-9;
    for (double v : b) m = std::max(m, std::fabs(v));
    std::vector<short> out(b.size());
    for (size_t i = 0; i < b.size(); ++i) out[i] = (short)std::lround(b[i] / m * peak * 32767.0);
    return out;
}

static void put32(FILE* f, uint32_t v) {
    unsigned char b[4] = {(unsigned char)v, (unsigned char)(v >> 8), (unsigned char)(v >> 16),
                          (unsigned char)(v >> 24)};
    fwrite(b, 1, 4, f);
}
static void put16(FILE* f, uint16_t v) {
    unsigned char b[2] = {(unsigned char)v, (unsigned char)(v >> 8)};
    fwrite(b, 1, 2, f);
}

void writeWav(const std::string& path, const std::vector<short>& s) {
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) throw std::runtime_error("cannot write " + path);
    uint32_t data = (uint32_t)(s.size() * 2);
    fwrite("RIFF", 1, 4, f);
    put32(f, 36 + data);
    fwrite("WAVEfmt ", 1, 8, f);
    put32(f, 16);
    put16(f, 1);  // PCM
    put16(f, 1);  // mono
    put32(f, kRate);
    put32(f, kRate * 2);
    put16(f, 2);
    put16(f, 16);
    fwrite("data", 1, 4, f);
    put32(f, data);
    for (short v : s) put16(f, (uint16_t)v);
    std::fclose(f);
}
