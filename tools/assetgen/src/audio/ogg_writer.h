// Ogg Vorbis encoding through libvorbisenc, reproducible byte for byte: a
// fixed stream serial number and no time or random input anywhere.
#pragma once
#include <string>
#include <vector>

namespace audio {

constexpr int kOggSerial = 0x56574B31;  // any fixed number; the game never reads it

// Encodes interleaved float samples (full scale 1.0) at VBR `quality`
// (-0.1 .. 1.0). The last page's granule position is the exact sample count
// per channel, so a player can loop on the exact sample.
void writeOggVorbis(const std::string& path, const std::vector<float>& interleaved, int channels, int rate,
                    float quality, const std::string& title);

}  // namespace audio
