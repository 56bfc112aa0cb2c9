// The main loop under the scripted window layer: hook order, update pacing,
// catch-up after a stall, suspension and the close.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/bb_app.h"
#include "fake_window.h"
#include "game/program.h"
#include "input/input.h"

namespace {

// Records every hook with the virtual time it ran at.
class RecordingApp : public bb_app_App {
 public:
  std::vector<std::string> log;
  std::vector<double> update_times;
  int rate_on_create = 60;
  std::function<void()> on_update;

  int m_OnCreate() override {
    log.push_back("create");
    if (rate_on_create) bb_app_SetUpdateRate(rate_on_create);
    return 0;
  }
  int m_OnUpdate() override {
    log.push_back("update");
    update_times.push_back(fakewin::state().now);
    if (on_update) on_update();
    return 0;
  }
  int m_OnRender() override {
    log.push_back("render");
    render_times.push_back(fakewin::state().now);
    return 0;
  }
  std::vector<double> render_times;
  int m_OnSuspend() override {
    log.push_back("suspend");
    suspend_times.push_back(fakewin::state().now);
    return 0;
  }
  std::vector<double> suspend_times;
  int m_OnResume() override {
    log.push_back("resume");
    return 0;
  }
  int m_OnFocusLost() override {
    log.push_back("focuslost");
    focus_lost_times.push_back(fakewin::state().now);
    return 0;
  }
  std::vector<double> focus_lost_times;

  int count(const std::string& hook) const { return static_cast<int>(std::count(log.begin(), log.end(), hook)); }
};

class MainLoop : public ::testing::Test {
 protected:
  RecordingApp* app_ = nullptr;

  void SetUp() override {
    fakewin::reset();
    wlInit();
    wlOpenWindow(640, 480, 0, 0, 0, 0, 0, 0, WL_WINDOW);
    bb_std_main(0, nullptr);  // builds the framework; the game object is replaced below
    app_ = new RecordingApp();
    app_->g_new();
  }

  // The suspend and resume hooks in order.
  std::string lifecycle() const {
    std::string out;
    for (const std::string& h : app_->log)
      if (h == "suspend" || h == "resume" || h == "focuslost") out += h + " ";
    return out;
  }

  // The hooks seen from index `from` on, joined for readable failures.
  std::string hooks(size_t from = 0, size_t count = 100) const {
    std::string out;
    for (size_t i = from; i < app_->log.size() && i < from + count; ++i) out += app_->log[i] + " ";
    return out;
  }
};

TEST_F(MainLoop, FirstRenderComesRightAfterCreateAndBeforeAnyUpdate) {
  fakewin::request_close(0.1);
  RunApp();
  ASSERT_GE(app_->log.size(), 3u);
  EXPECT_EQ(hooks(0, 3), "create render update ");
  // At 60 Hz the first update is due one period after the rate was set.
  EXPECT_NEAR(app_->update_times.at(0), 1.0 / 60, 1e-5);
}

TEST_F(MainLoop, RunsSixtyUpdatesPerSecondWithOneRenderEach) {
  fakewin::request_close(1.0);
  RunApp();
  EXPECT_NEAR(app_->count("update"), 60, 1);
  EXPECT_EQ(app_->count("render"), app_->count("update") + 1);
  // The loop sleeps for the remaining time instead of spinning.
  EXPECT_NEAR(fakewin::state().slept, 1.0, 0.02);
}

TEST_F(MainLoop, AfterAStallRunsExactlySevenUpdatesThenNormalPace) {
  bool stalled = false;
  app_->on_update = [&] {
    if (!stalled && fakewin::state().now > 0.5) {
      stalled = true;
      fakewin::advance(3.0);  // a long hitch inside one update
    }
  };
  fakewin::request_close(4.0);
  RunApp();
  // Find the stalled update, then count updates before the next render.
  size_t i = 0;
  while (i < app_->update_times.size() && app_->update_times[i] < 3.0) ++i;
  ASSERT_LT(i, app_->update_times.size());
  size_t first = 0;
  int seen = 0;
  for (size_t k = 0; k < app_->log.size(); ++k)
    if (app_->log[k] == "update" && ++seen == static_cast<int>(i)) first = k;
  // After the stalled update: 6 more catch-up updates in that pass (7 in all),
  // one render, then one update per render.
  std::string expected = "update update update update update update render update render update render update ";
  EXPECT_EQ(hooks(first + 1, 12), expected);
}

TEST_F(MainLoop, IconifySuspendsOnceAndNothingRunsUntilRestored) {
  fakewin::iconify(0.5);
  fakewin::at(5.0, [] {});  // wake the wait without changing anything
  fakewin::restore(10.0, true);
  fakewin::request_close(10.5);
  RunApp();
  // One suspension while iconified; the last one comes with the close.
  EXPECT_EQ(lifecycle(), "suspend resume suspend ");
  for (double t : app_->update_times) EXPECT_FALSE(t > 0.52 && t < 10.0) << "update at " << t;
}

TEST_F(MainLoop, RestoredWithoutFocusStaysSuspendedUntilActive) {
  fakewin::iconify(0.5);
  fakewin::restore(1.0, false);
  fakewin::focus(2.0, true);
  fakewin::request_close(2.5);
  RunApp();
  EXPECT_EQ(lifecycle(), "suspend resume suspend ");
  for (double t : app_->update_times) EXPECT_FALSE(t > 0.52 && t < 2.0) << "update at " << t;
}

TEST_F(MainLoop, LosingFocusAloneKeepsRunning) {
  fakewin::focus(0.5, false);
  fakewin::request_close(1.0);
  RunApp();
  EXPECT_EQ(app_->count("suspend"), 1);  // only the one before the close
  EXPECT_NEAR(app_->count("update"), 60, 1);
}

// At 60 Hz the loop polls once per period, so an event is seen within one.
::testing::AssertionResult WithinAPeriodAfter(double seen, double happened) {
  if (seen >= happened && seen <= happened + 1.0 / 60 + 1e-4) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "seen at " << seen << " for a change at " << happened;
}

TEST_F(MainLoop, EachFocusLossIsReportedOnceWithoutSuspending) {
  fakewin::focus(0.5, false);
  fakewin::focus(0.8, true);
  fakewin::focus(1.0, false);
  fakewin::focus(1.2, true);
  fakewin::request_close(2.0);
  RunApp();
  EXPECT_EQ(lifecycle(), "focuslost focuslost suspend ");  // the suspend is the close's
  ASSERT_EQ(app_->focus_lost_times.size(), 2u);
  // Told at the first poll after the change, before that poll's updates.
  EXPECT_TRUE(WithinAPeriodAfter(app_->focus_lost_times[0], 0.5));
  EXPECT_TRUE(WithinAPeriodAfter(app_->focus_lost_times[1], 1.0));
  EXPECT_NEAR(app_->count("update"), 120, 1);  // updates never stopped
}

TEST_F(MainLoop, AnIconifyOrAFocusChangeWhileSuspendedIsNoFocusLoss) {
  fakewin::iconify(0.5);
  fakewin::restore(1.0, false);  // restored behind another window: still suspended
  fakewin::focus(1.5, true);
  fakewin::focus(2.0, false);  // running again: this one counts
  fakewin::request_close(2.5);
  RunApp();
  EXPECT_EQ(lifecycle(), "suspend resume focuslost suspend ");
  ASSERT_EQ(app_->focus_lost_times.size(), 1u);
  EXPECT_TRUE(WithinAPeriodAfter(app_->focus_lost_times[0], 2.0));
}

TEST_F(MainLoop, UntimedModeReportsAFocusLossAfterTheWait) {
  app_->rate_on_create = 0;
  fakewin::focus(1.0, false);
  RunApp();  // nothing more scheduled: the user closes the window
  EXPECT_EQ(app_->count("focuslost"), 1);
}

TEST_F(MainLoop, UpdateRateSurvivesASuspension) {
  std::vector<int> rates;  // the device's recorded rate while suspended, then after resume
  fakewin::iconify(0.5);
  fakewin::at(1.0, [&] { rates.push_back(bb_app_device->m_updateRate); });
  fakewin::restore(2.0, true);
  fakewin::at(2.05, [&] { rates.push_back(bb_app_device->m_updateRate); });
  fakewin::request_close(2.1);
  RunApp();
  EXPECT_EQ(rates, (std::vector<int>{0, 60}));
  EXPECT_EQ(bb_app_device->updateRate, 60);
  // The clock restarts on resume: the first update after it is one period later.
  double first_after = 0;
  for (double t : app_->update_times)
    if (t >= 2.0) {
      first_after = t;
      break;
    }
  EXPECT_NEAR(first_after, 2.0 + 1.0 / 60, 1e-5);
}

TEST_F(MainLoop, UntimedModeRendersOncePerEventAndNeverUpdates) {
  app_->rate_on_create = 0;
  fakewin::at(1.0, [] {});
  fakewin::at(2.0, [] {});
  fakewin::at(3.0, [] {});
  RunApp();  // nothing more scheduled after 3.0: the user closes the window
  EXPECT_EQ(app_->count("update"), 0);
  // One render after create, then one per wait that returned with the window open.
  EXPECT_EQ(app_->count("render"), 1 + 3 + 1);
}

TEST_F(MainLoop, CloseWhileRunningSuspendsOnceSoTheGameCanSave) {
  fakewin::request_close(0.5);
  RunApp();
  EXPECT_EQ(app_->count("suspend"), 1);
  EXPECT_EQ(app_->log.back(), "suspend");
}

TEST_F(MainLoop, CloseWhileIconifiedDoesNotSuspendAgain) {
  fakewin::iconify(0.5);
  fakewin::request_close(1.0);
  RunApp();
  EXPECT_EQ(app_->count("suspend"), 1);
  EXPECT_EQ(app_->count("resume"), 0);
}

TEST_F(MainLoop, InputCallbacksReachTheInputDeviceOnlyDuringThePoll) {
  int down_in_update = -1;
  app_->on_update = [&] {
    if (down_in_update < 0 && fakewin::state().now > 0.2) down_in_update = bb_app_device->input->KeyDown(32);
  };
  fakewin::key(0.2, WL_KEY_SPACE, WL_PRESS);
  fakewin::request_close(0.5);
  RunApp();
  EXPECT_TRUE(fakewin::state().key_repeat);
  EXPECT_FALSE(fakewin::state().auto_poll);
  EXPECT_EQ(down_in_update, 1);
}

TEST_F(MainLoop, MillisecsIsTheClockInWholeMilliseconds) {
  fakewin::advance(1.2345);
  EXPECT_EQ(bb_app_Millisecs(), 1234);
}

TEST_F(MainLoop, MillisecsWrapsRoundAfterTwoToTheThirtyOneAndDifferencesStayRight) {
  const double kWrap = 2147483.648;  // 2^31 ms, 24.8 days
  fakewin::advance(kWrap - 0.010);
  int before = bb_app_Millisecs();
  EXPECT_EQ(before, 2147483647 - 9);
  fakewin::advance(0.025);
  int after = bb_app_Millisecs();
  EXPECT_EQ(after, -2147483647 - 1 + 15);
  EXPECT_EQ(static_cast<int>(static_cast<unsigned>(after) - static_cast<unsigned>(before)), 25);
  fakewin::advance(kWrap * 2);  // 2^32 ms on: the same reading again
  EXPECT_EQ(bb_app_Millisecs(), after);
}

TEST_F(MainLoop, PacesInDoubleSoSixtyUpdatesASecondHoldAfterFortyHours) {
  const double kStart = 40 * 3600.0;  // single precision steps by 15.6 ms here
  fakewin::advance(kStart);
  fakewin::request_close(kStart + 2);
  RunApp();
  ASSERT_NEAR(app_->count("update"), 120, 1);
  for (size_t i = 1; i < app_->update_times.size(); ++i)
    ASSERT_NEAR(app_->update_times[i] - app_->update_times[i - 1], 1.0 / 60, 1e-4) << "update " << i;
}

// ---------------------------------------------------------------------------
// The loop driven by display frames (a browser page)

// How many of `times` fell in each frame (the virtual clock stands still
// inside one), frame by frame, from `from` seconds on; the last frame, which
// finds the window closed, left out.
std::vector<int> PerFrame(const std::vector<double>& frames, const std::vector<double>& times, double from) {
  std::vector<int> out;
  for (size_t i = 0; i + 1 < frames.size(); ++i) {
    if (frames[i] < from) continue;
    out.push_back(static_cast<int>(std::count(times.begin(), times.end(), frames[i])));
  }
  return out;
}

class FrameDriven : public MainLoop, public ::testing::WithParamInterface<double> {};

// However fast frames come, updates keep to 60 a second in every second, each
// in the frame nearest its due time; frames come 2 ms late or less, unevenly.
TEST_P(FrameDriven, SixtyUpdatesASecondWhateverTheFrameRate) {
  const double rate = GetParam();
  fakewin::state().frame_rate = rate;
  fakewin::state().frame_jitter = 0.002;
  // Updates fall due 1 ms after each tick, among the frames' late arrivals.
  fakewin::advance(0.001);
  fakewin::request_close(10.0);
  ::app->RunByFrames();
  for (int second = 1; second < 10; ++second) {
    int n = static_cast<int>(std::count_if(app_->update_times.begin(), app_->update_times.end(),
                                           [&](double t) { return t >= second && t < second + 1; }));
    EXPECT_NEAR(n, 60, 1) << "second " << second << " at " << rate << " frames a second";
  }
  const std::vector<double>& frames = fakewin::state().frame_times;
  std::vector<int> updates = PerFrame(frames, app_->update_times, 1.0);
  int most = *std::max_element(updates.begin(), updates.end());
  int least = *std::min_element(updates.begin(), updates.end());
  // At 60 frames a second exactly one a frame; at 30 two; faster, never two.
  int want_most = rate < 60 ? 2 : 1, want_least = rate < 60 ? 2 : rate == 60 ? 1 : 0;
  EXPECT_EQ(most, want_most);
  EXPECT_EQ(least, want_least);
  // One render in each frame that ran updates, none in the others.
  std::vector<int> renders = PerFrame(frames, app_->render_times, 1.0);
  for (size_t i = 0; i < updates.size(); ++i) ASSERT_EQ(renders[i], updates[i] > 0 ? 1 : 0) << "frame " << i;
}

INSTANTIATE_TEST_SUITE_P(MainLoop, FrameDriven, ::testing::Values(30.0, 60.0, 120.0, 144.0));

TEST_F(MainLoop, FramesAfterAStallOfASecondCatchUpSevenUpdatesAndDropTheRest) {
  bool stalled = false;
  double stall_end = 0;
  app_->on_update = [&] {
    if (stalled || fakewin::state().now < 0.5) return;
    stalled = true;
    fakewin::advance(1.0);  // a hitch of a second inside one update
    stall_end = fakewin::state().now;
  };
  fakewin::request_close(3.0);
  ::app->RunByFrames();
  ASSERT_TRUE(stalled);
  // The stalled update and six more in its frame, then the frame's render.
  auto first = std::find(app_->update_times.begin(), app_->update_times.end(), stall_end);
  EXPECT_EQ(std::count(app_->update_times.begin(), app_->update_times.end(), stall_end), 6);
  // Then one a frame again: the 53 updates still behind are dropped.
  std::vector<int> after = PerFrame(fakewin::state().frame_times, app_->update_times, stall_end + 1e-9);
  ASSERT_FALSE(after.empty());
  EXPECT_EQ(*std::max_element(after.begin(), after.end()), 1);
  EXPECT_NEAR(app_->update_times.end() - first, 6 + (3.0 - stall_end) * 60, 2);
}

TEST_F(MainLoop, FramesSuspendAtOnceWhenIconifiedAndResumeWhenRestored) {
  fakewin::iconify(0.5);
  fakewin::at(1.0, [] {});  // any event while suspended changes nothing
  fakewin::restore(2.0, true);
  fakewin::request_close(2.5);
  ::app->RunByFrames();
  EXPECT_EQ(lifecycle(), "suspend resume suspend ");
  ASSERT_EQ(app_->suspend_times.size(), 2u);
  EXPECT_NEAR(app_->suspend_times[0], 0.5, 1.0 / 60 + 1e-9);
  for (double t : app_->update_times) EXPECT_FALSE(t > 0.52 && t < 2.0) << "update at " << t;
  // The clock restarts on resume: the first update after it comes about a
  // period later (up to half a frame early, in the frame nearest it).
  auto resumed = std::find_if(app_->update_times.begin(), app_->update_times.end(), [](double t) { return t >= 2; });
  ASSERT_NE(resumed, app_->update_times.end());
  EXPECT_NEAR(*resumed, 2.0 + 1.0 / 60, 1.0 / 120 + 1e-9);
}

TEST_F(MainLoop, FramesReportEachFocusLossOnceWithoutSuspending) {
  fakewin::focus(0.5, false);
  fakewin::focus(0.8, true);
  fakewin::focus(1.0, false);
  fakewin::request_close(1.5);
  ::app->RunByFrames();
  EXPECT_EQ(lifecycle(), "focuslost focuslost suspend ");  // the suspend is the close's
  EXPECT_NEAR(app_->count("update"), 90, 1);
}

TEST_F(MainLoop, FramesInUntimedModeRenderOncePerEvent) {
  app_->rate_on_create = 0;
  fakewin::at(1.0, [] {});
  fakewin::at(2.0, [] {});
  fakewin::at(3.0, [] {});
  ::app->RunByFrames();  // nothing more scheduled after 3.0: the user closes the window
  EXPECT_EQ(app_->count("update"), 0);
  EXPECT_EQ(app_->count("render"), 1 + 3 + 1);
  EXPECT_EQ(app_->log.back(), "suspend");
}

}  // namespace
