// A tiny additive/subtractive synthesiser for the game's sound effects.
#pragma once
#include <string>
#include <vector>

constexpr int kRate = 44100;

enum class Osc { Sine, Triangle, Square, Saw, Bell };

struct Voice {
    double start = 0, dur = 0.2;  // seconds
    double f0 = 440, f1 = 440;    // pitch glides exponentially from f0 to f1
    Osc osc = Osc::Sine;
    double amp = 0.5;
    double attack = 0.004;        // seconds of linear rise
    double decay = 0.1;           // time constant of the exponential fall
    double vibrato = 0;           // depth in semitones (6 Hz)
};

struct Noise {
    double start = 0, dur = 0.2;
    double amp = 0.5;
    double cut0 = 4000, cut1 = 800;  // one-pole low-pass cutoff glide, Hz
    double attack = 0.002, decay = 0.05;
    bool highpass = false;           // keep what the low-pass removes
    unsigned seed = 1;
};

class Sound {
  public:
    explicit Sound(double seconds);
    void add(const Voice& v);
    void add(const Noise& n);
    // Fades both ends, normalises the peak to `peak` (of full scale) and
    // returns 16-bit samples.
    std::vector<short> finish(double peak = 0.7) const;

  private:
    std::vector<double> buf_;
};

double note(int semitonesFromA4);  // frequency of A4 + n semitones

// Writes a RIFF/WAVE file: PCM, 16-bit, mono, kRate Hz.
void writeWav(const std::string& path, const std::vector<short>& samples);
