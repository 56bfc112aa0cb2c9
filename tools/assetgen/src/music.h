// The music: a menu theme and one round loop per world mood, composed in the
// score files of tools/assetgen/music, rendered on the synthesiser and encoded
// as Ogg Vorbis loops into data/music.
#pragma once
#include <string>
#include <vector>

#include "audio/score.h"

constexpr int kMusicChannels = 2;     // stereo, at the output rate (44100 Hz)
constexpr double kMusicLoudness = -20;  // dB on the effects' measure, of the mid signal
constexpr float kMusicQuality = 0.1f;   // Vorbis VBR quality: about 80 kbit/s in stereo

struct TrackInfo {
    std::string file;   // under data/music
    std::string score;  // under tools/assetgen/music
    std::string mood;
};

std::vector<TrackInfo> musicCatalogue();

// The round loop of world001 .. world009 (variant 1..9), as its file name.
std::string trackForWorld(int variant);

std::string scorePath(const std::string& scoreFile);

// One pass of the loop, interleaved stereo, exactly loopFrames(score) long,
// with the sound that rings past its end mixed back onto its start, set to
// the music's loudness.
std::vector<float> renderTrack(const audio::Score& score);

// The same loop before levelling, of the named parts only ("drums" for the
// kit; every part when `parts` is empty): the stems that show a mix's balance.
std::vector<float> renderLoop(const audio::Score& score, const std::vector<std::string>& parts = {});

void writeMusic(const std::string& dataDir);
