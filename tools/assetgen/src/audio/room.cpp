#include "room.h"

#include <cmath>

#include "dsp.h"

namespace audio {

namespace {

// Delays in milliseconds: no two share a factor that would stack their echoes,
// and the right side runs a little longer than the left.
constexpr double kCombMs[4] = {29.7, 37.1, 41.1, 43.7};
constexpr double kPassMs[2] = {5.0, 1.7};
constexpr double kSpreadMs = 0.9;
constexpr double kDamping = 0.35;   // high frequencies die sooner, as in a real room
constexpr double kPassGain = 0.6;
constexpr double kRoomHighPass = 250;  // Hz: bass and kick stay dry and tight

size_t samples(double ms, int rate) { return (size_t)std::lround(ms * rate / 1000); }

}  // namespace

Room::Room(int rate, double seconds) {
    for (int side = 0; side < 2; ++side) {
        for (double ms : kCombMs) {
            Line c;
            c.buf.assign(samples(ms + side * kSpreadMs, rate), 0.0);
            c.feedback = std::pow(10.0, -3 * (ms / 1000) / seconds);
            c.damp = kDamping;
            combs_[side].push_back(c);
        }
        for (double ms : kPassMs) {
            Line a;
            a.buf.assign(samples(ms + side * kSpreadMs * 0.5, rate), 0.0);
            a.feedback = kPassGain;
            passes_[side].push_back(a);
        }
    }
}

double Room::comb(Line& c, double x) {
    double y = c.buf[c.at];
    c.state = y * (1 - c.damp) + c.state * c.damp;
    c.buf[c.at] = x + c.state * c.feedback;
    c.at = (c.at + 1) % c.buf.size();
    return y;
}

double Room::allpass(Line& a, double x) {
    double delayed = a.buf[a.at], y = delayed - a.feedback * x;
    a.buf[a.at] = x + a.feedback * y;
    a.at = (a.at + 1) % a.buf.size();
    return y;
}

void Room::process(double in, double& left, double& right) {
    double out[2];
    for (int side = 0; side < 2; ++side) {
        double sum = 0;
        for (Line& c : combs_[side]) sum += comb(c, in);
        for (Line& a : passes_[side]) sum = allpass(a, sum);
        out[side] = sum / combs_[side].size();
    }
    left = out[0], right = out[1];
}

void addRoom(std::vector<float>& x, int rate, double seconds, double wet) {
    if (wet <= 0) return;
    Room room(rate, seconds);
    OnePole cut(OnePole::HighPass, kRoomHighPass, rate);
    std::vector<float> tail(x.size());
    for (int pass = 0; pass < 2; ++pass)
        for (size_t i = 0; i + 1 < x.size(); i += 2) {
            double l, r;
            room.process(cut.process(0.5 * (x[i] + x[i + 1])), l, r);
            tail[i] = (float)l, tail[i + 1] = (float)r;
        }
    for (size_t i = 0; i < x.size(); ++i) x[i] += (float)(wet * tail[i]);
}

}  // namespace audio
