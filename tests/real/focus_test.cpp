// The game in a real window under a window manager: when another window takes
// the focus, a running round opens the pause panel and the menu stays as it
// is; the framework does not suspend for it, and going fullscreen and back in
// a round is no focus loss.
#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>

#include "app/bb_app.h"
#include "game/program.h"
#include "game/vaultwick.h"
#include "seam/window.h"

namespace {

// The game, publishing what the scripted user checks from its own thread.
// A round is asked for as the main menu asks for one.
class WatchedGame : public bb_Vaultwick_MyApp {
 public:
  std::atomic<bool> ask_round{false};
  std::atomic<int> loaded{0}, active{0}, width{0}, screen{0}, paused{0}, pause_opened{0};
  std::atomic<int> updates{0}, focus_losses{0}, suspends{0};

  int m_OnUpdate() override {
    if (m_LoadStep == 0 && m_Screen == 1 && ask_round.exchange(false)) m_Screen = 11;
    bb_Vaultwick_MyApp::m_OnUpdate();
    ++updates;
    Publish();
    return 0;
  }
  int m_OnFocusLost() override {
    bb_Vaultwick_MyApp::m_OnFocusLost();
    ++focus_losses;
    Publish();
    return 0;
  }
  int m_OnSuspend() override {
    ++suspends;
    return bb_Vaultwick_MyApp::m_OnSuspend();
  }

 private:
  void Publish() {
    loaded = m_LoadStep == 0 ? 1 : 0;
    active = wlGetWindowParam(WL_ACTIVE);
    width = m_DevWidth;
    screen = m_Screen;
    paused = m_Paused;
    pause_opened = m_PauseOpened;
  }
};

int run(const std::string& command) { return std::system(command.c_str()); }
void pause_ms(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

// Waits up to five seconds for `done`.
bool wait_for(const std::function<bool()>& done) {
  for (int i = 0; i < 100 && !done(); ++i) pause_ms(50);
  return done();
}

// Repeats a window-manager request until it took effect.
bool until(const std::string& command, const std::function<bool()>& done) {
  for (int attempt = 0; attempt < 10 && !done(); ++attempt) {
    run(command);
    for (int i = 0; i < 10 && !done(); ++i) pause_ms(50);
  }
  return done();
}

class RealWindowFocus : public ::testing::Test {
 protected:
  std::string saved_cwd_, dir_;
  pid_t thief_ = 0;

  // The game runs in a scratch folder that holds the repository's data.
  void SetUp() override {
    saved_cwd_ = std::filesystem::current_path();
    char dir[] = "/tmp/vaultwick-focus-XXXXXX";
    ASSERT_NE(mkdtemp(dir), nullptr);
    dir_ = dir;
    std::filesystem::create_directory_symlink(VW_SOURCE_DIR "/data", dir_ + "/data");
    std::filesystem::current_path(dir_);
  }
  void TearDown() override {
    if (thief_ > 0) kill(thief_, SIGTERM);
    std::filesystem::current_path(saved_cwd_);
    std::filesystem::remove_all(dir_);
  }

  // Another client's window, to take the focus away.
  void StartThief() {
    FILE* p = popen("xmessage -title focus-thief -geometry +0+0 'another window' >/dev/null 2>&1 & echo $!", "r");
    ASSERT_NE(p, nullptr);
    int pid = 0;
    if (std::fscanf(p, "%d", &pid) == 1) thief_ = pid;
    pclose(p);
    ASSERT_GT(thief_, 0);
  }
};

TEST_F(RealWindowFocus, AnotherWindowTakingTheFocusPausesARoundButNotTheMenu) {
  ASSERT_TRUE(wlInit());
  ASSERT_TRUE(OpenGameWindow());
  wlSetWindowTitle("focus-under-test");
  bb_std_main(0, nullptr);
  WatchedGame* game = new WatchedGame();
  game->g_new();
  StartThief();

  struct Seen {
    int menu_screen = -1, menu_paused = -1;
    int round_screen = -1, round_paused = -1, round_opened = -1;
    int switched_losses = -1, switched_paused = -1;
    bool went_fullscreen = false, came_back = false;
    int updates_after = 0;
    bool menu_lost = false, round_started = false, round_lost = false;
  } seen;
  std::atomic<bool> finished{false};
  std::thread user([&] {
    const std::string game_win = "$(xdotool search --name '^focus-under-test$' | head -n1)";
    const std::string thief_win = "$(xdotool search --name '^focus-thief$' | head -n1)";
    wait_for([&] { return game->loaded == 1 && game->updates > 60; });
    until("xdotool windowactivate " + game_win, [&] { return game->active == 1; });
    // At the menu: the focus goes, nothing else happens.
    seen.menu_lost = until("xdotool windowactivate " + thief_win, [&] { return game->focus_losses == 1; });
    pause_ms(300);
    seen.menu_screen = game->screen;
    seen.menu_paused = game->paused;
    // Back to the game, into a round, and away again.
    until("xdotool windowactivate " + game_win, [&] { return game->active == 1; });
    game->ask_round = true;
    seen.round_started = wait_for([&] { return game->screen == 10; });
    // Switching to fullscreen and back is no focus loss.
    const std::string f11 = "xdotool keydown --window " + game_win + " F11; sleep 0.15; xdotool keyup --window " +
                            game_win + " F11";
    run(f11);
    seen.went_fullscreen = wait_for([&] { return game->width == 1280; });
    run(f11);
    seen.came_back = wait_for([&] { return game->width == 640; });
    pause_ms(300);
    seen.switched_losses = game->focus_losses;
    seen.switched_paused = game->paused;
    seen.round_lost = until("xdotool windowactivate " + thief_win, [&] { return game->focus_losses == 2; });
    int before = game->updates;
    pause_ms(300);
    seen.updates_after = game->updates - before;
    seen.round_screen = game->screen;
    seen.round_paused = game->paused;
    seen.round_opened = game->pause_opened;
    until("wmctrl -c focus-under-test", [&] { return finished.load(); });
  });
  RunApp();
  finished = true;
  user.join();

  EXPECT_TRUE(seen.menu_lost);
  EXPECT_EQ(seen.menu_screen, 1);
  EXPECT_EQ(seen.menu_paused, 0);
  ASSERT_TRUE(seen.round_started);
  EXPECT_TRUE(seen.went_fullscreen);
  EXPECT_TRUE(seen.came_back);
  EXPECT_EQ(seen.switched_losses, 1);
  EXPECT_EQ(seen.switched_paused, 0);
  EXPECT_TRUE(seen.round_lost);
  EXPECT_EQ(seen.round_screen, 10);
  EXPECT_EQ(seen.round_paused, 1);
  EXPECT_EQ(seen.round_opened, 1);
  // Not suspended: updates went on, and the only suspend was the close's.
  EXPECT_GT(seen.updates_after, 5);
  EXPECT_EQ(game->suspends.load(), 1);
  wlCloseWindow();
  wlTerminate();
}

}  // namespace
