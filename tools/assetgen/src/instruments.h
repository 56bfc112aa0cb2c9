// The music's instruments and drum kits, all on the effects' synthesiser: a
// named preset turns a note (pitch, held time, velocity) into a voice.
#pragma once
#include <string>
#include <vector>

#include "audio/patch.h"

struct Layer {
    audio::Patch patch;
    double pan = 0;   // -1 left .. 1 right
    double gain = 1;
};

// Voices of one note of the preset; throws for an unknown preset name.
std::vector<Layer> playNote(const std::string& preset, int midi, double seconds, double velocity);

// Voices of one drum hit of the kit; throws for an unknown kit or voice.
std::vector<Layer> playDrum(const std::string& kit, const std::string& voice, double velocity);

// Where a part sits in the stereo field, and how much of it the echo repeats.
double partPan(const std::string& part);
double partEcho(const std::string& part);
