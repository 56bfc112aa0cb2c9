// The text form of a piece of music, as written in tools/assetgen/music/*.txt.
//
//   title  Sunny                       name shown in the file's tags
//   tempo  132                         beats per minute; a bar is 4 beats of 4 steps
//   key    D major                     for the reader; notes are written absolute
//   swing  0.12                        how late each off-beat step falls (share of a step)
//   voice  lead pulse-lead             the instrument of a part (lead, lead2, bass, comp, pad)
//   kit    acoustic                    the drum kit
//   mix    bass -3                     a part's level in dB (drums for the kit); 0 if not given
//   room   0.15 1.6                    how much of the room is heard (0..1), and its tail in seconds
//   chords verse | D | Bm | G A | ... one chord a bar, or two split at the half bar
//   melody m1 | e5:4 f#5:2 r:2 ... |  notes with lengths in steps; r rests, _ holds on
//   figure walk | 1:4 5-:4 8:4 5:4 |   chord tones 1 2 3 4 5 6 7 8 9 (- octave down, + up);
//                                      1.3.5 sounds several at once
//   drums  beat                        then one indented line per drum voice:
//     kick  x...x...x...x...           16 steps a bar; X accent, x hit, g ghost, . rest
//   section A bars=8 chords=verse lead=m1,m2 bass=walk*3,run comp=arp pad=on drums=beat*7,fill
//   order  A B A B
//
// Bars are written between bar lines and must add up to 16 steps. A line that
// starts with blank space and a bar line continues the chords, melody or figure
// above it. A `#` at the start of a line or after blank space starts a comment.
#pragma once
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

namespace audio {

struct ScoreError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

constexpr int kStepsPerBar = 16;

struct Chord {
    std::string name;
    int root = 0;            // pitch class, C = 0
    std::vector<int> tones;  // semitones above the root, from 0
    int bass = 0;            // pitch class of the lowest note (the root unless a slash chord)
    // Semitones above the root of chord degree 1..9 (a degree the chord lacks
    // takes its nearest scale step: 2 a tone, 4 a fourth, 6 a sixth, 7 a minor seventh).
    int degree(int d) const;
};

struct BarChords {
    Chord first, second;  // second equals first unless the bar is split
    const Chord& at(int step) const { return step < kStepsPerBar / 2 ? first : second; }
};

struct Token {
    std::string text;  // a note (e5, f#4, bb3), a degree (1, 5-, 8+), r or _
    int steps = 4;
};
using Bar = std::vector<Token>;

struct Section {
    std::string name;
    int bars = 0;
    std::string chords;
    std::map<std::string, std::vector<std::string>> parts;  // part -> pattern names, in turn
};

struct Score {
    std::string title, key, kit;
    double tempo = 120, swing = 0;
    double room = 0, roomSeconds = 1.5;  // wet share of the room, and its 60 dB tail
    std::map<std::string, std::string> voices;
    std::map<std::string, double> mix;  // part -> level, dB
    std::map<std::string, std::vector<BarChords>> chords;
    std::map<std::string, std::vector<Bar>> melodies, figures;
    std::map<std::string, std::vector<std::map<std::string, std::string>>> drums;  // bars of voice -> 16 steps
    std::map<std::string, Section> sections;
    std::vector<std::string> order;

    int bars() const;
    double stepSeconds() const { return 15.0 / tempo; }
};

// Throws ScoreError naming the line of the first mistake.
Score parseScore(const std::string& text);
Score loadScore(const std::string& path);

Chord parseChord(const std::string& name);
int parseNote(const std::string& name);  // MIDI number of e.g. "c#5"; throws ScoreError

}  // namespace audio
