// The score language and the arrangement it gives: what a reader writes in
// tools/assetgen/music must come out as those notes, over those chords.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "audio/arrangement.h"
#include "audio/score.h"

using namespace audio;

namespace {

const char* kSmall = R"(
title  Test   # a comment after blank space
tempo  120
swing  0.25
voice  lead flute
voice  bass round-bass
kit    acoustic
chords prog | C | Am F#m |
melody tune | c5:4 e5:4 g5:8 |
  | a5:8 _:4 r:4 |
figure low  | 1:4 3:4 5:4 8-:4 |
figure stab | 1.3.5:16 |
drums beat
  kick x...x...x...x...
  snare ....X.......g...
section A bars=3 chords=prog lead=tune bass=stab,low drums=beat
order A A
)";

std::vector<NoteEvent> partNotes(const Arrangement& a, const std::string& part) {
    std::vector<NoteEvent> out;
    for (const NoteEvent& n : a.notes)
        if (n.part == part) out.push_back(n);
    return out;
}

TEST(Score, ReadsEveryDirective) {
    Score s = parseScore(kSmall);
    EXPECT_EQ(s.title, "Test");
    EXPECT_EQ(s.tempo, 120);
    EXPECT_EQ(s.voices.at("lead"), "flute");
    ASSERT_EQ(s.chords.at("prog").size(), 2u);
    EXPECT_EQ(s.chords.at("prog")[1].first.name, "Am");
    EXPECT_EQ(s.chords.at("prog")[1].second.name, "F#m");  // a # inside a word is a sharp
    EXPECT_EQ(s.melodies.at("tune").size(), 2u);            // the continued line added a bar
    EXPECT_EQ(s.sections.at("A").parts.at("bass"), (std::vector<std::string>{"stab", "low"}));
    EXPECT_EQ(s.bars(), 6);
}

TEST(Score, NamesTheLineOfAMistake) {
    struct Case {
        const char* text;
        const char* says;
    };
    const Case cases[] = {
        {"melody m | c5:4 e5:4 |\norder A", "line 1: bar of 8 steps"},
        {"tempo 120\nchords c | C | Hm |", "line 2: not a note"},
        {"chords c | Cmaj9 |", "unknown chord"},
        {"melody m | c:16 |", "octave"},
        {"figure f | 1:8 0:8 |", "not a chord tone"},
        {"figure f | 1:8 3x:8 |", "not a chord tone"},
        {"drums d\n  kick x..x", "not whole bars"},
        {"drums d\n  kick x..y............", "drum step"},
        {"flourish 3", "unknown directive"},
        {"chords c | C |\nsection A bars=2 chords=c\norder A B", "unknown section B"},
        {"chords c | C |\nsection A chords=c\norder A", "no bars="},
    };
    for (const Case& c : cases) {
        try {
            parseScore(c.text);
            ADD_FAILURE() << "accepted: " << c.text;
        } catch (const ScoreError& e) {
            EXPECT_NE(std::string(e.what()).find(c.says), std::string::npos) << e.what();
        }
    }
}

TEST(Chord, ResolvesDegreesBySizeAndQuality) {
    Chord am = parseChord("Am"), g7 = parseChord("G7"), cmaj7 = parseChord("Cmaj7"), slash = parseChord("A/C#");
    EXPECT_EQ(am.root, 9);
    EXPECT_EQ(am.degree(3), 3);
    EXPECT_EQ(am.degree(5), 7);
    EXPECT_EQ(am.degree(7), 10);  // a triad's seventh is the minor one
    EXPECT_EQ(g7.degree(7), 10);
    EXPECT_EQ(cmaj7.degree(7), 11);
    EXPECT_EQ(parseChord("Dsus4").degree(3), 5);
    EXPECT_EQ(slash.root, 9);
    EXPECT_EQ(slash.bass, 1);
    EXPECT_EQ(parseNote("c4"), 60);
    EXPECT_EQ(parseNote("a4"), 69);
    EXPECT_EQ(parseNote("bb3"), 58);
    EXPECT_EQ(parseNote("f#5"), 78);
}

TEST(Arrangement, PlaysTheMelodyAsWrittenWithHoldsAndRests) {
    Arrangement a = arrange(parseScore(kSmall));
    auto lead = partNotes(a, "lead");
    // Three bars of a two-bar tune, twice: c e g a, c e g a (the cycle restarts per section).
    ASSERT_EQ(lead.size(), 14u);
    EXPECT_EQ(lead[0].midi, 72);
    EXPECT_EQ(lead[3].midi, 81);
    EXPECT_EQ(lead[3].length, 12);  // a5:8 held on by _:4
    EXPECT_EQ(lead[4].step, 32);    // the third bar starts the tune again
    EXPECT_EQ(lead[7].step, 48);    // second section
}

TEST(Arrangement, BassFollowsTheChordsIncludingSplitBars) {
    Arrangement a = arrange(parseScore(kSmall));
    auto bass = partNotes(a, "bass");
    for (const NoteEvent& n : bass) {
        int bar = (int)n.step / kStepsPerBar, step = (int)n.step % kStepsPerBar;
        const Chord& c = a.chords[(size_t)bar].at(step);
        std::set<int> tones;
        for (int t : c.tones) tones.insert((c.root + t) % 12);
        EXPECT_TRUE(tones.count(n.midi % 12)) << "bar " << bar << " step " << step << " midi " << n.midi;
        EXPECT_GE(n.midi, partFloor("bass") - 12);
        EXPECT_LT(n.midi, partFloor("bass") + 24);
    }
    // Bar 2 of the loop is Am then F#m: the fifth of F#m (C#) on step 8.
    auto it = std::find_if(bass.begin(), bass.end(), [](const NoteEvent& n) { return n.step == 16 + 8; });
    ASSERT_NE(it, bass.end());
    EXPECT_EQ(it->midi % 12, 1);
    // The stab bar sounds the whole triad at once.
    int onBar0 = (int)std::count_if(bass.begin(), bass.end(), [](const NoteEvent& n) { return n.step == 0; });
    EXPECT_EQ(onBar0, 3);
}

TEST(Arrangement, DrumsKeepTheirGridAndAccents) {
    Arrangement a = arrange(parseScore(kSmall));
    int kicks = 0;
    double accent = 0, ghost = 1;
    for (const DrumHit& h : a.hits) {
        if (h.voice == "kick") ++kicks;
        if (h.voice == "snare" && (int)h.step % 16 == 4) accent = h.velocity;
        if (h.voice == "snare" && (int)h.step % 16 == 12) ghost = h.velocity;
    }
    EXPECT_EQ(kicks, 4 * 6);
    EXPECT_GT(accent, 2 * ghost);
}

TEST(Arrangement, SwingDelaysOnlyTheOffBeats) {
    Score s = parseScore(kSmall);
    double step = s.stepSeconds();
    EXPECT_DOUBLE_EQ(stepTime(s, 2), 2 * step);
    EXPECT_DOUBLE_EQ(stepTime(s, 3), 3.25 * step);
    EXPECT_EQ(loopFrames(s, 44100), (size_t)(6 * 2.0 * 44100));  // six bars of 2 s at 120 BPM
}

TEST(Arrangement, RefusesPatternsAndPartsThatDoNotExist) {
    std::string base = "voice lead flute\nchords c | C |\nmelody m | c5:16 |\n";
    EXPECT_THROW(arrange(parseScore(base + "section A bars=1 chords=c lead=nope\norder A")), ScoreError);
    EXPECT_THROW(arrange(parseScore(base + "section A bars=1 chords=c tuba=m\norder A")), ScoreError);
    EXPECT_THROW(arrange(parseScore(base + "melody h | _:16 |\nsection A bars=1 chords=c lead=h\norder A")),
                 ScoreError);
}

}  // namespace
