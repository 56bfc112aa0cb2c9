#include "score.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <fstream>
#include <sstream>

namespace audio {

namespace {

const std::map<std::string, std::vector<int>>& qualities() {
    static const std::map<std::string, std::vector<int>> q = {
        {"", {0, 4, 7}},          {"m", {0, 3, 7}},         {"7", {0, 4, 7, 10}},
        {"m7", {0, 3, 7, 10}},    {"maj7", {0, 4, 7, 11}},  {"sus2", {0, 2, 7}},
        {"sus4", {0, 5, 7}},      {"dim", {0, 3, 6}},       {"add9", {0, 4, 7, 14}},
        {"6", {0, 4, 7, 9}},      {"m6", {0, 3, 7, 9}},
    };
    return q;
}

// Pitch class of a note letter with an optional sharp or flat; `used` gets
// the number of characters read.
int pitchClass(const std::string& s, size_t& used) {
    static const int base[7] = {9, 11, 0, 2, 4, 5, 7};  // a b c d e f g
    if (s.empty()) throw ScoreError("empty note");
    char c = (char)std::tolower((unsigned char)s[0]);
    if (c < 'a' || c > 'g') throw ScoreError("not a note: " + s);
    int pc = base[c - 'a'];
    used = 1;
    if (s.size() > 1 && s[1] == '#') pc += 1, used = 2;
    else if (s.size() > 1 && s[1] == 'b') pc -= 1, used = 2;
    return (pc + 12) % 12;
}

std::vector<std::string> words(const std::string& line) {
    std::istringstream in(line);
    std::vector<std::string> w;
    for (std::string s; in >> s;) w.push_back(s);
    return w;
}

// The text between bar lines: "| a b | c |" gives {"a b", "c"}.
std::vector<std::string> bars(const std::string& text) {
    std::vector<std::string> out;
    std::string cur;
    bool open = false;
    for (char c : text) {
        if (c != '|') {
            cur += c;
            continue;
        }
        if (open && !words(cur).empty()) out.push_back(cur);
        cur.clear(), open = true;
    }
    if (!words(cur).empty()) throw ScoreError("bar not closed with |");
    return out;
}

Bar parseBar(const std::string& text) {
    Bar bar;
    int total = 0;
    for (const std::string& w : words(text)) {
        Token t;
        size_t colon = w.find(':');
        t.text = w.substr(0, colon);
        if (colon != std::string::npos) {
            try {
                t.steps = std::stoi(w.substr(colon + 1));
            } catch (const std::exception&) {
                throw ScoreError("bad length in " + w);
            }
        }
        if (t.steps <= 0) throw ScoreError("bad length in " + w);
        total += t.steps;
        bar.push_back(t);
    }
    if (total != kStepsPerBar)
        throw ScoreError("bar of " + std::to_string(total) + " steps, not 16: " + text);
    return bar;
}

BarChords parseChordBar(const std::string& text) {
    auto w = words(text);
    if (w.empty() || w.size() > 2) throw ScoreError("a bar holds one or two chords: " + text);
    BarChords b;
    b.first = parseChord(w[0]);
    b.second = w.size() == 2 ? parseChord(w[1]) : b.first;
    return b;
}

// "beat*3,fill" gives beat, beat, beat, fill.
std::vector<std::string> patternList(const std::string& value) {
    std::vector<std::string> out;
    std::stringstream in(value);
    for (std::string item; std::getline(in, item, ',');) {
        size_t star = item.find('*');
        int times = star == std::string::npos ? 1 : std::atoi(item.c_str() + star + 1);
        if (times < 1) throw ScoreError("bad repeat in " + item);
        for (int i = 0; i < times; ++i) out.push_back(item.substr(0, star));
    }
    return out;
}

Section parseSection(const std::vector<std::string>& w) {
    if (w.size() < 3) throw ScoreError("section needs a name and its parts");
    Section s;
    s.name = w[1];
    for (size_t i = 2; i < w.size(); ++i) {
        size_t eq = w[i].find('=');
        if (eq == std::string::npos) throw ScoreError("expected part=pattern, got " + w[i]);
        std::string key = w[i].substr(0, eq), value = w[i].substr(eq + 1);
        if (key == "bars") s.bars = std::atoi(value.c_str());
        else if (key == "chords") s.chords = value;
        else s.parts[key] = patternList(value);
    }
    if (s.bars <= 0) throw ScoreError("section " + s.name + " has no bars=");
    return s;
}

// Reads one score line by line; `pending` remembers what a continuation
// line (blank space, then a bar line) adds to.
class Parser {
  public:
    Score score;
    void line(const std::string& raw);

  private:
    void directive(const std::vector<std::string>& w, const std::string& rest);
    void addBars(const std::string& text);
    void drumRow(const std::vector<std::string>& w);
    std::string kind_, name_;
};

// A melody holds notes; a figure chord tones, alone or stacked with dots.
void checkToken(const std::string& kind, const std::string& text) {
    if (text == "r" || text == "_") return;
    if (kind == "melody") {
        parseNote(text);
        return;
    }
    std::stringstream in(text);
    for (std::string one; std::getline(in, one, '.');)
        if (one.empty() || one[0] < '1' || one[0] > '9' || one.find_first_not_of("+-", 1) != std::string::npos)
            throw ScoreError("not a chord tone: " + text);
}

void Parser::addBars(const std::string& text) {
    for (const std::string& b : bars(text)) {
        if (kind_ == "chords") score.chords[name_].push_back(parseChordBar(b));
        else if (kind_ == "melody" || kind_ == "figure") {
            Bar bar = parseBar(b);
            for (const Token& t : bar) checkToken(kind_, t.text);
            (kind_ == "melody" ? score.melodies : score.figures)[name_].push_back(bar);
        } else
            throw ScoreError("bars outside chords, melody or figure");
    }
}

void Parser::drumRow(const std::vector<std::string>& w) {
    if (w.size() != 2) throw ScoreError("a drum row is a voice and its steps");
    const std::string& grid = w[1];
    if (grid.empty() || grid.size() % kStepsPerBar) throw ScoreError("drum row not whole bars: " + grid);
    auto& pattern = score.drums[name_];
    pattern.resize(std::max(pattern.size(), grid.size() / kStepsPerBar));
    for (size_t b = 0; b < grid.size() / kStepsPerBar; ++b)
        pattern[b][w[0]] = grid.substr(b * kStepsPerBar, kStepsPerBar);
    for (char c : grid)
        if (!std::strchr("Xxg.", c)) throw ScoreError(std::string("drum step '") + c + "'");
}

void Parser::directive(const std::vector<std::string>& w, const std::string& rest) {
    const std::string& d = w[0];
    auto need = [&](size_t n) {
        if (w.size() < n) throw ScoreError(d + " needs more");
    };
    if (d == "title") score.title = rest;
    else if (d == "key") score.key = rest;
    else if (d == "tempo") need(2), score.tempo = std::atof(w[1].c_str());
    else if (d == "swing") need(2), score.swing = std::atof(w[1].c_str());
    else if (d == "kit") need(2), score.kit = w[1];
    else if (d == "voice") need(3), score.voices[w[1]] = w[2];
    else if (d == "mix") need(3), score.mix[w[1]] = std::atof(w[2].c_str());
    else if (d == "room") {
        need(3);
        score.room = std::atof(w[1].c_str()), score.roomSeconds = std::atof(w[2].c_str());
        if (score.room < 0 || score.room > 1 || score.roomSeconds <= 0) throw ScoreError("room out of range");
    }
    else if (d == "order") score.order.assign(w.begin() + 1, w.end());
    else if (d == "section") score.sections[w.at(1)] = parseSection(w);
    else if (d == "chords" || d == "melody" || d == "figure" || d == "drums") {
        need(2);
        kind_ = d, name_ = w[1];
        if (d == "chords") score.chords[name_];  // the name exists even before its bars
        else if (d == "melody") score.melodies[name_];
        else if (d == "figure") score.figures[name_];
        else score.drums[name_];
        if (d != "drums") addBars(rest.substr(w[1].size()));
    } else
        throw ScoreError("unknown directive " + d);
}

// A comment is a # at the start of a line or after blank space; inside a word
// it is a sharp (f#5, F#m).
std::string withoutComment(const std::string& raw) {
    for (size_t i = 0; i < raw.size(); ++i)
        if (raw[i] == '#' && (i == 0 || std::isspace((unsigned char)raw[i - 1]))) return raw.substr(0, i);
    return raw;
}

void Parser::line(const std::string& raw) {
    std::string text = withoutComment(raw);
    auto w = words(text);
    if (w.empty()) return;
    bool indented = std::isspace((unsigned char)text[0]);
    if (indented && w[0][0] == '|' && kind_ != "drums") return addBars(text);
    if (indented && kind_ == "drums") return drumRow(w);
    kind_.clear();
    size_t start = text.find(w[0]) + w[0].size();
    std::string rest = text.substr(start);
    rest.erase(0, rest.find_first_not_of(" \t"));
    rest.erase(rest.find_last_not_of(" \t\r") + 1);
    directive(w, rest);
}

void check(const Score& s) {
    if (s.tempo < 40 || s.tempo > 300) throw ScoreError("tempo out of range");
    if (s.order.empty()) throw ScoreError("no order");
    for (const std::string& name : s.order) {
        auto it = s.sections.find(name);
        if (it == s.sections.end()) throw ScoreError("order names unknown section " + name);
        if (!s.chords.count(it->second.chords)) throw ScoreError("section " + name + " has unknown chords");
    }
}

}  // namespace

int Chord::degree(int d) const {
    switch (d) {
    case 1: return 0;
    case 2: return 2;
    case 3: return tones.size() > 1 ? tones[1] : 4;
    case 4: return 5;
    case 5: return tones.size() > 2 ? tones[2] : 7;
    case 6: return 9;
    case 7: return tones.size() > 3 && tones[3] < 12 ? tones[3] : 10;
    case 8: return 12;
    case 9: return 14;
    }
    throw ScoreError("no chord degree " + std::to_string(d));
}

Chord parseChord(const std::string& name) {
    Chord c;
    c.name = name;
    size_t used = 0;
    c.root = pitchClass(name, used);
    std::string rest = name.substr(used);
    size_t slash = rest.find('/');
    std::string quality = rest.substr(0, slash);
    auto q = qualities().find(quality);
    if (q == qualities().end()) throw ScoreError("unknown chord " + name);
    c.tones = q->second;
    c.bass = slash == std::string::npos ? c.root : pitchClass(rest.substr(slash + 1), used);
    return c;
}

int parseNote(const std::string& name) {
    size_t used = 0;
    int pc = pitchClass(name, used);
    std::string octave = name.substr(used);
    if (octave.empty() || !std::isdigit((unsigned char)octave[0]) || octave.size() > 1)
        throw ScoreError("note needs an octave 0..9: " + name);
    return 12 * (octave[0] - '0' + 1) + pc;
}

int Score::bars() const {
    int n = 0;
    for (const std::string& s : order) n += sections.at(s).bars;
    return n;
}

Score parseScore(const std::string& text) {
    Parser p;
    std::istringstream in(text);
    int number = 0;
    for (std::string line; std::getline(in, line);) {
        ++number;
        try {
            p.line(line);
        } catch (const ScoreError& e) {
            throw ScoreError("line " + std::to_string(number) + ": " + e.what());
        }
    }
    check(p.score);
    return p.score;
}

Score loadScore(const std::string& path) {
    std::ifstream in(path);
    if (!in) throw ScoreError("cannot read " + path);
    std::stringstream all;
    all << in.rdbuf();
    try {
        return parseScore(all.str());
    } catch (const ScoreError& e) {
        throw ScoreError(path + ": " + e.what());
    }
}

}  // namespace audio
