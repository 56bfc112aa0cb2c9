// Instrument presets. Leads and plucks open their filter with velocity, so a
// phrase's accents also brighten; bass and pads stay dark to leave room for
// the lead and the effects over them.
#include "instruments.h"

#include <cmath>
#include <functional>
#include <map>
#include <stdexcept>

#include "audio/tone.h"

using namespace audio;

namespace {

using Preset = std::function<std::vector<Layer>(int midi, double seconds, double velocity)>;

// Hold a little short of the written length, so repeated notes re-articulate.
double held(double seconds) { return std::max(0.03, seconds * 0.85); }

std::vector<Layer> one(const Patch& p, double gain = 1) { return {Layer{p, 0, gain}}; }

const std::map<std::string, Preset>& presets() {
    static const std::map<std::string, Preset> m = {
        {"pulse-lead", [](int n, double s, double v) {
             return one(Tone(Wave::Pulse).note(n).duty(0.3).hold(held(s)).adsr(0.008, 0.25, 0.6, 0.12)
                            .lowpass(900 + 1400 * v, 0, 0.15, 1.2).vibrato(0.12, 5.5, 0.25), v);
         }},
        {"saw-lead", [](int n, double s, double v) {
             return one(Tone(Wave::Saw).note(n).detune(7).hold(held(s)).adsr(0.01, 0.3, 0.65, 0.15)
                            .lowpass(700 + 1200 * v, 0, 0.2, 1.3).vibrato(0.15, 5, 0.3), 1.8 * v);
         }},
        {"chip-lead", [](int n, double s, double v) {
             return one(Tone(Wave::Pulse).note(n).duty(0.125).hold(held(s)).adsr(0.002, 0.1, 0.7, 0.05)
                            .lowpass(6000).vibrato(0.18, 6, 0.2), 1.2 * v);
         }},
        {"flute", [](int n, double s, double v) {
             return one(Tone(Wave::Triangle).note(n).hold(held(s)).adsr(0.04, 0.3, 0.8, 0.2)
                            .lowpass(3000).vibrato(0.14, 5, 0.2), 1.2 * v);
         }},
        {"bell", [](int n, double s, double v) {
             (void)s;
             return std::vector<Layer>{
                 {Tone(Wave::Sine).note(n).hold(0.01).adsr(0.002, 0.5, 0, 0.6), 0, 1.0 * v},
                 {Tone(Wave::Sine).hz(midiToHz(n) * 2.76).hold(0.01).adsr(0.002, 0.15, 0, 0.2), 0, 0.3 * v},
             };
         }},
        {"pick-bass", [](int n, double s, double v) {
             return one(Tone(Wave::Saw).note(n).hold(held(s)).adsr(0.004, 0.2, 0.5, 0.06)
                            .lowpass(260 + 300 * v, 0, 0.3, 1.6), 1.8 * v);
         }},
        {"round-bass", [](int n, double s, double v) {
             return one(Tone(Wave::Triangle).note(n).hold(held(s)).adsr(0.006, 0.3, 0.7, 0.08).lowpass(900), 1.8 * v);
         }},
        {"chip-bass", [](int n, double s, double v) {
             return one(Tone(Wave::Pulse).note(n).duty(0.5).hold(held(s)).adsr(0.002, 0.1, 0.8, 0.04).lowpass(1500),
                        1.0 * v);
         }},
        {"pluck", [](int n, double s, double v) {
             return one(Tone(Wave::Pulse).note(n).duty(0.25).hold(std::min(held(s), 0.08)).adsr(0.003, 0.18, 0.1, 0.15)
                            .lowpass(700, 0, 0.15, 1.8 * v), 1.3 * v);
         }},
        {"chip-arp", [](int n, double s, double v) {
             return one(Tone(Wave::Pulse).note(n).duty(0.25).hold(held(s)).adsr(0.002, 0.06, 0.5, 0.03).lowpass(5000),
                        0.7 * v);
         }},
        {"warm-pad", [](int n, double s, double v) {
             Patch p = Tone(Wave::Saw).note(n).detune(11).hold(s).adsr(0.25, 0.6, 0.8, 0.4).lowpass(1100, 0, 0.05);
             Patch body = Tone(Wave::Triangle).note(n).hold(s).adsr(0.3, 0.5, 0.8, 0.4);
             return std::vector<Layer>{{p, -0.45, 0.35 * v}, {body, 0.45, 0.4 * v}};
         }},
        {"glass-pad", [](int n, double s, double v) {
             Patch p = Tone(Wave::Triangle).note(n).detune(9).hold(s).adsr(0.4, 0.6, 0.8, 0.6).vibrato(0.06, 4);
             Patch air = Tone(Wave::Sine).note(n + 12).hold(s).adsr(0.5, 0.5, 0.7, 0.6);
             return std::vector<Layer>{{p, -0.4, 0.45 * v}, {air, 0.4, 0.2 * v}};
         }},
        {"chip-pad", [](int n, double s, double v) {
             return one(Tone(Wave::Pulse).note(n).duty(0.5, 0.05).hold(s).adsr(0.05, 0.3, 0.6, 0.2).lowpass(1800),
                        0.3 * v);
         }},
    };
    return m;
}

// ---- drums: filtered noise with a little tone under the low ones ----

Patch kick(double startHz, Wave w) {
    return Tone(w).hz(startHz).slide(-7, 8).hold(0.01).adsr(0.001, 0.16, 0, 0.14);
}
Patch noise(double decay, uint32_t seed) {
    return Tone(Wave::Noise).hold(0.002).adsr(0.001, decay, 0, decay).seed(seed);
}

std::vector<Layer> acoustic(const std::string& voice, double v) {
    if (voice == "kick")
        return {{kick(150, Wave::Sine), 0, 1.5 * v}, {Tone(noise(0.006, 1)).lowpass(2500).patch(), 0, 0.4 * v}};
    if (voice == "snare")
        return {{Tone(noise(0.11, 2)).bandpass(1900, -0.5, 0.1).patch(), 0.05, 1.1 * v},
                {Tone(Wave::Triangle).hz(190).slide(-1.5).hold(0.005).adsr(0.001, 0.06, 0, 0.05), 0.05, 0.7 * v}};
    if (voice == "hat") return {{Tone(noise(0.06, 3)).highpass(7000).patch(), 0.3, 0.9 * v}};
    if (voice == "open") return {{Tone(noise(0.3, 4)).bandpass(8000, 0, 0.1).highpass(5000).patch(), 0.3, 0.6 * v}};
    if (voice == "clap") {
        std::vector<Layer> l;
        for (int i = 0; i < 3; ++i) {
            Patch p = Tone(noise(i == 2 ? 0.12 : 0.01, 5 + i)).bandpass(1300, 0, 0.2).patch();
            p.gate += 0.011 * i;  // three quick hands, the last one ringing
            p.env.attack += 0.011 * i;
            l.push_back({p, -0.1, 0.8 * v});
        }
        return l;
    }
    if (voice == "tom")
        return {{Tone(Wave::Sine).hz(120).slide(-1.2).hold(0.01).adsr(0.001, 0.2, 0, 0.15), -0.2, 1.2 * v}};
    if (voice == "crash")
        return {{Tone(noise(0.9, 9)).bandpass(6000, -0.3, 0.05).highpass(3500).patch(), -0.3, 0.4 * v}};
    throw std::runtime_error("no drum " + voice);
}

std::vector<Layer> chip(const std::string& voice, double v) {
    if (voice == "kick") return {{kick(220, Wave::Triangle), 0, 1.6 * v}};
    if (voice == "snare") return {{Tone(noise(0.09, 12)).lowpass(6000, -3).patch(), 0, 0.8 * v}};
    if (voice == "hat" || voice == "open")
        return {{Tone(noise(voice == "hat" ? 0.02 : 0.12, 13)).highpass(7000).lowpass(11000).patch(), 0.25, 0.4 * v}};
    return acoustic(voice, v);
}

}  // namespace

std::vector<Layer> playNote(const std::string& preset, int midi, double seconds, double velocity) {
    auto it = presets().find(preset);
    if (it == presets().end()) throw std::runtime_error("no instrument " + preset);
    return it->second(midi, seconds, velocity);
}

std::vector<Layer> playDrum(const std::string& kit, const std::string& voice, double velocity) {
    if (kit == "acoustic") return acoustic(voice, velocity);
    if (kit == "chip") return chip(voice, velocity);
    throw std::runtime_error("no drum kit " + kit);
}

double partPan(const std::string& part) {
    if (part == "lead") return 0.12;
    if (part == "lead2") return -0.3;
    if (part == "comp") return -0.35;
    return 0;
}

double partEcho(const std::string& part) { return part == "lead" || part == "lead2" ? 0.3 : 0; }
