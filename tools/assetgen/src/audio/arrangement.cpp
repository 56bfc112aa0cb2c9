#include "arrangement.h"

#include <cmath>

namespace audio {

namespace {

constexpr double kAccent = 1.0, kHit = 0.75, kGhost = 0.35;
constexpr int kPadFloor = 55;  // pad voicings stay within the octave from G3
constexpr double kStackShare = 0.6;  // each note of a stacked chord, so a chord is not three times as loud

// A small fixed wobble of loudness so repeated notes do not sound stamped.
double humanise(int bar, double step) {
    unsigned h = (unsigned)(bar * 7919 + (int)(step * 4) * 104729) * 2654435761u;
    return 0.96 + 0.08 * ((h >> 20) & 1023) / 1023.0;
}

double leadVelocity(int bar, double step) {
    int inBar = (int)step % kStepsPerBar;
    double accent = inBar == 0 ? 1.0 : inBar == 8 ? 0.95 : inBar % 4 == 0 ? 0.9 : 0.84;
    return accent * humanise(bar, step);
}

template <class Pattern>
const Pattern& find(const std::map<std::string, Pattern>& m, const std::string& name, const char* what) {
    auto it = m.find(name);
    if (it == m.end()) throw ScoreError(std::string("no ") + what + " named " + name);
    return it->second;
}

// The bars of a part in one section: its patterns one after another, repeated
// until the section is full.
template <class BarT>
std::vector<BarT> sectionBars(const std::map<std::string, std::vector<BarT>>& patterns,
                              const std::vector<std::string>& names, int bars, const char* what) {
    std::vector<BarT> all;
    for (const std::string& n : names) {
        const auto& p = find(patterns, n, what);
        all.insert(all.end(), p.begin(), p.end());
    }
    if (all.empty()) throw ScoreError(std::string("empty ") + what);
    std::vector<BarT> out;
    for (int i = 0; i < bars; ++i) out.push_back(all[i % all.size()]);
    return out;
}

int chordToneMidi(const Chord& c, const std::string& token, const std::string& part) {
    int degree = token[0] - '0';
    if (degree < 1 || degree > 9) throw ScoreError("not a chord tone: " + token);
    int floor = partFloor(part);
    int base = degree == 1 ? c.bass : c.root;
    int midi = floor + ((base - floor) % 12 + 12) % 12 + (degree == 1 ? 0 : c.degree(degree));
    for (size_t i = 1; i < token.size(); ++i) midi += token[i] == '+' ? 12 : token[i] == '-' ? -12 : 0;
    return midi;
}

// "1.3.5" sounds three chord tones at once.
std::vector<std::string> stack(const std::string& token) {
    std::vector<std::string> out;
    size_t from = 0;
    for (size_t dot; (dot = token.find('.', from)) != std::string::npos; from = dot + 1)
        out.push_back(token.substr(from, dot - from));
    out.push_back(token.substr(from));
    return out;
}

struct Cursor {
    Arrangement& out;
    int bar;        // bar within its section: a section repeated sounds the same
    double start;   // the bar's first step from the loop's start
};

// `open` says whether the part's last note may still be held on with _.
void melodicBar(Cursor c, const Bar& bar, const std::string& part, const BarChords& chords, bool degrees,
                bool& open) {
    double step = 0;
    for (const Token& t : bar) {
        double at = c.start + step;
        if (t.text == "_") {
            if (!open) throw ScoreError("_ with no note to hold");
            c.out.notes.back().length += t.steps;
        } else if (t.text != "r") {
            auto notes = degrees ? stack(t.text) : std::vector<std::string>{t.text};
            double share = notes.size() > 1 ? kStackShare : 1.0;
            for (const std::string& one : notes) {
                NoteEvent n{part, at, (double)t.steps, 0, share * leadVelocity(c.bar, step)};
                n.midi = degrees ? chordToneMidi(chords.at((int)step), one, part) : parseNote(one);
                c.out.notes.push_back(n);
            }
        }
        if (t.text != "_") open = t.text != "r";
        step += t.steps;
    }
}

void drumBar(Cursor c, const std::map<std::string, std::string>& rows) {
    for (const auto& [voice, grid] : rows)
        for (int i = 0; i < kStepsPerBar; ++i) {
            char s = grid[(size_t)i];
            if (s == '.') continue;
            double v = s == 'X' ? kAccent : s == 'x' ? kHit : kGhost;
            c.out.hits.push_back({voice, c.start + i, v * humanise(c.bar, i)});
        }
}

void padChord(Cursor c, const Chord& chord, double offset, double length) {
    for (int tone : chord.tones) {
        int pc = (chord.root + tone) % 12;
        int midi = kPadFloor + ((pc - kPadFloor) % 12 + 12) % 12;
        c.out.notes.push_back({"pad", c.start + offset, length, midi, 0.8});
    }
}

void padBar(Cursor c, const BarChords& b) {
    bool split = b.first.name != b.second.name;
    padChord(c, b.first, 0, split ? kStepsPerBar / 2 : kStepsPerBar);
    if (split) padChord(c, b.second, kStepsPerBar / 2, kStepsPerBar / 2);
}

void addPart(Arrangement& out, const Score& s, const Section& sec, int firstBar, const std::string& part,
             const std::vector<std::string>& names) {
    const auto& chords = out.chords;
    bool melodic = part == "lead" || part == "lead2", figured = part == "bass" || part == "comp";
    if (!melodic && !figured && part != "drums" && part != "pad") throw ScoreError("unknown part " + part);
    std::vector<Bar> bars;
    if (melodic) bars = sectionBars(s.melodies, names, sec.bars, "melody");
    if (figured) bars = sectionBars(s.figures, names, sec.bars, "figure");
    std::vector<std::map<std::string, std::string>> drums;
    if (part == "drums") drums = sectionBars(s.drums, names, sec.bars, "drums");
    bool open = false;
    for (int i = 0; i < sec.bars; ++i) {
        int bar = firstBar + i;
        Cursor c{out, i, (double)bar * kStepsPerBar};
        if (melodic || figured) melodicBar(c, bars[(size_t)i], part, chords[(size_t)bar], figured, open);
        else if (part == "drums") drumBar(c, drums[(size_t)i]);
        else padBar(c, chords[(size_t)bar]);
    }
}

}  // namespace

int partFloor(const std::string& part) {
    if (part == "bass") return 33;  // A1
    if (part == "comp") return 57;  // A3
    return 60;
}

Arrangement arrange(const Score& s) {
    Arrangement out;
    out.bars = s.bars();
    for (const std::string& name : s.order) {
        const Section& sec = s.sections.at(name);
        const auto& prog = s.chords.at(sec.chords);
        if (prog.empty()) throw ScoreError("chords " + sec.chords + " are empty");
        for (int i = 0; i < sec.bars; ++i) out.chords.push_back(prog[(size_t)i % prog.size()]);
    }
    int firstBar = 0;
    for (const std::string& name : s.order) {
        const Section& sec = s.sections.at(name);
        for (const auto& [part, names] : sec.parts) addPart(out, s, sec, firstBar, part, names);
        firstBar += sec.bars;
    }
    return out;
}

double stepTime(const Score& s, double step) {
    double whole = std::floor(step), late = (long)whole % 2 == 1 ? s.swing : 0;
    return (step + late) * s.stepSeconds();
}

size_t loopFrames(const Score& s, int rate) {
    return (size_t)std::llround(s.bars() * kStepsPerBar * s.stepSeconds() * rate);
}

}  // namespace audio
