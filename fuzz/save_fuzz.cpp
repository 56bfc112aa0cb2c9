// Feeds arbitrary bytes to the game as its state file: loading must neither
// crash nor do anything undefined, and whatever it loads must save to a
// string that loads back to the very same tables.
#include <fcntl.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "game_harness.h"
#include "runtime/gc.h"

namespace {

struct Tables {
  std::vector<int> values;
  bool operator!=(const Tables& o) const { return values != o.values; }
};

Tables Snapshot(const bb_Vaultwick_MyApp& app) {
  Tables t;
  for (int i = 0; i < app.m_Settings.Length(); ++i) t.values.push_back(app.m_Settings[i]);
  for (int i = 0; i < app.m_Badges.Length(); ++i) t.values.push_back(app.m_Badges[i] ? 1 : 0);
  for (int i = 0; i < app.m_Scores.Length(); ++i) t.values.push_back(app.m_Scores[i]);
  return t;
}

// The tables as creation leaves them just before loading.
void StartValues(bb_Vaultwick_MyApp& app) {
  for (int i = 0; i < app.m_Settings.Length(); ++i) app.m_Settings[i] = 0;
  app.m_Settings[5] = 1;
  for (int i = 0; i < app.m_Badges.Length(); ++i) app.m_Badges[i] = false;
  for (int i = 0; i < app.m_Scores.Length(); ++i) app.m_Scores[i] = 0;
}

// The load reports would drown the fuzzer's own output; they go nowhere
// while the game loads and standard output is given back afterwards.
class QuietStdout {
 public:
  QuietStdout() {
    std::fflush(stdout);
    saved_ = dup(1);
    int null = open("/dev/null", O_WRONLY);
    if (null >= 0) {
      dup2(null, 1);
      close(null);
    }
  }
  ~QuietStdout() {
    std::fflush(stdout);
    if (saved_ >= 0) {
      dup2(saved_, 1);
      close(saved_);
    }
  }

 private:
  int saved_;
};

void LoadFresh(bb_Vaultwick_MyApp& app) {
  StartValues(app);
  QuietStdout quiet;
  app.m_Load();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // One game for the whole run: it lives in a scratch folder of its own,
  // where its state file is.
  static gameharness::Game game;
  bb_Vaultwick_MyApp& app = game.app();

  FILE* f = std::fopen(".tovrinstate", "wb");
  if (!f) return 0;
  if (size > 0) std::fwrite(data, 1, size, f);
  std::fclose(f);

  LoadFresh(app);
  Tables first = Snapshot(app);
  app.m_Save();
  LoadFresh(app);
  if (Snapshot(app) != first) std::abort();
  // No hook runs here to give the collector its step, so the pieces of each
  // input would pile up over a long run.
  gc_collect();
  return 0;
}
