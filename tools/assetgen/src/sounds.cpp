// The game's sound effects. The rewards and passes share one home pitch, E,
// so that they sound related: a pass is a single bright "ting" on E5 (the game
// raises its pitch with the combo through the playback rate, 0.7 to 2.0, so
// it is kept clean and low in highs), SUPER is the same ting answered by a
// fifth and an octave, a credit is the coin's jump from B5 to E6, and the
// badges ring the E major triad. Hits and losses fall in pitch and lean on
// noise and saw; menu sounds are short and dry, and sit lowest in level.
#include "sounds.h"

#include <algorithm>
#include <cstdio>
#include <functional>
#include <stdexcept>

#include "audio/master.h"
#include "audio/tone.h"

using namespace audio;

namespace {

// Voices of one effect, mixed at the inner rate.
struct Mix {
    std::vector<float> inner;
    void add(const Patch& p, double start, double gain = 1) {
        renderPatch(p, inner, (size_t)(start * kInnerRate), gain);
    }
};

using Design = std::function<void(Mix&)>;

struct Effect {
    EffectInfo info;
    Design design;
    double lowpass = 11000;  // the output stage's roll-off for this effect
};

constexpr int kE5 = 76, kB5 = 83, kE6 = 88;

// A short bright ping: triangle body with a soft octave on a narrow pulse.
void ting(Mix& m, double t, double midi, double len, double gain = 1) {
    m.add(Tone(Wave::Triangle).note(midi).hold(0.01).adsr(0.002, len * 0.5, 0, len), t, gain);
    m.add(Tone(Wave::Pulse).note(midi + 12).duty(0.125).hold(0.01).adsr(0.002, len * 0.25, 0, len * 0.5)
              .lowpass(4500), t, gain * 0.25);
}

// A struck glass or bell: sine partials at the inharmonic ratios of a bar.
void bell(Mix& m, double t, double midi, double len, double gain = 1) {
    const double ratio[3] = {1, 2.76, 5.40}, level[3] = {1, 0.45, 0.2}, decay[3] = {1, 0.5, 0.25};
    for (int i = 0; i < 3; ++i)
        m.add(Tone(Wave::Sine).hz(midiToHz(midi) * ratio[i]).hold(0.005).adsr(0.002, len * decay[i], 0, len * decay[i]),
              t, gain * level[i]);
}

// A pluck of a pulse wave through a closing low-pass.
void pluck(Mix& m, double t, double midi, double len, double duty, double gain = 1) {
    m.add(Tone(Wave::Pulse).note(midi).duty(duty).hold(0.01).adsr(0.002, len * 0.6, 0.0, len)
              .lowpass(1500, 0, 0.1, 2.2),
          t, gain);
}

// Filtered noise that swells and fades: the whooshes.
void whoosh(Mix& m, double t, double from, double octavesPerSecond, double len, uint32_t seed) {
    m.add(Tone(Wave::Noise).hold(len * 0.45).adsr(len * 0.45, 0.05, 1, len * 0.55)
              .bandpass(from, octavesPerSecond, 0.45).seed(seed),
          t);
}

void thump(Mix& m, double t, double hz, double len, double gain = 1) {
    m.add(Tone(Wave::Sine).hz(hz).slide(-5).hold(0.005).adsr(0.002, len * 0.4, 0, len), t, gain);
}

// ---- play ----

void pass(Mix& m) { ting(m, 0, kE5, 0.16); }

void superPass(Mix& m) {
    ting(m, 0, kE5, 0.2);
    m.add(Tone(Wave::Pulse).note(kE5).duty(0.25, 0.6).hold(0.16).adsr(0.002, 0.08, 0.45, 0.12)
              .arp({{0.045, 7}, {0.09, 12}}).lowpass(1800, 0, 0.15, 1.5).vibrato(0.12, 7, 0.1),
          0.01, 0.6);
    ting(m, 0.09, kE6 + 7, 0.18, 0.35);
}

void bounce(Mix& m) {
    thump(m, 0, 190, 0.12);
    m.add(Tone(Wave::Noise).hold(0.004).adsr(0.002, 0.01, 0, 0.012).lowpass(1400).seed(3), 0, 0.25);
}

void roundOver(Mix& m) {
    m.add(Tone(Wave::Pulse).note(67).duty(0.5, -0.6).slide(-0.9).hold(0.26).adsr(0.01, 0.2, 0.6, 0.08)
              .lowpass(2200).vibrato(0.2, 6),
          0);
    m.add(Tone(Wave::Pulse).note(62).duty(0.35, -0.3).slide(-1.1).hold(0.38).adsr(0.01, 0.3, 0.5, 0.2)
              .lowpass(1800, -1).vibrato(0.35, 5, 0.1),
          0.3);
}

void gameOver(Mix& m) {
    const int notes[4] = {67, 63, 60, 55};
    for (int i = 0; i < 4; ++i) {
        double hold = i == 3 ? 0.55 : 0.16;
        m.add(Tone(Wave::Pulse).note(notes[i]).duty(0.25).hold(hold).adsr(0.006, 0.15, 0.55, 0.22)
                  .lowpass(2600, 0, 0.1).vibrato(i == 3 ? 0.25 : 0, 5, 0.15),
              i * 0.2);
        m.add(Tone(Wave::Triangle).note(notes[i] - 12).hold(hold).adsr(0.006, 0.2, 0.6, 0.25), i * 0.2, 0.6);
    }
}

void zap(Mix& m) {
    m.add(Tone(Wave::Pulse).hz(1400).duty(0.5, -2).slide(-5).hold(0.08).adsr(0.002, 0.06, 0.3, 0.08)
              .lowpass(5000),
          0);
    m.add(Tone(Wave::Noise).hold(0.01).adsr(0.002, 0.02, 0, 0.03).bandpass(5000, -3, 0.2).seed(7), 0, 0.5);
}

void smash(Mix& m) {
    m.add(Tone(Wave::Noise).hold(0.02).adsr(0.002, 0.12, 0.1, 0.25).lowpass(5500, -5, 0.3).seed(8), 0);
    thump(m, 0, 130, 0.3, 1.1);
    m.add(Tone(Wave::Pulse).hz(95).duty(0.3).slide(-2).hold(0.03).adsr(0.002, 0.05, 0, 0.08).lowpass(900), 0, 0.5);
}

void comboLost(Mix& m) {
    m.add(Tone(Wave::Saw).note(58).slide(-0.8).hold(0.13).adsr(0.005, 0.1, 0.6, 0.05)
              .lowpass(500, 0, 0.5, 2.2),
          0, 0.8);
    m.add(Tone(Wave::Saw).note(53).slide(-1.2).hold(0.18).adsr(0.005, 0.12, 0.6, 0.1)
              .lowpass(400, 0, 0.5, 2.2),
          0.17, 0.8);
}

void credit(Mix& m) {
    m.add(Tone(Wave::Pulse).note(kB5).duty(0.5).hold(0.3).adsr(0.002, 0.2, 0.5, 0.2)
              .arp({{0.07, 5}}).lowpass(5500),
          0);
    ting(m, 0.07, kE6 + 12, 0.25, 0.3);
}

void pickup(Mix& m) {
    m.add(Tone(Wave::Sine).hz(420).slide(9).hold(0.08).adsr(0.002, 0.05, 0.4, 0.04), 0);
    ting(m, 0.06, kB5, 0.14, 0.6);
}

void chargeFull(Mix& m) {
    m.add(Tone(Wave::Pulse).note(64).duty(0.125, 0.8).hold(0.3).adsr(0.002, 0.1, 0.7, 0.1)
              .arp({{0.05, 4}, {0.1, 7}, {0.15, 12}, {0.2, 16}, {0.25, 19}}).lowpass(3500),
          0, 0.8);
    bell(m, 0.3, kB5, 0.3, 0.6);
}

void spinner(Mix& m) {
    bell(m, 0, kE6, 0.1, 0.7);
    bell(m, 0.06, kE6 + 7, 0.14, 0.7);
}

void shieldGained(Mix& m) {
    m.add(Tone(Wave::Pulse).note(kE5 - 12).duty(0.3).slide(3).hold(0.3).adsr(0.02, 0.1, 0.7, 0.12)
              .detune(9).lowpass(2400, 1).vibrato(0.2, 9),
          0, 0.7);
    ting(m, 0.28, kE6, 0.2, 0.6);
}

void shieldsLost(Mix& m) {
    m.add(Tone(Wave::Noise).hold(0.01).adsr(0.002, 0.1, 0, 0.15).bandpass(4500, -1, 0.3).seed(22), 0, 0.8);
    m.add(Tone(Wave::Triangle).note(kE6).slide(-2).hold(0.2).adsr(0.002, 0.15, 0.3, 0.15).detune(30), 0, 0.8);
    bell(m, 0, kE6 + 1, 0.15, 0.4);
}

// ---- menus and jingles ----

void startChime(Mix& m) {
    const int up[4] = {64, 68, 71, 76};
    for (int i = 0; i < 4; ++i) ting(m, i * 0.07, up[i], i == 3 ? 0.4 : 0.2);
}

void ready(Mix& m) {
    whoosh(m, 0, 500, 5, 0.35, 95);
    bell(m, 0.28, kE5, 0.4, 0.8);
    bell(m, 0.28, kB5, 0.35, 0.5);
}

void selectTick(Mix& m) {
    m.add(Tone(Wave::Triangle).note(81).hold(0.002).adsr(0.001, 0.015, 0, 0.035), 0);
    m.add(Tone(Wave::Noise).hold(0.002).adsr(0.001, 0.004, 0, 0.006).bandpass(3000).seed(13), 0, 0.4);
}

void blip(Mix& m) {
    m.add(Tone(Wave::Pulse).note(kE5).duty(0.25).hold(0.03).adsr(0.002, 0.03, 0.3, 0.03).lowpass(3000), 0);
}

void button(Mix& m) {
    m.add(Tone(Wave::Sine).hz(660).slide(8).hold(0.005).adsr(0.001, 0.012, 0, 0.025), 0);
    m.add(Tone(Wave::Noise).hold(0.002).adsr(0.001, 0.003, 0, 0.005).bandpass(2500).seed(98), 0, 0.5);
}

void box(Mix& m) {
    m.add(Tone(Wave::Triangle).note(79).hold(0.01).adsr(0.002, 0.03, 0, 0.04), 0);
    m.add(Tone(Wave::Triangle).note(86).hold(0.01).adsr(0.002, 0.04, 0, 0.05), 0.05, 0.7);
}

void badgeAgain(Mix& m) {
    const int n[3] = {76, 80, 83};
    for (int i = 0; i < 3; ++i) pluck(m, i * 0.07, n[i], 0.22, 0.25);
}

void newBadge(Mix& m) {
    const double at[5] = {0, 0.1, 0.2, 0.3, 0.42};
    const int n[5] = {76, 76, 76, 83, 88};
    for (int i = 0; i < 5; ++i) {
        double hold = i == 4 ? 0.45 : 0.06;
        m.add(Tone(Wave::Saw).note(n[i]).hold(hold).adsr(0.004, 0.12, 0.6, 0.2).lowpass(900, 0, 0.1, 2)
                  .vibrato(i == 4 ? 0.18 : 0, 6, 0.15),
              at[i], 0.7);
    }
    m.add(Tone(Wave::Triangle).note(52).hold(0.8).adsr(0.01, 0.3, 0.6, 0.2), 0, 0.6);
    m.add(Tone(Wave::Triangle).note(80).hold(0.4).adsr(0.01, 0.2, 0.6, 0.2), 0.42, 0.4);
}

// ---- per-variant passes, bounces and SUPER passes ----

void drop(Mix& m, double t, double hz, double gain = 1) {
    m.add(Tone(Wave::Sine).hz(hz).slide(7).hold(0.03).adsr(0.002, 0.05, 0.2, 0.05), t, gain);
}

void lakePass(Mix& m) { drop(m, 0, 520); }
void lakeBounce(Mix& m) {
    m.add(Tone(Wave::Noise).hold(0.02).adsr(0.003, 0.08, 0.1, 0.12).lowpass(2600, -4, 0.2).seed(23), 0);
    thump(m, 0, 210, 0.1, 0.7);
}
void lakeSuper(Mix& m) {
    const double hz[3] = {520, 655, 780};
    for (int i = 0; i < 3; ++i) drop(m, i * 0.05, hz[i], 0.8);
}

void marimba(Mix& m, double t, double midi, double len, double gain = 1) {
    m.add(Tone(Wave::Sine).note(midi).hold(0.005).adsr(0.002, len * 0.5, 0, len), t, gain);
    m.add(Tone(Wave::Sine).note(midi + 24).hold(0.002).adsr(0.001, len * 0.08, 0, len * 0.1), t, gain * 0.3);
}
void desertPass(Mix& m) { marimba(m, 0, kE5, 0.22); }
void desertLeap(Mix& m) {
    m.add(Tone(Wave::Triangle).hz(200).slide(5).hold(0.08).adsr(0.004, 0.06, 0.4, 0.06).lowpass(1600), 0);
}
void desertSuper(Mix& m) {
    marimba(m, 0, kE5, 0.25, 0.8);
    marimba(m, 0.04, kB5, 0.25, 0.7);
    marimba(m, 0.09, kE6, 0.3, 0.6);
}

void retroPass(Mix& m) {
    m.add(Tone(Wave::Pulse).note(kE6).duty(0.25).hold(0.01).adsr(0.001, 0.05, 0, 0.06).lowpass(7000), 0);
}
void retroJump(Mix& m) {
    m.add(Tone(Wave::Pulse).hz(210).duty(0.25).slide(4).hold(0.1).adsr(0.001, 0.08, 0.5, 0.05).lowpass(5000), 0);
}
void retroSuper(Mix& m) {
    m.add(Tone(Wave::Pulse).note(kE6).duty(0.25).hold(0.22).adsr(0.001, 0.1, 0.6, 0.06)
              .arp({{0.05, 4}, {0.1, 7}, {0.15, 12}}).lowpass(7000),
          0);
}

void crystalPass(Mix& m) { bell(m, 0, kE6, 0.25); }
void crystalBounce(Mix& m) {
    m.add(Tone(Wave::Triangle).note(62).slide(-1.5).hold(0.01).adsr(0.002, 0.05, 0, 0.07), 0);
    bell(m, 0, 74, 0.06, 0.3);
}
void crystalSuper(Mix& m) {
    const int n[3] = {kE6, kE6 + 4, kE6 + 7};
    for (int i = 0; i < 3; ++i) bell(m, i * 0.035, n[i], 0.4, 0.6);
}

const std::vector<Effect>& effects() {
    static const std::vector<Effect> all = {
        {{"001.wav", Role::Jingle, "start chime"}, startChime},
        {{"002.wav", Role::Play, "spike passed (rate rises with the combo); menu row tap"}, pass, 9000},
        {{"002_002.wav", Role::Play, "lake world: spike passed, a water drop"}, lakePass, 9000},
        {{"002_003.wav", Role::Play, "runner world: spike passed, a marimba note"}, desertPass, 9000},
        {{"002_005.wav", Role::Play, "retro world: spike passed, an 8-bit beep"}, retroPass, 9000},
        {{"002_008.wav", Role::Play, "crystal world: spike passed, a glass ping"}, crystalPass, 9000},
        {{"003.wav", Role::Motion, "bounce landing or leap"}, bounce},
        {{"003_002.wav", Role::Motion, "lake world: a splash"}, lakeBounce},
        {{"003_003.wav", Role::Motion, "runner world: the leap's hup"}, desertLeap},
        {{"003_005.wav", Role::Motion, "retro world: an 8-bit jump"}, retroJump},
        {{"003_008.wav", Role::Motion, "crystal world: a glassy tock"}, crystalBounce},
        {{"004.wav", Role::Reward, "SUPER pass (rate rises with the combo); mode unlocked"}, superPass, 9000},
        {{"004_002.wav", Role::Reward, "lake world: SUPER, three rising drops"}, lakeSuper, 9000},
        {{"004_003.wav", Role::Reward, "runner world: SUPER, marimba octave run"}, desertSuper, 9000},
        {{"004_005.wav", Role::Reward, "retro world: SUPER, an 8-bit arpeggio"}, retroSuper, 9000},
        {{"004_008.wav", Role::Reward, "crystal world: SUPER, a glass chord"}, crystalSuper, 9000},
        {{"005.wav", Role::Hit, "round over"}, roundOver},
        {{"006.wav", Role::Jingle, "game over"}, gameOver},
        {{"007.wav", Role::Play, "marker bonus; a shot (at half rate)"}, zap},
        {{"008.wav", Role::Hit, "spike smashed"}, smash},
        {{"009.wav", Role::Motion, "whoosh"}, [](Mix& m) { whoosh(m, 0, 700, 2.5, 0.4, 9); }},
        {{"010.wav", Role::Hit, "combo lost or a bad touch"}, comboLost},
        {{"011.wav", Role::Reward, "credit earned"}, credit},
        {{"012.wav", Role::Play, "pickup, or landing on a floating object"}, pickup},
        {{"013.wav", Role::Ui, "menu selection moves"}, selectTick},
        {{"014.wav", Role::Ui, "blip"}, blip},
        {{"015.wav", Role::Reward, "bullet charge full"}, chargeFull},
        {{"016.wav", Role::Motion, "rising whoosh"}, [](Mix& m) { whoosh(m, 0, 400, 4, 0.35, 16); }},
        {{"017.wav", Role::Motion, "falling whoosh"}, [](Mix& m) { whoosh(m, 0, 4000, -4, 0.35, 17); }},
        {{"018.wav", Role::Reward, "badge earned again (played at rate 1.5)"}, badgeAgain},
        {{"019.wav", Role::Fanfare, "new badge"}, newBadge},
        {{"020.wav", Role::Play, "spinning pickup"}, spinner},
        {{"021.wav", Role::Reward, "shield gained"}, shieldGained},
        {{"022.wav", Role::Hit, "shields lost"}, shieldsLost},
        {{"095.wav", Role::Jingle, "ready"}, ready},
        {{"098.wav", Role::Ui, "button press (menus, pause)"}, button},
        {{"099.wav", Role::Ui, "box opened or closed"}, box},
    };
    return all;
}

const Effect& findEffect(const std::string& file) {
    for (const Effect& e : effects())
        if (e.info.file == file) return e;
    throw std::runtime_error("no effect named " + file);
}

}  // namespace

double roleLoudness(Role r) {
    switch (r) {
    case Role::Ui: return -22;
    case Role::Motion: return -20;
    case Role::Play: return -18;
    case Role::Hit: return -16;
    case Role::Jingle: return -16;
    case Role::Reward: return -14;
    case Role::Fanfare: return -13;
    }
    return -18;
}

const char* roleName(Role r) {
    static const char* const names[] = {"ui", "motion", "play", "hit", "jingle", "reward", "fanfare"};
    return names[(int)r];
}

std::vector<EffectInfo> effectCatalogue() {
    std::vector<EffectInfo> v;
    for (const Effect& e : effects()) v.push_back(e.info);
    return v;
}

std::vector<float> renderEffect(const std::string& file) {
    const Effect& e = findEffect(file);
    Mix m;
    e.design(m);
    FinishOptions o;
    o.loudness = roleLoudness(e.info.role);
    o.lowpass = e.lowpass;
    try {
        return finishEffect(m.inner, o);
    } catch (const std::exception& x) {
        throw std::runtime_error(file + ": " + x.what());
    }
}

void writeSounds(const std::string& dataDir) {
    for (const Effect& e : effects())
        writeWav(dataDir + "/sfx/" + e.info.file, toPcm16(renderEffect(e.info.file)), kRate);
}
