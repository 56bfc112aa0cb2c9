// The game's sound effects: every file of data/sfx, each designed for its role
// in play and set to that role's loudness.
#pragma once
#include <string>
#include <vector>

// What an effect is for; the role sets its loudness (see roleLoudness).
enum class Role { Ui, Motion, Play, Hit, Jingle, Reward, Fanfare };

// Target loudness of a role in dB, on the measure of audio::loudnessDb.
double roleLoudness(Role r);
const char* roleName(Role r);

struct EffectInfo {
    std::string file;  // name under sfx/, e.g. "004.wav" or "002_005.wav"
    Role role;
    std::string what;  // when the game plays it
};

// Every effect writeSounds makes, in file-name order.
std::vector<EffectInfo> effectCatalogue();

// Renders one effect of the catalogue at the output rate, finished and levelled.
std::vector<float> renderEffect(const std::string& file);

// Writes every effect into <dataDir>/sfx: the default set the loader reads and
// the per-variant sets of passes, bounces and SUPER passes.
void writeSounds(const std::string& dataDir);
