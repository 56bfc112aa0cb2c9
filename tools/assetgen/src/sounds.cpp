// The game's sound effects. Each is short, starts and ends on silence and
// peaks below full scale. The pass sounds are clean tones because the game
// raises their pitch as a combo grows.
#include "sounds.h"

#include <cstdio>
#include <functional>
#include <map>

#include "synth.h"

namespace {

constexpr int kTriad[3] = {0, 4, 7};
constexpr int kArp[4] = {0, 4, 7, 12};

Voice V(double start, double dur, double f0, double f1, Osc osc, double amp, double attack, double decay,
        double vib = 0) {
    Voice v;
    v.start = start, v.dur = dur, v.f0 = f0, v.f1 = f1, v.osc = osc, v.amp = amp, v.attack = attack,
    v.decay = decay, v.vibrato = vib;
    return v;
}
Noise N(double start, double dur, double amp, double c0, double c1, double attack, double decay, bool hp = false,
        unsigned seed = 1) {
    Noise n;
    n.start = start, n.dur = dur, n.amp = amp, n.cut0 = c0, n.cut1 = c1, n.attack = attack, n.decay = decay,
    n.highpass = hp, n.seed = seed;
    return n;
}

// A plucked tone with a soft octave overtone.
void pluck(Sound& s, double t, double f, double len, Osc o = Osc::Triangle, double amp = 0.6) {
    s.add(V(t, len, f, f, o, amp, 0.003, len / 4));
    s.add(V(t, len * 0.6, f * 2, f * 2, Osc::Sine, amp * 0.25, 0.002, len / 8));
}

using Maker = std::function<void(Sound&)>;
struct Effect {
    double seconds;
    Maker make;
};

// Default set, by slot.
const std::map<std::string, Effect>& effects() {
    static const std::map<std::string, Effect> m = {
        {"001", {0.5, [](Sound& s) {  // start chime
             for (int i = 0; i < 4; ++i) pluck(s, i * 0.07, note(3 + kArp[i]), 0.35);
         }}},
        {"002", {0.22, [](Sound& s) { pluck(s, 0, note(12), 0.22, Osc::Triangle); }}},  // pass
        {"003", {0.16, [](Sound& s) {  // bounce landing
             s.add(V(0, 0.16, 320, 110, Osc::Sine, 0.8, 0.002, 0.05));
             s.add(N(0, 0.05, 0.2, 2000, 400, 0.001, 0.015, false, 3));
         }}},
        {"004", {0.42, [](Sound& s) {  // SUPER pass: a bright major chord
             for (int i = 0; i < 3; ++i) s.add(V(i * 0.025, 0.42, note(15 + kTriad[i]), note(15 + kTriad[i]), Osc::Bell, 0.35, 0.003, 0.12));
             s.add(N(0, 0.3, 0.08, 9000, 6000, 0.01, 0.08, true, 4));
         }}},
        {"005", {0.75, [](Sound& s) {  // round over: sad slide
             s.add(V(0, 0.35, note(3), note(0), Osc::Square, 0.35, 0.01, 0.3, 0.3));
             s.add(V(0.33, 0.42, note(-1), note(-9), Osc::Square, 0.35, 0.01, 0.3, 0.5));
         }}},
        {"006", {1.1, [](Sound& s) {  // game over jingle
             int n[4] = {-2, -5, -9, -14};
             for (int i = 0; i < 4; ++i) s.add(V(i * 0.18, i == 3 ? 0.5 : 0.24, note(n[i]), note(n[i]), Osc::Triangle, 0.55, 0.005, i == 3 ? 0.2 : 0.1, i == 3 ? 0.25 : 0));
         }}},
        {"007", {0.2, [](Sound& s) {  // zap: marker bonus, or a shot when slowed down
             s.add(V(0, 0.2, 1500, 260, Osc::Square, 0.4, 0.002, 0.07));
             s.add(N(0, 0.06, 0.15, 8000, 2000, 0.001, 0.02, true, 7));
         }}},
        {"008", {0.34, [](Sound& s) {  // smash
             s.add(N(0, 0.34, 0.9, 6000, 300, 0.001, 0.08, false, 8));
             s.add(V(0, 0.2, 160, 50, Osc::Sine, 0.7, 0.002, 0.06));
         }}},
        {"009", {0.35, [](Sound& s) { s.add(N(0, 0.35, 0.6, 600, 3000, 0.15, 0.1, false, 9)); }}},  // whoosh
        {"010", {0.36, [](Sound& s) {  // combo lost: two falling buzzes
             s.add(V(0, 0.16, note(-5), note(-8), Osc::Square, 0.4, 0.004, 0.1));
             s.add(V(0.16, 0.2, note(-10), note(-15), Osc::Square, 0.4, 0.004, 0.12));
         }}},
        {"011", {0.4, [](Sound& s) {  // credit: a coin
             s.add(V(0, 0.08, note(14), note(14), Osc::Square, 0.35, 0.002, 0.5));
             s.add(V(0.075, 0.32, note(19), note(19), Osc::Square, 0.35, 0.002, 0.12));
         }}},
        {"012", {0.2, [](Sound& s) {  // pickup: bubbly pop
             s.add(V(0, 0.12, 420, 1300, Osc::Sine, 0.6, 0.002, 0.05));
             pluck(s, 0.05, note(19), 0.15, Osc::Sine, 0.4);
         }}},
        {"013", {0.05, [](Sound& s) { s.add(V(0, 0.05, 2200, 1800, Osc::Triangle, 0.5, 0.001, 0.012)); }}},  // tick
        {"014", {0.1, [](Sound& s) { pluck(s, 0, note(7), 0.1); }}},  // blip
        {"015", {0.45, [](Sound& s) {  // bullet charge full: rising arpeggio
             for (int i = 0; i < 5; ++i) s.add(V(i * 0.06, 0.14, note(3 + i * 3), note(3 + i * 3), Osc::Square, 0.3, 0.002, 0.05));
             s.add(V(0.3, 0.15, note(18), note(18), Osc::Bell, 0.3, 0.002, 0.06));
         }}},
        {"016", {0.3, [](Sound& s) { s.add(N(0, 0.3, 0.5, 500, 4000, 0.1, 0.1, false, 16)); }}},
        {"017", {0.3, [](Sound& s) { s.add(N(0, 0.3, 0.5, 4000, 500, 0.02, 0.1, false, 17)); }}},
        {"018", {0.45, [](Sound& s) {  // badge earned again (played faster)
             int n[3] = {3, 7, 10};
             for (int i = 0; i < 3; ++i) pluck(s, i * 0.08, note(n[i]), 0.25, Osc::Square, 0.4);
         }}},
        {"019", {0.8, [](Sound& s) {  // new badge fanfare
             int n[4] = {3, 7, 10, 15};
             for (int i = 0; i < 4; ++i) pluck(s, i * 0.09, note(n[i]), i == 3 ? 0.5 : 0.2, Osc::Square, 0.35);
             s.add(V(0.27, 0.5, note(15), note(15), Osc::Bell, 0.3, 0.003, 0.15));
         }}},
        {"020", {0.24, [](Sound& s) {  // spinning pickup: twinkle
             s.add(V(0, 0.12, note(24), note(24), Osc::Bell, 0.4, 0.001, 0.04));
             s.add(V(0.07, 0.17, note(28), note(28), Osc::Bell, 0.4, 0.001, 0.05));
         }}},
        {"021", {0.4, [](Sound& s) {  // shield gained: shimmer upward
             s.add(V(0, 0.4, note(5), note(17), Osc::Bell, 0.4, 0.01, 0.15, 0.2));
             s.add(V(0, 0.4, note(12), note(24), Osc::Sine, 0.2, 0.02, 0.15));
         }}},
        {"022", {0.45, [](Sound& s) {  // shields lost: glassy break
             s.add(N(0, 0.3, 0.5, 9000, 3000, 0.001, 0.05, true, 22));
             s.add(V(0, 0.45, note(17), note(5), Osc::Bell, 0.4, 0.001, 0.12));
         }}},
        {"095", {0.6, [](Sound& s) {  // ready
             s.add(N(0, 0.4, 0.25, 400, 3000, 0.2, 0.1, false, 95));
             s.add(V(0.25, 0.35, note(10), note(10), Osc::Bell, 0.35, 0.003, 0.1));
         }}},
        {"098", {0.07, [](Sound& s) {  // button press
             s.add(V(0, 0.07, 520, 900, Osc::Sine, 0.7, 0.001, 0.02));
             s.add(N(0, 0.015, 0.2, 6000, 3000, 0.0005, 0.004, false, 98));
         }}},
        {"099", {0.14, [](Sound& s) {  // box open / close
             s.add(V(0, 0.06, note(7), note(7), Osc::Triangle, 0.5, 0.002, 0.03));
             s.add(V(0.06, 0.08, note(14), note(14), Osc::Triangle, 0.5, 0.002, 0.03));
         }}},
    };
    return m;
}

// Per-variant pass (2), bounce (3) and SUPER pass (4).
Effect variantEffect(int variant, int slot) {
    switch (variant * 10 + slot) {
    case 22: return {0.2, [](Sound& s) { s.add(V(0, 0.2, 500, 1300, Osc::Sine, 0.7, 0.002, 0.05)); }};  // drop
    case 23: return {0.25, [](Sound& s) {  // splash
        s.add(N(0, 0.25, 0.5, 3000, 600, 0.005, 0.06, false, 23));
        s.add(V(0, 0.12, 220, 120, Osc::Sine, 0.5, 0.002, 0.04));
    }};
    case 24: return {0.35, [](Sound& s) {
        for (int i = 0; i < 3; ++i) s.add(V(i * 0.06, 0.16, 500 + i * 250, 1300 + i * 400, Osc::Sine, 0.5, 0.002, 0.05));
    }};
    case 32: return {0.2, [](Sound& s) { pluck(s, 0, note(7), 0.2, Osc::Sine, 0.7); s.add(V(0, 0.06, note(7) * 4, note(7) * 4, Osc::Sine, 0.2, 0.001, 0.01)); }};  // marimba
    case 33: return {0.18, [](Sound& s) { s.add(V(0, 0.18, 200, 520, Osc::Triangle, 0.6, 0.004, 0.06)); }};  // hup
    case 34: return {0.32, [](Sound& s) { pluck(s, 0, note(7), 0.3, Osc::Sine, 0.5); pluck(s, 0.05, note(14), 0.27, Osc::Sine, 0.5); }};
    case 52: return {0.12, [](Sound& s) { s.add(V(0, 0.12, note(12), note(12), Osc::Square, 0.5, 0.001, 0.06)); }};  // 8-bit beep
    case 53: return {0.16, [](Sound& s) { s.add(V(0, 0.16, 200, 520, Osc::Square, 0.45, 0.001, 0.08)); }};  // 8-bit jump
    case 54: return {0.3, [](Sound& s) {
        for (int i = 0; i < 4; ++i) s.add(V(i * 0.05, 0.08, note(12 + i * 4), note(12 + i * 4), Osc::Square, 0.4, 0.001, 0.05));
    }};
    case 82: return {0.3, [](Sound& s) { s.add(V(0, 0.3, note(19), note(19), Osc::Bell, 0.6, 0.001, 0.08)); }};  // glass
    case 83: return {0.16, [](Sound& s) { s.add(V(0, 0.16, note(-2), note(-7), Osc::Bell, 0.6, 0.001, 0.05)); }};
    default: return {0.45, [](Sound& s) {
        for (int i = 0; i < 3; ++i) s.add(V(i * 0.04, 0.4, note(19 + kTriad[i]), note(19 + kTriad[i]), Osc::Bell, 0.35, 0.001, 0.12, 0.15));
    }};
    }
}

void render(const Effect& e, const std::string& path) {
    Sound s(e.seconds);
    e.make(s);
    writeWav(path, s.finish());
}

}  // namespace

void writeSounds(const std::string& dataDir) {
    std::string dir = dataDir + "/sfx/";
    for (auto& [slot, e] : effects()) render(e, dir + slot + ".wav");
    for (int variant : {2, 3, 5, 8})
        for (int slot = 2; slot <= 4; ++slot) {
            char name[32];
            std::snprintf(name, sizeof name, "%03d_%03d.wav", slot, variant);
            render(variantEffect(variant, slot), dir + name);
        }
}
