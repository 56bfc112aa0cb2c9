// The music's room: a tail of the asked length, two sides that differ, and a
// loop's tail carried round onto its start.
#include <gtest/gtest.h>

#include <cmath>

#include "audio/dsp.h"
#include "audio/room.h"

using namespace audio;

namespace {

double energyDb(const std::vector<double>& x, size_t from, size_t to) {
    double s = 0;
    for (size_t i = from; i < to && i < x.size(); ++i) s += x[i] * x[i];
    return 10 * std::log10(s + 1e-30);
}

TEST(Room, TheTailFallsSixtyDecibelsInItsTime) {
    const double seconds = 1.0;
    Room room(kRate, seconds);
    std::vector<double> left(3 * kRate), right(3 * kRate);
    for (size_t i = 0; i < left.size(); ++i) room.process(i == 0 ? 1.0 : 0.0, left[i], right[i]);
    const size_t window = kRate / 20;
    double early = energyDb(left, kRate / 10, kRate / 10 + window);
    double late = energyDb(left, kRate / 10 + kRate, kRate / 10 + kRate + window);
    EXPECT_NEAR(early - late, 60, 8);
    EXPECT_LT(energyDb(left, 5 * kRate / 2, 3 * kRate), early - 80);
    double diff = 0, same = 0;
    for (size_t i = 0; i < (size_t)kRate; ++i) diff += std::fabs(left[i] - right[i]), same += std::fabs(left[i]);
    EXPECT_GT(diff, 0.5 * same);  // the sides are not one signal
}

TEST(Room, AddRoomCarriesTheTailOfTheLoopOntoItsStart) {
    // One second of stereo silence but for a 1 kHz burst in its last 5 ms.
    std::vector<float> loop(2 * kRate, 0.0f);
    for (size_t i = loop.size() - 2 * 220; i < loop.size(); ++i)
        loop[i] = (float)(0.5 * std::sin(2 * kPi * 1000 * (i / 2) / kRate));
    addRoom(loop, kRate, 1.5, 0.5);
    double head = 0;
    for (size_t i = 0; i < 2 * 4410; ++i) head += loop[i] * loop[i];
    EXPECT_GT(head, 1e-4);
    std::vector<float> none(2 * kRate, 0.25f);
    addRoom(none, kRate, 1.5, 0);
    EXPECT_EQ(none[1000], 0.25f);
}

}  // namespace
