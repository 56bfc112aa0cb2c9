// The main loop in a real window under a window manager: iconify and restore
// reach the application as suspend and resume, and a close ends the loop.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "app/bb_app.h"
#include "game/program.h"
#include "input/input.h"
#include "seam/window.h"

namespace {

class LifecycleApp : public bb_app_App {
 public:
  std::vector<std::string> log;
  int updates = 0;
  std::atomic<int> suspends{0}, resumes{0};  // read by the scripted user's thread

  int m_OnCreate() override {
    bb_app_SetUpdateRate(60);
    return 0;
  }
  int m_OnUpdate() override {
    ++updates;
    return 0;
  }
  int m_OnSuspend() override {
    log.push_back("suspend@" + std::to_string(updates));
    ++suspends;
    return 0;
  }
  int m_OnResume() override {
    log.push_back("resume@" + std::to_string(updates));
    ++resumes;
    return 0;
  }
};

int run(const std::string& command) { return std::system(command.c_str()); }

void pause_ms(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

// Repeats a window-manager request until `done` says it took effect: a window
// manager that is still taking the window on may drop the first one.
void until(const std::string& command, const std::function<bool()>& done) {
  for (int attempt = 0; attempt < 20 && !done(); ++attempt) {
    run(command);
    for (int i = 0; i < 10 && !done(); ++i) pause_ms(50);
  }
}

TEST(RealWindowLifecycle, IconifyAndRestoreSuspendAndResumeThenCloseEndsTheLoop) {
  ASSERT_TRUE(wlInit());
  ASSERT_TRUE(wlOpenWindow(640, 480, 0, 0, 0, 0, 0, 0, WL_WINDOW));
  wlSetWindowTitle("lifecycle-under-test");
  bb_std_main(0, nullptr);
  LifecycleApp* game = new LifecycleApp();
  game->g_new();

  // The user, from outside the process: iconify, wait, restore, close.
  std::atomic<bool> finished{false};
  std::thread user([&] {
    const std::string find = "xdotool search --name '^lifecycle-under-test$' ";
    pause_ms(800);
    until(find + "windowminimize", [&] { return game->suspends == 1; });
    pause_ms(500);
    until(find + "windowactivate", [&] { return game->resumes == 1; });
    pause_ms(800);
    until("wmctrl -c lifecycle-under-test", [&] { return finished.load(); });
  });
  RunApp();
  finished = true;
  user.join();

  ASSERT_EQ(game->log.size(), 3u) << ::testing::PrintToString(game->log);
  EXPECT_EQ(game->log[0].rfind("suspend@", 0), 0u);
  EXPECT_EQ(game->log[1].rfind("resume@", 0), 0u);
  EXPECT_EQ(game->log[2].rfind("suspend@", 0), 0u);  // the close saves too
  // Nothing was updated while iconified.
  EXPECT_EQ(game->log[0].substr(8), game->log[1].substr(7));
  EXPECT_GT(game->updates, 60);
  wlCloseWindow();
  wlTerminate();
}

// Keys typed on the real X server arrive in the classic numbering, become the
// framework's key codes, and printable ones queue their character.
class TypingApp : public bb_app_App {
 public:
  std::atomic<int> space_hits{0}, a_hits{0}, left_hits{0};
  std::vector<int> chars;

  int m_OnCreate() override {
    bb_app_SetUpdateRate(60);
    return 0;
  }
  int m_OnUpdate() override {
    gxtkInput* in = bb_app_device->InputDevice();
    space_hits += in->KeyHit(32);
    a_hits += in->KeyHit(65);
    left_hits += in->KeyHit(37);
    for (int c = in->GetChar(); c; c = in->GetChar()) chars.push_back(c);
    return 0;
  }
};

TEST(RealWindowInput, TypedKeysReachTheInputDeviceAsFrameworkKeyCodes) {
  ASSERT_TRUE(wlInit());
  ASSERT_TRUE(wlOpenWindow(640, 480, 0, 0, 0, 0, 0, 0, WL_WINDOW));
  wlSetWindowTitle("typing-under-test");
  bb_std_main(0, nullptr);
  TypingApp* game = new TypingApp();
  game->g_new();

  std::atomic<bool> finished{false};
  std::thread user([&] {
    const std::string win = "$(xdotool search --name '^typing-under-test$' | head -n1)";
    pause_ms(600);
    run("xdotool windowactivate --sync " + win);
    // A bare "key" can press and release within one frame; hold each key a while.
    until("xdotool keydown --window " + win + " space; sleep 0.1; xdotool keyup --window " + win + " space",
          [&] { return game->space_hits > 0; });
    until("xdotool keydown --window " + win + " a; sleep 0.1; xdotool keyup --window " + win + " a",
          [&] { return game->a_hits > 0; });
    until("xdotool keydown --window " + win + " Left; sleep 0.1; xdotool keyup --window " + win + " Left",
          [&] { return game->left_hits > 0; });
    pause_ms(200);
    until("wmctrl -c typing-under-test", [&] { return finished.load(); });
  });
  RunApp();
  finished = true;
  user.join();

  EXPECT_GE(game->space_hits.load(), 1);
  EXPECT_GE(game->a_hits.load(), 1);
  EXPECT_GE(game->left_hits.load(), 1);
  // Space and "a" queue their characters from the character callback; Left
  // queues its flagged non-printing code from the key callback.
  auto has = [&](int c) { return std::find(game->chars.begin(), game->chars.end(), c) != game->chars.end(); };
  EXPECT_TRUE(has(' '));
  EXPECT_TRUE(has('a'));
  EXPECT_TRUE(has(37 + 65536));
  wlCloseWindow();
  wlTerminate();
}

}  // namespace
