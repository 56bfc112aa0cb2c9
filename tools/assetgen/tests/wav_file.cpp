#include "wav_file.h"

#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>

namespace audiotest {

namespace {

uint32_t le(const unsigned char* p, int bytes) {
    uint32_t v = 0;
    for (int i = bytes - 1; i >= 0; --i) v = v << 8 | p[i];
    return v;
}

}  // namespace

WavFile readWav(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    std::vector<unsigned char> b((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
    WavFile w;
    if (b.size() < 12 || std::memcmp(b.data(), "RIFF", 4) || std::memcmp(b.data() + 8, "WAVE", 4)) return w;
    int bits = 0, rate = 0, channels = 0;
    for (size_t at = 12; at + 8 <= b.size();) {
        uint32_t size = le(&b[at + 4], 4);
        const unsigned char* body = &b[at + 8];
        if (at + 8 + size > b.size()) return WavFile{};
        if (!std::memcmp(&b[at], "fmt ", 4) && size >= 16) {
            if (le(body, 2) != 1) return WavFile{};
            channels = (int)le(body + 2, 2), rate = (int)le(body + 4, 4), bits = (int)le(body + 14, 2);
        } else if (!std::memcmp(&b[at], "data", 4) && bits == 16) {
            for (uint32_t i = 0; i + 1 < size; i += 2) {
                int v = (int16_t)le(body + i, 2);
                w.raw.push_back(v);
                w.samples.push_back(v / 32768.0f);
            }
            w.rate = rate, w.channels = channels;
            return w;
        }
        at += 8 + size + (size & 1);
    }
    return WavFile{};
}

}  // namespace audiotest
