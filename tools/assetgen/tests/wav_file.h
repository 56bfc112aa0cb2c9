// Reads the 16-bit PCM WAV files the generator writes, for the asset tests.
#pragma once
#include <string>
#include <vector>

namespace audiotest {

struct WavFile {
    int rate = 0, channels = 0;
    std::vector<float> samples;  // interleaved, full scale 1.0
    std::vector<int> raw;        // the same samples as stored
};

// Empty result (rate 0) when the file is missing or not 16-bit PCM.
WavFile readWav(const std::string& path);

}  // namespace audiotest
