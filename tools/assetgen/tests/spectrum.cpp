#include "spectrum.h"

#include <cmath>

namespace audiotest {

namespace {

constexpr double kPi = 3.14159265358979323846;

void fft(std::vector<std::complex<double>>& a) {
    size_t n = a.size();
    for (size_t i = 1, j = 0; i < n; ++i) {
        size_t bit = n >> 1;
        for (; j & bit; bit >>= 1) j ^= bit;
        j ^= bit;
        if (i < j) std::swap(a[i], a[j]);
    }
    for (size_t len = 2; len <= n; len <<= 1) {
        std::complex<double> w(std::cos(2 * kPi / len), -std::sin(2 * kPi / len));
        for (size_t i = 0; i < n; i += len) {
            std::complex<double> u(1);
            for (size_t k = 0; k < len / 2; ++k, u *= w) {
                auto x = a[i + k], y = a[i + k + len / 2] * u;
                a[i + k] = x + y;
                a[i + k + len / 2] = x - y;
            }
        }
    }
}

double toDb(double share) { return 10 * std::log10(std::max(share, 1e-30)); }

}  // namespace

std::vector<double> powerSpectrum(const std::vector<float>& x, size_t first, size_t n) {
    std::vector<std::complex<double>> a(n);
    for (size_t i = 0; i < n; ++i) {
        double r = 2 * kPi * i / n;
        double w = 0.35875 - 0.48829 * std::cos(r) + 0.14128 * std::cos(2 * r) - 0.01168 * std::cos(3 * r);
        a[i] = first + i < x.size() ? w * x[first + i] : 0.0;
    }
    fft(a);
    std::vector<double> p(n / 2 + 1);
    for (size_t i = 0; i < p.size(); ++i) p[i] = std::norm(a[i]);
    return p;
}

double nonHarmonicDb(const std::vector<double>& power, double f0, double rate, int guard) {
    double binHz = rate / (2.0 * (power.size() - 1)), total = 0, outside = 0;
    for (size_t i = 0; i < power.size(); ++i) {
        double f = i * binHz;
        double k = std::round(f / f0);
        bool near = std::fabs(f - k * f0) <= guard * binHz;
        total += power[i];
        if (!near) outside += power[i];
    }
    return toDb(outside / total);
}

double energyAboveDb(const std::vector<double>& power, double hz, double rate) {
    double binHz = rate / (2.0 * (power.size() - 1)), total = 0, above = 0;
    for (size_t i = 0; i < power.size(); ++i) {
        total += power[i];
        if (i * binHz > hz) above += power[i];
    }
    return toDb(above / total);
}

}  // namespace audiotest
