// Spectral measurements shared by the synthesiser and asset tests.
#pragma once
#include <complex>
#include <vector>

namespace audiotest {

// Power spectrum (bins 0..n/2) of the first n samples (n a power of two) under
// a four-term Blackman-Harris window, whose side lobes sit 92 dB down.
std::vector<double> powerSpectrum(const std::vector<float>& x, size_t first, size_t n);

// Share of the energy (in dB) that lies outside +-guard bins of every multiple
// of f0 below the Nyquist frequency: what aliasing leaves in the band.
double nonHarmonicDb(const std::vector<double>& power, double f0, double rate, int guard = 6);

// Share of the energy (in dB) above `hz`.
double energyAboveDb(const std::vector<double>& power, double hz, double rate);

}  // namespace audiotest
